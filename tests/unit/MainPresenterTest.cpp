// The main window's presenter with a fake view: the section tree rules, a
// whole scan from the click to the finished handling, Cancel, the status
// line, the selection commands, activation, the unattended run and closing.
#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "app/MainPresenter.h"
#include "engine/ScanSection.h"
#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/FakeMainView.h"

namespace lindqua::test {

namespace {

// Lets a test hold a scanner in the middle of its section.
class Gate {
 public:
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Wait() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return open_; });
  }
  void Arrive() {
    std::lock_guard lock(mutex_);
    arrived_ = true;
    changed_.notify_all();
  }
  bool WaitArrived() {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(20), [this] { return arrived_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false;
  bool arrived_ = false;
};

class MainPresenterTest : public ::testing::Test {
 protected:
  void Make(std::vector<std::string> arguments = {}, bool realFix = false) {
    MainPresenterDeps deps{ScanPlatform{registry, files, facts}, view, settings, options};
    deps.scanners = [this](int section) { return Scanner(section); };
    deps.ignoreFilter = [this](std::vector<Finding>& rows, const std::vector<std::string>& keys, std::int32_t count) {
      filterCalls.push_back(count);
      filterKeys = keys;
      std::erase_if(rows, [](const Finding& row) { return row.shownText == "ignored"; });
    };
    deps.arguments = std::move(arguments);
    if (realFix) {
      deps.ansi = &ansi;
      deps.restorePointDialog = [this] {
        ++restorePointDialogs;
        return restorePointGoesOn;
      };
    } else {
      deps.unattendedFix = [this] { ++fixes; };
    }
    presenter = std::make_unique<MainPresenter>(std::move(deps));
    presenter->FormCreate();
    presenter->FormShow();
  }

  // Each section adds `rowsPerSection` rows named after it.
  std::function<void(ScanContext&)> Scanner(int section) {
    if (!FindScanSection(section)) return nullptr;
    return [this, section](ScanContext& scan) {
      if (section == blockingSection) {
        for (int i = 0; i < 3; ++i) {
          const std::string name = i == 0 && section == ignoredSection ? "ignored" : "row " + std::to_string(i);
          scan.AddFinding("Blocked", name, "HKEY_CURRENT_USER\\" + name, 1, "r");
        }
        gate.Arrive();
        gate.Wait();
        scan.AddFinding("Blocked", "after the stop", "HKEY_USERS\\b", 1, "r");
        return;
      }
      if (section == failingSection) throw std::runtime_error("escaped");
      for (int i = 0; i < rowsPerSection; ++i) {
        scan.AddFinding(section % 2 ? "Odd" : "Even", i == 0 && section == ignoredSection ? "ignored" : "shown",
                        "HKEY_CURRENT_USER\\S" + std::to_string(section), 1,
                        "Not found: C:\\S" + std::to_string(section) + "\\" + std::to_string(i) +
                            (i == 1 ? "\r\n\tnext\x7f" : ""));
      }
    };
  }

  // A -cleanonce run held in the middle of its only section.
  void StartUnattendedScanThatWaits() {
    settings.toLoad.NodeSelected.fill(false);
    settings.toLoad.NodeSelected[9] = true;
    blockingSection = 9;
    Make({"-cleanonce"});
    presenter->FormActivate();
    ASSERT_TRUE(view.PumpOne(*presenter));  // MSG_CLEAN_ONCE
    ASSERT_TRUE(gate.WaitArrived());
  }

  void Click(int node) { presenter->tvRegistryStateImageClick(node); }
  void OnlyCheck(std::initializer_list<int> nodes) {
    Click(1);  // all off
    for (int node : nodes) Click(node);
  }
  void ScanToEnd() {
    presenter->bScanClick();
    ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  }
  std::size_t CheckedRows() {
    std::size_t checked = 0;
    for (const Finding& row : presenter->Model().Rows()) checked += row.checked ? 1 : 0;
    return checked;
  }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  Windows1252CodePage ansi;
  int restorePointDialogs = 0;
  bool restorePointGoesOn = true;
  TOptionsSetting options;
  FakeMainView view;
  FakeWindowSettings settings;
  std::unique_ptr<MainPresenter> presenter;
  Gate gate;
  int rowsPerSection = 1;
  int blockingSection = 0;
  int failingSection = 0;
  int ignoredSection = 0;
  int fixes = 0;
  std::vector<std::int32_t> filterCalls;
  std::vector<std::string> filterKeys;
};

TEST_F(MainPresenterTest, TreeLevelRules) {
  Make();
  for (int node = 1; node <= 25; ++node) ASSERT_EQ(view.nodeStates[node], StateChecked) << node;

  // Unchecking the four hives one by one unchecks their group with the fourth;
  // the root stays checked while other level-1 nodes are.
  for (int hive = 3; hive <= 6; ++hive) {
    EXPECT_EQ(view.nodeStates[2], StateChecked) << "before hive " << hive;
    Click(hive);
  }
  EXPECT_EQ(view.nodeStates[2], StateUnchecked);
  EXPECT_EQ(view.nodeStates[1], StateChecked);

  // A level-2 click rechecks its group and the root.
  Click(1);
  EXPECT_EQ(view.nodeStates[7], StateUnchecked);
  Click(4);
  EXPECT_EQ(view.nodeStates[2], StateChecked);
  EXPECT_EQ(view.nodeStates[1], StateChecked);
  EXPECT_EQ(view.nodeStates[3], StateUnchecked);

  // A level-1 click carries its state to its children.
  Click(2);
  EXPECT_EQ(view.nodeStates[4], StateUnchecked);
  EXPECT_EQ(view.nodeStates[1], StateUnchecked);
  Click(2);
  for (int hive = 3; hive <= 6; ++hive) EXPECT_EQ(view.nodeStates[hive], StateChecked);

  // The root sets every node.
  Click(1);
  Click(1);
  for (int node = 1; node <= 25; ++node) EXPECT_EQ(view.nodeStates[node], StateChecked) << node;
  Click(0);  // not a node
  Click(26);
  EXPECT_EQ(view.nodeStates[25], StateChecked);
}

TEST_F(MainPresenterTest, SectionIdsInTreeOrderAndProgressStep) {
  Make();
  OnlyCheck({25, 5});
  presenter->bScanClick();
  EXPECT_EQ(presenter->SectionIds(), (std::vector<std::string>{"1", "2", "5", "25"}));
  EXPECT_EQ(presenter->ProgressStep(), 4);
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));

  Click(1);
  Click(1);
  presenter->bScanClick();
  EXPECT_EQ(presenter->SectionIds().size(), 25u);
  EXPECT_EQ(presenter->ProgressStep(), 1);
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));

  OnlyCheck({7});
  presenter->bScanClick();
  EXPECT_EQ(presenter->ProgressStep(), 10);
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
}

