#include "platform/memory/MemoryProcessRunner.h"

namespace lindqua {

namespace {

class MemoryProcess : public RunningProcess {
 public:
  MemoryProcess(MemoryProcessRunner& runner, std::string commandLine)
      : runner_(runner), commandLine_(std::move(commandLine)), ticksLeft_(runner.script.ticksUntilEnd) {}

  bool HasEnded() override {
    if (ended_) return true;
    if (ticksLeft_-- > 0) return false;
    ended_ = true;
    if (runner_.script.run) runner_.script.run(commandLine_);
    return true;
  }

  void Terminate() override {
    if (ended_) return;
    ended_ = true;
    ++runner_.terminated;
  }

 private:
  MemoryProcessRunner& runner_;
  std::string commandLine_;
  int ticksLeft_;
  bool ended_ = false;
};

}  // namespace

std::unique_ptr<RunningProcess> MemoryProcessRunner::StartHidden(std::string_view commandLine) {
  if (!script.starts) return nullptr;
  started.emplace_back(commandLine);
  return std::make_unique<MemoryProcess>(*this, std::string(commandLine));
}

}  // namespace lindqua
