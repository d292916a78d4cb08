// The options dialog under Wine, opened from the main window's menu: entries
// added, edited and removed through the entry dialog, Cancel that keeps
// nothing, OK that first refuses a missing folder, the browse picture, and
// the settings file written when the window closes.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include "app/ErrorReporter.h"
#include "app/IgnoreFilter.h"
#include "app/LoadSaveSettings.h"
#include "gui/DialogDriver.h"
#include "gui/SettingsFileGuard.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/Win32IniFile.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/MainRes.h"
#include "ui/win32/TfrmMain.h"
#include "ui/win32/WlmShiftImage.h"

namespace lindqua::test {

namespace {

class RecordedErrors : public ErrorReporter {
 public:
  void ShowError(std::string_view message) override { shown.emplace_back(message); }
  std::vector<std::string> shown;
};

HWND OptionsWindow() { return WaitForDialog(WithControl(IDC_OPTIONS_KEYS)); }
HWND KeysOf(HWND dialog) { return ::GetDlgItem(dialog, IDC_OPTIONS_KEYS); }
int KeyRows(HWND dialog) { return ListView_GetItemCount(KeysOf(dialog)); }
bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
void SelectKey(HWND dialog, int row) {
  ListView_SetItemState(KeysOf(dialog), row, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
}
void SetText(HWND dialog, int id, const std::string& text) {
  ::SendMessageW(::GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}
HWND FocusOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  ::GetGUIThreadInfo(::GetWindowThreadProcessId(window, nullptr), &info);
  return info.hwndFocus;
}
POINT TopLeftInParent(HWND control) {
  RECT rect{};
  ::GetWindowRect(control, &rect);
  POINT point{rect.left, rect.top};
  ::ScreenToClient(::GetParent(control), &point);
  return point;
}

// Adds or edits one entry through the entry dialog that `button` opens.
void EnterKey(DialogScript& script, HWND options, int button, const std::string& expectedField,
              const std::string& text, const std::string& screenshot = "") {
  Click(options, button);
  HWND entry = WaitForDialog(WithControl(IDC_REGADD_KEY));
  script.Check(entry != nullptr, "the entry dialog did not open");
  if (!entry) return;
  script.Check(TextOf(entry) == "Add to Ignore List", "entry caption: " + TextOf(entry));
  script.Check(TextOf(::GetDlgItem(entry, IDC_REGADD_EXAMPLE)) == "Example: HKEY_CURRENT_USER\\SOFTWARE",
               "example: " + TextOf(::GetDlgItem(entry, IDC_REGADD_EXAMPLE)));
  script.Check(TextOf(::GetDlgItem(entry, IDC_REGADD_KEY)) == expectedField,
               "entry field: " + TextOf(::GetDlgItem(entry, IDC_REGADD_KEY)));
  if (!screenshot.empty()) script.Check(SaveWindowShot(entry, Wide(screenshot)), "screenshot " + screenshot);
  SetText(entry, IDC_REGADD_KEY, text);
  Click(entry, IDOK);
  script.Check(WaitFor([&] { return !::IsWindow(entry); }), "the entry dialog stayed open");
}

class OptionsDialogGui : public ::testing::Test {
 protected:
  void SetUp() override {
    backups = "C:\\lq-options-" + std::to_string(::GetCurrentProcessId());
    ASSERT_TRUE(files.ForceDirectories(backups));
    settingsFile.Write("[Settings]\r\nBackupFolder=" + backups + "\r\n[IgnoreKey]\r\nCount=1\r\nKey1=HKEY_CURRENT_USER\\Software\\Kept\r\n");
    binding = std::make_unique<SettingsFileStore>(files, ini, GetProgramFolder(), errors, [] {
      return WindowSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    });
    MainWindowDeps deps{ScanPlatform{registry, files, facts}, *binding, options};
    deps.quitOnClose = false;
    window = std::make_unique<TfrmMain>(std::move(deps));
    ASSERT_TRUE(window->Create(SW_SHOW));
    ASSERT_TRUE(PumpUntil([] { return true; }));
  }
  void TearDown() override {
    window.reset();
    files.DeletePath(backups);
  }
  void OpenSettings() { ::SendMessageW(window->Handle(), WM_COMMAND, MAKEWPARAM(IDM_SETTINGS, 0), 0); }

  SettingsFileGuard settingsFile;
  Win32FileSystem files;
  Win32IniFiles ini;
  MemoryRegistry registry;
  MemorySystemFacts facts;
  RecordedErrors errors;
  std::unique_ptr<SettingsFileStore> binding;
  TOptionsSetting options;
  std::unique_ptr<TfrmMain> window;
  std::string backups;
};

TEST_F(OptionsDialogGui, SettingsMenuIsEnabledAndCancelKeepsEveryEdit) {
  HMENU file = ::GetSubMenu(::GetMenu(window->Handle()), 0);
  ::SendMessageW(window->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(file), 0);
  EXPECT_FALSE(::GetMenuState(file, IDM_SETTINGS, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(SaveWindowShot(window->Handle(), Wide(std::string(LINDQUA_BUILD_DIR) + "\\main-window.bmp")));
  const TOptionsSetting before = options;
  ASSERT_EQ(before.IgnoreKeyCount, 1);

  DialogScript script([&](DialogScript& s) {
    HWND dialog = OptionsWindow();
    s.Check(dialog != nullptr, "the options dialog did not open");
    if (!dialog) return;
    s.Check(TextOf(dialog) == "Options", "caption: " + TextOf(dialog));
    RECT client{};
    ::GetClientRect(dialog, &client);
    s.Check(client.right == 492 && client.bottom == 441, "client area " + std::to_string(client.right) + " x " +
                                                             std::to_string(client.bottom));
    RECT removable{}, check64{};
    ::GetWindowRect(::GetDlgItem(dialog, IDC_OPTIONS_IGNOREREMOVEMEDIA), &removable);
    ::GetWindowRect(::GetDlgItem(dialog, IDC_OPTIONS_CHECK64BITPATHS), &check64);
    s.Check(check64.top >= removable.bottom && check64.left == removable.left,
            "the 64-bit paths box stands below the removable-drive box");
    s.Check(KeyRows(dialog) == 1 && ListText(KeysOf(dialog), 0, 0) == "HKEY_CURRENT_USER\\Software\\Kept",
            "the loaded ignore list is shown");
    s.Check(TextOf(::GetDlgItem(dialog, IDC_OPTIONS_FOLDER)) == backups, "the backup folder is shown");
    s.Check(!Enabled(dialog, IDC_OPTIONS_EDIT) && !Enabled(dialog, IDC_OPTIONS_REMOVE), "no row, no Edit/Remove");
    s.Check(SaveWindowShot(dialog, Wide(std::string(LINDQUA_BUILD_DIR) + "\\options-dialog.bmp")), "screenshot");
    EnterKey(s, dialog, IDC_OPTIONS_ADD, "", "HKEY_CURRENT_USER\\Software\\Added",
             std::string(LINDQUA_BUILD_DIR) + "\\entry-dialog.bmp");
    SelectKey(dialog, 0);
    s.Check(WaitFor([&] { return Enabled(dialog, IDC_OPTIONS_REMOVE); }), "a selected row enables Remove");
    Click(dialog, IDC_OPTIONS_REMOVE);
    s.Check(WaitFor([&] { return KeyRows(dialog) == 1; }), "Remove deletes the row without asking");
    ::SendMessageW(::GetDlgItem(dialog, IDC_OPTIONS_CREATERESTORE), BM_CLICK, 0, 0);
    Click(dialog, IDCANCEL);
  });
  OpenSettings();
  EXPECT_EQ(script.Failures(), "");
  EXPECT_EQ(options.IgnoreKeyCount, before.IgnoreKeyCount);
  EXPECT_EQ(options.IgnoreKeys, before.IgnoreKeys);
  EXPECT_EQ(options.CreateRestore, before.CreateRestore);
  EXPECT_EQ(options.BackupFolder, before.BackupFolder);
}

TEST_F(OptionsDialogGui, OkRefusesAMissingFolderThenStoresAndTheFileGetsItAtClose) {
  const std::string missing = backups + "\\not-there";
  DialogScript script([&](DialogScript& s) {
    HWND dialog = OptionsWindow();
    s.Check(dialog != nullptr, "the options dialog did not open");
    if (!dialog) return;
    EnterKey(s, dialog, IDC_OPTIONS_ADD, "", "HKEY_CURRENT_USER\\Software\\Test");
    EnterKey(s, dialog, IDC_OPTIONS_ADD, "", "HKEY_CURRENT_USER\\Software\\Test");
    SelectKey(dialog, 0);
    s.Check(WaitFor([&] { return Enabled(dialog, IDC_OPTIONS_EDIT); }), "a selected row enables Edit");
    // A double-click on the row edits it, as "&Edit" does.
    RECT row{};
    ListView_GetItemRect(KeysOf(dialog), 0, &row, LVIR_LABEL);
    ::PostMessageW(KeysOf(dialog), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(row.left + 4, row.top + 3));
    HWND entry = WaitForDialog(WithControl(IDC_REGADD_KEY));
    s.Check(entry && TextOf(::GetDlgItem(entry, IDC_REGADD_KEY)) == "HKEY_CURRENT_USER\\Software\\Kept",
            "a double-click opens the entry dialog on the row");
    if (entry) {
      SetText(entry, IDC_REGADD_KEY, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited");
      Click(entry, IDOK);
      s.Check(WaitFor([&] { return !::IsWindow(entry); }), "the entry dialog stayed open");
    }
    s.Check(WaitFor([&] { return ListText(KeysOf(dialog), 0, 0) == "HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited"; }),
            "the edit replaced the row's text");

    SetText(dialog, IDC_OPTIONS_FOLDER, missing);
    Click(dialog, IDOK);
    HWND box = WaitForDialog(MessageBoxWith(missing + ",can not find the backup folder."));
    s.Check(box != nullptr, "no message about the missing folder");
    if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    s.Check(WaitFor([&] { return FocusOf(dialog) == ::GetDlgItem(dialog, IDC_OPTIONS_FOLDER); }),
            "the folder field takes the focus");
    s.Check(::IsWindowVisible(dialog) != FALSE, "the dialog stays open");
    SetText(dialog, IDC_OPTIONS_FOLDER, backups);
    ::SendMessageW(::GetDlgItem(dialog, IDC_OPTIONS_CREATERESTORE), BM_CLICK, 0, 0);
    Click(dialog, IDOK);
  });
  OpenSettings();
  EXPECT_EQ(script.Failures(), "");
  EXPECT_FALSE(files.DirectoryExists(missing)) << "the folder is not created";
  EXPECT_TRUE(options.CreateRestore);
  EXPECT_EQ(options.BackupFolder, backups);
  const std::vector<std::string> keys{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited", "HKEY_CURRENT_USER\\Software\\Test",
                                      "HKEY_CURRENT_USER\\Software\\Test"};
  EXPECT_EQ(options.IgnoreKeyCount, 3);
  EXPECT_EQ(options.IgnoreKeys, keys);

  ::SendMessageW(window->Handle(), WM_CLOSE, 0, 0);
  std::string saved;
  ASSERT_TRUE(files.ReadWholeFile(AppDataSettingsFile(), saved));
  EXPECT_NE(saved.find("CreateRestore=1"), std::string::npos) << saved;
  EXPECT_NE(saved.find("[IgnoreKey]\r\nCount=3\r\nKey1=HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited\r\n"
                       "Key2=HKEY_CURRENT_USER\\Software\\Test\r\nKey3=HKEY_CURRENT_USER\\Software\\Test\r\n"),
            std::string::npos)
      << saved;
  EXPECT_TRUE(errors.shown.empty());
}

TEST_F(OptionsDialogGui, BrowsePictureSwapsShiftsAndAnswersTheKeyboard) {
  DialogScript script([&](DialogScript& s) {
    HWND dialog = OptionsWindow();
    s.Check(dialog != nullptr, "the options dialog did not open");
    if (!dialog) return;
    HWND browse = ::GetDlgItem(dialog, IDC_OPTIONS_BROWSE);
    RECT size{};
    ::GetClientRect(browse, &size);
    s.Check(size.right == 32 && size.bottom == 32, "the picture is 32 x 32");
    s.Check((::GetWindowLongW(browse, GWL_STYLE) & WS_TABSTOP) != 0, "the picture is a tab stop");
    auto shown = [&] { return static_cast<ShownPicture>(::SendMessageW(browse, SIM_GETSHOWNPICTURE, 0, 0)); };
    s.Check(shown() == ShownPicture::NoFocused, "starts with the unfocused picture");
    ::SendMessageW(browse, WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
    s.Check(shown() == ShownPicture::Focused, "the mouse over it shows the focused picture");
    ::SendMessageW(browse, WM_MOUSELEAVE, 0, 0);
    s.Check(shown() == ShownPicture::NoFocused, "the mouse leaving shows the unfocused picture");

    const POINT home = TopLeftInParent(browse);
    ::SendMessageW(browse, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    const POINT pressed = TopLeftInParent(browse);
    s.Check(pressed.x == home.x + 2 && pressed.y == home.y + 2, "a press shifts it 2 pixels down and right");
    ::SendMessageW(browse, WM_LBUTTONUP, 0, MAKELPARAM(-50, -50));  // released outside: no click
    const POINT released = TopLeftInParent(browse);
    s.Check(released.x == home.x && released.y == home.y, "a release shifts it back");

    // Space presses it: the folder picker opens; cancelling changes nothing.
    ::PostMessageW(browse, WM_KEYDOWN, VK_SPACE, 0);
    ::PostMessageW(browse, WM_KEYUP, VK_SPACE, 0xC0000001);
    HWND picker = WaitForDialog([dialog](HWND w) { return w != dialog && !::GetDlgItem(w, IDC_OPTIONS_KEYS); });
    s.Check(picker != nullptr, "Space on the picture opens the folder picker");
    if (picker) ::PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
    s.Check(WaitFor([&] { return !::IsWindow(picker); }), "the folder picker stayed open");
    s.Check(TextOf(::GetDlgItem(dialog, IDC_OPTIONS_FOLDER)) == backups, "a cancelled pick keeps the folder");
    Click(dialog, IDCANCEL);
  });
  OpenSettings();
  EXPECT_EQ(script.Failures(), "");
}

}  // namespace

}  // namespace lindqua::test
