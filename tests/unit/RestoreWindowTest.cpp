// Listing, restoring and deleting backups, and the import progress dialog.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "app/BackupHintPresenter.h"
#include "app/RestorePresenter.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryProcessRunner.h"
#include "platform/memory/MemorySystemFacts.h"
#include "platform/Text.h"
#include "support/FailingFileSystem.h"

namespace lindqua::test {

namespace {

class FakeRestoreView : public RestoreView {
 public:
  void SetFolderText(const std::string& folder) override { folderText = folder; }
  void SetRows(const std::vector<BackupRow>& r) override { rows = r; }
  void SelectRow(int index) override { selected = index; }
  void SetActionsEnabled(bool enabled) override { actionsEnabled = enabled; }
  void ShowInformation(const std::string& text) override { messages.push_back(text); }
  std::optional<std::string> SelectFolder(const std::string& caption) override {
    pickerCaption = caption;
    return pick;
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& r : rows) names.push_back(r.fileName);
    return names;
  }
  std::string folderText, pickerCaption;
  std::vector<BackupRow> rows;
  int selected = -2;
  bool actionsEnabled = true;
  std::vector<std::string> messages;
  std::optional<std::string> pick;
};

class RestoreWindowTest : public ::testing::Test {
 protected:
  RestoreWindowTest() {
    files.AddFolder("C:\\Backups\\d.reg");
    files.AddFile("C:\\Backups\\a.reg", 1025);
    files.AddFile("C:\\Backups\\B.REG", 1048576);
    files.AddFile("C:\\Backups\\c.txt", 1);
    files.AddFile("C:\\Backups\\noext", 1);
    EXPECT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_07_070300.reg", "REGEDIT4\r\n"));
    EXPECT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_06_235959.Reg", "REGEDIT4\r\n"));
  }
  TfrmRestorePresenter MakeWindow() {
    return TfrmRestorePresenter(view, files, facts, registry, ansi, [this](const std::string& line, const std::string& hint) {
      imports.push_back(line + " | " + hint);
      return importResult;
    });
  }
  MemoryFileSystem files;
  MemorySystemFacts facts;
  MemoryRegistry registry;
  Windows1252CodePage ansi;
  FakeRestoreView view;
  std::vector<std::string> imports;
  bool importResult = true;
};

}  // namespace

TEST(FormatSizeKB, RoundsUpAndGroupsDigits) {
  EXPECT_EQ(FormatSizeKB(0), "0 KB");
  EXPECT_EQ(FormatSizeKB(1), "1 KB");
  EXPECT_EQ(FormatSizeKB(1024), "1 KB");
  EXPECT_EQ(FormatSizeKB(1025), "2 KB");
  EXPECT_EQ(FormatSizeKB(1500000), "1,465 KB");
  EXPECT_EQ(FormatSizeKB(1048576), "1,024 KB");
  EXPECT_EQ(FormatSizeKB(5000000000ULL), "4,882,813 KB") << "files over 2 GiB keep their real size";
}

TEST_F(RestoreWindowTest, ListsOnlyRegFilesNewestFirst) {
  auto window = MakeWindow();
  window.Show("C:\\Backups");
  EXPECT_EQ(view.folderText, "C:\\Backups");
  EXPECT_EQ(view.Names(), (std::vector<std::string>{"B.REG", "a.reg",
                                                    "2026_12_07_070300.reg", "2026_12_06_235959.Reg"}));
  EXPECT_EQ(view.rows[1].sizeText, "2 KB");
  EXPECT_EQ(view.rows[0].sizeText, "1,024 KB");
  EXPECT_FALSE(view.actionsEnabled) << "nothing selected yet";
  EXPECT_TRUE(view.messages.empty());
}

TEST_F(RestoreWindowTest, MissingFolderSaysSoAndBrowseStillWorks) {
  auto window = MakeWindow();
  window.Show("C:\\Nowhere");
  EXPECT_EQ(view.messages, std::vector<std::string>{"can not find the backup folder."});
  EXPECT_TRUE(window.Rows().empty());
  view.pick = std::nullopt;
  window.Browse();
  EXPECT_EQ(view.pickerCaption, "Please select the directory");
  EXPECT_EQ(window.Folder(), "C:\\Nowhere") << "a cancelled browse changes nothing";
  view.pick = "C:\\Backups\\";
  window.Browse();
  EXPECT_EQ(view.folderText, "C:\\Backups\\");
  EXPECT_EQ(window.Rows().size(), 4u);
}

TEST_F(RestoreWindowTest, RestoreThatEndsDeletesTheFileAndSelectsTheRowAbove) {
  auto window = MakeWindow();
  window.Show("C:\\Backups");
  window.Restore();
  EXPECT_TRUE(imports.empty()) << "nothing selected, nothing restored";
  window.OnSelect(3);
  EXPECT_TRUE(view.actionsEnabled);
  window.Restore();
  ASSERT_EQ(imports.size(), 1u);
  EXPECT_EQ(imports[0], "Regedit /s \"C:\\Backups\\2026_12_06_235959.Reg\" | Restore registry...");
  EXPECT_FALSE(files.FileExists("C:\\Backups\\2026_12_06_235959.Reg"));
  EXPECT_EQ(window.Rows().size(), 3u);
  EXPECT_EQ(view.selected, 2) << "the last row went, so the new last row is selected";
  importResult = false;
  window.Restore();
  EXPECT_TRUE(files.FileExists("C:\\Backups\\2026_12_07_070300.reg")) << "a stopped restore keeps its file";
  EXPECT_EQ(window.Rows().size(), 3u);
}

