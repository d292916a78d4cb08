#include "platform/win32/Win32AnsiCodePage.h"

#include <windows.h>

#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

std::optional<std::wstring> AnsiToWide(std::string_view ansi) {
  if (ansi.empty()) return std::wstring();
  const int size = static_cast<int>(ansi.size());
  const int needed = ::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, nullptr, 0);
  if (needed <= 0) return std::nullopt;
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  if (::MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, ansi.data(), size, wide.data(), needed) != needed)
    return std::nullopt;
  return wide;
}

}  // namespace

unsigned Win32AnsiCodePage::CodePage() const { return ::GetACP(); }

std::optional<std::string> Win32AnsiCodePage::FromUtf8(std::string_view utf8) const {
  if (utf8.empty()) return std::string();
  const std::wstring wide = Wide(utf8);
  const int size = static_cast<int>(wide.size());
  // Where the ANSI code page is UTF-8, Windows refuses the best-fit flag and
  // the default-character report (the call fails for every text, so nothing
  // could be backed up); there an invalid sequence is the only loss, and
  // WC_ERR_INVALID_CHARS refuses it.
  const bool utf8Ansi = ::GetACP() == CP_UTF8;
  const DWORD flags = utf8Ansi ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
  BOOL usedDefault = FALSE;
  BOOL* reportDefault = utf8Ansi ? nullptr : &usedDefault;
  const int needed = ::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, nullptr, 0, nullptr, reportDefault);
  if (needed <= 0 || usedDefault) return std::nullopt;
  std::string ansi(static_cast<std::size_t>(needed), '\0');
  if (::WideCharToMultiByte(CP_ACP, flags, wide.data(), size, ansi.data(), needed, nullptr, reportDefault) !=
          needed ||
      usedDefault)
    return std::nullopt;
  // The default-character flag misses some lossy mappings (a lone surrogate,
  // characters a code page folds together); reading the bytes back settles it.
  const auto back = AnsiToWide(ansi);
  if (!back || *back != wide) return std::nullopt;
  return ansi;
}

std::optional<std::string> Win32AnsiCodePage::ToUtf8(std::string_view ansi) const {
  const auto wide = AnsiToWide(ansi);
  if (!wide) return std::nullopt;
  return Narrow(*wide);
}

}  // namespace lindqua
