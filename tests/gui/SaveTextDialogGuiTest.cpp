// "Save as Text..." under Wine: the common save dialog driven through its own
// controls, the overwrite question and the file that lands on disk.
#include <windows.h>
#include <commdlg.h>
#include <dlgs.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include "gui/DialogDriver.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "ui/win32/SaveTextDialog.h"

namespace lindqua::test {

namespace {

const std::vector<Finding> Rows{
    Finding{"Obsolete Software Entry", "", "HKEY_CURRENT_USER\\Software\\Old", 0, 0, false, ""},
    Finding{"Empty Registry Keys", "Foo", "HKEY_USERS\\S-1-5-18\\Software\\Foo", 3, 0, false, ""},
};
constexpr char ReportText[] =
    "Obsolete Software Entry  ^^^    ^^^  HKEY_CURRENT_USER\\Software\\Old\r\n"
    "Empty Registry Keys  ^^^  Foo  ^^^  HKEY_USERS\\S-1-5-18\\Software\\Foo\r\n";

HWND SaveDialog() {
  return WaitForDialog([](HWND window) { return TextOf(window) == "Save as Text"; });
}

// Types a name into the dialog's file name field and presses Save.
void Choose(HWND dialog, const std::string& name) {
  const std::wstring wide(name.begin(), name.end());
  ::SetDlgItemTextW(dialog, edt1, wide.c_str());
  ::SetDlgItemTextW(dialog, cmb13, wide.c_str());
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

class SaveTextDialogGui : public ::testing::Test {
 protected:
  void SetUp() override {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    folder = "C:\\lindqua-dialog-tests\\save-" + std::to_string(::GetCurrentProcessId());
    files.DeletePath(folder);
    ASSERT_TRUE(files.ForceDirectories(folder));
  }
  void TearDown() override {
    files.DeletePath(folder);
    ::CoUninitialize();
  }
  std::string Contents(const std::string& path) {
    std::string bytes;
    return files.ReadWholeFile(path, bytes) ? bytes : "<missing>";
  }

  Win32FileSystem files;
  Win32AnsiCodePage ansi;
  std::string folder;
};

}  // namespace

TEST(SaveReportView, AFailedWriteIsExplainedInTheSystemsWords) {
  Win32FileSystem files;
  Win32SaveReportView view(nullptr);
  ASSERT_FALSE(files.WriteWholeFile("C:\\lq-no-such-folder\\report.txt", "x"));
  const std::string reason = view.LastFileErrorReason();
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(reason.find("System error"), std::string::npos) << reason;
  EXPECT_EQ(reason.find('\n'), std::string::npos) << "one line";
}

TEST(CommonDialogFilter, PairsEndWithNulAndTheListWithTwo) {
  EXPECT_EQ(CommonDialogFilter("Text files (*.txt)|*.txt"), std::wstring(L"Text files (*.txt)\0*.txt\0\0", 26));
}

TEST_F(SaveTextDialogGui, CancelledDialogWritesNothing) {
  Win32SaveReportView view(nullptr);
  DialogScript script([](DialogScript& s) {
    HWND dialog = SaveDialog();
    s.Check(dialog != nullptr, "the save dialog appeared");
    if (!dialog) return;
    HWND types = ::GetDlgItem(dialog, cmb1);
    wchar_t label[64] = {};
    ::SendMessageW(types, CB_GETLBTEXT, 0, reinterpret_cast<LPARAM>(label));
    s.Check(std::wstring(label) == L"Text files (*.txt)", "the one filter entry");
    ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
  });
  EXPECT_FALSE(aSaveTextExecute(Rows, view, files, ansi));
  EXPECT_EQ(script.Failures(), "");
  EXPECT_TRUE(files.ListFolder(folder).empty());
}

TEST_F(SaveTextDialogGui, ChosenNameGetsTxtAndAnExistingFileIsOnlyReplacedOnYes) {
  Win32SaveReportView view(nullptr);
  const std::string chosen = folder + "\\report";
  const std::string written = chosen + ".txt";

  {
    DialogScript script([&](DialogScript& s) {
      HWND dialog = SaveDialog();
      s.Check(dialog != nullptr, "the save dialog appeared");
      if (dialog) Choose(dialog, chosen);
    });
    EXPECT_TRUE(aSaveTextExecute(Rows, view, files, ansi));
    EXPECT_EQ(script.Failures(), "");
    EXPECT_EQ(Contents(written), ReportText);
  }

  ASSERT_TRUE(files.WriteWholeFile(written, "older report"));
  const std::string question = written + " has existed,overite it?";
  for (const int answer : {IDNO, IDYES}) {
    DialogScript script([&](DialogScript& s) {
      HWND dialog = SaveDialog();
      s.Check(dialog != nullptr, "the save dialog appeared");
      if (!dialog) return;
      Choose(dialog, chosen);
      HWND box = WaitForDialog(MessageBoxWith(question));
      s.Check(box != nullptr, "the overwrite question names the .txt file");
      if (!box) return;
      s.Check(IsDefaultButton(box, IDNO) && !IsDefaultButton(box, IDYES), "No is the default button");
      Click(box, answer);
    });
    EXPECT_EQ(aSaveTextExecute(Rows, view, files, ansi), answer == IDYES);
    EXPECT_EQ(script.Failures(), "");
    EXPECT_EQ(Contents(written), answer == IDYES ? ReportText : "older report");
  }
}

}  // namespace lindqua::test
