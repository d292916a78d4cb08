#include "app/CliBackups.h"

#include "app/CliPrompt.h"
#include "app/CliSettings.h"
#include "app/FindingsOutput.h"
#include "app/JsonText.h"
#include "repair/BackupFiles.h"
#include "repair/BackupRestore.h"

namespace lindqua {

namespace {

std::string Line(std::string_view text) { return std::string(text) + "\r\n"; }
std::string Message(std::string_view text) { return Line(std::string(CliMessagePrefix) + std::string(text)); }

int Fail(CliHost& host, const std::string& text) {
  host.console.WriteErr(Message(text));
  return CliExit::Failure;
}

std::string Folder(const CliRequest& request, CliHost& host) {
  return BackupFolderFor(LoadCliSettings(request, host), host);
}

void AppendBackupJson(std::string& out, CliHost& host, const BackupFileEntry& entry, const BackupContents& contents) {
  SystemFacts& facts = host.platform.facts;
  out += "{\"name\":";
  AppendJsonString(out, entry.name);
  out += ",\"path\":";
  AppendJsonString(out, entry.path);
  out += ",\"time\":";
  AppendJsonString(out, facts.DateTimeText(facts.FileTimeToLocal(entry.writeTime)));
  out += ",\"bytes\":" + std::to_string(entry.size) + ",\"keys\":" + std::to_string(contents.keys.size()) +
         ",\"values\":" + std::to_string(contents.valueCount) +
         ",\"readable\":" + (contents.problem.empty() ? "true" : "false") + ",\"problem\":";
  AppendJsonString(out, contents.problem);
  out += '}';
}

std::string BackupLine(CliHost& host, const BackupFileEntry& entry, const BackupContents& contents) {
  SystemFacts& facts = host.platform.facts;
  std::string line = OneLineText(entry.name) + "  " + facts.DateTimeText(facts.FileTimeToLocal(entry.writeTime)) +
                     "  " + std::to_string(entry.size) + " bytes  ";
  if (!contents.problem.empty()) return Line(line + "unreadable: " + OneLineText(contents.problem));
  return Line(line + std::to_string(contents.keys.size()) + " keys  " + std::to_string(contents.valueCount) +
              " values");
}

void WriteRestoreText(CliHost& host, const std::string& file, const RestoreOutcome& outcome) {
  CliConsole& console = host.console;
  console.WriteOut(Line("restored: " + OneLineText(file) + " (" + std::to_string(outcome.keys) + " keys, " +
                        std::to_string(outcome.values) + " values)"));
  for (const BackupDifference& difference : outcome.differences)
    console.WriteOut(Line("difference: " + OneLineText(DescribeDifference(difference))));
  if (outcome.status == RestoreOutcome::Status::Verified)
    console.WriteOut(Line("verified: every key and value came back"));
  console.WriteOut(Line(outcome.deleted ? "backup file deleted" : "backup file kept: " + OneLineText(file)));
}

void WriteRestoreJson(CliHost& host, const std::string& file, const RestoreOutcome& outcome) {
  std::string out = "{\"file\":";
  AppendJsonString(out, file);
  out += ",\"keys\":" + std::to_string(outcome.keys) + ",\"values\":" + std::to_string(outcome.values) +
         ",\"verified\":" + (outcome.status == RestoreOutcome::Status::Verified ? "true" : "false") +
         ",\"deleted\":" + (outcome.deleted ? "true" : "false") + ",\"differences\":[";
  bool first = true;
  for (const BackupDifference& difference : outcome.differences) {
    if (!first) out += ',';
    first = false;
    out += "{\"key\":";
    AppendJsonString(out, difference.key);
    out += ",\"value\":";
    if (difference.isValue) AppendJsonString(out, difference.value);
    else out += "null";
    out += ",\"problem\":";
    AppendJsonString(out, difference.problem);
    out += '}';
  }
  out += "]}\r\n";
  host.console.WriteOut(out);
}

// The file a restore names: the newest of the folder, or one named.
std::optional<std::string> RestoreTarget(const CliRequest& request, CliHost& host) {
  if (!request.latest) {
    const std::string& named = request.files.front();
    if (!host.platform.files.FileExists(named)) {
      host.console.WriteErr(Message("backup file \"" + named + "\" does not exist"));
      return std::nullopt;
    }
    return named;
  }
  const std::string folder = Folder(request, host);
  const auto backups = ListBackupFiles(host.platform.files, folder);
  if (backups.empty()) {
    host.console.WriteErr(Message("no backup files in \"" + folder + "\""));
    return std::nullopt;
  }
  return backups.front().path;
}

}  // namespace

int RunBackupsList(const CliRequest& request, CliHost& host) {
  if (!host.ansi) return Fail(host, "backups are not available in this build");
  const std::string folder = Folder(request, host);
  if (!folder.empty() && !host.platform.files.DirectoryExists(folder))
    host.console.WriteErr(Message("the backup folder \"" + folder + "\" does not exist"));
  const bool json = request.format == OutputFormat::Json;
  std::string out;
  if (json) {
    out = "{\"folder\":";
    AppendJsonString(out, folder);
    out += ",\"backups\":[";
  }
  bool first = true;
  for (const BackupFileEntry& entry : ListBackupFiles(host.platform.files, folder)) {
    const BackupContents contents = ReadBackupFile(host.platform.files, *host.ansi, entry.path);
    if (!json) {
      out += BackupLine(host, entry, contents);
      continue;
    }
    if (!first) out += ',';
    first = false;
    AppendBackupJson(out, host, entry, contents);
  }
  if (json) out += "]}\r\n";
  host.console.WriteOut(out);
  return CliExit::Ok;
}

int RunBackupsDelete(const CliRequest& request, CliHost& host) {
  const std::string folder = Folder(request, host);
  int status = CliExit::Ok;
  for (const std::string& named : request.files) {
    const auto path = BackupFileInFolder(folder, named);
    if (!path) {
      status = Fail(host, "refused \"" + named + "\": only .reg files in the backup folder \"" + folder +
                              "\" are deleted");
    } else if (!host.platform.files.FileExists(*path)) {
      status = Fail(host, "backup file \"" + *path + "\" does not exist");
    } else if (!host.platform.files.DeletePath(*path)) {
      status = Fail(host, "cannot delete \"" + *path + "\"");
    } else {
      host.console.WriteOut(Line("deleted: " + OneLineText(*path)));
    }
  }
  return status;
}

int RunRestore(const CliRequest& request, CliHost& host) {
  if (!host.ansi || !host.processes) return Fail(host, "restoring is not available in this build");
  const auto file = RestoreTarget(request, host);
  if (!file) return CliExit::Failure;
  if (!request.assumeYes &&
      !AskYesNo(host.console, "Import \"" + *file + "\" into the registry? [y/N] "))
    return Fail(host, "not confirmed; nothing imported");
  // Any readable .reg file may be imported and verified, but only one of the
  // program's own backups, directly in the backup folder, is the program's
  // to delete afterwards. A bare name is taken from the current folder here,
  // so only a path that names the backup folder itself counts.
  const std::string folder = Folder(request, host);
  const bool named = file->find_first_of("\\/") != std::string::npos;
  const bool ownBackup = request.latest || (named && BackupFileInFolder(folder, *file) == *file);
  const RestorePlatform platform{host.platform.registry, host.platform.files, *host.ansi, *host.processes};
  const RestoreOutcome outcome = RestoreBackupFile(platform, RestoreRequest{*file, request.keep || !ownBackup});
  if (outcome.status == RestoreOutcome::Status::Failed) return Fail(host, outcome.problem);
  if (request.format == OutputFormat::Json) WriteRestoreJson(host, *file, outcome);
  else WriteRestoreText(host, *file, outcome);
  if (outcome.status == RestoreOutcome::Status::Differences) {
    host.console.WriteErr(Message(std::to_string(outcome.differences.size()) +
                                  " keys or values did not come back as backed up; the backup file is kept"));
    return CliExit::NotAllFixed;
  }
  if (!request.keep && !ownBackup)
    host.console.WriteErr(Message("kept \"" + *file + "\": only files directly in the backup folder \"" + folder +
                                  "\" are deleted after a restore"));
  else if (!request.keep && !outcome.deleted)
    host.console.WriteErr(Message("cannot delete \"" + *file + "\""));
  return CliExit::Ok;
}

}  // namespace lindqua
