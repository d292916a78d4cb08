// The restore window and its import progress dialog under Wine, over scratch
// backup folders on drive C:. The real restore goes through Wine's regedit;
// the stop and the failed start use a process runner that the test controls.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <string>

#include "gui/DialogDriver.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32SystemFacts.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/RestoreDialog.h"

namespace lindqua::test {

namespace {

constexpr char TestKey[] = "Software\\LindquaDialogTest";

HWND RestoreWindow() { return WaitForDialog(WithControl(IDC_RESTORE_LIST)); }
HWND ListOf(HWND window) { return ::GetDlgItem(window, IDC_RESTORE_LIST); }
int RowCount(HWND window) { return static_cast<int>(::SendMessageW(ListOf(window), LVM_GETITEMCOUNT, 0, 0)); }
int SelectedRow(HWND window) { return ListView_GetNextItem(ListOf(window), -1, LVNI_SELECTED); }
bool ActionsEnabled(HWND window) {
  return ::IsWindowEnabled(::GetDlgItem(window, IDC_RESTORE_RESTORE)) &&
         ::IsWindowEnabled(::GetDlgItem(window, IDC_RESTORE_DELETE));
}
bool ActionsDisabled(HWND window) {
  return !::IsWindowEnabled(::GetDlgItem(window, IDC_RESTORE_RESTORE)) &&
         !::IsWindowEnabled(::GetDlgItem(window, IDC_RESTORE_DELETE));
}
void SelectRowOf(HWND window, int row) {
  ListView_SetItemState(ListOf(window), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}

// A process that runs until it is ended by force.
class EndlessProcess : public RunningProcess {
 public:
  explicit EndlessProcess(std::atomic<bool>& terminated) : terminated_(terminated) {}
  bool HasEnded() override { return terminated_; }
  void Terminate() override { terminated_ = true; }

 private:
  std::atomic<bool>& terminated_;
};

// Refuses the first start, then starts processes that never end on their own.
class ScriptedRunner : public ProcessRunner {
 public:
  std::unique_ptr<RunningProcess> StartHidden(std::string_view commandLine) override {
    lastCommandLine = std::string(commandLine);
    if (starts++ == 0) return nullptr;
    return std::make_unique<EndlessProcess>(terminated);
  }
  bool ShellOpen(std::string_view, std::string_view) override { return false; }

  std::atomic<int> starts{0};
  std::atomic<bool> terminated{false};
  std::string lastCommandLine;
};

class RestoreDialogGui : public ::testing::Test {
 protected:
  void SetUp() override {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder = "C:\\lindqua-dialog-tests\\" + std::string(test->name()) + "-" + std::to_string(::GetCurrentProcessId());
    files.DeletePath(folder);
    ASSERT_TRUE(files.ForceDirectories(folder));
  }
  void TearDown() override { files.DeletePath(folder); }

  std::string PathOf(const std::string& name) const { return folder + "\\" + name; }
  void WriteFile(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(files.WriteWholeFile(PathOf(name), bytes)) << name;
  }

  Win32FileSystem files;
  Win32SystemFacts facts;
  std::string folder;
};

}  // namespace

TEST_F(RestoreDialogGui, ListsRegFilesNewestFirstAndDeleteMovesTheSelection) {
  WriteFile("a.reg", std::string(1025, 'x'));
  WriteFile("B.REG", "REGEDIT4\r\n");
  WriteFile("c.txt", "not a backup");
  ASSERT_TRUE(files.ForceDirectories(PathOf("d.reg")));
  Win32ProcessRunner processes;

  DialogScript script([this](DialogScript& s) {
    HWND window = RestoreWindow();
    s.Check(window != nullptr, "the restore window appeared");
    if (!window) return;
    HWND list = ListOf(window);
    s.Check(TextOf(window) == "Vantorel Lindqua", "caption: " + TextOf(window));
    s.Check(TextOf(::GetDlgItem(window, IDC_RESTORE_FOLDER)) == folder, "folder field");
    s.Check(RowCount(window) == 2, "two backup rows, got " + std::to_string(RowCount(window)));
    s.Check(ListText(list, 0, 0) == "B.REG" && ListText(list, 1, 0) == "a.reg",
            "rows: " + ListText(list, 0, 0) + ", " + ListText(list, 1, 0));
    s.Check(ListText(list, 1, 2) == "2 KB", "size of 1025 bytes: " + ListText(list, 1, 2));
    s.Check(!ListText(list, 1, 1).empty(), "a date text");
    s.Check(ListView_GetColumnWidth(list, 0) == 230 && ListView_GetColumnWidth(list, 1) == 130 &&
                ListView_GetColumnWidth(list, 2) == 0,
            "column widths");
    s.Check(ActionsDisabled(window), "nothing selected: Restore and Delete disabled");

    SelectRowOf(window, 0);
    s.Check(WaitFor([&] { return ActionsEnabled(window); }), "a selection enables Restore and Delete");
    Click(window, IDC_RESTORE_DELETE);
    s.Check(WaitFor([&] { return RowCount(window) == 1; }), "Delete removes the row");
    s.Check(!files.FileExists(PathOf("B.REG")), "B.REG is deleted");
    s.Check(ListText(list, 0, 0) == "a.reg" && SelectedRow(window) == 0, "the row now at index 0 is selected");
    s.Check(ActionsEnabled(window), "still a selection");

    Click(window, IDC_RESTORE_DELETE);
    s.Check(WaitFor([&] { return RowCount(window) == 0; }), "the last row goes");
    s.Check(WaitFor([&] { return ActionsDisabled(window); }), "an empty list disables Restore and Delete");
    Click(window, IDC_RESTORE_CLOSE);
  });
  ShowRestoreWindow(nullptr, files, facts, processes, folder);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_FALSE(files.FileExists(PathOf("a.reg")));
  EXPECT_TRUE(files.FileExists(PathOf("c.txt")));
  EXPECT_TRUE(files.DirectoryExists(PathOf("d.reg")));
}

TEST_F(RestoreDialogGui, RestoreImportsTheBackupThroughRegeditAndDeletesIt) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, TestKey);
  WriteFile("2026_12_07_070300.reg", "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\LindquaDialogOther]\r\n\r\n");
  WriteFile("2026_12_06_235959.reg", std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\") + TestKey +
                                         "]\r\n\"Restored\"=\"back \\\"again\\\"\"\r\n\r\n");
  Win32ProcessRunner processes;

