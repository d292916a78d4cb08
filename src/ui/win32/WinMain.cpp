// Program entry of lindqua.exe: one instance at a time. A second start finds
// the running main window by its class name, asks it to come forward and
// ends without creating a window.
#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "app/OptionsSetting.h"
#include "engine/ScanNotifier.h"
#include "platform/win32/WinText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "ui/win32/TfrmMain.h"

namespace {

using namespace lindqua;

// The values of a first start, until the settings file layer is connected:
// every section checked, removable drives ignored.
class FirstStartSettings : public MainWindowSettings {
 public:
  void Load(TOptionsSetting& options) override {
    options.NodeSelected.fill(true);
    options.IgnoreRemovableDrive = true;
  }
  void Save(const TOptionsSetting&, const WindowBounds&) override {}
};

std::vector<std::string> Arguments() {
  std::vector<std::string> arguments;
  int count = 0;
  LPWSTR* argv = ::CommandLineToArgvW(::GetCommandLineW(), &count);
  if (!argv) return arguments;
  for (int i = 1; i < count; ++i) arguments.push_back(Narrow(argv[i]));
  ::LocalFree(argv);
  return arguments;
}

int Run(int showCommand) {
  if (HWND running = ::FindWindowW(MainWindowClassName, nullptr)) {
    ::PostMessageW(running, MSG_SHOW_INSTANCE, 0, 0);
    ::SetForegroundWindow(running);
    return 0;
  }
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  FirstStartSettings settings;
  MainWindowDeps deps{ScanPlatform{registry, files, facts}, settings, OptionsSetting};
  deps.arguments = Arguments();
  TfrmMain window(std::move(deps));
  if (!window.Create(showCommand)) return 1;
  MSG message;
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (::TranslateAcceleratorW(window.Handle(), window.Accelerators(), &message)) continue;
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
