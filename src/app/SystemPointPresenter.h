#pragma once
// The restore-point dialog's decisions: the progress bar's shrinking steps,
// the question after a failed request, and the modal result that tells the
// fix whether to go on.
#include <memory>

#include "repair/TCreateSystemPointThread.h"

namespace lindqua {

enum class ModalResult { None = 0, Ok = 1, Cancel = 2 };

class SystemPointView {
 public:
  virtual ~SystemPointView() = default;
  virtual void SetProgress(int position) = 0;
  // "Restore Point creation Failed! Contiue to fix?"; true when the user answers Yes.
  virtual bool AskContinueAfterFailure() = 0;
  // Posts the dialog's own close request.
  virtual void Close() = 0;
};

// The bar's next position after one 1000 ms tick.
int NextRestorePointProgress(int position) noexcept;

class TfrmSystemPointPresenter {
 public:
  // Ticks without an answer after which the request counts as failed, so the
  // dialog cannot wait for ever on a request that hangs (ten minutes).
  static constexpr int GiveUpTicks = 600;

  TfrmSystemPointPresenter(SystemPointView& view, RestorePointClient& client, RestorePointNotifier& notifyWindow);

  void Show();
  void OnTimer();
  void OnRestorePointDone(int lParam);
  // The dialog is closing; before an answer this abandons the worker and cancels.
  void OnClose();

  bool Reported() const noexcept { return reported_; }
  ModalResult Result() const noexcept { return result_; }
  int Position() const noexcept { return position_; }

 private:
  SystemPointView& view_;
  TCreateSystemPointThread worker_;
  bool reported_ = false;
  ModalResult result_ = ModalResult::None;
  int position_ = 0;
  int ticks_ = 0;
};

}  // namespace lindqua