TEST_F(RestoreWindowTest, RestoreKeepsTheFileWhenKeysDidNotComeBackOrTheFileIsDamaged) {
  const std::string backup = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Back]\r\n\"v\"=\"1\"\r\n"
                             "\"w\"=dword:00000002\r\n";
  ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_06_235959.Reg", backup));
  ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_07_070300.reg", "REGEDIT4\r\n[HKEY_NOWHERE\\x]\r\n"));
  auto window = MakeWindow();
  window.Show("C:\\Backups");
  window.OnSelect(2);
  window.Restore();
  EXPECT_TRUE(imports.empty()) << "a damaged file is never imported";
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].find("line 2: unknown root"), std::string::npos) << view.messages[0];

  // The import "runs" but only one value arrives, with another type.
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Back]\r\n\"w\"=\"2\"\r\n");
  window.OnSelect(3);
  window.Restore();
  ASSERT_EQ(imports.size(), 1u);
  ASSERT_EQ(view.messages.size(), 2u);
  EXPECT_NE(view.messages[1].find("HKEY_CURRENT_USER\\Software\\Back  [value \"v\"]: missing"), std::string::npos)
      << view.messages[1];
  EXPECT_NE(view.messages[1].find("[value \"w\"]: type 1 instead of type 4"), std::string::npos);
  EXPECT_TRUE(files.FileExists("C:\\Backups\\2026_12_06_235959.Reg"));
  EXPECT_EQ(window.Rows().size(), 4u);

  ImportRegText(registry, backup);
  window.Restore();
  EXPECT_FALSE(files.FileExists("C:\\Backups\\2026_12_06_235959.Reg")) << "everything came back";
}

TEST_F(RestoreWindowTest, AFileCutShortInsideItsLastBlockIsNeverImported) {
  const std::string whole = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Back]\r\n\"v\"=\"1\"\r\n"
                            "\"b\"=hex:00,01,\\\r\n  02\r\n";
  const struct {
    const char* what;
    std::string bytes;
    const char* line;
  } cuts[] = {
      {"inside a value line", whole.substr(0, whole.find("\"v\"=\"1") + 5), "line 4: "},
      {"inside a line end", whole.substr(0, whole.find("\"1\"\r\n") + 4), "line 4: "},
      {"after a line that says the list goes on", whole.substr(0, whole.find("  02")), "line 5: "},
  };
  for (const auto& cut : cuts) {
    SCOPED_TRACE(cut.what);
    ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_07_070300.reg", cut.bytes));
    imports.clear();
    view.messages.clear();
    auto window = MakeWindow();
    window.Show("C:\\Backups");
    window.OnSelect(2);  // 2026_12_07_070300.reg
    window.Restore();
    EXPECT_TRUE(imports.empty());
    ASSERT_EQ(view.messages.size(), 1u);
    EXPECT_NE(view.messages[0].find(std::string(cut.line) + "the file ends inside a block"), std::string::npos)
        << view.messages[0];
    EXPECT_TRUE(files.FileExists("C:\\Backups\\2026_12_07_070300.reg"));
  }
  // The same file whole is imported.
  ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\2026_12_07_070300.reg", whole));
  imports.clear();
  auto window = MakeWindow();
  window.Show("C:\\Backups");
  window.OnSelect(2);  // 2026_12_07_070300.reg
  window.Restore();
  EXPECT_EQ(imports.size(), 1u);
}

TEST_F(RestoreWindowTest, DeleteKeepsTheSelectionIndexUntilTheListIsEmpty) {
  auto window = MakeWindow();
  window.Show("C:\\Backups");
  window.OnSelect(0);
  window.Delete();
  EXPECT_FALSE(files.FileExists("C:\\Backups\\B.REG"));
  EXPECT_EQ(view.selected, 0);
  EXPECT_EQ(view.Names().front(), "a.reg");
  for (int i = 0; i < 3; ++i) window.Delete();
  EXPECT_TRUE(window.Rows().empty());
  EXPECT_EQ(view.selected, -1);
  EXPECT_FALSE(view.actionsEnabled);
  window.Delete();  // nothing selected: nothing happens
  EXPECT_TRUE(files.FileExists("C:\\Backups\\c.txt"));
}