TEST_F(MainPresenterTest, NothingCheckedShowsTheMessageAndKeepsTheList) {
  Make();
  OnlyCheck({7, 8});
  ScanToEnd();
  ASSERT_EQ(presenter->ShownRows(), 2u);
  Click(1);  // the root was checked: every node goes off
  presenter->bScanClick();
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_EQ(view.messages[0].first, "Please select the sections which you want to scan from the left list.");
  EXPECT_EQ(view.messages[0].second, 0x40u);
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(presenter->ShownRows(), 2u);
  EXPECT_EQ(presenter->Model().Count(), 2u);
}

TEST_F(MainPresenterTest, WholeScanFromClickToFinishedHandling) {
  Make();
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\Mine"};
  options.IgnoreKeyCount = 1;
  options.IgnoreRemovableDrive = false;
  files.SetDrive('a', DriveType::Removable, false);
  rowsPerSection = 4;
  ignoredSection = 8;
  OnlyCheck({7, 8, 9});

  presenter->bScanClick();
  EXPECT_TRUE(presenter->Scanning());
  EXPECT_EQ(view.scanCaption, "Cancel");
  EXPECT_TRUE(view.timerOn);
  EXPECT_TRUE(view.progressVisible);
  EXPECT_EQ(view.progressPosition, 0);
  EXPECT_EQ(view.columnWidths, (std::vector<int>{92, 176, 129})) << "proportional widths of the empty list";
  EXPECT_EQ(view.captionsShown, (std::vector<std::string>{"Prepairing..."}));
  EXPECT_FALSE(view.progressCaption.second);

  // The progress cycles on the timer and never passes 1000.
  for (int tick = 0; tick < 101; ++tick) presenter->Timer1Timer();
  EXPECT_EQ(presenter->ProgressPosition(), 0) << "at step 10 the 101st tick wraps past 1000";

  // First section done: the rows so far, none checked yet. How many depends on
  // how far the scan thread has run meanwhile (the group nodes' entries count
  // as sections and add no rows).
  ASSERT_TRUE(view.PumpOne(*presenter));
  EXPECT_NE(view.statusLine.find(" Errors Found,  0 Errors Selected."), std::string::npos) << view.statusLine;
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));

  EXPECT_EQ(filterCalls, (std::vector<std::int32_t>{1}));
  EXPECT_EQ(filterKeys, options.IgnoreKeys);
  EXPECT_EQ(view.scanCaption, "Scan");
  EXPECT_FALSE(view.timerOn);
  EXPECT_FALSE(view.scanTitle.second);
  EXPECT_FALSE(view.detail.second);
  EXPECT_EQ(view.progressPosition, 1000);
  EXPECT_EQ(view.progressCaption, (std::pair<std::string, bool>{"Finished!", true}));
  EXPECT_EQ(view.rowCount, 11u);
  EXPECT_EQ(CheckedRows(), 11u);
  EXPECT_EQ(view.statusLine, " 11 Errors Found,  11 Errors Selected.");
  EXPECT_EQ(view.columnWidths, (std::vector<int>{-1, -1, -1}));
  EXPECT_EQ(presenter->RowAt(0).caption, "Odd");
  EXPECT_EQ(presenter->RowAt(11).caption, "") << "past the shown rows";

  // A second scan starts from an empty list.
  OnlyCheck({10});
  presenter->bScanClick();
  EXPECT_EQ(view.rowCount, 0u);
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  EXPECT_EQ(view.statusLine, " 4 Errors Found,  4 Errors Selected.");
}

