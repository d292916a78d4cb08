#include "app/SystemPointPresenter.h"

namespace lindqua {

int NextRestorePointProgress(int position) noexcept {
  if (position >= 100) return 100;
  int step = 1;
  if (position <= 30) step = 10;
  else if (position <= 50) step = 5;
  else if (position <= 60) step = 3;
  else if (position <= 80) step = 2;
  return position + step > 100 ? 100 : position + step;
}

TfrmSystemPointPresenter::TfrmSystemPointPresenter(SystemPointView& view, RestorePointClient& client,
                                                   RestorePointNotifier& notifyWindow)
    : view_(view), worker_(client, notifyWindow) {}

void TfrmSystemPointPresenter::Show() {
  reported_ = false;
  view_.SetProgress(position_);
  worker_.Start();
}

void TfrmSystemPointPresenter::OnTimer() {
  if (reported_) return;
  position_ = NextRestorePointProgress(position_);
  view_.SetProgress(position_);
  if (++ticks_ >= GiveUpTicks) {
    worker_.Abandon();
    OnRestorePointDone(1);
  }
}

void TfrmSystemPointPresenter::OnRestorePointDone(int lParam) {
  if (reported_) return;
  reported_ = true;
  result_ = ModalResult::Ok;
  if (lParam == 1 && !view_.AskContinueAfterFailure()) result_ = ModalResult::Cancel;
  view_.Close();
}

void TfrmSystemPointPresenter::OnClose() {
  if (reported_) return;
  worker_.Abandon();
  reported_ = true;
  result_ = ModalResult::Cancel;
}

}  // namespace lindqua
