#include "repair/RegKeySnapshot.h"

#include "platform/TRegistry.h"

namespace lindqua {

namespace {

bool ReadValue(RegistryKey& key, const std::string& name, std::vector<RegValueEntry>& values) {
  RegValueEntry entry{name, {}};
  if (key.QueryValue(name, entry.value) != RegStatus::Ok) return false;
  values.push_back(std::move(entry));
  return true;
}

// Opens each key from the root again, as the accessor does, and reads
// through the open key so that a failed listing is told apart from an empty one.
bool ReadTree(TRegistry& reg, RegKeySnapshot& node) {
  if (!reg.OpenKey("\\" + node.path, false) || !reg.CurrentKey()) return false;
  RegistryKey& key = *reg.CurrentKey();
  std::vector<std::string> valueNames, subKeyNames;
  if (key.EnumValues(valueNames) != RegStatus::Ok || key.EnumSubKeys(subKeyNames) != RegStatus::Ok) return false;
  for (const auto& name : valueNames)
    if (!ReadValue(key, name, node.values)) return false;
  reg.CloseKey();
  for (const auto& name : subKeyNames) {
    RegKeySnapshot child;
    child.path = node.path.empty() ? name : node.path + "\\" + name;
    if (!ReadTree(reg, child)) return false;
    node.subKeys.push_back(std::move(child));
  }
  return true;
}

}  // namespace

SnapshotStatus ReadKeySnapshot(RegistryBackend& registry, RootKey root, std::string_view path, bool wholeKey,
                               std::string_view valueName, RegKeySnapshot& out) {
  out = RegKeySnapshot{std::string(path), {}, {}};
  TRegistry reg(registry);
  reg.SetRootKey(root);
  // Reading is all a backup needs; a key the fix may not delete is still
  // backed up, and its deletion then fails on its own.
  reg.Access = RegAccess::Read;
  if (wholeKey) return ReadTree(reg, out) ? SnapshotStatus::Ok : SnapshotStatus::Unreadable;
  if (!reg.OpenKey("\\" + out.path, false) || !reg.CurrentKey()) return SnapshotStatus::Unreadable;
  return ReadValue(*reg.CurrentKey(), std::string(valueName), out.values) ? SnapshotStatus::Ok
                                                                          : SnapshotStatus::Unreadable;
}

}  // namespace lindqua
