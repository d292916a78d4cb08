#pragma once
// The import progress dialog: polls the registry editor twice a second and
// lets the user stop it.
#include <windows.h>

#include "app/BackupHintPresenter.h"

namespace lindqua {

class Win32ImportDialogHost : public ImportDialogHost {
 public:
  // The dialogs and boxes are owned by this window.
  explicit Win32ImportDialogHost(HWND owner) : owner_(owner) {}
  ModalResult ShowBackupHint(RunningProcess& process, const std::string& hintText) override;
  void ShowInformation(const std::string& text) override;

 private:
  HWND owner_;
};

}  // namespace lindqua
