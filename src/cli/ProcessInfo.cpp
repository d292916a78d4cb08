#include "cli/ProcessInfo.h"

#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {
struct LocalFreer {
  void operator()(LPWSTR* p) const noexcept { ::LocalFree(p); }
};
}  // namespace

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreer> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::string> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(argv.get()[i]));
  return args;
}

std::string ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return {};
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.find_last_of(L"\\/");
  return Narrow(path.substr(0, slash == std::wstring::npos ? 0 : slash + 1));
}

bool IsProcessElevated() {
  UniqueKernelHandle token;
  if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, token.put())) return false;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  if (!::GetTokenInformation(token.get(), TokenElevation, &elevation, sizeof elevation, &size)) return false;
  return elevation.TokenIsElevated != 0;
}

}  // namespace lindqua