  DialogScript script([this](DialogScript& s) {
    HWND window = RestoreWindow();
    s.Check(window != nullptr, "the restore window appeared");
    if (!window) return;
    HWND list = ListOf(window);
    s.Check(RowCount(window) == 2 && ListText(list, 1, 0) == "2026_12_06_235959.reg", "the older backup is last");
    SelectRowOf(window, 1);
    s.Check(WaitFor([&] { return ActionsEnabled(window); }), "Restore enabled");
    Click(window, IDC_RESTORE_RESTORE);
    // The dialog closes on a 500 ms tick at the earliest, so it is seen.
    HWND hint = WaitForDialog(WithControl(IDC_BACKUPHINT_STOP));
    s.Check(hint != nullptr, "the import progress dialog appeared");
    if (hint) {
      s.Check(TextOf(::GetDlgItem(hint, IDC_BACKUPHINT_HINT)) == "Restore registry...", "hint text");
      s.Check(::GetWindow(hint, GW_OWNER) == window, "owned by the restore window");
    }
    s.Check(WaitFor([&] { return RowCount(window) == 1; }), "the restored backup's row goes");
    s.Check(ListText(list, 0, 0) == "2026_12_07_070300.reg" && SelectedRow(window) == 0,
            "the row above becomes selected");
    Click(window, IDC_RESTORE_CLOSE);
  });
  ShowRestoreWindow(nullptr, files, facts, processes, folder);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_FALSE(files.FileExists(PathOf("2026_12_06_235959.reg")));
  EXPECT_TRUE(files.FileExists(PathOf("2026_12_07_070300.reg")));

  wchar_t value[64] = {};
  DWORD size = sizeof value;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\LindquaDialogTest", L"Restored", RRF_RT_REG_SZ, nullptr,
                           value, &size),
            ERROR_SUCCESS);
  EXPECT_STREQ(value, L"back \"again\"");
  ::RegDeleteTreeA(HKEY_CURRENT_USER, TestKey);
}

