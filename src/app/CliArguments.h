#pragma once
// The command line of the console program:
//   lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore] [--settings FILE]
//   lindqua-cli clean [--sections LIST] [--dry-run] [--yes] [--restore-point] [--no-ignore] [--settings FILE]
//   lindqua-cli --help | --version
#include <optional>
#include <string>
#include <vector>

namespace lindqua {

enum class CliAction { Help, Version, Scan, Clean };
enum class OutputFormat { Text, Json };

struct CliRequest {
  CliAction action = CliAction::Help;
  // nullopt: the sections checked in the settings.
  std::optional<std::vector<int>> sections;
  OutputFormat format = OutputFormat::Text;
  std::string outputPath;  // empty: the console
  bool applyIgnoreList = true;
  std::string settingsPath;  // empty: the settings file the window uses
  // clean only
  bool dryRun = false;        // list what would be deleted, delete nothing
  bool assumeYes = false;     // no confirmation question
  bool restorePoint = false;  // ask Windows for a restore point first
};

// `args` are the arguments after the program name. False, with a one-line
// reason in `error`, for anything the program cannot do as asked: no or an
// unknown command, an unknown or repeated option, a missing or bad value.
[[nodiscard]] bool ParseCliArguments(const std::vector<std::string>& args, CliRequest& request, std::string& error);

// The text of --help, ending with a line break.
std::string CliUsageText();

inline constexpr char CliVersionText[] = "Vantorel Lindqua 2.1";

}  // namespace lindqua
