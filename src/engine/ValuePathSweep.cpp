#include "engine/ValuePathSweep.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/FileReferenceCheck.h"
#include "engine/SweepSkipRules.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::string_view NestedWow64View = "Software\\Wow6432Node\\Wow6432Node";

struct Sweep {
  ScanContext& scan;
  RootKey root;
  std::string rootName;  // upper case, heads every location
  std::string_view issueText;
  std::string_view cutAt;
  std::string_view driveLetters;
};

// Names, types and data in one call where the backend can; otherwise name by
// name, so that one value too large to fetch with the others costs no more
// than itself.
std::vector<RegValueEntry> ReadValues(RegistryKey& key) {
  std::vector<RegValueEntry> entries;
  if (key.EnumValueEntries(entries) == RegStatus::Ok) return entries;
  entries.clear();
  std::vector<std::string> names;
  if (key.EnumValues(names) != RegStatus::Ok) return entries;
  for (auto& name : names) {
    RegValueEntry entry;
    if (key.QueryValue(name, entry.value) != RegStatus::Ok) continue;
    entry.name = std::move(name);
    entries.push_back(std::move(entry));
  }
  return entries;
}

// Nothing is entered that the running section leaves to another, nor the
// nested WOW64 view, which only mirrors the tree it sits in.
bool MayEnter(const Sweep& sweep, std::string_view keyPath) {
  if (SweepSkipsKey(sweep.scan, keyPath, sweep.issueText)) return false;
  if (sweep.scan.Terminated()) return false;
  return !(sweep.root == RootKey::LocalMachine && StartsWithText(keyPath, NestedWow64View));
}

void ReportValue(Sweep& sweep, const std::string& keyPath, const RegValueEntry& entry) {
  if (entry.value.type != RegType::String && entry.value.type != RegType::ExpandString) return;
  const std::string text = Utf16LeBytesToUtf8(entry.value.data.data(), entry.value.data.size());
  if (ContainsText(text, "system32\\ime\\")) return;
  if (!IsMissingFile(sweep.scan, text, sweep.cutAt, true, sweep.driveLetters)) return;
  const std::string keyLocation = sweep.rootName + "\\" + keyPath;
  const std::string reason = MissingFileReason(sweep.scan, text, sweep.cutAt, true, sweep.driveLetters);
  if (entry.name.find('\\') == std::string::npos) {
    sweep.scan.AddFinding(sweep.issueText, text, keyLocation + "\\" + entry.name, FixTag::ValueInLocation, reason);
  } else {
    sweep.scan.AddFinding(sweep.issueText, entry.name, keyLocation, FixTag::NamedValue, reason);
  }
}

// One open key per level: each child is opened below its parent, which stays
// open until the child's whole tree is done.
void SweepOpenKey(Sweep& sweep, RegistryKey& key, const std::string& keyPath) {
  sweep.scan.ShowDetail(keyPath);
  for (const RegValueEntry& entry : ReadValues(key)) {
    if (sweep.scan.Terminated()) return;
    ReportValue(sweep, keyPath, entry);
  }
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return;
  for (const std::string& name : names) {
    if (sweep.scan.Terminated()) return;
    const std::string child = keyPath.empty() ? name : keyPath + "\\" + name;
    if (!MayEnter(sweep, child)) continue;
    std::unique_ptr<RegistryKey> childKey;
    if (key.OpenSubKey(name, RegAccess::Read, childKey) != RegStatus::Ok || !childKey) continue;
    SweepOpenKey(sweep, *childKey, child);
  }
}

}  // namespace

void SweepKeyValues(ScanContext& scan, std::string_view rootName, std::string_view keyPath,
                    std::string_view issueText, std::string_view cutAt, std::string_view driveLetters) {
  // Skip rules are plain text tests, so they come before anything is opened.
  if (SweepSkipsKey(scan, keyPath, issueText)) return;
  const auto root = RootKeyFromName(rootName);
  if (!root) return;
  Sweep sweep{scan, *root, UpperCase(rootName), issueText, cutAt, driveLetters};
  if (!MayEnter(sweep, keyPath)) return;
  std::unique_ptr<RegistryKey> rootKey, key;
  if (scan.Registry().OpenRoot(*root, RegAccess::Read, rootKey) != RegStatus::Ok) return;
  if (rootKey->OpenSubKey(keyPath, RegAccess::Read, key) != RegStatus::Ok || !key) return;
  rootKey.reset();
  SweepOpenKey(sweep, *key, std::string(keyPath));
}

}  // namespace lindqua
