#include "ui/win32/FolderPicture.h"

namespace lindqua {

UniqueGdiObject DrawFolderPicture(int size, bool highlighted) {
  UniqueScreenDc screen(::GetDC(nullptr));
  if (!screen) return {};
  UniqueGdiObject picture(::CreateCompatibleBitmap(screen.get(), size, size));
  UniqueMemoryDc dc(::CreateCompatibleDC(screen.get()));
  if (!picture || !dc) return {};
  const HGDIOBJ old = ::SelectObject(dc.get(), picture.get());
  RECT all{0, 0, size, size};
  ::FillRect(dc.get(), &all, ::GetSysColorBrush(COLOR_BTNFACE));

  const COLORREF body = highlighted ? RGB(0xFF, 0xD8, 0x4A) : RGB(0xE8, 0xB9, 0x3C);
  const COLORREF edge = highlighted ? RGB(0x1F, 0x4E, 0x8C) : RGB(0x8A, 0x64, 0x14);
  UniqueGdiObject brush(::CreateSolidBrush(body));
  UniqueGdiObject pen(::CreatePen(PS_SOLID, 1, edge));
  const HGDIOBJ oldBrush = ::SelectObject(dc.get(), brush.get());
  const HGDIOBJ oldPen = ::SelectObject(dc.get(), pen.get());
  const int unit = size / 8;
  // The tab, then the folder's body over it.
  ::Rectangle(dc.get(), unit, unit * 2, unit * 4, unit * 3 + 1);
  ::Rectangle(dc.get(), unit, unit * 3, size - unit, size - unit);
  ::SelectObject(dc.get(), oldPen);
  ::SelectObject(dc.get(), oldBrush);
  ::SelectObject(dc.get(), old);
  return picture;
}

}  // namespace lindqua
