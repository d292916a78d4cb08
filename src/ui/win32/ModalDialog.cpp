#include "ui/win32/ModalDialog.h"

#include "app/MainLayout.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/UiHandles.h"
#include "ui/win32/WindowDpi.h"

namespace lindqua {

INT_PTR ModalDialog::RunModal(HWND owner, int templateId) {
  const INT_PTR result = ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), owner,
                                           Procedure, reinterpret_cast<LPARAM>(this));
  hwnd_ = nullptr;
  return result <= 0 ? IDCANCEL : result;
}

void ModalDialog::EndModal(INT_PTR result) {
  if (hwnd_) ::EndDialog(hwnd_, result);
}

INT_PTR CALLBACK ModalDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<ModalDialog*>(::GetWindowLongPtrW(window, DWLP_USER));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<ModalDialog*>(lParam);
    ::SetWindowLongPtrW(window, DWLP_USER, lParam);
    self->hwnd_ = window;
  }
  if (!self) return FALSE;
  try {
    if (message == WM_INITDIALOG) {
      CentreOnOwner(window, ::GetWindow(window, GW_OWNER));
      self->OnInit();
      return TRUE;
    }
    return self->OnMessage(message, wParam, lParam);
  } catch (...) {
    ::EndDialog(window, IDCANCEL);
    return TRUE;
  }
}

void CentreOnOwner(HWND window, HWND owner) {
  RECT area{};
  if (!owner || !::IsWindowVisible(owner) || !::GetWindowRect(owner, &area)) {
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  }
  RECT own{};
  ::GetWindowRect(window, &own);
  const int width = own.right - own.left;
  const int height = own.bottom - own.top;
  const int left = area.left + (area.right - area.left - width) / 2;
  const int top = area.top + (area.bottom - area.top - height) / 2;
  ::SetWindowPos(window, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetClientSize(HWND window, int width, int height) {
  const int dpi = DpiOf(window);
  RECT frame{0, 0, ScaleForDpi(width, dpi), ScaleForDpi(height, dpi)};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(window, GWL_EXSTYLE)));
  ::SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void LayOutDialog(HWND dialog, int width, int height, std::initializer_list<ControlBox> boxes) {
  SetClientSize(dialog, width, height);
  CentreOnOwner(dialog, ::GetWindow(dialog, GW_OWNER));
  const int dpi = DpiOf(dialog);
  const auto s = [dpi](int designPixels) { return ScaleForDpi(designPixels, dpi); };
  for (const ControlBox& box : boxes) {
    ::SetWindowPos(::GetDlgItem(dialog, box.id), nullptr, s(box.left), s(box.top), s(box.width), s(box.height),
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

int ShowAppMessage(HWND owner, const std::wstring& text, UINT flags) {
  return ::MessageBoxW(owner, text.c_str(), LoadResString(IDS_DIALOG_CAPTION).c_str(), flags);
}

}  // namespace lindqua