TEST_F(MainPresenterTest, CancelKeepsEveryRowFoundAndIgnoresTheStoppedScan) {
  Make();
  blockingSection = 8;
  OnlyCheck({7, 8, 9});
  presenter->bScanClick();
  ASSERT_TRUE(gate.WaitArrived());
  presenter->bScanClick();  // Cancel: the finished handling runs at once
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(view.scanCaption, "Scan");
  gate.Open();

  const auto rows = presenter->Model().Rows();
  ASSERT_EQ(rows.size(), 4u) << "one row of section 7, the three whole rows of section 8";
  EXPECT_EQ(rows[3].shownText, "row 2");
  EXPECT_EQ(CheckedRows(), 4u);
  EXPECT_EQ(filterCalls.size(), 1u);
  EXPECT_EQ(view.statusLine, " 4 Errors Found,  4 Errors Selected.");

  // What the first section posted before the stop is still queued; it must
  // not touch the idle window, nor a later scan.
  OnlyCheck({7});
  blockingSection = 0;
  presenter->bScanClick();
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  EXPECT_EQ(presenter->Model().Count(), 1u);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!presenter->AllScanThreadsEnded() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  ASSERT_TRUE(presenter->AllScanThreadsEnded());
  while (view.Queued() > 0) view.PumpOne(*presenter);
  EXPECT_EQ(filterCalls.size(), 2u);
  EXPECT_EQ(presenter->Model().Count(), 1u);
}

TEST_F(MainPresenterTest, CancelOfAnEmptyListRemovesNothing) {
  Make();
  blockingSection = 7;
  OnlyCheck({7});
  presenter->Model().EditRows([](std::vector<Finding>& rows) { rows.clear(); });
  presenter->bScanClick();
  ASSERT_TRUE(gate.WaitArrived());
  presenter->Model().Clear();  // as if the section had found nothing yet
  presenter->bScanClick();
  gate.Open();
  EXPECT_EQ(presenter->Model().Count(), 0u);
  EXPECT_EQ(view.statusLine, " 0 Errors Found,  0 Errors Selected.");
}

