#include "platform/win32/Win32ProcessRunner.h"

#include <windows.h>
#include <shellapi.h>

#include <string>

#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

class Win32Process : public RunningProcess {
 public:
  Win32Process(HANDLE process, HANDLE thread) : process_(process), thread_(thread) {}
  bool HasEnded() override { return ::WaitForSingleObject(process_.get(), 0) == WAIT_OBJECT_0; }
  void Terminate() override { ::TerminateProcess(process_.get(), 0); }

 private:
  UniqueKernelHandle process_;
  UniqueKernelHandle thread_;
};

}  // namespace

std::unique_ptr<RunningProcess> Win32ProcessRunner::StartHidden(std::string_view commandLine) {
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW | STARTF_USESTDHANDLES;
  startup.wShowWindow = SW_HIDE;
  PROCESS_INFORMATION info{};
  std::wstring line = Wide(commandLine);  // CreateProcessW may write into it
  if (!::CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, NORMAL_PRIORITY_CLASS, nullptr, nullptr,
                        &startup, &info))
    return nullptr;
  return std::make_unique<Win32Process>(info.hProcess, info.hThread);
}

bool Win32ProcessRunner::ShellOpen(std::string_view file, std::string_view parameters) {
  const std::wstring wideFile = Wide(file);
  const std::wstring wideParameters = Wide(parameters);
  // Values above 32 mean the shell started it.
  const auto result = reinterpret_cast<INT_PTR>(::ShellExecuteW(
      nullptr, L"open", wideFile.c_str(), wideParameters.empty() ? nullptr : wideParameters.c_str(), nullptr, SW_SHOW));
  return result > 32;
}

}  // namespace lindqua