TEST_F(RestoreWindowTest, AFileThatCannotBeDeletedKeepsItsRowAndIsNamed) {
  const auto regFiles = [this] {
    std::vector<std::string> names;
    for (const FolderEntry& e : files.ListFolder("C:\\Backups"))
      if (!e.isDirectory && UpperCase(e.name).ends_with(".REG")) names.push_back(e.name);
    std::sort(names.begin(), names.end(), [](const auto& a, const auto& b) { return UpperCase(a) > UpperCase(b); });
    return names;
  };
  // Deleting every row one after another makes four deletes; each is failed once.
  for (std::uint64_t n = 1; n <= 4; ++n) {
    for (const char* name : {"a.reg", "B.REG", "2026_12_07_070300.reg", "2026_12_06_235959.Reg"})
      ASSERT_TRUE(files.WriteWholeFile(std::string("C:\\Backups\\") + name, "REGEDIT4\r\n"));
    FailingFileSystem failing(files);
    failing.FailAt(FileFault::Delete, n);
    view.messages.clear();
    TfrmRestorePresenter window(view, failing, facts, registry, ansi, nullptr);
    window.Show("C:\\Backups");
    for (int attempt = 0; attempt < 5 && !window.Rows().empty(); ++attempt) {
      window.OnSelect(0);
      const std::string first = window.Rows()[0].fileName;
      window.Delete();
      EXPECT_EQ(view.Names(), regFiles()) << "fault " << n << ": the list shows exactly the files still there";
      EXPECT_EQ(window.Selected(), window.Rows().empty() ? -1 : 0) << "the kept row stays selected";
      if (failing.Count(FileFault::Delete) == n) {
        EXPECT_EQ(view.messages, std::vector<std::string>{"Unable to delete C:\\Backups\\" + first});
      }
    }
    EXPECT_TRUE(window.Rows().empty()) << "a second try deletes what the first could not";
    EXPECT_EQ(view.messages.size(), 1u) << "fault " << n;
    EXPECT_TRUE(files.FileExists("C:\\Backups\\c.txt"));
    EXPECT_TRUE(files.FileExists("C:\\Backups\\noext"));
    EXPECT_TRUE(files.DirectoryExists("C:\\Backups\\d.reg"));
  }

  // A restore whose import came back whole but whose file stays keeps the row too.
  FailingFileSystem failing(files);
  failing.FailAt(FileFault::Delete, 1);
  ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\r.reg", "REGEDIT4\r\n"));
  view.messages.clear();
  TfrmRestorePresenter window(view, failing, facts, registry, ansi, [](const std::string&, const std::string&) {
    return true;
  });
  window.Show("C:\\Backups");
  window.OnSelect(0);
  window.Restore();
  EXPECT_EQ(view.messages, std::vector<std::string>{"Unable to delete C:\\Backups\\r.reg"});
  EXPECT_EQ(view.Names(), std::vector<std::string>{"r.reg"});
  EXPECT_EQ(window.Selected(), 0);
}

namespace {
class FakeHintView : public BackupHintView {
 public:
  void SetProgress(int position) override { progress = position; }
  void Close(ModalResult result) override { closed = result; }
  int progress = 0;
  ModalResult closed = ModalResult::None;
};

class FakeImportHost : public ImportDialogHost {
 public:
  ModalResult ShowBackupHint(RunningProcess& process, const std::string& hint) override {
    hints.push_back(hint);
    FakeHintView view;
    TfrmBackupHintPresenter dialog(view, process);
    for (int tick = 0; view.closed == ModalResult::None; ++tick) {
      if (tick == stopAfterTicks) dialog.OnStop();
      else dialog.OnTimer();
    }
    return dialog.Result();
  }
  void ShowInformation(const std::string& text) override { messages.push_back(text); }
  int stopAfterTicks = -1;
  std::vector<std::string> hints, messages;
};
}  // namespace

TEST(BackupHint, BarStepsShrinkAndStopAtFiveHundred) {
  int position = 0;
  std::vector<int> after;
  for (int tick = 0; tick < 100; ++tick) after.push_back(position = NextImportProgress(position));
  EXPECT_EQ(after[29], 300);
  EXPECT_EQ(after[93], 500) << "full on the 94th tick";
  EXPECT_EQ(after[92], 499);
  EXPECT_EQ(after.back(), 500);
}

TEST(BackupHint, RunImportWaitsForTheProcessOrStopsIt) {
  MemoryProcessRunner runner;
  FakeImportHost host;
  int imported = 0;
  runner.script = {true, 5, [&](const std::string&) { ++imported; }};
  EXPECT_TRUE(RunImport(runner, host, "Regedit /s \"C:\\x.reg\"", "Restore registry..."));
  EXPECT_EQ(imported, 1);
  EXPECT_EQ(runner.started, std::vector<std::string>{"Regedit /s \"C:\\x.reg\""});
  EXPECT_EQ(host.hints, std::vector<std::string>{"Restore registry..."});

  runner.script.ticksUntilEnd = 1000;
  host.stopAfterTicks = 30;
  EXPECT_FALSE(RunImport(runner, host, "Regedit /s \"C:\\y.reg\"", "Restore registry..."));
  EXPECT_EQ(runner.terminated, 1);
  EXPECT_EQ(imported, 1);

  runner.script.starts = false;
  EXPECT_FALSE(RunImport(runner, host, "Regedit /s \"C:\\z.reg\"", "Restore registry..."));
  EXPECT_EQ(host.messages, std::vector<std::string>{"Please check if Regedit.exe exists."});
}

}  // namespace lindqua::test
