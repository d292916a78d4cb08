#include "app/IgnoreFilter.h"

#include <algorithm>
#include <array>
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
  // At most the text as written and two keys it reaches.
  static constexpr std::size_t Most = 3;
  struct Set {
    std::array<std::string, Most> texts;
    std::size_t count = 0;
  };

  explicit KeySpellings(std::string_view currentUserKey)
      : userKey_(currentUserKey.empty() ? "" : "HKEY_USERS\\" + UpperCase(currentUserKey) + "\\"),
        userClassesKey_(currentUserKey.empty() ? "" : "HKEY_USERS\\" + UpperCase(currentUserKey) + "_CLASSES\\") {}

  // Fills `out` with the spellings of `text` (upper-cased, ending in "\"),
  // reusing its strings: as written, and as the physical keys it reaches.
  // Two spellings of one key always share a physical one, so comparing
  // every spelling of a row with every spelling of an entry finds them.
  void Of(std::string_view text, Set& out) const {
    out.count = 0;
    Put(out, text);
    std::string_view rest = text;
    std::string_view head;
    if (!userClassesKey_.empty() && rest.starts_with(userClassesKey_)) {
      head = UserClasses;
      rest.remove_prefix(userClassesKey_.size());
    } else if (!userKey_.empty() && rest.starts_with(userKey_)) {
      head = CurrentUser;
      rest.remove_prefix(userKey_.size());
    }
    // reached = head + rest
    reached_.assign(head);
    reached_.append(rest);
    const std::string_view key = reached_;
    if (key.starts_with(MachineClasses) || key.starts_with(UserClasses)) {
      PutJoined(out, ClassesRoot, key.substr(key.starts_with(MachineClasses) ? MachineClasses.size() : UserClasses.size()));
      Put(out, key);
    } else if (key.starts_with(ClassesRoot)) {
      PutJoined(out, MachineClasses, key.substr(ClassesRoot.size()));
      PutJoined(out, UserClasses, key.substr(ClassesRoot.size()));
    } else {
      Put(out, key);
    }
  }

 private:
  static void Put(Set& out, std::string_view text) {
    for (std::size_t i = 0; i < out.count; ++i)
      if (out.texts[i] == text) return;
    if (out.count < Most) out.texts[out.count++].assign(text);
  }
  void PutJoined(Set& out, std::string_view head, std::string_view rest) const {
    joined_.assign(head);
    joined_.append(rest);
    Put(out, joined_);
  }

  static constexpr std::string_view ClassesRoot = "HKEY_CLASSES_ROOT\\";
  static constexpr std::string_view CurrentUser = "HKEY_CURRENT_USER\\";
  static constexpr std::string_view MachineClasses = "HKEY_LOCAL_MACHINE\\SOFTWARE\\CLASSES\\";
  static constexpr std::string_view UserClasses = "HKEY_CURRENT_USER\\SOFTWARE\\CLASSES\\";
  std::string userKey_;
  std::string userClassesKey_;
  mutable std::string reached_, joined_;
};

// Every spelling of every entry of both lists, in one list.
std::vector<std::string> IgnoreSpellings(const std::vector<std::string>& userKeys, std::int32_t userKeyCount,
                                         const KeySpellings& spellings) {
  std::vector<std::string> out;
  KeySpellings::Set set;
  const auto add = [&](std::string_view key) {
    spellings.Of(UpperCase(WithTrailingBackslash(key)), set);
    for (std::size_t i = 0; i < set.count; ++i) out.push_back(set.texts[i]);
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
  return out;
}

bool FallsUnder(const RowPath& row, const std::vector<std::string>& entries, const KeySpellings& spellings,
                KeySpellings::Set& paths, std::string& upper) {
  upper.clear();
  for (char c : row.path) upper.push_back(AsciiUpper(c));
  spellings.Of(upper, paths);
  for (std::size_t i = 0; i < paths.count; ++i) {
    const std::string& path = paths.texts[i];
    for (const std::string& entry : entries) {
      if (path.find(entry) != std::string::npos) return true;
      // Deleting a key deletes what lies under it, so a key row that holds
      // an ignored key must stay as well; a value row deletes only the value.
      if (row.valueName.empty() && entry.find(path) != std::string::npos) return true;
    }
  }
  return false;
}

}  // namespace

std::span<const char* const> BuiltInIgnoreKeys() { return BuiltInKeys; }

void ApplyIgnoreList(std::vector<Finding>& rows, const std::vector<std::string>& userKeys, std::int32_t userKeyCount,
                     std::string_view currentUserKey) {
  const KeySpellings spellings(currentUserKey);
  const std::vector<std::string> entries = IgnoreSpellings(userKeys, userKeyCount, spellings);
  KeySpellings::Set paths;
  std::string upper;
  std::erase_if(rows, [&](const Finding& row) {
    const std::optional<RowPath> path = PathOfRow(row);
    return path && FallsUnder(*path, entries, spellings, paths, upper);
  });
}

}  // namespace lindqua
