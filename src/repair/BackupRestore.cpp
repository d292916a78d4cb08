#include "repair/BackupRestore.h"

#include <thread>

#include "repair/BackupFiles.h"

namespace lindqua {

namespace {

constexpr std::chrono::milliseconds PollInterval{50};

// False when the editor could not be started or did not end in time.
bool RunToItsEnd(ProcessRunner& processes, const std::string& commandLine, std::chrono::milliseconds timeout,
                 std::string& problem) {
  const std::unique_ptr<RunningProcess> process = processes.StartHidden(commandLine);
  if (!process) {
    problem = "cannot start the registry editor: " + commandLine;
    return false;
  }
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (!process->HasEnded()) {
    if (std::chrono::steady_clock::now() >= deadline) {
      process->Terminate();
      problem = "the registry editor did not finish";
      return false;
    }
    std::this_thread::sleep_for(PollInterval);
  }
  return true;
}

}  // namespace

std::string RegeditImportCommand(const std::string& backupFile) { return "Regedit /s \"" + backupFile + "\""; }

RestoreOutcome RestoreBackupFile(const RestorePlatform& platform, const RestoreRequest& request) {
  RestoreOutcome outcome;
  const BackupContents contents = ReadBackupFile(platform.files, platform.ansi, request.file);
  if (!contents.problem.empty()) {
    outcome.problem = contents.problem + "; nothing imported";
    return outcome;
  }
  outcome.keys = contents.keys.size();
  outcome.values = contents.valueCount;
  if (!RunToItsEnd(platform.processes, RegeditImportCommand(request.file), request.timeout, outcome.problem))
    return outcome;
  outcome.differences = VerifyRestoredKeys(platform.registry, contents.keys);
  if (!outcome.differences.empty()) {
    outcome.status = RestoreOutcome::Status::Differences;
    return outcome;
  }
  outcome.status = RestoreOutcome::Status::Verified;
  if (!request.keep) outcome.deleted = platform.files.DeletePath(request.file);
  return outcome;
}

}  // namespace lindqua
