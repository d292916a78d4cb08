#include "app/CliClean.h"

#include <algorithm>

#include "app/CliFixOutput.h"
#include "app/CliPrompt.h"
#include "app/CliSettings.h"
#include "engine/ResultsModel.h"
#include "platform/Text.h"
#include "repair/FixPreview.h"
#include "repair/FixProcedure.h"

namespace lindqua {

namespace {

std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }
std::string Message(std::string_view text) { return Line(std::string(CliMessagePrefix) + std::string(text)); }

ExportPlatform ExporterOf(CliHost& host) { return {host.platform.registry, host.platform.files, *host.ansi}; }

// What the real run would do with each row, in the order it would do it
// (the fix goes from the last row to the first).
FixReport Preview(CliHost& host, const std::vector<Finding>& rows) {
  FixReport preview;
  for (auto it = rows.rbegin(); it != rows.rend(); ++it) preview.rows.push_back(PreviewFixRow(ExporterOf(host), *it));
  return preview;
}

int DryRun(const CliRequest& request, CliHost& host, const std::vector<Finding>& rows, const FixReport& preview) {
  if (request.format == OutputFormat::Json) {
    host.console.WriteOut(FormatFixJson(preview, true, 0));
    return CliExit::Ok;
  }
  for (const FixRowReport& row : preview.rows) host.console.WriteOut(FixRowLine(row, true));
  host.console.WriteOut(Line(std::to_string(rows.size()) + " findings; nothing deleted (dry run)."));
  return CliExit::Ok;
}

// The one question before a clean: what will be deleted, what will stay,
// and the backup folder when it must be made first.
bool Confirm(const CliRequest& request, CliHost& host, const FixReport& preview, const std::string& folder,
             bool folderMissing) {
  const std::size_t toDelete = preview.Count(DeleteOutcome::Deleted);
  const std::size_t refused = preview.Count(DeleteOutcome::NotExact) + preview.Count(DeleteOutcome::UnknownRoot);
  if (request.assumeYes || toDelete == 0) return true;
  std::string question;
  if (refused > 0)
    question += std::to_string(refused) + " findings cannot be backed up exactly and will stay (see --dry-run).\r\n";
  if (folderMissing) question += "Create the backup folder " + folder + ", then delete ";
  else question += "Backups go to " + folder + ".\r\nDelete ";
  question += std::to_string(toDelete) + " findings after backing them up? [y/N] ";
  return AskYesNo(host.console, question);
}

bool RestorePointAllowsFix(CliHost& host, bool assumeYes) {
  const std::string failed = "Restore Point creation Failed! Contiue to fix? [y/N] ";
  if (!host.restorePoints) return assumeYes || AskYesNo(host.console, failed);
  host.console.WriteErr(Line("Creating a restore point..."));
  if (host.restorePoints->Create(PackRestorePointRequest(RestorePointDescription)) == RestorePointResult::Created)
    return true;
  return assumeYes || AskYesNo(host.console, failed);
}

FixProgress ProgressFor(const CliRequest& request, CliHost& host, std::size_t& done, std::size_t& total) {
  FixProgress progress;
  const bool text = request.format == OutputFormat::Text;
  const bool terminal = host.console.ErrIsTerminal();
  // The path comes first, so that an interrupted or killed run has named it.
  progress.starting = [&host, &total, text](const std::string& backupFile, std::size_t rows) {
    total = rows;
    if (text) host.console.WriteOut(Line("backup: " + backupFile));
    else host.console.WriteErr(Message("backup: " + backupFile));
  };
  progress.rowDone = [&host, &done, &total, text, terminal](const FixRowReport& row) {
    ++done;
    // Rows refused for want of rights are told once, together, at the end.
    if (text && !row.accessDenied) host.console.WriteOut(FixRowLine(row, false));
    if (terminal) host.console.WriteErr("\r[" + std::to_string(done) + "/" + std::to_string(total) + "] ");
  };
  return progress;
}

FixReport RunFix(const CliRequest& request, CliHost& host, std::vector<Finding> rows, const FixRequest& fixRequest,
                 std::size_t& notAttempted) {
  ResultsModel model;
  model.EditRows([&](std::vector<Finding>& all) {
    all = std::move(rows);
    for (Finding& row : all) row.checked = true;
  });
  std::size_t done = 0, total = 0;
  const FixProgress progress = ProgressFor(request, host, done, total);
  const FixPlatform platform{ExporterOf(host), host.platform.facts};
  std::stop_token stop = host.interrupt ? host.interrupt->Catch() : std::stop_token{};
  FixReport report = DeleteCheckedFindings(platform, model, fixRequest, stop, progress);
  if (host.interrupt) host.interrupt->Release();
  if (host.console.ErrIsTerminal() && done > 0) host.console.WriteErr(Line(""));
  notAttempted = total > done ? total - done : 0;
  return report;
}

int ExitStatusOf(const FixReport& report) {
  if (!report.completed) return CliExit::EndedEarly;
  const bool allFixed = std::all_of(report.rows.begin(), report.rows.end(), [](const FixRowReport& row) {
    return row.outcome == DeleteOutcome::Deleted || row.outcome == DeleteOutcome::NothingThere;
  });
  return allFixed ? CliExit::Ok : CliExit::NotAllFixed;
}

int Report(const CliRequest& request, CliHost& host, const FixReport& report, std::size_t notAttempted) {
  std::string backup;
  const bool backupWritten = !report.backupFile.empty() && host.platform.files.FileExists(report.backupFile);
  if (request.format == OutputFormat::Json) {
    FixReport shown = report;
    if (!backupWritten) shown.backupFile.clear();
    host.console.WriteOut(FormatFixJson(shown, false, notAttempted));
  } else if (!report.backupFile.empty() && !backupWritten) {
    host.console.WriteOut(Line("nothing needed a backup; no backup file written"));
  }
  const auto denied = std::count_if(report.rows.begin(), report.rows.end(),
                                    [](const FixRowReport& row) { return row.accessDenied; });
  if (denied > 0)
    host.console.WriteErr(Message(std::to_string(denied) + (denied == 1 ? " finding was" : " findings were") +
                                  " not fixed: Windows refused to delete " + (denied == 1 ? "its key or value" : "their keys or values") +
                                  " without administrator rights; run lindqua-cli from an elevated prompt "
                                  "(Run as administrator) to fix " + (denied == 1 ? "it" : "them")));
  if (!report.completed) {
    // A row whose backup failed already said why on its own line.
    std::string why = report.stop == FixStop::BackupFailed ? std::string("the backup could not be written")
                                                            : report.endReason;
    host.console.WriteErr(Message("the fix ended early: " + why + "; " + std::to_string(notAttempted) +
                                  " findings not attempted"));
  }
  return ExitStatusOf(report);
}

}  // namespace

