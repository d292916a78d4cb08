#include "app/IgnoreFilter.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "engine/Rot13.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr const char* BuiltInKeys[] = {
    "HKEY_CLASSES_ROOT\\.DAT",
    "HKEY_CLASSES_ROOT\\.hta",
    "HKEY_CLASSES_ROOT\\.htc",
    "HKEY_CLASSES_ROOT\\.manifest",
    "HKEY_CLASSES_ROOT\\Applications\\WINWORD.EXE\\TaskbarExceptionsIcons",
    "HKEY_CLASSES_ROOT\\CLSID\\{08EE6878-C867-4D8C-A360-FED4B6501D54}",
    "HKEY_CURRENT_USER\\Software\\Lexmark",
    "HKEY_CURRENT_USER\\Software\\JavaSoft",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\lexmark\\MarkVision\\LexBCE\\Debug Options",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\WBEM\\WDM",
    "HKEY_USERS\\S-1-5-20\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-19\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-20\\Software\\Microsoft\\MediaPlayer\\Setup\\CreatedLinks",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\IMAPI\\StashInfo",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\10.0\\Outlook\\Journal",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Office\\10.0\\Outlook\\Journal",
    "HKEY_CURRENT_USER\\Software\\ThinPrint",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\11.0\\Outlook\\Journal",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Microsoft\\Office\\11.0\\Outlook\\Journal",
    "HKEY_CURRENT_USER\\Software\\Ahead\\Nero - Burning Rom\\Database",
    "HKEY_USERS\\S-1-5-21-6497018-2779423360-1663385191-1005\\Software\\Ahead\\Nero - Burning Rom\\Database",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Citrix Program Neighborhood",
    "HKEY_CURRENT_USER\\Software\\Funk Software, Inc.",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\AeDebug",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_USERS\\S-1-5-21-1229272821-854245398-1343024091-1003\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Media Center\\MRU",
    "HKEY_LOCAL_MACHINE\\SOFTWARE\\Hewlett-Packard\\DigitalImaging",
};
static_assert(std::size(BuiltInKeys) == 30);

// Both sides end in "\" so that an entry only matches whole key names at its
// end: ".DAT\" is not found in ".DATA\".
std::string WithTrailingBackslash(std::string_view text) {
  std::string out(text);
  if (out.empty() || out.back() != '\\') out.push_back('\\');
  return out;
}

struct RowPath {
  std::string path;       // ends with "\"
  std::string valueName;  // empty for rows that name a key
};

// The key (and value) a row would delete, as the fix procedure reads its tag;
// nullopt for file rows and rows whose location is no registry path.
std::optional<RowPath> PathOfRow(const Finding& row) {
  const std::string& location = row.location;
  const std::size_t firstSlash = location.find('\\');
  if (firstSlash == std::string::npos) return std::nullopt;
  const std::string root = location.substr(0, firstSlash);
  const std::string rest = location.substr(firstSlash + 1);
  RowPath out;
  switch (row.tag) {
    case FixTag::Key:
      out.path = root + "\\" + rest;
      break;
    case FixTag::ValueInLocation: {
      const std::size_t lastSlash = rest.rfind('\\');
      if (lastSlash == std::string::npos) {
        out.path = root + "\\";
        out.valueName = rest;
      } else {
        out.path = root + "\\" + rest.substr(0, lastSlash);
        out.valueName = rest.substr(lastSlash + 1);
      }
      break;
    }
    case FixTag::NamedValue:
      out.path = root + "\\" + rest;
      out.valueName = row.shownText;
      break;
    case FixTag::SubKey:
      out.path = root + "\\" + rest + "\\" + row.shownText;
      break;
    case FixTag::DefaultValue:
      out.path = root + "\\" + rest;
      out.valueName = "@";
      break;
    case FixTag::Rot13Value:
      out.path = root + "\\" + rest;
      out.valueName = Rot13(row.shownText);
      break;
    default:
      return std::nullopt;
  }
  out.path = WithTrailingBackslash(out.path);
  return out;
}

// Every spelling of one key, upper-cased and ending in "\": as written, and
// as the key it reaches. HKEY_CURRENT_USER is HKEY_USERS\<the user's id>,
// and the classes root is a merged view of the machine's and the user's
// Software\Classes, so an entry or a row under one spelling stands for the
// same key under the others: a key the user excluded under one root must not
// be deleted through another.
class KeySpellings {
 public:
  explicit KeySpellings(std::string_view currentUserKey)
      : userKey_(currentUserKey.empty() ? "" : "HKEY_USERS\\" + UpperCase(currentUserKey) + "\\"),
        userClassesKey_(currentUserKey.empty() ? "" : "HKEY_USERS\\" + UpperCase(currentUserKey) + "_CLASSES\\") {}

