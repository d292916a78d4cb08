#include "ui/win32/BackupHintDialog.h"

#include <commctrl.h>

#include "platform/win32/WinText.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

constexpr UINT_PTR Timer1 = 1;
constexpr UINT Timer1Ms = 500;

class TfrmBackupHint : public ModalDialog, private BackupHintView {
 public:
  TfrmBackupHint(RunningProcess& process, std::string hintText)
      : presenter_(*this, process), hintText_(std::move(hintText)) {}

  ModalResult Run(HWND owner) {
    RunModal(owner, IDD_BACKUPHINT);
    // A dialog that ended without the presenter's word stopped nothing: the
    // import may still be running, so it does not count as finished.
    return presenter_.Result() == ModalResult::Ok ? ModalResult::Ok : ModalResult::Cancel;
  }

 private:
  void OnInit() override {
    ::SetWindowTextW(Handle(), LoadResString(IDS_DIALOG_CAPTION).c_str());
    ::SetWindowTextW(Item(IDC_BACKUPHINT_HINT), Wide(hintText_).c_str());
    ::SendMessageW(Item(IDC_BACKUPHINT_PROGRESS), PBM_SETRANGE32, 0, 500);
    ::SetTimer(Handle(), Timer1, Timer1Ms, nullptr);
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM) override {
    switch (message) {
      case WM_TIMER:
        if (wParam == Timer1) presenter_.OnTimer();
        return TRUE;
      case WM_COMMAND:
        // Escape and Alt+F4 mean the same as "Stop": the import must not go on unseen.
        if (LOWORD(wParam) == IDC_BACKUPHINT_STOP || LOWORD(wParam) == IDCANCEL) presenter_.OnStop();
        return TRUE;
      case WM_CLOSE:
        presenter_.OnStop();
        return TRUE;
      default:
        return FALSE;
    }
  }

  void SetProgress(int position) override {
    ::SendMessageW(Item(IDC_BACKUPHINT_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }
  void Close(ModalResult result) override {
    ::KillTimer(Handle(), Timer1);
    EndModal(result == ModalResult::Ok ? IDOK : IDCANCEL);
  }

  TfrmBackupHintPresenter presenter_;
  std::string hintText_;
};

}  // namespace

ModalResult Win32ImportDialogHost::ShowBackupHint(RunningProcess& process, const std::string& hintText) {
  TfrmBackupHint dialog(process, hintText);
  return dialog.Run(owner_);
}

void Win32ImportDialogHost::ShowInformation(const std::string& text) {
  ShowAppMessage(owner_, Wide(text), MB_OK | MB_ICONINFORMATION);
}

}  // namespace lindqua