int RunClean(const CliRequest& request, CliHost& host) {
  CliConsole& console = host.console;
  if (!host.ansi) {
    console.WriteErr(Message("cleaning is not available in this build"));
    return CliExit::Failure;
  }
  const TOptionsSetting settings = LoadCliSettings(request, host);
  std::vector<Finding> rows;
  if (int status = ScanForCli(request, host, settings, rows); status != CliExit::Ok) return status;
  if (rows.empty()) {
    FixReport nothing;
    nothing.completed = true;
    if (request.format == OutputFormat::Json) console.WriteOut(FormatFixJson(nothing, request.dryRun, 0));
    else console.WriteOut(Line("No findings; nothing to delete."));
    return CliExit::Ok;
  }
  const FixReport preview = Preview(host, rows);
  if (request.dryRun) return DryRun(request, host, rows, preview);

  const std::string folder = BackupFolderFor(settings, host);
  if (folder.empty()) {
    console.WriteErr(Message("no backup folder is set; nothing deleted"));
    return CliExit::Failure;
  }
  const bool folderMissing = !host.platform.files.DirectoryExists(folder);
  if (!Confirm(request, host, preview, folder, folderMissing)) {
    console.WriteErr(Message("not confirmed; nothing deleted"));
    return CliExit::Failure;
  }
  if (request.restorePoint && RestorePointOffered(host.platform.facts) &&
      !RestorePointAllowsFix(host, request.assumeYes)) {
    console.WriteErr(Message("not confirmed; nothing deleted"));
    return CliExit::Failure;
  }
  std::size_t notAttempted = 0;
  const FixReport report = RunFix(request, host, std::move(rows), FixRequest{folder, true}, notAttempted);
  return Report(request, host, report, notAttempted);
}

}  // namespace lindqua
