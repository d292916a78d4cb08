#include "platform/win32/SystemErrorText.h"

#include "platform/win32/WinText.h"

namespace lindqua {

std::string SystemErrorText(DWORD code) {
  wchar_t buffer[512];
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer, static_cast<DWORD>(std::size(buffer)), nullptr);
  std::string text = "error " + std::to_string(code);
  if (length == 0) return text;
  std::string words = Narrow(std::wstring_view(buffer, length));
  while (!words.empty() && (words.back() == '\n' || words.back() == '\r' || words.back() == ' ')) words.pop_back();
  return text + ": " + words;
}

}  // namespace lindqua
