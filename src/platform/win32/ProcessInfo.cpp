#include "platform/win32/ProcessInfo.h"

#include <windows.h>
#include <shellapi.h>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  const UniqueLocalMem<LPWSTR> argv(::CommandLineToArgvW(::GetCommandLineW(), &count));
  std::vector<std::string> args;
  if (!argv) return args;
  for (int i = 1; i < count; ++i) args.push_back(Narrow(argv.get()[i]));
  return args;
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
