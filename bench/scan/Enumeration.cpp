#include "scan/Enumeration.h"

#include <vector>

namespace lindqua::bench {

namespace {

void Enumerate(RegistryKey& key, WalkCounts& counts) {
  ReadValuesOf(key, counts);
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return;
  for (const std::string& name : names) {
    std::unique_ptr<RegistryKey> child;
    if (key.OpenSubKey(name, RegAccess::Read, child) != RegStatus::Ok || !child) continue;
    Enumerate(*child, counts);
  }
}

}  // namespace

WalkCounts EnumerateHives(RegistryBackend& registry) {
  WalkCounts counts;
  for (RootKey root : {RootKey::LocalMachine, RootKey::Users}) {
    std::unique_ptr<RegistryKey> key;
    if (registry.OpenRoot(root, RegAccess::Read, key) == RegStatus::Ok && key) Enumerate(*key, counts);
  }
  return counts;
}

}  // namespace lindqua::bench
