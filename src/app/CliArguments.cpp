#include "app/CliArguments.h"

#include <array>
#include <string_view>
#include <tuple>

#include "app/SectionListText.h"

namespace lindqua {

namespace {

bool IsHelp(std::string_view arg) { return arg == "--help" || arg == "-h" || arg == "/?"; }

// The options each command takes.
enum Option : unsigned {
  Sections = 1u << 0,
  Settings = 1u << 1,
  Format = 1u << 2,
  Output = 1u << 3,
  NoIgnore = 1u << 4,
  DryRun = 1u << 5,
  Yes = 1u << 6,
  RestorePoint = 1u << 7,
  Keep = 1u << 8,
  Latest = 1u << 9,
  FileNames = 1u << 10,  // plain arguments name files
  Check64Bit = 1u << 11,
};

struct Command {
  std::string_view name;
  CliAction action;
  unsigned options;
};

constexpr std::array<Command, 5> Commands{{
    {"scan", CliAction::Scan, Sections | Settings | Format | Output | NoIgnore | Check64Bit},
    {"clean", CliAction::Clean, Sections | Settings | Format | NoIgnore | DryRun | Yes | RestorePoint | Check64Bit},
    {"backups", CliAction::Backups, Settings | Format},
    {"backups delete", CliAction::BackupsDelete, Settings | FileNames},
    {"restore", CliAction::Restore, Settings | Format | Yes | Keep | Latest | FileNames},
}};

struct Switch {
  std::string_view name;
  Option option;
  bool CliRequest::*member;
  bool value;
};

constexpr std::array<Switch, 7> Switches{{
    {"--no-ignore", NoIgnore, &CliRequest::applyIgnoreList, false},
    {"--dry-run", DryRun, &CliRequest::dryRun, true},
    {"--yes", Yes, &CliRequest::assumeYes, true},
    {"--restore-point", RestorePoint, &CliRequest::restorePoint, true},
    {"--keep", Keep, &CliRequest::keep, true},
    {"--latest", Latest, &CliRequest::latest, true},
    {"--check-64bit-paths", Check64Bit, &CliRequest::check64BitPaths, true},
}};

enum class Match { No, Yes, Error };

class OptionParser {
 public:
  OptionParser(const std::vector<std::string>& args, CliRequest& request, std::string& error, unsigned allowed)
      : args_(args), request_(request), error_(error), allowed_(allowed) {}

  bool Parse(std::size_t first) {
    for (i_ = first; i_ < args_.size(); ++i_) {
      const std::string& arg = args_[i_];
      if (IsHelp(arg)) {
        const CliAction topic = request_.action;
        request_ = CliRequest{};
        request_.helpTopic = topic;
        return true;
      }
      Match match = Match::No;
      for (const auto step : {&OptionParser::TakeSections, &OptionParser::TakeFileOption, &OptionParser::TakeFormat,
                              &OptionParser::TakeSwitch, &OptionParser::TakePlain}) {
        match = (this->*step)(arg);
        if (match != Match::No) break;
      }
      if (match == Match::Error) return false;
      if (match == Match::No) return Fail("unknown option \"" + arg + "\"");
    }
    return Complete();
  }

 private:
  bool Fail(std::string text) {
    error_ = std::move(text);
    return false;
  }
  Match Failed(std::string text) {
    error_ = std::move(text);
    return Match::Error;
  }

  // The first use of an option the command takes; anything else is an error.
  Match Once(Option option, std::string_view name) {
    if (seen_ & option) return Failed(std::string(name) + " given twice");
    seen_ |= option;
    return Match::Yes;
  }

  // Takes the value of `--name VALUE` or `--name=VALUE`.
  Match TakeValue(std::string_view name, Option option, std::string& value) {
    if (!(allowed_ & option)) return Match::No;
    const std::string_view arg = args_[i_];
    if (arg == name) {
      if (i_ + 1 >= args_.size() || args_[i_ + 1].starts_with("--")) return Failed(std::string(name) + " needs a value");
      value = args_[++i_];
    } else if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=') {
      value = std::string(arg.substr(name.size() + 1));
    } else {
      return Match::No;
    }
    return Once(option, name);
  }

