#pragma once
// "Save as Text...": the common save dialog and the boxes of the report
// command, owned by one window.
#include <windows.h>

#include "app/TextReport.h"

namespace lindqua {

class Win32SaveReportView : public SaveReportView {
 public:
  explicit Win32SaveReportView(HWND owner) : owner_(owner) {}
  std::optional<std::string> AskSaveFileName(const std::string& title, const std::string& filter) override;
  bool AskYesNo(const std::string& text) override;
  void ShowError(const std::string& text) override;
  std::string LastFileErrorReason() override;

 private:
  HWND owner_;
};

// "Label|pattern|Label|pattern" as the list of NUL-ended pairs, itself
// ended by a second NUL, that the common dialogs take.
std::wstring CommonDialogFilter(const std::string& filter);

}  // namespace lindqua
