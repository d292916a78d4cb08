#include "engine/KeyWalk.h"

#include <array>
#include <memory>
#include <optional>
#include <vector>

#include "engine/Finding.h"
#include "engine/FragmentSet.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::array<std::string_view, 5> ExactCaseSkips = {
    "SystemCertificates", "Software\\Classes", "Printers", "KasperskyLab", "Software\\Microsoft",
};

constexpr std::array<std::string_view, 8> AnyCaseSkips = {
    "protected",
    "Software\\Policies\\Microsoft",
    "Software\\Policies\\Power",
    "AppEvents\\Schemes\\Apps\\Explorer",
    "Control Panel\\Appearance",
    "Control Panel\\Desktop",
    "Control Panel\\Personalization",
    "Keyboard Layout",
};

constexpr std::string_view AnyCaseProtected = "KasperskyLab\\protected";

constexpr std::array<std::string_view, 40> ExactCaseProtected = {
    "Microsoft\\Windows\\CurrentVersion\\Explorer\\MountPoints2",
    "Microsoft\\Protected Storage System Provider",
    "Software\\Microsoft\\DirectInput",
    "Printers",
    "Software\\Microsoft\\Multimedia\\Audio Compression Manager",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\5.0\\Cache",
    "Software\\Microsoft\\Windows NT\\CurrentVersion",
    "S-1-5-19_Classes",
    "S-1-5-20_Classes",
    "Microsoft\\SystemCertificates",
    "Software\\Classes",
    "Software\\Microsoft\\EventSystem",
    "Software\\Microsoft\\Internet Explorer\\Security",
    "Software\\Microsoft\\SAPI Layer",
    "Software\\Microsoft\\Speech",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\RunMRU",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Shell Extensions\\Blocked",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\SessionInfo",
    "Software\\Microsoft\\Windows\\CurrentVersion\\WindowsUpdate",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Telephony\\HandoffPriorities",
    "Software\\Microsoft\\Windows NT\\CurrentVersion\\Network\\Location Awareness",
    "Keyboard Layout\\Toggle",
    "Software\\Microsoft\\CTF",
    "Windows 3.1 Migration Status",
    "Software\\Microsoft\\MediaPlayer",
    "Software\\Microsoft\\MSF",
    "Software\\Microsoft\\Active Setup\\Installed Components",
    "Software\\Microsoft\\RAS AutoDial",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Action Center\\Checks",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Action Center\\Providers\\EventLog",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Cryptography",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "Software\\Microsoft\\IME\\15.0\\IMESC",
    "Software\\Microsoft\\Windows\\CurrentVersion\\AppModel",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist",
    "Software\\Microsoft\\TabletTip",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings",
};

bool ContainsExact(std::string_view haystack, std::string_view needle) noexcept {
  return haystack.find(needle) != std::string_view::npos;
}

struct Walk {
  ScanContext& scan;
  std::string rootName;  // upper case, heads every location
  std::string_view caption;
  bool underUsers;
  bool descends;
  bool sparesProtected;
  // What the sweeps read of the keys below HKEY_USERS, when they ran first.
  const KeyShapeRecord* shapes = nullptr;
};

// A key's node in the sweeps' record, with the record; none when not recorded.
struct KnownShape {
  const KeyShapeRecord* shapes = nullptr;
  KeyShapeRecord::Node node = KeyShapeRecord::None;

  const KeyShapeRecord::Shape* Get() const { return shapes ? shapes->Find(node) : nullptr; }
  bool Quiet() const { return shapes && shapes->Quiet(node); }
  KnownShape Child(std::size_t index) const {
    return {shapes, shapes ? shapes->Link(node, index) : KeyShapeRecord::None};
  }
};

