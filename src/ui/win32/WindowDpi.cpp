#include "ui/win32/WindowDpi.h"

#include "app/MainLayout.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);

// Looked up once: the program also runs where user32 has no such call.
GetDpiForWindowFn PerWindowDpiCall() {
  static const GetDpiForWindowFn call = [] {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    return user32 ? reinterpret_cast<GetDpiForWindowFn>(
                        reinterpret_cast<void*>(::GetProcAddress(user32, "GetDpiForWindow")))
                  : nullptr;
  }();
  return call;
}

int ScreenDpi() {
  const UniqueScreenDc screen(::GetDC(nullptr));
  return screen ? ::GetDeviceCaps(screen.get(), LOGPIXELSY) : DesignDpi;
}

}  // namespace

int DpiOf(HWND window) {
  if (window) {
    if (const GetDpiForWindowFn call = PerWindowDpiCall()) {
      if (const UINT dpi = call(window); dpi != 0) return static_cast<int>(dpi);
    }
  }
  const int dpi = ScreenDpi();
  return dpi > 0 ? dpi : DesignDpi;
}

int ScaleFor(HWND window, int designPixels) { return ScaleForDpi(designPixels, DpiOf(window)); }

}  // namespace lindqua
