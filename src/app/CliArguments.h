#pragma once
// The command line of the console program:
//   lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore] [--check-64bit-paths]
//                    [--settings FILE]
//   lindqua-cli clean [--sections LIST] [--dry-run] [--yes] [--restore-point] [--no-ignore] [--format text|json]
//                     [--check-64bit-paths] [--settings FILE]
//   lindqua-cli backups [--format text|json] [--settings FILE]
//   lindqua-cli backups delete FILE... [--settings FILE]
//   lindqua-cli restore FILE|--latest [--yes] [--keep] [--format text|json] [--settings FILE]
//   lindqua-cli [COMMAND] --help | --version
#include <optional>
#include <string>
#include <vector>

namespace lindqua {

enum class CliAction { Help, Version, Scan, Clean, Backups, BackupsDelete, Restore };
enum class OutputFormat { Text, Json };

struct CliRequest {
  CliAction action = CliAction::Help;
  // Help: the command whose help is asked for; Help itself for the overview.
  CliAction helpTopic = CliAction::Help;
  // nullopt: the sections checked in the settings.
  std::optional<std::vector<int>> sections;
  OutputFormat format = OutputFormat::Text;
  std::string outputPath;  // empty: the console
  bool applyIgnoreList = true;
  std::string settingsPath;  // empty: the settings file the window uses
  // scan, clean: judge paths into WOW64-redirected folders in every view,
  // whatever the settings say
  bool check64BitPaths = false;
  // clean only
  bool dryRun = false;        // list what would be deleted, delete nothing
  bool assumeYes = false;     // no confirmation question (also restore)
  bool restorePoint = false;  // ask Windows for a restore point first
  // backups delete, restore: the backup files named
  std::vector<std::string> files;
  bool latest = false;  // restore the newest backup
  bool keep = false;    // restore: keep the backup file even when all is well
};

// `args` are the arguments after the program name. False, with a one-line
// reason in `error`, for anything the program cannot do as asked: no or an
// unknown command, an unknown or repeated option, a missing or bad value.
[[nodiscard]] bool ParseCliArguments(const std::vector<std::string>& args, CliRequest& request, std::string& error);

// The text of --help, ending with a line break: the overview, or one command's.
std::string CliUsageText(CliAction topic = CliAction::Help);

inline constexpr char CliVersionText[] = "Vantorel Lindqua 2.1";

}  // namespace lindqua