  Match TakeSections(const std::string&) {
    std::string value;
    const Match match = TakeValue("--sections", Sections, value);
    if (match != Match::Yes) return match;
    std::vector<int> sections;
    if (!ParseSectionList(value, sections, error_)) return Match::Error;
    request_.sections = std::move(sections);
    return Match::Yes;
  }

  // --settings and --output name a file, never an empty one.
  Match TakeFileOption(const std::string&) {
    for (const auto& [name, option, target] : {std::tuple{"--settings", Settings, &CliRequest::settingsPath},
                                               std::tuple{"--output", Output, &CliRequest::outputPath}}) {
      std::string value;
      const Match match = TakeValue(name, option, value);
      if (match == Match::No) continue;
      if (match == Match::Yes && value.empty()) return Failed(std::string(name) + " needs a file name");
      if (match == Match::Yes) request_.*target = value;
      return match;
    }
    return Match::No;
  }

  Match TakeFormat(const std::string&) {
    std::string value;
    const Match match = TakeValue("--format", Format, value);
    if (match != Match::Yes) return match;
    if (value == "text") request_.format = OutputFormat::Text;
    else if (value == "json") request_.format = OutputFormat::Json;
    else return Failed("unknown format \"" + value + "\" (use text or json)");
    return Match::Yes;
  }

  Match TakeSwitch(const std::string& arg) {
    for (const Switch& s : Switches) {
      if (arg != s.name || !(allowed_ & s.option)) continue;
      if (Once(s.option, s.name) == Match::Error) return Match::Error;
      request_.*s.member = s.value;
      return Match::Yes;
    }
    return Match::No;
  }

  Match TakePlain(const std::string& arg) {
    if (arg.starts_with("-")) return Match::No;
    if (!(allowed_ & FileNames)) return Failed("unexpected argument \"" + arg + "\"");
    request_.files.push_back(arg);
    return Match::Yes;
  }

  bool Complete() {
    if (request_.action == CliAction::BackupsDelete && request_.files.empty())
      return Fail("backups delete needs the backup files to delete");
    if (request_.action == CliAction::Restore) {
      if (request_.latest == !request_.files.empty()) return Fail("restore needs one backup file or --latest");
      if (request_.files.size() > 1) return Fail("restore takes one backup file");
    }
    return true;
  }

  const std::vector<std::string>& args_;
  CliRequest& request_;
  std::string& error_;
  unsigned allowed_;
  unsigned seen_ = 0;
  std::size_t i_ = 0;
};

const Command* FindCommand(const std::vector<std::string>& args, std::size_t& used) {
  for (const Command& command : Commands) {
    const std::size_t blank = command.name.find(' ');
    if (blank == std::string_view::npos) continue;
    if (args.size() >= 2 && args[0] == command.name.substr(0, blank) && args[1] == command.name.substr(blank + 1)) {
      used = 2;
      return &command;
    }
  }
  for (const Command& command : Commands) {
    if (args[0] == command.name) {
      used = 1;
      return &command;
    }
  }
  return nullptr;
}

}  // namespace

bool ParseCliArguments(const std::vector<std::string>& args, CliRequest& request, std::string& error) {
  request = CliRequest{};
  error.clear();
  if (args.empty()) {
    error = "no command given";
    return false;
  }
  const std::string& first = args[0];
  if (IsHelp(first)) return true;
  if (first == "--version") {
    if (args.size() > 1) {
      error = "unexpected argument \"" + args[1] + "\"";
      return false;
    }
    request.action = CliAction::Version;
    return true;
  }
  std::size_t used = 0;
  const Command* command = FindCommand(args, used);
  if (!command) {
    error = (first.starts_with("-") ? "unknown option \"" : "unknown command \"") + first + "\"";
    return false;
  }
  request.action = command->action;
  if (!OptionParser(args, request, error, command->options).Parse(used)) {
    request = CliRequest{};
    return false;
  }
  return true;
}

}  // namespace lindqua
