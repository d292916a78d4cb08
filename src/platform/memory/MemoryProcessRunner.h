#pragma once
// Processes that a test scripts: each started command line is recorded and
// handed to a handler, which does the program's work (for instance importing
// a backup into the memory registry) and says whether it could start.
#include <functional>
#include <string>
#include <vector>

#include "platform/ProcessRunner.h"

namespace lindqua {

class MemoryProcessRunner : public ProcessRunner {
 public:
  struct Script {
    bool starts = true;
    int ticksUntilEnd = 0;  // HasEnded() answers false this many times first
    std::function<void(const std::string& commandLine)> run;  // runs when the process ends
  };

  Script script;
  std::vector<std::string> started;
  std::vector<std::string> shellOpened;  // "file parameters"
  int terminated = 0;

  std::unique_ptr<RunningProcess> StartHidden(std::string_view commandLine) override;
  bool ShellOpen(std::string_view file, std::string_view parameters) override {
    shellOpened.push_back(std::string(file) + " " + std::string(parameters));
    return script.starts;
  }
};

}  // namespace lindqua
