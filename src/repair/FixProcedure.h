#pragma once
// The fix: for every checked row, from the last to the first, back up what
// its tag names, delete it and remove the row. Nothing is deleted without a
// complete, flushed, exact backup; a row that cannot have one stays listed.
// The procedure asks nothing: the caller settles the backup folder and the
// restore point with the user first, then acts on the result it returns.
#include <cstddef>
#include <functional>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/ResultsModel.h"
#include "platform/SystemFacts.h"
#include "repair/DeleteWithBackup.h"

namespace lindqua {

struct FixRequest {
  std::string backupFolder;
  // The caller asked the user and may create the folder when it is missing.
  bool createFolder = false;
};

struct FixRowReport {
  Finding row;
  DeleteOutcome outcome = DeleteOutcome::NothingThere;
  std::string problem;
  bool fileDeleted = false;   // tag 4 rows
  bool accessDenied = false;  // refused for want of rights
};

enum class FixStop {
  None,           // ran to its end
  NothingToFix,   // the list was empty: nothing written
  FolderMissing,  // no backup folder, and none could or might be created
  BackupFailed,   // the backup file could not be written: the row named last stays
  Interrupted,    // a stop was requested: the current row was finished first
  Error,          // an unexpected error
};

struct FixReport {
  bool completed = false;   // ran to its end
  FixStop stop = FixStop::None;
  std::string endReason;    // why it ended early ("" when completed)
  std::string backupFile;   // exists only when something was backed up
  std::string lastFix;      // the fix's date and time text when completed
  std::vector<FixRowReport> rows;  // every checked row handled, in the order handled

  std::size_t Count(DeleteOutcome outcome) const;
};

// Told as the fix goes; nothing it does changes the fix.
struct FixProgress {
  // Before the first row: the backup file and the number of rows to handle.
  std::function<void(const std::string& backupFile, std::size_t rows)> starting;
  std::function<void(const FixRowReport& row)> rowDone;
};

struct FixPlatform {
  ExportPlatform exporter;
  SystemFacts& facts;
};

// The question to ask when the backup folder does not exist.
std::string MissingBackupFolderQuestion(const std::string& folder);

// Whether this Windows version has System Restore.
bool RestorePointOffered(SystemFacts& facts);

[[nodiscard]] FixReport DeleteCheckedFindings(const FixPlatform& platform, ResultsModel& results,
                                              const FixRequest& request, std::stop_token stop = {},
                                              const FixProgress& progress = {});

}  // namespace lindqua