TEST_F(MainPresenterTest, ScanThatEndsOnAnErrorWaitsForCancelWhenAttended) {
  Make();
  failingSection = 8;
  OnlyCheck({7, 8, 9});
  presenter->bScanClick();
  ASSERT_TRUE(view.PumpOne(*presenter));  // section 7 done
  // The thread has ended on the error; the window, told nothing, still scans.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!presenter->AllScanThreadsEnded() && std::chrono::steady_clock::now() < deadline) std::this_thread::yield();
  ASSERT_TRUE(presenter->AllScanThreadsEnded());
  for (int tick = 0; tick < 50 && presenter->Scanning(); ++tick) presenter->Timer1Timer();
  EXPECT_TRUE(presenter->Scanning());
  EXPECT_EQ(view.scanCaption, "Cancel");
  presenter->bScanClick();
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(presenter->Model().Count(), 1u) << "Cancel keeps the row found before the error";
}

TEST_F(MainPresenterTest, SelectionCommandsAndStatusLine) {
  Make();
  rowsPerSection = 3;
  OnlyCheck({7, 8, 9, 10});  // captions Odd, Even, Odd, Even
  ScanToEnd();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  12 Errors Selected.");

  view.selectedRow = -1;
  EXPECT_FALSE(presenter->HasSelectedRow());
  presenter->aDeselectItemExecute();
  presenter->aUnselectAllTypeExecute();
  EXPECT_EQ(CheckedRows(), 12u);

  view.selectedRow = 4;  // section 8, "Even"
  EXPECT_TRUE(presenter->HasSelectedRow());
  presenter->aDeselectItemExecute();
  EXPECT_EQ(CheckedRows(), 11u);
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  11 Errors Selected.") << "the counts follow every check";
  presenter->aSelectItemExecute();
  EXPECT_EQ(CheckedRows(), 12u);
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  12 Errors Selected.");
  presenter->ToggleRowCheck(0);
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  11 Errors Selected.");
  presenter->ToggleRowCheck(0);

  presenter->aUnselectAllTypeExecute();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  6 Errors Selected.");
  for (const Finding& row : presenter->Model().Rows()) EXPECT_EQ(row.checked, row.caption == "Odd");
  presenter->aSelectNoneExecute();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  0 Errors Selected.");
  presenter->aSelectAllTypeExecute();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  6 Errors Selected.");
  presenter->aSelectAllExecute();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  12 Errors Selected.");

  presenter->ToggleRowCheck(0);
  presenter->ToggleRowCheck(0);
  presenter->ToggleRowCheck(1);
  presenter->ToggleRowCheck(99);  // past the list
  presenter->lvRegistryDataClick();
  EXPECT_EQ(view.statusLine, " 12 Errors Found,  11 Errors Selected.");
  view.selectedRow = 12;  // a selection the list no longer has
  EXPECT_FALSE(presenter->HasSelectedRow());
}

TEST_F(MainPresenterTest, DetailsAreaAndInfoTipShowTheReasonOfTheirRow) {
  Make();
  rowsPerSection = 2;
  OnlyCheck({7, 8});
  ScanToEnd();
  ASSERT_EQ(presenter->ShownRows(), 4u);
  struct Case {
    int focused;
    std::string line;
  };
  const Case cases[] = {
      {0, "Not found: C:\\S7\\0"},
      {3, "Not found: C:\\S8\\1   next "},  // a line break in the data cannot start a new line
      {-1, ""},
      {4, ""},  // past the rows
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.focused);
    view.focusedRow = c.focused;
    presenter->lvRegistryDataFocusChanged();
    EXPECT_EQ(view.reasonLine, c.line);
    if (c.focused >= 0) {
      EXPECT_EQ(presenter->ReasonAt(static_cast<std::size_t>(c.focused)), c.line) << "the info tip";
    }
  }

  // The area follows the rows under the focus without a focus change: empty
  // while a new scan clears the list, the new row's reason once it arrives.
  view.focusedRow = 0;
  OnlyCheck({8});
  presenter->bScanClick();
  EXPECT_EQ(view.reasonLine, "");
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  EXPECT_EQ(view.reasonLine, "Not found: C:\\S8\\0");
}

