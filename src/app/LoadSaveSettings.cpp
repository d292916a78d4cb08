#include "app/LoadSaveSettings.h"

#include <algorithm>

#include "app/SettingsFile.h"

namespace lindqua {

namespace {

constexpr std::string_view SectionSettings = "Settings";
constexpr std::string_view SectionNodes = "NodeSelected";
constexpr std::string_view SectionIgnore = "IgnoreKey";
constexpr std::int32_t ShowMaximized = 3;

std::string KeyName(int i) { return "Key" + std::to_string(i); }

// A line break inside a value would end the entry early and turn the rest of
// the value into lines of its own, so breaks are written as blanks.
std::string OneLine(std::string_view value) {
  std::string out(value);
  std::replace_if(out.begin(), out.end(), [](char c) { return c == '\r' || c == '\n'; }, ' ');
  return out;
}

bool IsProfileBlank(char c) { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == ' '; }

// The profile functions drop blanks at both ends of a value and one pair of
// enclosing quotes when reading it back. An ignored key named "\"x\"" or a
// folder ending in a blank would come back changed, so such values are
// written inside one more pair of quotes, which the reading takes off again.
std::string ForProfile(std::string_view value) {
  std::string out = OneLine(value);
  if (out.empty()) return out;
  const bool blankEnd = IsProfileBlank(out.front()) || IsProfileBlank(out.back());
  const bool quoted = out.size() >= 2 && (out.front() == '"' || out.front() == '\'') && out.back() == out.front();
  return blankEnd || quoted ? '"' + out + '"' : out;
}

// Stops the save at the first refused write and says so once.
class SettingsWriter {
 public:
  SettingsWriter(IniFile& ini, ErrorReporter& errors) : ini_(ini), errors_(errors) {}

  bool String(std::string_view section, std::string_view key, std::string_view value) {
    return Check(ini_.WriteString(section, key, ForProfile(value)));
  }
  bool Integer(std::string_view section, std::string_view key, std::int32_t value) {
    return Check(WriteIniInteger(ini_, section, key, value));
  }
  bool Bool(std::string_view section, std::string_view key, bool value) {
    return Check(WriteIniBool(ini_, section, key, value));
  }

 private:
  bool Check(bool written) {
    if (!written) errors_.ShowError("Unable to write to " + ini_.FileName());
    return written;
  }

  IniFile& ini_;
  ErrorReporter& errors_;
};

}  // namespace

void ReadSettings(IniFile& ini, const SettingsDefaults& defaults, TOptionsSetting& options) {
  options.BackupFolder = ini.ReadString(SectionSettings, "BackupFolder", defaults.programFolder + "Backup");
  options.IgnoreRemovableDrive = ReadIniBool(ini, SectionSettings, "IgnoreRemovableDrive", true);
  for (int i = 1; i <= 25; ++i) options.NodeSelected[i] = ReadIniBool(ini, SectionNodes, std::to_string(i), true);

  options.IgnoreKeys.clear();
  options.IgnoreKeyCount = ReadIniInteger(ini, SectionIgnore, "Count", 0);
  if (options.IgnoreKeyCount > MaxIgnoreKeys) options.IgnoreKeyCount = MaxIgnoreKeys;
  for (int i = 1; i <= options.IgnoreKeyCount; ++i)
    options.IgnoreKeys.push_back(ini.ReadString(SectionIgnore, KeyName(i), ""));

  options.WindowState = ReadIniInteger(ini, SectionSettings, "State", 1) == ShowMaximized ? 2 : 0;
  // The bounds are the window's normal bounds, read also for a maximized
  // window: restoring it then gives back the size it had before.
  const WindowSize window = defaults.windowSize;
  const WindowSize screen = defaults.screenSize;
  options.Left = ReadIniInteger(ini, SectionSettings, "Left", (screen.width - window.width) / 2);
  options.Top = ReadIniInteger(ini, SectionSettings, "Top", (screen.height - window.height) / 2);
  options.Width = ReadIniInteger(ini, SectionSettings, "Width", window.width);
  options.Height = ReadIniInteger(ini, SectionSettings, "Height", window.height);
  options.CreateRestore = ReadIniBool(ini, SectionSettings, "CreateRestore", false);
  options.LastFix = ini.ReadString(SectionSettings, "Last Fix", "");
  options.Check64BitPaths = ReadIniBool(ini, SectionSettings, "Check64BitPaths", false);
}

bool WriteSettings(IniFile& ini, SettingsWindow& window, TOptionsSetting& options, ErrorReporter& errors) {
  SettingsWriter write(ini, errors);
  if (!write.String(SectionSettings, "BackupFolder", options.BackupFolder)) return false;
  if (!write.Bool(SectionSettings, "IgnoreRemovableDrive", options.IgnoreRemovableDrive)) return false;

  window.ReadTreeChecks(options.NodeSelected);
  for (int i = 1; i <= 25; ++i)
    if (!write.Bool(SectionNodes, std::to_string(i), options.NodeSelected[i])) return false;

  if (!write.Integer(SectionIgnore, "Count", options.IgnoreKeyCount)) return false;
  for (int i = 1; i <= options.IgnoreKeyCount; ++i) {
    // A count beyond the list (only a bug elsewhere could cause one) writes empty entries.
    const std::size_t index = static_cast<std::size_t>(i - 1);
    const std::string_view key =
        index < options.IgnoreKeys.size() ? std::string_view(options.IgnoreKeys[index]) : std::string_view();
    if (!write.String(SectionIgnore, KeyName(i), key)) return false;
  }

  if (const auto showCmd = window.PlacementShowCmd())
    if (!write.Integer(SectionSettings, "State", *showCmd)) return false;
  const WindowBounds bounds = window.CurrentBounds();
  if (!write.Integer(SectionSettings, "Left", bounds.left) || !write.Integer(SectionSettings, "Top", bounds.top) ||
      !write.Integer(SectionSettings, "Width", bounds.width) ||
      !write.Integer(SectionSettings, "Height", bounds.height))
    return false;

  return write.Bool(SectionSettings, "CreateRestore", options.CreateRestore) &&
         write.String(SectionSettings, "Last Fix", options.LastFix) &&
         write.Bool(SectionSettings, "Check64BitPaths", options.Check64BitPaths);
}

bool LoadSaveSettings(bool Load, SettingsHost& host, TOptionsSetting& options) {
  const std::string path = LocateSettingsFile(host.files, host.programFolder);
  const auto ini = host.ini.Open(path);
  if (Load) {
    ReadSettings(*ini,
                 SettingsDefaults{AsFolder(host.programFolder), host.window.SizeAtLoad(), host.window.ScreenSize()},
                 options);
    return true;
  }
  return WriteSettings(*ini, host.window, options, host.errors);
}

}  // namespace lindqua