// `subKeys`, when given, receives the key's own subkey names whenever they
// are known here (read for a key without values; none for a leaf), so that
// the walk need not ask again.
// The counts come first, in one call: most keys hold values, and listing
// them only to learn that there are some would cost a call per value.
// A key a sweep recorded is judged from the record: only the lone subkey of
// a key without values is opened, as the walk opens every key it judges.
KeyContent Classify(ScanContext& scan, RegistryKey& key, std::optional<std::vector<std::string>>* subKeys = nullptr,
                    KnownShape known = {}) {
  std::vector<std::string> read;
  const std::vector<std::string>* names = &read;
  if (const KeyShapeRecord::Shape* shape = known.Get()) {
    if (shape->hasValues) return KeyContent::NotEmpty;
    names = &shape->subKeys;
  } else {
    RegKeyInfo info;
    if (key.QueryInfo(info) != RegStatus::Ok) return KeyContent::Unreadable;
    if (info.valueCount > 0) {
      if (subKeys && info.subKeyCount == 0) subKeys->emplace();  // a leaf: nothing below to list
      return KeyContent::NotEmpty;
    }
    if (key.EnumSubKeys(read) != RegStatus::Ok) return KeyContent::Unreadable;
    if (subKeys) subKeys->emplace(read);
  }
  if (names->size() >= 2) return KeyContent::NotEmpty;
  if (names->empty()) return KeyContent::Empty;
  // A stop leaves the chain unexamined: not known to be empty.
  if (scan.Terminated()) return KeyContent::Unreadable;
  std::unique_ptr<RegistryKey> only;
  if (key.OpenSubKey(names->front(), RegAccess::AllAccess, only) != RegStatus::Ok || !only)
    return KeyContent::Unreadable;
  return Classify(scan, *only, nullptr, known.Child(0));
}

// Names the chain of lone subkeys that made the key count as empty, so the
// user sees what the fix would remove along with it.
std::string EmptyKeyReason(RegistryKey& key) {
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok || names.empty()) return "No values and no subkeys";
  std::string chain = names.front();
  std::unique_ptr<RegistryKey> current;
  if (key.OpenSubKey(names.front(), RegAccess::Read, current) != RegStatus::Ok || !current)
    return "No values; only an empty subkey: " + chain;
  for (int depth = 0; depth < 64; ++depth) {
    std::unique_ptr<RegistryKey> next;
    if (current->EnumSubKeys(names) != RegStatus::Ok || names.size() != 1) break;
    if (current->OpenSubKey(names.front(), RegAccess::Read, next) != RegStatus::Ok || !next) break;
    chain += "\\" + names.front();
    current = std::move(next);
  }
  return "No values; only an empty subkey: " + chain;
}

// `known` holds the key's subkey names when they were read already; `shape`
// is the key in the sweeps' record, which lists them too. `entered`: keyPath
// passed the skip rules (every key below the walk's start did).
void WalkOpenKey(Walk& walk, RegistryKey& key, const std::string& keyPath, bool entered,
                 std::optional<std::vector<std::string>> known = std::nullopt, KnownShape shape = {}) {
  std::vector<std::string> read;
  const std::vector<std::string>* names = &read;
  if (const KeyShapeRecord::Shape* recorded = shape.Get()) {
    names = &recorded->subKeys;
  } else if (known) {
    read = std::move(*known);
  } else if (key.EnumSubKeys(read) != RegStatus::Ok) {
    return;
  }
  for (std::size_t index = 0; index < names->size(); ++index) {
    const std::string& name = (*names)[index];
    if (walk.scan.Terminated()) return;
    if (walk.underUsers && SameText(name, ".DEFAULT")) continue;
    const std::string child = keyPath + "\\" + name;
    if (WalkSkipsPath(child, entered ? keyPath.size() : 0)) continue;
    KnownShape childShape = shape.Child(index);
    // A sweep's top lies right below the root: the current user's own key.
    if (walk.shapes && !childShape.Get() && keyPath.empty()) childShape = {walk.shapes, walk.shapes->Top(name)};
    if (childShape.Quiet()) continue;
    walk.scan.ShowDetail(child);
    std::unique_ptr<RegistryKey> childKey;
    if (key.OpenSubKey(name, RegAccess::AllAccess, childKey) != RegStatus::Ok || !childKey) continue;
    std::optional<std::vector<std::string>> childNames;
    const KeyContent content = Classify(walk.scan, *childKey, walk.descends ? &childNames : nullptr, childShape);
    if (content == KeyContent::Empty && !(walk.sparesProtected && IsProtectedKey(child)))
      walk.scan.AddFinding(walk.caption, name, walk.rootName + "\\" + keyPath, FixTag::SubKey,
                           EmptyKeyReason(*childKey));
    if (walk.descends)
      WalkOpenKey(walk, *childKey, keyPath.empty() ? name : child, true, std::move(childNames), childShape);
  }
}

}  // namespace

