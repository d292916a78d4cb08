#include "repair/FixProcedure.h"

#include <algorithm>

#include "repair/BackupFileName.h"
#include "platform/SystemFacts.h"
#include "repair/FixTarget.h"

namespace lindqua {

namespace {

// Handles one row; false when the fix must end at this row.
bool FixRow(const FixPlatform& platform, const std::string& backupFile, const Finding& row, FixRowReport& report) {
  report.row = row;
  const auto target = FixTargetOf(row);
  if (!target) {
    report.outcome = DeleteOutcome::NothingThere;
    return true;
  }
  DeleteResult result;
  switch (target->kind) {
    case FixTarget::Kind::File:
      result = RecycleFileOfRow(platform.exporter.files, target->filePath);
      report.fileDeleted = result.outcome == DeleteOutcome::Deleted;
      break;
    case FixTarget::Kind::Key:
      result = DeleteKeyWithBackup(platform.exporter, backupFile, target->rootName, target->keyPath);
      break;
    case FixTarget::Kind::Value:
      result = DeleteValueWithBackup(platform.exporter, backupFile, target->rootName, target->keyPath,
                                     target->valueName);
      break;
  }
  report.outcome = result.outcome;
  report.problem = result.problem;
  report.accessDenied = result.accessDenied;
  return result.outcome != DeleteOutcome::BackupFailed;
}

void Stop(FixReport& report, FixStop stop, std::string reason) {
  report.stop = stop;
  report.endReason = std::move(reason);
}

bool IsRowToFix(const Finding& row) { return row.checked && row.location.find('\\') != std::string::npos; }

void RunRows(const FixPlatform& platform, ResultsModel& results, std::size_t count, std::stop_token stop,
             const FixProgress& progress, FixReport& report) {
  if (progress.starting) {
    const auto rows = results.Rows();
    const auto end = rows.begin() + static_cast<std::ptrdiff_t>(std::min(count, rows.size()));
    progress.starting(report.backupFile, static_cast<std::size_t>(std::count_if(rows.begin(), end, IsRowToFix)));
  }
  // Rows are only ever appended meanwhile (a scan may still run), so the
  // indexes below the count taken at the start stay valid.
  for (std::size_t i = count; i-- > 0;) {
    const Finding row = results.Row(i);
    if (!IsRowToFix(row)) continue;
    // A stop is honoured between rows only, so no row is left half done.
    if (stop.stop_requested()) return Stop(report, FixStop::Interrupted, "interrupted");
    FixRowReport rowReport;
    const bool goOn = FixRow(platform, report.backupFile, row, rowReport);
    report.rows.push_back(rowReport);
    if (progress.rowDone) progress.rowDone(rowReport);
    if (!goOn) return Stop(report, FixStop::BackupFailed, rowReport.problem);
    // Nothing deleted (no exact backup, or the registry refused): the row stays.
    if (rowReport.outcome == DeleteOutcome::NotExact || rowReport.outcome == DeleteOutcome::Refused) continue;
    results.EditRows([i](std::vector<Finding>& rows) {
      if (i < rows.size()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
    });
  }
  report.lastFix = platform.facts.DateTimeText(platform.facts.Now());
  report.completed = true;
}

}  // namespace

std::size_t FixReport::Count(DeleteOutcome outcome) const {
  return static_cast<std::size_t>(
      std::count_if(rows.begin(), rows.end(), [outcome](const FixRowReport& row) { return row.outcome == outcome; }));
}

std::string MissingBackupFolderQuestion(const std::string& folder) {
  return folder + "," + "can not find the backup folder." + "\r\n" + "creates a new directory?";
}

bool RestorePointOffered(SystemFacts& facts) {
  const std::uint8_t versionCode = GetWindowsVersionCode(facts);
  return versionCode == VersionCode::WindowsXp || versionCode == VersionCode::WindowsServer2003 ||
         versionCode == VersionCode::Nt6;
}

FixReport DeleteCheckedFindings(const FixPlatform& platform, ResultsModel& results, const FixRequest& request,
                                std::stop_token stop, const FixProgress& progress) {
  FixReport report;
  FileSystem& files = platform.exporter.files;
  // No error may leave the procedure: it ends at the row where one arose.
  try {
    if (request.backupFolder.empty()) {
      Stop(report, FixStop::FolderMissing, "no backup folder is set");
    } else if (!files.DirectoryExists(request.backupFolder) && !request.createFolder) {
      Stop(report, FixStop::FolderMissing, "the backup folder does not exist: " + request.backupFolder);
    } else if (!files.DirectoryExists(request.backupFolder) && !files.ForceDirectories(request.backupFolder)) {
      Stop(report, FixStop::FolderMissing, "Cannot create " + request.backupFolder);
    } else if (const std::size_t count = results.Count(); count == 0) {
      Stop(report, FixStop::NothingToFix, "");
    } else {
      report.backupFile = MakeBackupFileName(request.backupFolder, platform.facts);
      RunRows(platform, results, count, stop, progress, report);
    }
  } catch (const std::exception& error) {
    Stop(report, FixStop::Error, error.what());
  } catch (...) {
    Stop(report, FixStop::Error, "unexpected error");
  }
  return report;
}

}  // namespace lindqua