TEST_F(MainPresenterTest, ActivationAppliesStoredStateOnce) {
  settings.toLoad.LastFix = "1/2/2026 3:04:05 PM";
  settings.toLoad.Left = 10;
  settings.toLoad.Top = 20;
  settings.toLoad.Width = 700;
  settings.toLoad.Height = 500;
  Make({"-CleanOnce"});
  EXPECT_EQ(view.statusLine, "");
  presenter->FormActivate();
  EXPECT_EQ(view.statusLine, "Last fix at: 1/2/2026 3:04:05 PM");
  EXPECT_EQ(view.bounds, (std::vector<int>{10, 20, 700, 500}));
  EXPECT_FALSE(view.maximized);
  EXPECT_TRUE(presenter->Unattended());
  EXPECT_EQ(view.Queued(), 1u);
  presenter->FormActivate();
  EXPECT_EQ(view.Queued(), 1u) << "later activations do nothing";
}

TEST_F(MainPresenterTest, ActivationMaximizesAndIgnoresLaterArguments) {
  settings.toLoad.WindowState = 2;
  Make({"/x", "-cleanonce"});
  presenter->FormActivate();
  EXPECT_TRUE(view.maximized);
  EXPECT_TRUE(view.bounds.empty());
  EXPECT_FALSE(presenter->Unattended());
  EXPECT_EQ(view.Queued(), 0u);
}

