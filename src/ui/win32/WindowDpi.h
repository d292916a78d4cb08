#pragma once
// The DPI a window is drawn at. With per-monitor awareness that is the DPI of
// the monitor it is on; systems older than the per-window call answer with
// the screen's DPI, which is the same for every window there.
#include <windows.h>

namespace lindqua {

// The window's DPI; the screen's for no window.
int DpiOf(HWND window);

// A design size in pixels at 96 DPI, for this window.
int ScaleFor(HWND window, int designPixels);

}  // namespace lindqua
