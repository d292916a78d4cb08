#pragma once
// Starting another program hidden and waiting for it without blocking the
// window: the restore hands backup files to the system's registry editor.
#include <memory>
#include <string_view>

namespace lindqua {

class RunningProcess {
 public:
  virtual ~RunningProcess() = default;  // closes the handles; the process goes on
  // True once the process has ended; never waits.
  virtual bool HasEnded() = 0;
  // Ends the process by force with exit code 0.
  virtual void Terminate() = 0;
};

class ProcessRunner {
 public:
  virtual ~ProcessRunner() = default;
  // Starts a command line with its window hidden and no standard handles;
  // nullptr when it cannot be started.
  virtual std::unique_ptr<RunningProcess> StartHidden(std::string_view commandLine) = 0;
  // Hands a program, document or address to the shell ("Open" verb, shown);
  // false when the shell could not start it.
  virtual bool ShellOpen(std::string_view file, std::string_view parameters) = 0;
};

}  // namespace lindqua
