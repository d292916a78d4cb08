#include "sweep/BareWalk.h"

#include <memory>
#include <vector>

#include "engine/ScanSection.h"
#include "engine/SweepSkipRules.h"
#include "platform/Text.h"

namespace lindqua::bench {

void ReadValuesOf(RegistryKey& key, WalkCounts& counts) {
  ++counts.keys;
  std::vector<RegValueEntry> entries;
  if (key.EnumValueEntries(entries) != RegStatus::Ok) return;
  for (const auto& entry : entries) {
    ++counts.values;
    if (entry.value.type != RegType::String && entry.value.type != RegType::ExpandString) continue;
    counts.stringBytes += Utf16LeBytesToUtf8(entry.value.data.data(), entry.value.data.size()).size();
  }
}

namespace {

void Walk(ScanContext& scan, RootKey root, RegistryKey& key, const std::string& keyPath, std::string_view issue,
          WalkCounts& counts) {
  ReadValuesOf(key, counts);
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return;
  for (const auto& name : names) {
    const std::string child = keyPath.empty() ? name : keyPath + "\\" + name;
    if (SweepSkipsKey(scan, child, issue)) continue;
    if (root == RootKey::LocalMachine && StartsWithText(child, "Software\\Wow6432Node\\Wow6432Node")) continue;
    std::unique_ptr<RegistryKey> childKey;
    if (key.OpenSubKey(name, RegAccess::Read, childKey) != RegStatus::Ok) continue;
    Walk(scan, root, *childKey, child, issue, counts);
  }
}

}  // namespace

WalkCounts BareWalkOfHives(ScanContext& scan) {
  WalkCounts counts;
  const struct {
    int section;
    RootKey root;
    const char* path;
  } hives[] = {{3, RootKey::ClassesRoot, ""}, {4, RootKey::CurrentUser, ""}, {5, RootKey::LocalMachine, "Software"},
               {6, RootKey::Users, ""}};
  for (const auto& hive : hives) {
    const ScanSectionInfo* info = FindScanSection(hive.section);
    scan.SetStatusText(info->statusText);
    std::unique_ptr<RegistryKey> rootKey, key;
    if (scan.Registry().OpenRoot(hive.root, RegAccess::Read, rootKey) != RegStatus::Ok) continue;
    if (rootKey->OpenSubKey(hive.path, RegAccess::Read, key) != RegStatus::Ok) continue;
    Walk(scan, hive.root, *key, hive.path, info->issueCaption, counts);
  }
  return counts;
}

}  // namespace lindqua::bench
