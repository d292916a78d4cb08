#include "platform/win32/ProgramFolder.h"

#include <windows.h>

#include <vector>

#include "platform/win32/WinText.h"

namespace lindqua {

std::string GetProgramFolder() {
  // Long paths do not fit MAX_PATH; grow the buffer until the name fits.
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      std::wstring path(buffer.data(), length);
      path.erase(path.find_last_of(L"\\/") + 1);
      return Narrow(path);
    }
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace lindqua
