#include "repair/FixProcedure.h"

#include "repair/BackupFileName.h"
#include "repair/FixTarget.h"

namespace lindqua {

namespace {

bool RestorePointOffered(std::uint8_t versionCode) { return versionCode == 9 || versionCode == 10 || versionCode == 11; }

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
  return result.outcome != DeleteOutcome::BackupFailed;
}

}  // namespace

FixReport bFixErrorsClick(const FixPlatform& platform, ResultsModel& results, const FixOptions& options,
                          FixHost& host) {
  FixReport report;
  FileSystem& files = platform.exporter.files;
  // No error may leave the command: it ends at the row where one arose.
  try {
    if (!files.DirectoryExists(options.backupFolder)) {
      if (!host.AskYesNo(options.backupFolder + "," + "can not find the backup folder." + "\r\n" +
                         "creates a new directory?"))
        return report;
      if (!files.ForceDirectories(options.backupFolder)) {
        report.endReason = "Cannot create " + options.backupFolder;
        return report;
      }
    }
    const std::size_t count = results.Count();
    if (count == 0) return report;
    if (options.createRestore && RestorePointOffered(GetWindowsVersionCode(platform.facts)) &&
        !host.RunRestorePointDialog())
      return report;
    report.backupFile = MakeBackupFileName(options.backupFolder, platform.facts);

    // Rows are only ever appended meanwhile (a scan may still run), so the
    // indexes below the count taken at the start stay valid.
    for (std::size_t i = count; i-- > 0;) {
      const Finding row = results.Row(i);
      if (!row.checked) continue;
      if (row.location.find('\\') == std::string::npos) continue;
      FixRowReport rowReport;
      const bool goOn = FixRow(platform, report.backupFile, row, rowReport);
      report.rows.push_back(rowReport);
      if (!goOn) {
        report.endReason = rowReport.problem;
        return report;
      }
      // Nothing deleted (no exact backup, or the registry refused): the row stays.
      if (rowReport.outcome == DeleteOutcome::NotExact || rowReport.outcome == DeleteOutcome::Refused) continue;
      results.EditRows([i](std::vector<Finding>& rows) {
        if (i < rows.size()) rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(i));
      });
    }
    host.UpdateStatusLine();
    report.lastFix = platform.facts.DateTimeText(platform.facts.Now());
    host.SetStatusBarText("Fix errors finished!");
    host.FitColumns();
    report.completed = true;
  } catch (const std::exception& error) {
    report.endReason = error.what();
  } catch (...) {
    report.endReason = "unexpected error";
  }
  return report;
}

}  // namespace lindqua
