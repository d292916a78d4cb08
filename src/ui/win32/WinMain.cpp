// Program entry of lindqua.exe: one instance at a time. A second start finds
// the running main window by its class name, asks it to come forward and
// ends without creating a window.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/OptionsSetting.h"
#include "app/WindowMessages.h"
#include "platform/win32/ProcessInfo.h"
#include "platform/win32/WinText.h"
#include "app/IgnoreFilter.h"
#include "app/LoadSaveSettings.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32IniFile.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32RestorePointClient.h"
#include "ui/win32/SystemPointDialog.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "ui/win32/TfrmMain.h"

namespace {

using namespace lindqua;

// A settings file the system refuses to write is said in a message box.
class MessageBoxErrors : public ErrorReporter {
 public:
  void ShowError(std::string_view message) override {
    ::MessageBoxW(::GetActiveWindow(), Wide(message).c_str(), L"Vantorel Lindqua", MB_OK | MB_ICONERROR);
  }
};

WindowSize PrimaryScreenSize() {
  return WindowSize{::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
}


int Run(int showCommand) {
  if (HWND running = ::FindWindowW(MainWindowClassName, nullptr)) {
    ::PostMessageW(running, MSG_SHOW_INSTANCE, 0, 0);
    ::SetForegroundWindow(running);
    return 0;
  }
  // The shell's folder picker and shortcut objects need COM on this thread.
  const UniqueComInit com = InitializeCom();
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  Win32IniFiles ini;
  Win32AnsiCodePage ansi;
  Win32ProcessRunner processes;
  MessageBoxErrors errors;
  SettingsFileStore settings(files, ini, GetProgramFolder(), errors, PrimaryScreenSize, &ansi);
  MainWindowDeps deps{ScanPlatform{registry, files, facts}, settings, OptionsSetting};
  deps.arguments = CommandLineArguments();
  deps.ignoreFilter = [currentUser = registry.CurrentUserKeyName().value_or("")](
                         std::vector<Finding>& rows, const std::vector<std::string>& keys, std::int32_t count) {
    ApplyIgnoreList(rows, keys, count, currentUser);
  };
  deps.ansi = &ansi;
  deps.processes = &processes;
  // The client lives as long as the process: an abandoned worker may still use it.
  static Win32RestorePointClient restorePoints;
  deps.restorePointDialog = [](HWND owner) { return RunSystemPointDialog(owner, restorePoints); };
  TfrmMain window(std::move(deps));
  if (!window.Create(showCommand)) return 1;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (window.TranslateKeys(message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int showCommand) {
  try {
    return Run(showCommand);
  } catch (...) {
    return 1;
  }
}
