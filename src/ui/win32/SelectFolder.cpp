#include "ui/win32/SelectFolder.h"

#include <shlobj.h>

#include <vector>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

// Keeps the program's other windows disabled while a modal dialog is up.
class OtherWindowsDisabled {
 public:
  OtherWindowsDisabled() { ::EnumThreadWindows(::GetCurrentThreadId(), &DisableOne, reinterpret_cast<LPARAM>(this)); }
  ~OtherWindowsDisabled() {
    for (HWND window : disabled_) ::EnableWindow(window, TRUE);
  }
  OtherWindowsDisabled(const OtherWindowsDisabled&) = delete;
  OtherWindowsDisabled& operator=(const OtherWindowsDisabled&) = delete;

 private:
  static BOOL CALLBACK DisableOne(HWND window, LPARAM self) {
    if (::IsWindowVisible(window) && ::IsWindowEnabled(window)) {
      ::EnableWindow(window, FALSE);
      reinterpret_cast<OtherWindowsDisabled*>(self)->disabled_.push_back(window);
    }
    return TRUE;
  }
  std::vector<HWND> disabled_;
};

int CALLBACK CentreOnScreen(HWND dialog, UINT message, LPARAM, LPARAM) {
  if (message == BFFM_INITIALIZED) {
    RECT client{};
    int x = 0;
    int y = 0;
    if (::GetClientRect(dialog, &client)) {
      x = (::GetSystemMetrics(SM_CXSCREEN) - (client.right - client.left)) / 2;
      y = (::GetSystemMetrics(SM_CYSCREEN) - (client.bottom - client.top)) / 2;
    }
    ::SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
  return 0;
}

}  // namespace

bool SelectFolder(HWND owner, std::string_view caption, std::wstring_view root, std::string& folder) {
  const std::wstring wideFolder = Wide(folder);
  const DWORD attributes = folder.empty() ? INVALID_FILE_ATTRIBUTES : ::GetFileAttributesW(wideFolder.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) folder.clear();

  // The shell writes the display name and the chosen path into this buffer.
  wchar_t text[MAX_PATH + 1] = {};

  UniqueCoTaskMem<ITEMIDLIST> rootList;
  if (!root.empty()) {
    ComPtr<IShellFolder> desktop;
    if (SUCCEEDED(::SHGetDesktopFolder(desktop.put())) && desktop) {
      std::wstring name(root);
      ULONG eaten = 0;
      if (FAILED(desktop->ParseDisplayName(owner, nullptr, name.data(), &eaten, rootList.put(), nullptr)))
        rootList.reset();
    }
  }

  const std::wstring title = Wide(caption);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.pidlRoot = rootList.get();
  browse.pszDisplayName = text;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS;
  browse.lpfn = &CentreOnScreen;
  browse.lParam = 0;

  UniqueCoTaskMem<ITEMIDLIST> chosen;
  {
    OtherWindowsDisabled disabled;
    const UniqueErrorMode quiet = SuppressCriticalErrors();
    chosen.reset(::SHBrowseForFolderW(&browse));
  }
  if (!chosen) return false;
  // A picked item without a file-system path is no folder the callers could use.
  if (!::SHGetPathFromIDListW(chosen.get(), text)) return false;
  folder = Narrow(text);
  return true;
}

}  // namespace lindqua
