#include "app/CliProgram.h"

#include <exception>

#include "app/CliArguments.h"
#include "app/CliBackups.h"
#include "app/CliClean.h"
#include "app/CliSettings.h"
#include "app/SettingsReadOnly.h"
#include "app/ConsoleScan.h"
#include "app/FindingsOutput.h"
#include "app/IgnoreFilter.h"
#include "engine/ScanSection.h"

namespace lindqua {

namespace {

constexpr const char* Prefix = CliMessagePrefix;

// Rewrites one status line in place on the console.
class ProgressLine {
 public:
  explicit ProgressLine(CliConsole& console) : console_(console) {}

  void Show(const ConsoleScanProgress& progress) {
    std::string text;
    if (progress.runningSection != 0) {
      text = "[" + std::to_string(progress.sectionsDone + 1) + "/" + std::to_string(progress.sectionCount) +
             "] section " + std::to_string(progress.runningSection);
      if (const ScanSectionInfo* info = FindScanSection(progress.runningSection)) text += std::string(" ") + info->treeCaption;
    } else {
      text = "scanned " + std::to_string(progress.sectionsDone) + " of " + std::to_string(progress.sectionCount) +
             " sections";
    }
    text += ": " + std::to_string(progress.found) + " found";
    if (text == last_) return;
    const std::size_t width = text.size();
    if (text.size() < last_.size()) text.append(last_.size() - text.size(), ' ');
    console_.WriteErr("\r" + text);
    last_ = text.substr(0, width);
  }

  void End() {
    if (!last_.empty()) console_.WriteErr("\r\n");
  }

 private:
  CliConsole& console_;
  std::string last_;
};

int Scan(const CliRequest& request, CliHost& host) {
  const TOptionsSetting settings = LoadCliSettings(request, host);
  std::vector<Finding> rows;
  if (int status = ScanForCli(request, host, settings, rows); status != CliExit::Ok) return status;
  const std::string output =
      request.format == OutputFormat::Json ? FormatFindingsJson(rows) : FormatFindingsText(rows);
  if (request.outputPath.empty()) {
    host.console.WriteOut(output);
    return CliExit::Ok;
  }
  if (const auto written = host.platform.files.WriteWholeFileWithReason(request.outputPath, output); !written.ok) {
    host.console.WriteErr(std::string(Prefix) + "cannot write \"" + request.outputPath + "\": " + written.error +
                          "\r\n");
    return CliExit::Failure;
  }
  return CliExit::Ok;
}

}  // namespace

int ScanForCli(const CliRequest& request, CliHost& host, const TOptionsSetting& settings,
               std::vector<Finding>& rows) {
  CliConsole& console = host.console;
  if (const std::string notice = ElevationNotice(host.elevated); !notice.empty()) console.WriteErr(notice);

  ConsoleScanRequest scanRequest;
  scanRequest.sections = request.sections ? *request.sections : CheckedSectionsInTreeOrder(settings);
  scanRequest.ignoreRemovableDrive = settings.IgnoreRemovableDrive;
  scanRequest.check64BitPaths = request.check64BitPaths || settings.Check64BitPaths;
  scanRequest.scanners = host.scanners;

  ConsoleScanResult result;
  if (console.ErrIsTerminal()) {
    ProgressLine line(console);
    result = RunConsoleScan(host.platform, scanRequest, [&](const ConsoleScanProgress& p) { line.Show(p); });
    line.End();
  } else {
    result = RunConsoleScan(host.platform, scanRequest, nullptr);
  }
  if (!result.completed) {
    console.WriteErr(std::string(Prefix) + "the scan stopped on an error in section " +
                     std::to_string(result.failedSection) + "; no findings written\r\n");
    return CliExit::Failure;
  }
  if (request.applyIgnoreList)
    ApplyIgnoreList(result.rows, settings.IgnoreKeys, settings.IgnoreKeyCount,
                    host.platform.registry.CurrentUserKeyName().value_or(""));
  rows = std::move(result.rows);
  return CliExit::Ok;
}

std::string ElevationNotice(bool elevated) {
  if (elevated) return {};
  return std::string(Prefix) +
         "not running as administrator; keys that need administrator rights may be skipped\r\n";
}

namespace {

int RunAction(const CliRequest& request, CliHost& host) {
  switch (request.action) {
    case CliAction::Help:
      host.console.WriteOut(CliUsageText(request.helpTopic));
      return CliExit::Ok;
    case CliAction::Version:
      host.console.WriteOut(std::string(CliVersionText) + "\r\n");
      return CliExit::Ok;
    case CliAction::Scan: return Scan(request, host);
    case CliAction::Clean: return RunClean(request, host);
    case CliAction::Backups: return RunBackupsList(request, host);
    case CliAction::BackupsDelete: return RunBackupsDelete(request, host);
    case CliAction::Restore: return RunRestore(request, host);
  }
  return CliExit::Failure;
}

}  // namespace

int RunCli(const std::vector<std::string>& args, CliHost& host) {
  CliRequest request;
  std::string error;
  if (!ParseCliArguments(args, request, error)) {
    host.console.WriteErr(std::string(Prefix) + error + "; see lindqua-cli --help\r\n");
    return CliExit::Usage;
  }
  if (const std::string problem = CheckSettingsFile(request, host); !problem.empty()) {
    host.console.WriteErr(std::string(Prefix) + problem + "\r\n");
    return CliExit::Usage;
  }
  int status = CliExit::Failure;
  try {
    status = RunAction(request, host);
  } catch (const std::exception& failure) {
    host.console.WriteErr(std::string(Prefix) + "failed: " + failure.what() + "\r\n");
  } catch (...) {
    host.console.WriteErr(std::string(Prefix) + "failed\r\n");
  }
  // A script reading a cut-off output must not take it for the whole.
  if (const std::string failure = host.console.OutFailure(); !failure.empty()) {
    host.console.WriteErr(std::string(Prefix) + "cannot write to standard output: " + failure + "\r\n");
    return CliExit::Failure;
  }
  return status;
}

}  // namespace lindqua
