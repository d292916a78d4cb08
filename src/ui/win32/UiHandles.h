#pragma once
// Owners of the GUI handle kinds the windows create.
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "platform/win32/Handles.h"

namespace lindqua {

struct GdiObjectTraits {
  using Type = HGDIOBJ;
  static HGDIOBJ Invalid() noexcept { return nullptr; }
  static void Close(HGDIOBJ h) noexcept { ::DeleteObject(h); }
};
struct ImageListTraits {
  using Type = HIMAGELIST;
  static HIMAGELIST Invalid() noexcept { return nullptr; }
  static void Close(HIMAGELIST h) noexcept { ::ImageList_Destroy(h); }
};
struct MenuTraits {
  using Type = HMENU;
  static HMENU Invalid() noexcept { return nullptr; }
  static void Close(HMENU h) noexcept { ::DestroyMenu(h); }
};

// The screen's device context (GetDC of no window).
struct ScreenDcTraits {
  using Type = HDC;
  static HDC Invalid() noexcept { return nullptr; }
  static void Close(HDC dc) noexcept { ::ReleaseDC(nullptr, dc); }
};
struct MemoryDcTraits {
  using Type = HDC;
  static HDC Invalid() noexcept { return nullptr; }
  static void Close(HDC dc) noexcept { ::DeleteDC(dc); }
};

// A window's device context, released to that window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) noexcept : window_(window), dc_(::GetDC(window)) {}
  ~WindowDc() {
    if (dc_) ::ReleaseDC(window_, dc_);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC get() const noexcept { return dc_; }
  explicit operator bool() const noexcept { return dc_ != nullptr; }

 private:
  HWND window_;
  HDC dc_;
};

using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueScreenDc = UniqueHandle<ScreenDcTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

// A string of the program's string table.
std::wstring LoadResString(UINT id);

// The whole text of a window or control, as typed.
std::wstring WindowText(HWND window);

}  // namespace lindqua
