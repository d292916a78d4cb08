#pragma once
#include "platform/ProcessRunner.h"

namespace lindqua {

class Win32ProcessRunner : public ProcessRunner {
 public:
  std::unique_ptr<RunningProcess> StartHidden(std::string_view commandLine) override;
  bool ShellOpen(std::string_view file, std::string_view parameters) override;
};

}  // namespace lindqua
