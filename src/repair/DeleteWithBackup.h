#pragma once
// Deleting one key or value only after its backup block is on the disk.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"
#include "repair/ExportToReg.h"

namespace lindqua {

enum class DeleteOutcome {
  Deleted,       // backed up, then deleted
  NothingThere,  // the key or value no longer exists: nothing written, nothing deleted
  Refused,       // backed up, but the registry refused the deletion
  UnknownRoot,   // not one of the five root names
  NotExact,      // no exact backup possible (for a file: no Recycle Bin takes it): nothing deleted
  BackupFailed,  // the backup file could not be written: nothing deleted
};

struct DeleteResult {
  DeleteOutcome outcome = DeleteOutcome::NothingThere;
  std::string problem;  // for NotExact and BackupFailed
  bool accessDenied = false;  // Refused for want of rights: an elevated run could do it
};

[[nodiscard]] DeleteResult DeleteKeyWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                               std::string_view rootName, std::string_view keyPath);
[[nodiscard]] DeleteResult DeleteValueWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                                 std::string_view rootName, std::string_view keyPath,
                                                 std::string_view valueName);

// A file row's fix: the one file goes to the Recycle Bin, where the user can
// get it back. A file that would be deleted for good, a folder or a pattern
// stays where it is (NotExact, with the reason in problem).
[[nodiscard]] DeleteResult RecycleFileOfRow(FileSystem& files, std::string_view filePath);

}  // namespace lindqua
