#include "app/BackupHintPresenter.h"

namespace lindqua {

int NextImportProgress(int position) noexcept {
  if (position >= 500) return 500;
  int step = 1;
  if (position <= 300) step = 10;
  else if (position <= 400) step = 5;
  else if (position <= 450) step = 3;
  else if (position <= 490) step = 2;
  return position + step > 500 ? 500 : position + step;
}

void TfrmBackupHintPresenter::OnTimer() {
  if (result_ != ModalResult::None) return;
  if (process_.HasEnded()) {
    result_ = ModalResult::Ok;
    view_.Close(result_);
    return;
  }
  position_ = NextImportProgress(position_);
  view_.SetProgress(position_);
}

void TfrmBackupHintPresenter::OnStop() {
  if (result_ != ModalResult::None) return;
  process_.Terminate();
  result_ = ModalResult::Cancel;
  view_.Close(result_);
}

bool RunImport(ProcessRunner& runner, ImportDialogHost& host, const std::string& commandLine,
               const std::string& hintText) {
  std::unique_ptr<RunningProcess> process = runner.StartHidden(commandLine);
  if (!process) {
    host.ShowInformation("Please check if Regedit.exe exists.");
    return false;
  }
  return host.ShowBackupHint(*process, hintText) == ModalResult::Ok;
}

}  // namespace lindqua
