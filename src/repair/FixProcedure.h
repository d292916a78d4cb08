#pragma once
// The fix: for every checked row, from the last to the first, back up what
// its tag names, delete it and remove the row. Nothing is deleted without a
// complete, flushed, exact backup; a row that cannot have one stays listed.
#include <string>
#include <vector>

#include "engine/ResultsModel.h"
#include "platform/RestorePointClient.h"
#include "platform/SystemFacts.h"
#include "repair/DeleteWithBackup.h"

namespace lindqua {

// The window's side of the fix: its questions and its status line.
class FixHost {
 public:
  virtual ~FixHost() = default;
  // The missing-folder question (Yes/No, information icon); true for Yes.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The restore-point dialog, modal; true when the fix may go on.
  virtual bool RunRestorePointDialog() = 0;
  // Called after the rows changed, before the status line is set.
  virtual void UpdateStatusLine() = 0;
  virtual void SetStatusBarText(const std::string& text) = 0;
  virtual void FitColumns() = 0;
};

struct FixOptions {
  std::string backupFolder;
  bool createRestore = false;
};

struct FixRowReport {
  Finding row;
  DeleteOutcome outcome = DeleteOutcome::NothingThere;
  std::string problem;
  bool fileDeleted = false;  // tag 4 rows
};

struct FixReport {
  bool completed = false;   // ran to its end: the status line and last-fix time were set
  std::string endReason;    // why it ended early ("" when completed or ended by a "No")
  std::string backupFile;   // exists only when something was backed up
  std::string lastFix;      // the new last-fix text when completed
  std::vector<FixRowReport> rows;  // every checked row handled, in the order handled
};

struct FixPlatform {
  ExportPlatform exporter;
  SystemFacts& facts;
};

FixReport bFixErrorsClick(const FixPlatform& platform, ResultsModel& results, const FixOptions& options,
                          FixHost& host);

}  // namespace lindqua
