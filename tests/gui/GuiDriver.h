#pragma once
// Drives windows of this process the way a user would and reads their
// controls back. Every wait is for a condition, with a generous limit.
#include <windows.h>
#include <commctrl.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <string>
#include <thread>

namespace lindqua::test {

// Dispatches messages until `done` holds; false when the limit passed first.
inline bool PumpUntil(const std::function<bool()>& done, std::chrono::seconds limit = std::chrono::seconds(60)) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    MSG message;
    while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&message);
      ::DispatchMessageW(&message);
    }
    if (done()) break;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

inline std::string TextOf(HWND window) {
  wchar_t buffer[512] = {};
  const int length = ::GetWindowTextW(window, buffer, 512);
  std::string text;
  for (int i = 0; i < length; ++i) text.push_back(static_cast<char>(buffer[i] < 128 ? buffer[i] : '?'));
  return text;
}

inline std::string ListText(HWND list, int row, int column) {
  wchar_t buffer[512] = {};
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = buffer;
  item.cchTextMax = 512;
  ::SendMessageW(list, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  std::string text;
  for (int i = 0; buffer[i]; ++i) text.push_back(static_cast<char>(buffer[i] < 128 ? buffer[i] : '?'));
  return text;
}

inline int ListCheckState(HWND list, int row) {
  return static_cast<int>((ListView_GetItemState(list, row, LVIS_STATEIMAGEMASK) & LVIS_STATEIMAGEMASK) >> 12);
}

// A point inside the state image of a tree node, found by the tree's own hit test.
inline bool TreeStateImagePoint(HWND tree, HTREEITEM item, POINT& point) {
  RECT rect{};
  if (!TreeView_GetItemRect(tree, item, &rect, FALSE)) return false;
  for (int x = rect.left; x < rect.right; ++x) {
    TVHITTESTINFO hit{};
    hit.pt = POINT{x, (rect.top + rect.bottom) / 2};
    TreeView_HitTest(tree, &hit);
    if (hit.hItem == item && (hit.flags & TVHT_ONITEMSTATEICON)) {
      point = hit.pt;
      return true;
    }
  }
  return false;
}

inline bool ListStateImagePoint(HWND list, int row, POINT& point) {
  RECT rect{};
  rect.left = LVIR_BOUNDS;
  if (!::SendMessageW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&rect))) return false;
  for (int x = rect.left; x < rect.right; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = POINT{x, (rect.top + rect.bottom) / 2};
    ListView_SubItemHitTest(list, &hit);
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON)) {
      point = hit.pt;
      return true;
    }
  }
  return false;
}

// Answers the next message box with this caption from another thread (the
// box runs its own modal loop on the window's thread) and keeps its text.
class MessageBoxAnswerer {
 public:
  explicit MessageBoxAnswerer(std::wstring caption)
      : worker_([this, caption = std::move(caption)] {
          const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
          while (!stop_ && std::chrono::steady_clock::now() < deadline) {
            if (HWND box = ::FindWindowW(L"#32770", caption.c_str())) {
              text_ = TextOf(::GetDlgItem(box, 0xFFFF));
              ::PostMessageW(box, WM_COMMAND, IDOK, 0);
              answered_ = true;
              return;
            }
            ::Sleep(5);  // polling another thread's window; there is nothing to wait on
          }
        }) {}
  ~MessageBoxAnswerer() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
  }
  // Valid once the worker has ended.
  std::string Text() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
    return text_;
  }
  bool Answered() const { return answered_; }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> answered_{false};
  std::string text_;
  std::thread worker_;
};

inline LPARAM PointParam(POINT point) { return MAKELPARAM(point.x, point.y); }

// Saves what a window shows as a 24-bit BMP file. It reads the window's own
// surface, not the screen: with no window manager a frame's place on the
// screen can differ from what Win32 reports.
inline bool SaveWindowShot(HWND window, const std::wstring& path) {
  ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  RECT rect{};
  ::GetWindowRect(window, &rect);
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  HDC screen = ::GetWindowDC(window);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  ::SelectObject(memory, old);
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = width;
  info.biHeight = height;
  info.biPlanes = 1;
  info.biBitCount = 24;
  const DWORD stride = ((static_cast<DWORD>(width) * 3 + 3) / 4) * 4;
  std::string pixels(stride * static_cast<DWORD>(height), '\0');
  ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
              DIB_RGB_COLORS);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(window, screen);
  BITMAPFILEHEADER file{};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  HANDLE out = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (out == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  bool ok = ::WriteFile(out, &file, sizeof file, &written, nullptr) &&
            ::WriteFile(out, &info, sizeof info, &written, nullptr) &&
            ::WriteFile(out, pixels.data(), static_cast<DWORD>(pixels.size()), &written, nullptr);
  ::CloseHandle(out);
  return ok;
}

}  // namespace lindqua::test
