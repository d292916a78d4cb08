#pragma once
// A dialog-template window shown modally, with its procedure routed to a C++
// object. Errors never leave the procedure: one that escapes a handler ends
// the dialog with Cancel, the answer that changes nothing.
#include <windows.h>

#include <initializer_list>
#include <string>

namespace lindqua {

class ModalDialog {
 public:
  ModalDialog() = default;
  virtual ~ModalDialog() = default;
  ModalDialog(const ModalDialog&) = delete;
  ModalDialog& operator=(const ModalDialog&) = delete;

 protected:
  // The value handed to EndModal; IDCANCEL when the dialog could not be made.
  INT_PTR RunModal(HWND owner, int templateId);
  HWND Handle() const noexcept { return hwnd_; }
  HWND Item(int id) const noexcept { return ::GetDlgItem(hwnd_, id); }
  void EndModal(INT_PTR result);

  // WM_INITDIALOG, after the window is centred on its owner.
  virtual void OnInit() = 0;
  // TRUE when the message was handled.
  virtual INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) = 0;

 private:
  static INT_PTR CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Places a window centred over its owner, or the screen's work area without one.
void CentreOnOwner(HWND window, HWND owner);

// Gives a window this client size, in design pixels at 96 DPI scaled for the
// window's DPI, keeping its frame and position.
void SetClientSize(HWND window, int width, int height);

// Where a control sits, in client pixels at 96 DPI.
struct ControlBox {
  int id;
  int left, top, width, height;
};

// Gives a dialog a client size in pixels, centres it on its owner and lays
// its controls out in pixels, for dialogs whose size is fixed in pixels
// whatever the font's dialog units come to. The pixels are design pixels at
// 96 DPI, scaled for the dialog's DPI as its font is.
void LayOutDialog(HWND dialog, int width, int height, std::initializer_list<ControlBox> boxes);

// The application's message box: caption "Vantorel Lindqua".
int ShowAppMessage(HWND owner, const std::wstring& text, UINT flags);

}  // namespace lindqua
