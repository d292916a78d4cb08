#include "ui/win32/SaveTextDialog.h"

#include <commdlg.h>

#include <vector>

#include "platform/win32/WinText.h"
#include "ui/win32/ModalDialog.h"

namespace lindqua {

std::wstring CommonDialogFilter(const std::string& filter) {
  std::wstring result = Wide(filter);
  for (wchar_t& c : result) {
    if (c == L'|') c = L'\0';
  }
  result.push_back(L'\0');
  result.push_back(L'\0');
  return result;
}

std::optional<std::string> Win32SaveReportView::AskSaveFileName(const std::string& title,
                                                                const std::string& filter) {
  const std::wstring wideTitle = Wide(title);
  const std::wstring wideFilter = CommonDialogFilter(filter);
  std::vector<wchar_t> file(32768, L'\0');  // room for a long path
  OPENFILENAMEW dialog{};
  dialog.lStructSize = sizeof dialog;
  dialog.hwndOwner = owner_;
  dialog.lpstrFilter = wideFilter.c_str();
  dialog.nFilterIndex = 1;
  dialog.lpstrFile = file.data();
  dialog.nMaxFile = static_cast<DWORD>(file.size());
  dialog.lpstrTitle = wideTitle.c_str();
  // No overwrite prompt and no default extension: the command asks and appends itself.
  dialog.Flags = OFN_EXPLORER | OFN_HIDEREADONLY | OFN_ENABLESIZING;
  if (!::GetSaveFileNameW(&dialog)) return std::nullopt;
  return Narrow(file.data());
}

bool Win32SaveReportView::AskYesNo(const std::string& text) {
  return ShowAppMessage(owner_, Wide(text), MB_YESNO | MB_ICONINFORMATION | MB_DEFBUTTON2) == IDYES;
}

void Win32SaveReportView::ShowError(const std::string& text) {
  ShowAppMessage(owner_, Wide(text), MB_OK | MB_ICONERROR);
}

std::string Win32SaveReportView::LastFileErrorReason() {
  const DWORD error = ::GetLastError();
  wchar_t text[512] = {};
  DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0, text,
                                  512, nullptr);
  while (length > 0 && (text[length - 1] == L'\r' || text[length - 1] == L'\n' || text[length - 1] == L' ')) --length;
  // A code the system has no text for is still named, so that it can be looked up.
  if (length == 0) return "System error " + std::to_string(error) + ".";
  return Narrow(std::wstring_view(text, length));
}

}  // namespace lindqua