TEST_F(MainPresenterTest, UnattendedRunScansChecksFixesAndCloses) {
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  rowsPerSection = 2;
  Make({"-cleanonce"});
  presenter->FormActivate();
  ASSERT_TRUE(view.PumpOne(*presenter));  // MSG_CLEAN_ONCE
  EXPECT_TRUE(view.hidden);
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  EXPECT_EQ(CheckedRows(), 2u);
  EXPECT_EQ(fixes, 1);
  EXPECT_EQ(view.closeRequests, 1);
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(MainPresenterTest, UnattendedRunWithoutSectionsClosesQuietly) {
  settings.toLoad.NodeSelected.fill(false);
  Make({"-CLEANONCE"});
  presenter->FormActivate();
  ASSERT_TRUE(view.PumpOne(*presenter));
  EXPECT_TRUE(view.messages.empty());
  EXPECT_EQ(fixes, 1);
  EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(MainPresenterTest, UnattendedRunDoesNotWaitForAScanThatFailed) {
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  settings.toLoad.NodeSelected[8] = true;
  failingSection = 8;
  Make({"-cleanonce"});
  presenter->FormActivate();
  ASSERT_TRUE(view.PumpOne(*presenter));
  ASSERT_TRUE(view.PumpOne(*presenter));  // section 7 done
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (presenter->Scanning() && std::chrono::steady_clock::now() < deadline) {
    presenter->Timer1Timer();
    std::this_thread::yield();
  }
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(presenter->Model().Count(), 1u) << "the rows found before the error are kept";
  EXPECT_EQ(view.closeRequests, 1);
}

TEST_F(MainPresenterTest, CloseDuringAnUnattendedScanFixesNothing) {
  StartUnattendedScanThatWaits();
  presenter->FormClose();
  gate.Open();
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(fixes, 0) << "a close must not fix the partial findings";
  EXPECT_EQ(settings.saves, 1);
}

TEST_F(MainPresenterTest, CancelInTheUnattendedRunsWindowFixesNothingAndEndsTheRun) {
  StartUnattendedScanThatWaits();
  presenter->bScanClick();  // the window was brought to the front and Cancel pressed
  gate.Open();
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(fixes, 0) << "Cancel must not fix the partial findings";
  EXPECT_EQ(view.closeRequests, 1) << "the stopped run still ends";
}

TEST_F(MainPresenterTest, CloseStopsTheScanAndSavesTreeAndPlacement) {
  Make();
  EXPECT_EQ(settings.loads, 1);
  blockingSection = 9;
  OnlyCheck({9, 12});
  view.placement = WindowPlacement{true, 3, 1, 2, 800, 600};
  presenter->bScanClick();
  ASSERT_TRUE(gate.WaitArrived());
  presenter->FormClose();
  gate.Open();
  EXPECT_FALSE(presenter->Scanning());
  EXPECT_EQ(presenter->Model().Count(), 3u);
  ASSERT_EQ(settings.saves, 1);
  for (int node = 1; node <= 25; ++node) {
    const bool checked = node == 1 || node == 9 || node == 12;
    EXPECT_EQ(settings.saved.NodeSelected[static_cast<std::size_t>(node)], checked) << node;
  }
  EXPECT_EQ(settings.savedPlacement.showCmd, 3);
  EXPECT_EQ(settings.savedPlacement.width, 800);
  EXPECT_TRUE(options.IgnoreKeys.empty());
  presenter->FormClose();
  EXPECT_EQ(settings.saves, 1) << "a window closes once";
}

}  // namespace
TEST_F(MainPresenterTest, FixBacksUpDeletesCheckedRowsAndRecordsTheTime) {
  // The test's scanner reports the value named after its section in the user's root key.
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"S7\"=\"C:\\\\gone.exe\"\r\n"
                          "\"S8\"=\"C:\\\\gone.exe\"\r\n");
  files.AddFolder("C:\\Backups");
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  settings.toLoad.NodeSelected[8] = true;
  settings.toLoad.BackupFolder = "C:\\Backups";
  settings.toLoad.CreateRestore = true;
  Make({}, true);
  ASSERT_TRUE(presenter->CanFix());
  ScanToEnd();
  ASSERT_EQ(presenter->Model().Count(), 2u);
  presenter->Model().EditRows([](auto& rows) { rows[0].checked = false; });
  view.columnWidths.clear();
  presenter->bFixErrorsClick();
  EXPECT_EQ(restorePointDialogs, 1) << "Windows 7 offers restore points";
  EXPECT_EQ(view.columnWidths, (std::vector<int>{-1, -1, -1})) << "the columns fit the rows left";
  EXPECT_EQ(presenter->Model().Count(), 1u);
  EXPECT_EQ(presenter->ShownRows(), 1u);
  EXPECT_EQ(view.statusLine, "Fix errors finished!");
  EXPECT_EQ(options.LastFix, "1/2/2026 3:04:05 PM");
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_TRUE(reg.ValueExists("S7")) << "the unchecked row's value stays";
  EXPECT_FALSE(reg.ValueExists("S8"));
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile("C:\\Backups\\2026_01_02_150405.reg", backup));
  EXPECT_NE(backup.find("[HKEY_CURRENT_USER]\r\n\"S8\"="), std::string::npos);
}

TEST_F(MainPresenterTest, FixSaysWhichRowsWereAlreadyGone) {
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"S7\"=\"C:\\\\gone.exe\"\r\n");
  files.AddFolder("C:\\Backups");
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  settings.toLoad.NodeSelected[8] = true;
  settings.toLoad.BackupFolder = "C:\\Backups";
  Make({}, true);
  ScanToEnd();
  ASSERT_EQ(presenter->Model().Count(), 2u) << "S8 is reported, but another program removed it since";
  presenter->bFixErrorsClick();
  EXPECT_EQ(presenter->Model().Count(), 0u);
  EXPECT_EQ(view.statusLine, "Fix errors finished! Already gone, so neither deleted nor backed up: 1");
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile("C:\\Backups\\2026_01_02_150405.reg", backup));
  EXPECT_EQ(backup.find("S8"), std::string::npos);
}

