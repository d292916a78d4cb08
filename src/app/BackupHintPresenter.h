#pragma once
// The progress dialog shown while the registry editor imports a backup: it
// polls the process twice a second and lets the user stop it.
#include <string>

#include "app/SystemPointPresenter.h"
#include "platform/ProcessRunner.h"

namespace lindqua {

class BackupHintView {
 public:
  virtual ~BackupHintView() = default;
  virtual void SetProgress(int position) = 0;  // 0..500
  virtual void Close(ModalResult result) = 0;
};

// The bar's next position after one 500 ms tick.
int NextImportProgress(int position) noexcept;

class TfrmBackupHintPresenter {
 public:
  TfrmBackupHintPresenter(BackupHintView& view, RunningProcess& process) : view_(view), process_(process) {}

  void OnTimer();
  // "Stop": ends the process by force and cancels.
  void OnStop();
  ModalResult Result() const noexcept { return result_; }
  int Position() const noexcept { return position_; }

 private:
  BackupHintView& view_;
  RunningProcess& process_;
  ModalResult result_ = ModalResult::None;
  int position_ = 0;
};

// Shows the progress dialog modally for a started process.
class ImportDialogHost {
 public:
  virtual ~ImportDialogHost() = default;
  virtual ModalResult ShowBackupHint(RunningProcess& process, const std::string& hintText) = 0;
  virtual void ShowInformation(const std::string& text) = 0;
};

// Starts the command line hidden and waits in the progress dialog; true when
// the process ended on its own, false when it was stopped or could not start.
bool RunImport(ProcessRunner& runner, ImportDialogHost& host, const std::string& commandLine,
               const std::string& hintText);

}  // namespace lindqua
