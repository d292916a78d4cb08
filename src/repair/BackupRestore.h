#pragma once
// A restore for a caller without a window: the backup file is read first (a
// damaged file is never imported), handed to the system's registry editor,
// and what it wrote is verified against the file.
#include <chrono>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/ProcessRunner.h"
#include "platform/RegistryBackend.h"
#include "repair/BackupVerification.h"

namespace lindqua {

// The command the restore window and the console both run. A 32-bit program
// under WOW64 reaches the 32-bit registry editor through "Regedit", so the
// backup goes back into the registry view it was taken from.
std::string RegeditImportCommand(const std::string& backupFile);

struct RestorePlatform {
  RegistryBackend& registry;
  FileSystem& files;
  const AnsiCodePage& ansi;
  ProcessRunner& processes;
};

struct RestoreOutcome {
  enum class Status { Verified, Differences, Failed } status = Status::Failed;
  std::size_t keys = 0;
  std::size_t values = 0;
  std::vector<BackupDifference> differences;
  std::string problem;  // Failed: why; nothing was imported when the file could not be read
  bool deleted = false;
};

struct RestoreRequest {
  std::string file;
  bool keep = false;  // keep the file even when the restore was verified
  std::chrono::milliseconds timeout{std::chrono::minutes(10)};
};

[[nodiscard]] RestoreOutcome RestoreBackupFile(const RestorePlatform& platform, const RestoreRequest& request);

}  // namespace lindqua
