#pragma once
// Starting the system's and our own programs from a test under Wine.
#include <windows.h>

#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua::test {

// The regedit of our own bitness, so that HKEY_LOCAL_MACHINE\Software lands in
// the view a 32-bit program sees (the 32-bit one under WOW64).
inline std::wstring RegeditPath(bool underWow64) {
  wchar_t folder[MAX_PATH] = {};
  const UINT length =
      underWow64 ? ::GetSystemWow64DirectoryW(folder, MAX_PATH) : ::GetWindowsDirectoryW(folder, MAX_PATH);
  return std::wstring(folder, length) + L"\\regedit.exe";
}

// Starts a command line; the process handle, or an empty one when it could not start.
inline UniqueKernelHandle StartProcess(std::wstring commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
    return {};
  ::CloseHandle(info.hThread);
  return UniqueKernelHandle(info.hProcess);
}

// Runs a command line to its end; false when it did not start or end in time.
inline bool RunAndWait(const std::wstring& commandLine, DWORD timeoutMs = 60000, DWORD* exitCode = nullptr) {
  UniqueKernelHandle process = StartProcess(commandLine);
  if (!process || ::WaitForSingleObject(process.get(), timeoutMs) != WAIT_OBJECT_0) return false;
  if (exitCode) ::GetExitCodeProcess(process.get(), exitCode);
  return true;
}

// regedit /s always ends with 0; the caller checks the registry afterwards.
inline bool RunRegedit(bool underWow64, const std::string& regFile) {
  return RunAndWait(L"\"" + RegeditPath(underWow64) + L"\" /s \"" + Wide(regFile) + L"\"");
}

}  // namespace lindqua::test