TEST_F(MainPresenterTest, FixDuringAScanLeavesWhatTheIgnoreListsHold) {
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"ignored\"=\"x\"\r\n\"row 1\"=\"x\"\r\n");
  files.AddFolder("C:\\Backups");
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[9] = true;
  settings.toLoad.BackupFolder = "C:\\Backups";
  blockingSection = ignoredSection = 9;
  Make({}, true);
  presenter->bScanClick();
  ASSERT_TRUE(gate.WaitArrived());
  presenter->aSelectAllExecute();
  presenter->bFixErrorsClick();
  gate.Open();
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_TRUE(reg.ValueExists("ignored")) << "an ignored row is never fixed, also before the scan ends";
  EXPECT_FALSE(reg.ValueExists("row 1"));
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile("C:\\Backups\\2026_01_02_150405.reg", backup));
  EXPECT_EQ(backup.find("ignored"), std::string::npos);
}

TEST_F(MainPresenterTest, FixThatCannotBackUpSaysWhyAndDeletesNothing) {
  const struct {
    const char* folder;
    const char* messageStart;
    unsigned flags;
  } cases[] = {
      {"C:\\Nowhere", "C:\\Nowhere,can not find the backup folder.\r\ncreates a new directory?", 0x44u},
      {"", "No backup folder is set, so nothing was fixed.\r\nChoose one in the settings.", 0x40u},
      // A folder where the backup file must go: no byte of it can be written.
      {"C:\\Backups", "The backup could not be written, so nothing more was deleted:\r\n"
                      "C:\\Backups\\2026_01_02_150405.reg", 0x40u},
  };
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"S7\"=\"x\"\r\n");
  files.AddFolder("C:\\Backups\\2026_01_02_150405.reg");
  for (const auto& c : cases) {
    SCOPED_TRACE(c.folder);
    settings.toLoad.NodeSelected.fill(false);
    settings.toLoad.NodeSelected[7] = true;
    settings.toLoad.BackupFolder = c.folder;
    Make({}, true);
    ScanToEnd();
    view.messages.clear();
    view.messageAnswer = 7;
    presenter->bFixErrorsClick();
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_EQ(view.messages[0].first.find(c.messageStart), 0u) << view.messages[0].first;
    EXPECT_EQ(view.messages[0].second, c.flags);
    EXPECT_EQ(presenter->Model().Count(), 1u);
    EXPECT_TRUE(options.LastFix.empty());
    TRegistry reg(registry);
    ASSERT_TRUE(reg.OpenKey("", false));
    EXPECT_TRUE(reg.ValueExists("S7"));
  }
}

TEST_F(MainPresenterTest, FixOffersARestorePointWhereWindowsHasOneAndItsCancelDeletesNothing) {
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"S7\"=\"x\"\r\n");
  files.AddFolder("C:\\Backups");
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  settings.toLoad.BackupFolder = "C:\\Backups";
  settings.toLoad.CreateRestore = true;
  Make({}, true);
  ScanToEnd();
  facts.version = OsVersion{2, 5, 0};  // Windows 2000: no restore points
  restorePointGoesOn = false;
  presenter->Model().EditRows([](auto& rows) { rows[0].checked = false; });
  presenter->bFixErrorsClick();
  EXPECT_EQ(restorePointDialogs, 0);
  facts.version = OsVersion{2, 6, 1};
  presenter->Model().EditRows([](auto& rows) { rows[0].checked = true; });
  presenter->bFixErrorsClick();
  EXPECT_EQ(restorePointDialogs, 1);
  EXPECT_EQ(presenter->Model().Count(), 1u);
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_TRUE(reg.ValueExists("S7"));
}

TEST_F(MainPresenterTest, UnattendedRunFixesWithTheRealProcedureAndCloses) {
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"S7\"=\"x\"\r\n");
  files.AddFolder("C:\\Backups");
  settings.toLoad.NodeSelected.fill(false);
  settings.toLoad.NodeSelected[7] = true;
  settings.toLoad.BackupFolder = "C:\\Backups";
  Make({"-cleanonce"}, true);
  presenter->FormActivate();
  ASSERT_TRUE(view.PumpOne(*presenter));
  ASSERT_TRUE(view.PumpUntilIdle(*presenter));
  EXPECT_EQ(view.closeRequests, 1);
  EXPECT_EQ(presenter->Model().Count(), 0u);
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("", false));
  EXPECT_FALSE(reg.ValueExists("S7"));
}

}  // namespace lindqua::test