  // text: upper-cased, ending in "\".
  std::vector<std::string> Of(const std::string& text) const {
    std::vector<std::string> out{text};
    const auto add = [&](std::string spelling) {
      if (std::find(out.begin(), out.end(), spelling) == out.end()) out.push_back(std::move(spelling));
    };
    std::string reached = text;
    if (!userClassesKey_.empty() && reached.starts_with(userClassesKey_))
      reached = std::string(UserClasses) + reached.substr(userClassesKey_.size());
    else if (!userKey_.empty() && reached.starts_with(userKey_))
      reached = std::string(CurrentUser) + reached.substr(userKey_.size());
    if (reached.starts_with(MachineClasses) || reached.starts_with(UserClasses)) {
      const std::string_view prefix = reached.starts_with(MachineClasses) ? MachineClasses : UserClasses;
      add(std::string(ClassesRoot) + reached.substr(prefix.size()));
      add(reached);
    } else if (reached.starts_with(ClassesRoot)) {
      const std::string rest = reached.substr(ClassesRoot.size());
      add(std::string(MachineClasses) + rest);
      add(std::string(UserClasses) + rest);
    } else {
      add(reached);
    }
    // Whatever lies under HKEY_CURRENT_USER also has the HKEY_USERS spelling.
    for (std::size_t i = 0, n = out.size(); i < n && !userKey_.empty(); ++i)
      if (out[i].starts_with(CurrentUser)) add(userKey_ + out[i].substr(CurrentUser.size()));
    return out;
  }

 private:
  static constexpr std::string_view ClassesRoot = "HKEY_CLASSES_ROOT\\";
  static constexpr std::string_view CurrentUser = "HKEY_CURRENT_USER\\";
  static constexpr std::string_view MachineClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\";
  static constexpr std::string_view UserClasses = "HKEY_CURRENT_USER\\SOFTWARE\\CLASSES\\";
  std::string userKey_;
  std::string userClassesKey_;
};

// One entry of either list, with every spelling of its key.
struct IgnoreEntry {
  std::vector<std::string> spellings;
};

std::vector<IgnoreEntry> IgnoreEntries(const std::vector<std::string>& userKeys, std::int32_t userKeyCount,
                                       const KeySpellings& spellings) {
  std::vector<IgnoreEntry> entries;
  const auto add = [&](std::string_view key) {
    entries.push_back(IgnoreEntry{spellings.Of(UpperCase(WithTrailingBackslash(key)))});
  };
  for (const char* key : BuiltInKeys) add(key);
  const std::size_t wanted = userKeyCount > 0 ? static_cast<std::size_t>(userKeyCount) : 0;
  const std::size_t count = std::min(wanted, userKeys.size());
  for (std::size_t i = 0; i < count; ++i) {
    // An empty entry (a key missing from the settings file) matches nothing;
    // a lone "\\" is what the user typed and, like any entry, matches every
    // path that holds it, which is every path.
    if (userKeys[i].empty()) continue;
    add(userKeys[i]);
  }
  return entries;
}

bool FallsUnder(const RowPath& row, const std::vector<IgnoreEntry>& entries, const KeySpellings& spellings) {
  const std::vector<std::string> paths = spellings.Of(UpperCase(row.path));
  for (const IgnoreEntry& entry : entries) {
    for (const std::string& path : paths) {
      for (const std::string& spelling : entry.spellings) {
        if (path.find(spelling) != std::string::npos) return true;
        // Deleting a key deletes what lies under it, so a key row that holds
        // an ignored key must stay as well; a value row deletes only the value.
        if (row.valueName.empty() && spelling.find(path) != std::string::npos) return true;
      }
    }
  }
  return false;
}

}  // namespace

std::span<const char* const> BuiltInIgnoreKeys() { return BuiltInKeys; }

void ApplyIgnoreList(std::vector<Finding>& rows, const std::vector<std::string>& userKeys, std::int32_t userKeyCount,
                     std::string_view currentUserKey) {
  const KeySpellings spellings(currentUserKey);
  const std::vector<IgnoreEntry> entries = IgnoreEntries(userKeys, userKeyCount, spellings);
  std::erase_if(rows, [&](const Finding& row) {
    const std::optional<RowPath> path = PathOfRow(row);
    return path && FallsUnder(*path, entries, spellings);
  });
}

}  // namespace lindqua
