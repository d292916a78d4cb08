#include "ui/win32/SystemPointDialog.h"

#include <commctrl.h>

#include "app/SystemPointPresenter.h"
#include "app/WindowMessages.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

constexpr UINT_PTR Timer1 = 1;
constexpr UINT Timer1Ms = 1000;

class TfrmSystemPoint : public ModalDialog, private SystemPointView, private RestorePointNotifier {
 public:
  explicit TfrmSystemPoint(RestorePointClient& client) : presenter_(*this, client, *this) {}

  ModalResult Run(HWND owner) {
    RunModal(owner, IDD_SYSTEMPOINT);
    return presenter_.Result();
  }

 private:
  void OnInit() override {
    LOGFONTW font{};
    auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    if (dialogFont && ::GetObjectW(dialogFont, sizeof font, &font)) {
      font.lfWeight = FW_BOLD;
      boldFont_.reset(::CreateFontIndirectW(&font));
      ::SendMessageW(Item(IDC_SYSTEMPOINT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(boldFont_.get()), FALSE);
    }
    ::SendMessageW(Item(IDC_SYSTEMPOINT_PROGRESS), PBM_SETRANGE32, 0, 100);
    ::SetTimer(Handle(), Timer1, Timer1Ms, nullptr);
    notifyWindow_ = Handle();
    presenter_.Show();
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_TIMER:
        if (wParam == Timer1) presenter_.OnTimer();
        return TRUE;
      case MSG_RESTORE_POINT_DONE:
        presenter_.OnRestorePointDone(static_cast<int>(lParam));
        return TRUE;
      case WM_COMMAND:
        // Enter and Escape do not end the wait; only the worker's answer or a close does.
        return TRUE;
      case WM_CLOSE:
        presenter_.OnClose();
        ::KillTimer(Handle(), Timer1);
        EndModal(presenter_.Result() == ModalResult::Ok ? IDOK : IDCANCEL);
        return TRUE;
      default:
        return FALSE;
    }
  }

  void SetProgress(int position) override {
    ::SendMessageW(Item(IDC_SYSTEMPOINT_PROGRESS), PBM_SETPOS, static_cast<WPARAM>(position), 0);
  }
  bool AskContinueAfterFailure() override {
    return ShowAppMessage(Handle(), LoadResString(IDS_RESTORE_POINT_FAILED),
                          MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
  }
  void Close() override { ::PostMessageW(Handle(), WM_CLOSE, 0, 0); }

  // Called on the worker thread; the handle was fixed before it started.
  void PostRestorePointDone(int lParam) override {
    ::PostMessageW(notifyWindow_, MSG_RESTORE_POINT_DONE, 0, static_cast<LPARAM>(lParam));
  }

  HWND notifyWindow_ = nullptr;
  UniqueGdiObject boldFont_;
  TfrmSystemPointPresenter presenter_;
};

}  // namespace

bool RunSystemPointDialog(HWND owner, RestorePointClient& client) {
  TfrmSystemPoint dialog(client);
  return dialog.Run(owner) == ModalResult::Ok;
}

}  // namespace lindqua
