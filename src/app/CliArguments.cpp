#include "app/CliArguments.h"

#include <string_view>

#include "app/SectionListText.h"
#include "engine/ScanSection.h"

namespace lindqua {

namespace {

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h" || arg == "/?"; }

// Takes the value of `--name VALUE` or `--name=VALUE`; false when `arg` is
// not this option. `error` is set when it is, but its value is missing.
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name, std::string& value,
               std::string& error) {
  const std::string_view arg = args[i];
  if (arg == name) {
    if (i + 1 >= args.size() || args[i + 1].starts_with("--")) {
      error = std::string(name) + " needs a value";
      return true;
    }
    value = args[++i];
    return true;
  }
  if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
    value = std::string(arg.substr(name.size() + 1));
    return true;
  }
  return false;
}

bool ParseScanOptions(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  bool seenSections = false, seenFormat = false, seenOutput = false, seenNoIgnore = false;
  bool seenDryRun = false, seenYes = false, seenRestorePoint = false, seenSettings = false;
  const bool clean = request.action == CliAction::Clean;
  const auto once = [&](bool& seen, std::string_view name) {
    if (seen) error = std::string(name) + " given twice";
    seen = true;
    return error.empty();
  };
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    std::string value;
    if (IsHelp(arg)) {
      request = CliRequest{};
      return true;
    }
    if (TakeValue(args, i, "--sections", value, error)) {
      if (!error.empty() || !once(seenSections, "--sections")) return false;
      std::vector<int> sections;
      if (!ParseSectionList(value, sections, error)) return false;
      request.sections = std::move(sections);
    } else if (TakeValue(args, i, "--settings", value, error)) {
      if (!error.empty() || !once(seenSettings, "--settings")) return false;
      if (value.empty()) {
        error = "--settings needs a file name";
        return false;
      }
      request.settingsPath = value;
    } else if (clean && arg == "--dry-run") {
      if (!once(seenDryRun, "--dry-run")) return false;
      request.dryRun = true;
    } else if (clean && arg == "--yes") {
      if (!once(seenYes, "--yes")) return false;
      request.assumeYes = true;
    } else if (clean && arg == "--restore-point") {
      if (!once(seenRestorePoint, "--restore-point")) return false;
      request.restorePoint = true;
    } else if (!clean && TakeValue(args, i, "--format", value, error)) {
      if (!error.empty() || !once(seenFormat, "--format")) return false;
      if (value == "text") {
        request.format = OutputFormat::Text;
      } else if (value == "json") {
        request.format = OutputFormat::Json;
      } else {
        error = "unknown format \"" + value + "\" (use text or json)";
        return false;
      }
    } else if (!clean && TakeValue(args, i, "--output", value, error)) {
      if (!error.empty() || !once(seenOutput, "--output")) return false;
      if (value.empty()) {
        error = "--output needs a file name";
        return false;
      }
      request.outputPath = value;
    } else if (arg == "--no-ignore") {
      if (!once(seenNoIgnore, "--no-ignore")) return false;
      request.applyIgnoreList = false;
    } else if (arg.starts_with("-")) {
      error = "unknown option \"" + arg + "\"";
      return false;
    } else {
      error = "unexpected argument \"" + arg + "\"";
      return false;
    }
  }
  return true;
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  request = CliRequest{};
  error.clear();
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  const std::string& command = args[0];
  if (IsHelp(command)) {
    request.action = CliAction::Help;
    return true;
  }
  if (command == "--version") {
    if (args.size() > 1) {
      error = "unexpected argument \"" + args[1] + "\"";
      return false;
    }
    request.action = CliAction::Version;
    return true;
  }
  if (command != "scan" && command != "clean") {
    error = (command.starts_with("-") ? "unknown option \"" : "unknown command \"") + command + "\"";
    return false;
  }
  request.action = command == "scan" ? CliAction::Scan : CliAction::Clean;
  if (!ParseScanOptions(args, request, error)) {
    request = CliRequest{};
    return false;
  }
  return true;
}

std::string CliUsageText() {
  std::string text =
      "Usage: lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore]\r\n"
      "                        [--settings FILE]\r\n"
      "       lindqua-cli clean [--sections LIST] [--dry-run] [--yes] [--restore-point] [--no-ignore]\r\n"
      "                         [--settings FILE]\r\n"
      "       lindqua-cli --help | --version\r\n"
      "\r\n"
      "scan lists every problem found, in the order found. clean scans, then backs up\r\n"
      "and deletes every finding, writing each key or value to a REGEDIT4 backup file\r\n"
      "in the backup folder before it is deleted.\r\n"
      "\r\n"
      "  --sections LIST  sections to scan, numbers and ranges such as 3-6,8\r\n"
      "                   (default: the sections checked in the settings)\r\n"
      "  --format text    one line per finding: problem  ^^^  data  ^^^  key (default)\r\n"
      "  --format json    {\"findings\":[{\"section\":..,\"problem\":..,\"data\":..,\"key\":..,\"tag\":..,\r\n"
      "                   \"reason\":..}]}, the reason saying what was tested and found\r\n"
      "  --output FILE    write the findings to FILE in UTF-8 instead of the console\r\n"
      "  --no-ignore      keep the findings under ignored keys\r\n"
      "  --settings FILE  read this settings file instead of the window's (never written)\r\n"
      "  --dry-run        (clean) print what would be deleted and why, delete nothing\r\n"
      "  --yes            (clean) do not ask before deleting\r\n"
      "  --restore-point  (clean) have Windows make a restore point first\r\n"
      "\r\n"
      "Exit status: 0 the scan ran (clean: everything attempted was fixed), 1 it failed\r\n"
      "or was not confirmed, 2 the command line was wrong, 3 (clean) some findings\r\n"
      "could not be fixed; they are listed with the reason.\r\n"
      "\r\n"
      "Sections:\r\n";
  for (const ScanSectionInfo& section : ScanSections()) {
    text += "  ";
    if (section.id < 10) text += ' ';
    text += std::to_string(section.id) + "  " + section.treeCaption + "\r\n";
  }
  return text;
}

}  // namespace lindqua
