#include "app/CliClean.h"

#include "app/ReasonText.h"
#include "engine/ResultsModel.h"
#include "platform/Text.h"
#include "repair/FixProcedure.h"
#include "repair/FixTarget.h"

namespace lindqua {

namespace {

std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }

bool AnswersYes(const std::optional<std::string>& answer) {
  if (!answer) return false;
  std::string text = LowerCase(*answer);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r')) text.pop_back();
  return text == "y" || text == "yes";
}

// The window's questions, asked on the terminal instead; --yes answers them.
class ConsoleFixHost : public FixHost {
 public:
  ConsoleFixHost(CliHost& host, const CliRequest& request) : host_(host), request_(request) {}

  bool AskYesNo(const std::string& text) override { return Ask(text + " [y/N] "); }

  bool RunRestorePointDialog() override {
    if (!host_.restorePoints) return Ask("Restore points are not available here. Continue to fix? [y/N] ");
    host_.console.WriteErr(Line("Creating a restore point..."));
    const RestorePointResult result =
        host_.restorePoints->Create(PackRestorePointRequest(RestorePointDescription));
    if (result == RestorePointResult::Created) return true;
    return Ask("Restore Point creation Failed! Contiue to fix? [y/N] ");
  }

  void UpdateStatusLine() override {}
  void SetStatusBarText(const std::string&) override {}
  void FitColumns() override {}

 private:
  bool Ask(const std::string& question) {
    if (request_.assumeYes) return true;
    host_.console.WriteErr(question);
    const bool yes = AnswersYes(host_.console.ReadLine());
    if (!yes) host_.console.WriteErr(Line(""));
    return yes;
  }

  CliHost& host_;
  const CliRequest& request_;
};

std::string OutcomeText(DeleteOutcome outcome) {
  switch (outcome) {
    case DeleteOutcome::Deleted: return "deleted";
    case DeleteOutcome::NothingThere: return "already gone";
    case DeleteOutcome::Refused: return "not fixed (the system refused the deletion)";
    case DeleteOutcome::UnknownRoot: return "not fixed (unknown root key)";
    case DeleteOutcome::NotExact: return "not fixed (no exact backup possible)";
    case DeleteOutcome::BackupFailed: return "not fixed (the backup file cannot be written)";
  }
  return "";
}

bool Fixed(DeleteOutcome outcome) {
  return outcome == DeleteOutcome::Deleted || outcome == DeleteOutcome::NothingThere;
}

}  // namespace

int RunClean(const CliRequest& request, CliHost& host) {
  CliConsole& console = host.console;
  if (!host.ansi) {
    console.WriteErr(Line(std::string(CliMessagePrefix) + "cleaning is not available in this build"));
    return CliExit::Failure;
  }
  const TOptionsSetting settings = host.loadSettings ? host.loadSettings(request.settingsPath) : TOptionsSetting{};
  std::vector<Finding> rows;
  if (int status = ScanForCli(request, host, settings, rows); status != CliExit::Ok) return status;

  if (rows.empty()) {
    console.WriteOut(Line("No findings; nothing to delete."));
    return CliExit::Ok;
  }
  if (request.dryRun) {
    // The fix goes from the last row to the first; the dry run lists in that order too.
    for (auto it = rows.rbegin(); it != rows.rend(); ++it) {
      const auto target = FixTargetOf(*it);
      if (!target) continue;
      console.WriteOut(Line("would delete: " + DescribeFixTarget(*target)));
      if (!it->reason.empty()) console.WriteOut(Line("  reason: " + ReasonLine(it->reason)));
    }
    console.WriteOut(Line(std::to_string(rows.size()) + " findings; nothing deleted (dry run)."));
    return CliExit::Ok;
  }
  if (!request.assumeYes) {
    console.WriteErr("Delete " + std::to_string(rows.size()) + " findings after backing them up? [y/N] ");
    if (!AnswersYes(console.ReadLine())) {
      console.WriteErr(Line(""));
      console.WriteErr(Line(std::string(CliMessagePrefix) + "not confirmed; nothing deleted"));
      return CliExit::Failure;
    }
  }

  ResultsModel model;
  model.EditRows([&](std::vector<Finding>& all) {
    all = rows;
    for (Finding& row : all) row.checked = true;
  });
  ConsoleFixHost fixHost(host, request);
  const FixOptions options{settings.BackupFolder, request.restorePoint};
  const FixPlatform platform{ExportPlatform{host.platform.registry, host.platform.files, *host.ansi},
                             host.platform.facts};
  const FixReport report = bFixErrorsClick(platform, model, options, fixHost);

  bool allFixed = true;
  for (const FixRowReport& row : report.rows) {
    const auto target = FixTargetOf(row.row);
    const std::string what = target ? DescribeFixTarget(*target) : row.row.location;
    std::string text = OutcomeText(row.outcome) + ": " + what;
    if (!row.problem.empty()) text += " (" + row.problem + ")";
    if (!Fixed(row.outcome)) allFixed = false;
    console.WriteOut(Line(text));
  }
  std::string backup;
  if (!report.backupFile.empty() && host.platform.files.ReadWholeFile(report.backupFile, backup))
    console.WriteOut(Line("backup: " + report.backupFile));
  if (!report.completed) {
    console.WriteErr(Line(std::string(CliMessagePrefix) + "the fix ended early" +
                          (report.endReason.empty() ? std::string() : ": " + report.endReason)));
    return report.rows.empty() ? CliExit::Failure : CliExit::NotAllFixed;
  }
  return allFixed ? CliExit::Ok : CliExit::NotAllFixed;
}

}  // namespace lindqua
