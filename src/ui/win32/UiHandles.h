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

using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueImageList = UniqueHandle<ImageListTraits>;
using UniqueMenu = UniqueHandle<MenuTraits>;

// A string of the program's string table.
std::wstring LoadResString(UINT id);

}  // namespace lindqua