bool WalkSkipsPath(std::string_view path, std::size_t tested) {
  static const FragmentSet skips = [] {
    std::vector<Fragment> all;
    for (std::string_view fragment : ExactCaseSkips) all.push_back({fragment, false});
    for (std::string_view fragment : AnyCaseSkips) all.push_back({fragment, true});
    return FragmentSet(all);
  }();
  return skips.FoundIn(path, tested);
}

bool IsProtectedKey(std::string_view path) {
  if (ContainsText(path, AnyCaseProtected)) return true;
  for (std::string_view fragment : ExactCaseProtected)
    if (ContainsExact(path, fragment)) return true;
  return false;
}

void WalkKeys(ScanContext& scan, std::string_view rootName, std::string_view keyPath, int section) {
  const auto root = RootKeyFromName(rootName);
  if (!root || scan.Terminated()) return;
  const ScanSectionInfo* info = FindScanSection(section);
  if (!info) return;
  Walk walk{scan,
            RootKeyName(*root),
            info->issueCaption,
            *root == RootKey::Users,
            section == SectionId::UninstallEntries || section == SectionId::EmptyKeys,
            section == SectionId::EmptyKeys};
  KnownShape top;
  if (section == SectionId::EmptyKeys && *root == RootKey::Users && scan.UsersKeyShapes.Usable()) {
    walk.shapes = &scan.UsersKeyShapes;
    top = {walk.shapes, walk.shapes->Top(keyPath)};
  }
  std::unique_ptr<RegistryKey> rootKey, key;
  if (scan.Registry().OpenRoot(*root, RegAccess::AllAccess, rootKey) != RegStatus::Ok || !rootKey) return;
  if (rootKey->OpenSubKey(keyPath, RegAccess::AllAccess, key) != RegStatus::Ok || !key) return;
  rootKey.reset();
  WalkOpenKey(walk, *key, std::string(keyPath), false, std::nullopt, top);
}

KeyContent ClassifyKeyContent(ScanContext& scan, RootKey root, std::string_view keyPath) {
  if (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  std::unique_ptr<RegistryKey> rootKey, key;
  if (scan.Registry().OpenRoot(root, RegAccess::AllAccess, rootKey) != RegStatus::Ok || !rootKey)
    return KeyContent::Unreadable;
  if (rootKey->OpenSubKey(keyPath, RegAccess::AllAccess, key) != RegStatus::Ok || !key) return KeyContent::Unreadable;
  return Classify(scan, *key);
}

std::string DescribeEmptyKey(ScanContext& scan, RootKey root, std::string_view keyPath) {
  if (!keyPath.empty() && keyPath.front() == '\\') keyPath.remove_prefix(1);
  std::unique_ptr<RegistryKey> rootKey, key;
  if (scan.Registry().OpenRoot(root, RegAccess::Read, rootKey) == RegStatus::Ok && rootKey &&
      rootKey->OpenSubKey(keyPath, RegAccess::Read, key) == RegStatus::Ok && key)
    return EmptyKeyReason(*key);
  return "No values and no subkeys";
}

}  // namespace lindqua
