#include "cli/Win32Console.h"

#include <algorithm>
#include <string>

#include "platform/win32/SystemErrorText.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != nullptr && handle != INVALID_HANDLE_VALUE && ::GetConsoleMode(handle, &mode) != 0;
}

// Each writer answers 0 on success, else the system's error code.
DWORD WriteToConsole(HANDLE handle, std::string_view text) {
  const std::wstring wide = Wide(text);
  // Older consoles refuse very large writes; pieces never split a surrogate pair.
  constexpr std::size_t Piece = 8192;
  std::size_t done = 0;
  while (done < wide.size()) {
    std::size_t count = std::min(Piece, wide.size() - done);
    if (done + count < wide.size() && wide[done + count - 1] >= 0xD800 && wide[done + count - 1] <= 0xDBFF) --count;
    DWORD written = 0;
    if (!::WriteConsoleW(handle, wide.data() + done, static_cast<DWORD>(count), &written, nullptr))
      return ::GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  return 0;
}

DWORD WriteBytes(HANDLE handle, std::string_view text) {
  std::size_t done = 0;
  while (done < text.size()) {
    const DWORD count = static_cast<DWORD>(std::min<std::size_t>(text.size() - done, 1 << 20));
    DWORD written = 0;
    if (!::WriteFile(handle, text.data() + done, count, &written, nullptr)) return ::GetLastError();
    if (written == 0) return ERROR_WRITE_FAULT;
    done += written;
  }
  // A file on a full disk can take the bytes into the cache and fail later.
  if (::GetFileType(handle) == FILE_TYPE_DISK && !::FlushFileBuffers(handle)) return ::GetLastError();
  return 0;
}

DWORD Write(HANDLE handle, bool console, std::string_view text) {
  if (text.empty()) return 0;
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return ERROR_INVALID_HANDLE;
  return console ? WriteToConsole(handle, text) : WriteBytes(handle, text);
}

}  // namespace

Win32Console::Win32Console()
    : in_(::GetStdHandle(STD_INPUT_HANDLE)),
      out_(::GetStdHandle(STD_OUTPUT_HANDLE)),
      err_(::GetStdHandle(STD_ERROR_HANDLE)),
      outIsConsole_(IsConsole(out_)),
      errIsConsole_(IsConsole(err_)) {}

void Win32Console::WriteOut(std::string_view text) {
  // After the first failure nothing more is tried: the output is cut already.
  if (outFailure_.empty())
    if (const DWORD error = Write(out_, outIsConsole_, text); error != 0) outFailure_ = SystemErrorText(error);
}

void Win32Console::WriteErr(std::string_view text) { (void)Write(err_, errIsConsole_, text); }

std::optional<std::string> Win32Console::ReadLine() {
  if (in_ == nullptr || in_ == INVALID_HANDLE_VALUE) return std::nullopt;
  std::string line;
  if (IsConsole(in_)) {
    wchar_t buffer[256];
    DWORD read = 0;
    if (!::ReadConsoleW(in_, buffer, 255, &read, nullptr) || read == 0) return std::nullopt;
    line = Narrow(std::wstring_view(buffer, read));
  } else {
    // A pipe or a file: bytes up to the first line break.
    char c = 0;
    DWORD read = 0;
    bool any = false;
    while (::ReadFile(in_, &c, 1, &read, nullptr) && read == 1) {
      any = true;
      if (c == '\n') break;
      line.push_back(c);
    }
    if (!any) return std::nullopt;
  }
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
  return line;
}

}  // namespace lindqua
