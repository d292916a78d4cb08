#include "ui/win32/RegAddRegistryDialog.h"

#include "platform/win32/WinText.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

constexpr int ClientWidth = 390;
constexpr int ClientHeight = 160;

class TfrmRegAddRegistry : public ModalDialog {
 public:
  explicit TfrmRegAddRegistry(std::string text) : text_(std::move(text)) {}

  std::optional<std::string> Run(HWND owner) {
    if (RunModal(owner, IDD_REGADDREGISTRY) != IDOK) return std::nullopt;
    return text_;
  }

 private:
  void OnInit() override {
    LayOutDialog(Handle(), ClientWidth, ClientHeight,
                 {
                  {IDC_REGADD_LABEL, 16, 14, 358, 16},
                  {IDC_REGADD_EXAMPLE, 16, 34, 358, 16},
                  {IDC_REGADD_KEY, 16, 60, 358, 24},
                  {IDOK, 196, 118, 84, 26},
                  {IDCANCEL, 290, 118, 84, 26},
                 });
    ::SetWindowTextW(Item(IDC_REGADD_KEY), Wide(text_).c_str());
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    if (message != WM_COMMAND) return FALSE;
    if (LOWORD(wParam) == IDOK) {
      // The field is read only when the user confirms.
      text_ = Narrow(WindowText(Item(IDC_REGADD_KEY)));
      EndModal(IDOK);
    } else if (LOWORD(wParam) == IDCANCEL) {
      EndModal(IDCANCEL);
    }
    return TRUE;
  }

  std::string text_;
};

}  // namespace

std::optional<std::string> RunRegAddRegistryDialog(HWND owner, const std::string& text) {
  TfrmRegAddRegistry dialog(text);
  return dialog.Run(owner);
}

}  // namespace lindqua
