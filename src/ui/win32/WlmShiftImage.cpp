#include "ui/win32/WlmShiftImage.h"

#include <memory>

#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

struct ShiftImageState {
  UniqueGdiObject focusedPicture;
  UniqueGdiObject noFocusedPicture;
  ShownPicture shown = ShownPicture::None;
  bool tracking = false;  // a leave notice is requested
  bool pressed = false;   // shifted by a mouse button or a key
};

ShiftImageState* StateOf(HWND window) {
  return reinterpret_cast<ShiftImageState*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

HGDIOBJ CopyPicture(LPARAM picture) {
  return picture ? ::CopyImage(reinterpret_cast<HBITMAP>(picture), IMAGE_BITMAP, 0, 0, 0) : nullptr;
}

void Show(HWND window, ShiftImageState& state, ShownPicture picture) {
  if (!::IsWindowEnabled(window) || state.shown == picture) return;
  state.shown = picture;
  ::InvalidateRect(window, nullptr, TRUE);
}

// The press-in shift moves the control itself, as a pressed button sinks.
void Shift(HWND window, ShiftImageState& state, bool press) {
  if (state.pressed == press) return;
  state.pressed = press;
  RECT rect{};
  ::GetWindowRect(window, &rect);
  ::MapWindowPoints(nullptr, ::GetParent(window), reinterpret_cast<POINT*>(&rect), 2);
  const int offset = press ? ShiftImagePressOffset : -ShiftImagePressOffset;
  ::SetWindowPos(window, nullptr, rect.left + offset, rect.top + offset, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Click(HWND window) {
  ::SendMessageW(::GetParent(window), WM_COMMAND,
                 MAKEWPARAM(static_cast<WORD>(::GetDlgCtrlID(window)), BN_CLICKED),
                 reinterpret_cast<LPARAM>(window));
}

void Paint(HWND window, const ShiftImageState& state) {
  PAINTSTRUCT paint;
  HDC dc = ::BeginPaint(window, &paint);
  RECT client{};
  ::GetClientRect(window, &client);
  const HGDIOBJ picture =
      state.shown == ShownPicture::Focused ? state.focusedPicture.get() : state.noFocusedPicture.get();
  if (picture) {
    UniqueMemoryDc memory(::CreateCompatibleDC(dc));
    BITMAP info{};
    if (memory && ::GetObjectW(picture, sizeof info, &info)) {
      const HGDIOBJ old = ::SelectObject(memory.get(), picture);
      ::StretchBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
      ::SelectObject(memory.get(), old);
    }
  }
  if (::GetFocus() == window) ::DrawFocusRect(dc, &client);
  ::EndPaint(window, &paint);
}

LRESULT CALLBACK ShiftImageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  ShiftImageState* state = StateOf(window);
  if (message == WM_NCCREATE) {
    state = new (std::nothrow) ShiftImageState;
    if (!state) return FALSE;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(state));
  }
  if (!state) return ::DefWindowProcW(window, message, wParam, lParam);
  switch (message) {
    case WM_NCDESTROY:
      ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      delete state;
      return 0;
    case SIM_SETFOCUSEDPICTURE:
      state->focusedPicture.reset(CopyPicture(lParam));
      ::InvalidateRect(window, nullptr, TRUE);
      return 0;
    case SIM_SETNOFOCUSEDPICTURE:
      state->noFocusedPicture.reset(CopyPicture(lParam));
      // At run time the control starts with the picture it was given.
      if (state->shown == ShownPicture::None) state->shown = ShownPicture::NoFocused;
      ::InvalidateRect(window, nullptr, TRUE);
      return 0;
    case SIM_GETSHOWNPICTURE:
      return static_cast<LRESULT>(state->shown);
    case WM_MOUSEMOVE:
      if (!state->tracking) {
        TRACKMOUSEEVENT track{};
        track.cbSize = sizeof track;
        track.dwFlags = TME_LEAVE;
        track.hwndTrack = window;
        state->tracking = ::TrackMouseEvent(&track) != FALSE;
        Show(window, *state, ShownPicture::Focused);
      }
      return 0;
    case WM_MOUSELEAVE:
      state->tracking = false;
      Show(window, *state, ShownPicture::NoFocused);
      return 0;
    case WM_LBUTTONDOWN:
      ::SetFocus(window);
      ::SetCapture(window);
      Shift(window, *state, true);
      return 0;
    case WM_LBUTTONUP: {
      const bool wasPressed = state->pressed;
      if (::GetCapture() == window) ::ReleaseCapture();
      Shift(window, *state, false);
      RECT client{};
      ::GetClientRect(window, &client);
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (wasPressed && ::PtInRect(&client, point)) Click(window);
      return 0;
    }
    case WM_GETDLGCODE:
      // Enter is ours while we have the focus; otherwise the dialog would
      // press its default button instead.
      if (auto* msg = reinterpret_cast<MSG*>(lParam); msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) {
        return DLGC_WANTMESSAGE;
      }
      return DLGC_BUTTON;
    case WM_KEYDOWN:
      if ((wParam == VK_SPACE || wParam == VK_RETURN) && !(lParam & (1 << 30))) Shift(window, *state, true);
      return 0;
    case WM_KEYUP:
      if ((wParam == VK_SPACE || wParam == VK_RETURN) && state->pressed) {
        Shift(window, *state, false);
        Click(window);
      }
      return 0;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      if (message == WM_KILLFOCUS) Shift(window, *state, false);
      ::InvalidateRect(window, nullptr, TRUE);
      return 0;
    case WM_SETCURSOR:
      ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
      return TRUE;
    case WM_PAINT:
      Paint(window, *state);
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

}  // namespace

bool RegisterShiftImageClass() {
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  const HINSTANCE instance = ::GetModuleHandleW(nullptr);
  if (::GetClassInfoExW(instance, ShiftImageClassName, &existing)) return true;
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = ShiftImageProc;
  windowClass.hInstance = instance;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_HAND);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = ShiftImageClassName;
  return ::RegisterClassExW(&windowClass) != 0;
}

}  // namespace lindqua
