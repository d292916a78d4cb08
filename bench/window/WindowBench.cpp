// How long the main window needs to show 100,000 findings that arrive through
// the real scan thread: from the Scan click until the last row is on screen.
// Run under Wine with a display: bench/window/run-wine [rows].
#include <windows.h>
#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "ui/win32/MainRes.h"
#include "ui/win32/TfrmMain.h"

namespace {

using namespace lindqua;

// Only the one section that produces the rows is checked; nothing is saved.
class BenchSettings : public MainWindowSettings {
 public:
  void Load(TOptionsSetting& options) override {
    options.NodeSelected.fill(false);
    options.NodeSelected[9] = true;
    options.IgnoreRemovableDrive = true;
  }
  bool Save(const TOptionsSetting&, const WindowPlacement&) override { return true; }
};

void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const int rows = argc > 1 ? std::atoi(argv[1]) : 100000;
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  BenchSettings settings;
  MainWindowDeps deps{ScanPlatform{registry, files, facts}, settings, OptionsSetting};
  deps.quitOnClose = false;
  deps.scanners = [rows](int section) -> std::function<void(ScanContext&)> {
    if (section != 9) return nullptr;
    return [rows](ScanContext& scan) {
      for (int i = 0; i < rows; ++i)
        scan.AddFinding("Old Start Menu Key", "value " + std::to_string(i), "HKEY_CURRENT_USER\\Software\\Bench", 3,
                        "No values and no subkeys");
    };
  };
  TfrmMain window(std::move(deps));
  if (!window.Create(SW_SHOW)) return 1;
  Pump();

  const auto start = std::chrono::steady_clock::now();
  ::SendMessageW(window.Handle(), WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED), 0);
  while (window.Presenter().Scanning()) {
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    Pump();
  }
  const auto finished = std::chrono::steady_clock::now();
  HWND list = window.List().Handle();
  ListView_EnsureVisible(list, rows - 1, FALSE);
  ::UpdateWindow(list);
  Pump();
  const auto visible = std::chrono::steady_clock::now();
  const auto ms = [&](auto to) {
    return static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(to - start).count());
  };
  // Counted before the window goes, which takes the list with it.
  const int shown = ListView_GetItemCount(list);
  std::printf("rows in the list: %d (expected %d)\n", shown, rows);
  std::printf("click to finished handling: %lld ms\n", ms(finished));
  std::printf("click to the last row drawn: %lld ms\n", ms(visible));
  ::DestroyWindow(window.Handle());
  return shown == rows ? 0 : 1;
}
