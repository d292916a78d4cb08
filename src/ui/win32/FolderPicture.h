#pragma once
// The browse button's folder pictures, drawn rather than loaded, so that
// they need no image files and scale with the control.
#include <windows.h>

#include "ui/win32/UiHandles.h"

namespace lindqua {

// A square folder picture of `size` pixels; `highlighted` for the picture
// shown under the mouse.
UniqueGdiObject DrawFolderPicture(int size, bool highlighted);

}  // namespace lindqua
