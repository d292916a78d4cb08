#include "app/LoadSaveSettings.h"

#include <algorithm>

#include "app/SettingsFile.h"
#include "platform/Text.h"

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

// Writes entries until the first refused one.
class SettingsWriter {
 public:
  explicit SettingsWriter(IniFile& ini) : ini_(ini) {}

  bool String(std::string_view section, std::string_view key, std::string_view value) {
    return ini_.WriteString(section, key, ForProfile(value));
  }
  bool Integer(std::string_view section, std::string_view key, std::int32_t value) {
    return WriteIniInteger(ini_, section, key, value);
  }
  bool Bool(std::string_view section, std::string_view key, bool value) { return WriteIniBool(ini_, section, key, value); }

 private:
  IniFile& ini_;
};

// True when a text to be written has no exact form in the ANSI code page: the
// profile functions would then write "?" in its place into an ANSI file.
bool NeedsUnicodeFile(const TOptionsSetting& options, const AnsiCodePage& ansi) {
  const auto held = [&](std::string_view text) { return ansi.FromUtf8(ForProfile(text)).has_value(); };
  if (!held(options.BackupFolder) || !held(options.LastFix)) return true;
  const std::size_t count = options.IgnoreKeyCount > 0 ? static_cast<std::size_t>(options.IgnoreKeyCount) : 0;
  for (std::size_t i = 0; i < count && i < options.IgnoreKeys.size(); ++i)
    if (!held(options.IgnoreKeys[i])) return true;
  return false;
}

// The new file starts as a copy of the old one, so that entries the program
// does not own, and old ones it no longer reads, stay. A file that exists but
// cannot be read is not replaced by one that lost them. With `widen`, an
// ANSI (or UTF-8) file becomes UTF-16 with its mark, in which the profile
// functions keep every character; a file already in UTF-16 stays as it is.
bool StartFromOldFile(FileSystem& files, const std::string& path, const std::string& temporary,
                      const AnsiCodePage* widen) {
  std::string old;
  if (files.FileExists(path) && !files.ReadWholeFile(path, old)) return false;
  if (widen && !old.starts_with("\xFF\xFE") && !old.starts_with("\xFE\xFF")) {
    const std::optional<std::string> text =
        old.starts_with("\xEF\xBB\xBF") ? std::optional<std::string>(old.substr(3)) : widen->ToUtf8(old);
    if (!text) return false;  // bytes the code page does not hold: the old file stays
    const Bytes wide = Utf8ToUtf16LeBytes(*text, false);
    old.assign("\xFF\xFE");
    old.append(wide.begin(), wide.end());
  }
  return files.WriteWholeFile(temporary, old);
}

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

bool WriteSettings(IniFile& ini, const TOptionsSetting& options, const WindowPlacement& placement) {
  SettingsWriter write(ini);
  if (!write.String(SectionSettings, "BackupFolder", options.BackupFolder)) return false;
  if (!write.Bool(SectionSettings, "IgnoreRemovableDrive", options.IgnoreRemovableDrive)) return false;

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

  // An unreadable placement keeps the stored state.
  if (placement.placementRead && !write.Integer(SectionSettings, "State", placement.showCmd)) return false;
  if (!write.Integer(SectionSettings, "Left", placement.left) || !write.Integer(SectionSettings, "Top", placement.top) ||
      !write.Integer(SectionSettings, "Width", placement.width) ||
      !write.Integer(SectionSettings, "Height", placement.height))
    return false;

  return write.Bool(SectionSettings, "CreateRestore", options.CreateRestore) &&
         write.String(SectionSettings, "Last Fix", options.LastFix) &&
         write.Bool(SectionSettings, "Check64BitPaths", options.Check64BitPaths);
}

SettingsFileStore::SettingsFileStore(FileSystem& files, IniFiles& ini, std::string programFolder, ErrorReporter& errors,
                                     std::function<WindowSize()> screenSize, const AnsiCodePage* ansi)
    : files_(files),
      ini_(ini),
      programFolder_(std::move(programFolder)),
      errors_(errors),
      screenSize_(std::move(screenSize)),
      ansi_(ansi) {}

void SettingsFileStore::Load(TOptionsSetting& options) {
  const auto ini = ini_.Open(LocateSettingsFile(files_, programFolder_));
  const WindowSize screen = screenSize_ ? screenSize_() : MainWindowDesignSize;
  ReadSettings(*ini, SettingsDefaults{AsFolder(programFolder_), MainWindowDesignSize, screen}, options);
}

bool SettingsFileStore::Save(const TOptionsSetting& options, const WindowPlacement& placement) {
  const std::string path = LocateSettingsFile(files_, programFolder_);
  // Beside the file, so that the last step is a rename on one volume.
  const std::string temporary = path + std::string(SettingsSavingSuffix);
  const AnsiCodePage* widen = ansi_ && NeedsUnicodeFile(options, *ansi_) ? ansi_ : nullptr;
  const bool saved = StartFromOldFile(files_, path, temporary, widen) &&
                     WriteSettings(*ini_.Open(temporary), options, placement) &&
                     files_.MoveFileReplacing(temporary, path);
  if (!saved) {
    // Nothing may be left half-written, not even beside the file; a
    // temporary that was never made needs no removing.
    if (files_.FileExists(temporary)) (void)files_.DeletePath(temporary);
    errors_.ShowError("Unable to write to " + path);
  }
  return saved;
}

}  // namespace lindqua
