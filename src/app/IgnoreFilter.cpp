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

std::vector<std::string> IgnoreEntries(const std::vector<std::string>& userKeys, std::int32_t userKeyCount) {
  std::vector<std::string> entries;
  for (const char* key : BuiltInKeys) entries.push_back(WithTrailingBackslash(key));
  const std::size_t wanted = userKeyCount > 0 ? static_cast<std::size_t>(userKeyCount) : 0;
  const std::size_t count = std::min(wanted, userKeys.size());
  for (std::size_t i = 0; i < count; ++i) {
    // An empty entry (a key missing from the settings file) matches nothing;
    // a lone "\\" is what the user typed and, like any entry, matches every
    // path that holds it, which is every path.
    if (userKeys[i].empty()) continue;
    entries.push_back(WithTrailingBackslash(userKeys[i]));
  }
  return entries;
}

bool FallsUnder(const RowPath& row, const std::vector<std::string>& entries) {
  for (const std::string& entry : entries) {
    if (ContainsText(row.path, entry)) return true;
    // Deleting a key deletes what lies under it, so a key row that holds an
    // ignored key must stay as well; a value row deletes only the value.
    if (row.valueName.empty() && ContainsText(entry, row.path)) return true;
  }
  return false;
}

}  // namespace

std::span<const char* const> BuiltInIgnoreKeys() { return BuiltInKeys; }

void ApplyIgnoreList(std::vector<Finding>& rows, const std::vector<std::string>& userKeys,
                     std::int32_t userKeyCount) {
  const std::vector<std::string> entries = IgnoreEntries(userKeys, userKeyCount);
  std::erase_if(rows, [&](const Finding& row) {
    const std::optional<RowPath> path = PathOfRow(row);
    return path && FallsUnder(*path, entries);
  });
}

}  // namespace lindqua