TEST_F(RestoreDialogGui, FailedStartAndStopKeepTheBackup) {
  WriteFile("2026_12_07_070300.reg", "REGEDIT4\r\n");
  ScriptedRunner runner;

  DialogScript script([&runner](DialogScript& s) {
    HWND window = RestoreWindow();
    s.Check(window != nullptr, "the restore window appeared");
    if (!window) return;
    SelectRowOf(window, 0);
    s.Check(WaitFor([&] { return ActionsEnabled(window); }), "Restore enabled");
    // A double-click on empty space starts nothing; one on the row restores.
    // The first is sent, so it has been handled when the check runs; the
    // limit only matters if it wrongly opened a modal box.
    NMITEMACTIVATE onEmpty{};
    onEmpty.hdr = NMHDR{ListOf(window), IDC_RESTORE_LIST, static_cast<UINT>(NM_DBLCLK)};
    onEmpty.iItem = -1;
    DWORD_PTR ignored = 0;
    ::SendMessageTimeoutW(window, WM_NOTIFY, IDC_RESTORE_LIST, reinterpret_cast<LPARAM>(&onEmpty), SMTO_NORMAL, 5000,
                          &ignored);
    s.Check(runner.starts == 0, "a double-click on empty space starts nothing");
    static NMITEMACTIVATE onRow{};  // read by the window after this post
    onRow.hdr = NMHDR{ListOf(window), IDC_RESTORE_LIST, static_cast<UINT>(NM_DBLCLK)};
    onRow.iItem = 0;
    ::PostMessageW(window, WM_NOTIFY, IDC_RESTORE_LIST, reinterpret_cast<LPARAM>(&onRow));
    HWND box = WaitForDialog(MessageBoxWith("Please check if Regedit.exe exists."));
    s.Check(box != nullptr, "the start failure is reported");
    s.Check(runner.starts == 1, "the double-click on the row started the import");
    if (box) Click(box, IDOK);
    s.Check(WaitFor([&] { return !FindDialog(MessageBoxWith("Please check if Regedit.exe exists.")); }), "box gone");

    Click(window, IDC_RESTORE_RESTORE);
    HWND hint = WaitForDialog(WithControl(IDC_BACKUPHINT_STOP));
    s.Check(hint != nullptr, "the import progress dialog appeared");
    if (!hint) return;
    HWND bar = ::GetDlgItem(hint, IDC_BACKUPHINT_PROGRESS);
    s.Check(::SendMessageW(bar, PBM_GETRANGE, FALSE, 0) == 500, "the bar runs to 500");
    s.Check(WaitFor([&] { return ::SendMessageW(bar, PBM_GETPOS, 0, 0) >= 20; }), "the bar advances 10 a tick");
    Click(hint, IDC_BACKUPHINT_STOP);
    s.Check(WaitFor([&] { return !FindDialog(WithControl(IDC_BACKUPHINT_STOP)); }), "Stop closes the dialog");
    s.Check(runner.terminated, "Stop ends the process");
    s.Check(RowCount(window) == 1 && SelectedRow(window) == 0, "the backup stays listed and selected");
    Click(window, IDC_RESTORE_CLOSE);
  });
  ShowRestoreWindow(nullptr, files, facts, runner, folder);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_EQ(runner.starts, 2);
  EXPECT_EQ(runner.lastCommandLine, "Regedit /s \"" + PathOf("2026_12_07_070300.reg") + "\"");
  EXPECT_TRUE(files.FileExists(PathOf("2026_12_07_070300.reg")));
}

// A registry editor that ends at once and writes nothing.
class IdleRunner : public ProcessRunner {
 public:
  struct Ended : RunningProcess {
    bool HasEnded() override { return true; }
    void Terminate() override {}
  };
  std::unique_ptr<RunningProcess> StartHidden(std::string_view) override {
    ++starts;
    return std::make_unique<Ended>();
  }
  bool ShellOpen(std::string_view, std::string_view) override { return false; }
  int starts = 0;
};

TEST_F(RestoreDialogGui, KeysThatDidNotComeBackAreNamedAndTheBackupStays) {
  ::RegDeleteTreeA(HKEY_CURRENT_USER, TestKey);
  WriteFile("2026_12_06_235959.reg", std::string("REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\") + TestKey +
                                         "]\r\n\"Lost\"=\"x\"\r\n\r\n");
  IdleRunner runner;
  DialogScript script([](DialogScript& s) {
    HWND window = RestoreWindow();
    s.Check(window != nullptr, "the restore window appeared");
    if (!window) return;
    SelectRowOf(window, 0);
    s.Check(WaitFor([&] { return ActionsEnabled(window); }), "Restore enabled");
    Click(window, IDC_RESTORE_RESTORE);
    const auto namesTheKey = [](HWND box) {
      HWND label = ::GetDlgItem(box, 0xFFFF);
      return label && TextOf(label).find("HKEY_CURRENT_USER\\Software\\LindquaDialogTest: missing") != std::string::npos &&
             TextOf(label).find("The backup file was kept.") != std::string::npos;
    };
    HWND box = WaitForDialog(namesTheKey);
    s.Check(box != nullptr, "the missing key is named");
    if (box) Click(box, IDOK);
    s.Check(WaitFor([&] { return !FindDialog(namesTheKey); }), "box gone");
    s.Check(RowCount(window) == 1 && SelectedRow(window) == 0, "the backup stays listed and selected");
    Click(window, IDC_RESTORE_CLOSE);
  });
  ShowRestoreWindow(nullptr, files, facts, runner, folder);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_EQ(runner.starts, 1);
  EXPECT_TRUE(files.FileExists(PathOf("2026_12_06_235959.reg")));
}

TEST_F(RestoreDialogGui, MissingFolderIsReportedAndListsNothing) {
  const std::string missing = PathOf("gone");
  Win32ProcessRunner processes;
  DialogScript script([&missing](DialogScript& s) {
    HWND box = WaitForDialog(MessageBoxWith("can not find the backup folder."));
    s.Check(box != nullptr, "the missing folder is reported");
    if (!box) return;
    s.Check(TextOf(box) == "Vantorel Lindqua", "box caption");
    Click(box, IDOK);
    HWND window = RestoreWindow();
    s.Check(window != nullptr, "the restore window appeared");
    if (!window) return;
    s.Check(TextOf(::GetDlgItem(window, IDC_RESTORE_FOLDER)) == missing, "the folder is still shown");
    s.Check(RowCount(window) == 0 && ActionsDisabled(window), "no rows, no actions");
    Click(window, IDCANCEL);  // Escape or the title-bar close
  });
  ShowRestoreWindow(nullptr, files, facts, processes, missing);
  EXPECT_EQ(script.Failures(), "");
}

}  // namespace lindqua::test
