#include "support/RegistryTree.h"

#include <memory>
#include <vector>

namespace lindqua::test {

namespace {

bool Flatten(RegistryKey& key, const std::string& path, RegistryTree& out) {
  out[path] = "key";
  std::vector<RegValueEntry> values;
  std::vector<std::string> names;
  if (key.EnumValueEntries(values) != RegStatus::Ok || key.EnumSubKeys(names) != RegStatus::Ok) return false;
  for (const auto& v : values)
    out[path + "|" + v.name] =
        std::to_string(v.value.type) + ":" + std::string(v.value.data.begin(), v.value.data.end());
  for (const auto& name : names) {
    std::unique_ptr<RegistryKey> sub;
    if (key.OpenSubKey(name, RegAccess::Read, sub) != RegStatus::Ok) return false;
    if (!Flatten(*sub, path.empty() ? name : path + "\\" + name, out)) return false;
  }
  return true;
}

}  // namespace

RegistryTree ReadRegistryTree(RegistryBackend& registry, RootKey root, std::string_view path) {
  std::unique_ptr<RegistryKey> rootKey, top;
  RegistryTree tree;
  if (registry.OpenRoot(root, RegAccess::Read, rootKey) != RegStatus::Ok ||
      rootKey->OpenSubKey(path, RegAccess::Read, top) != RegStatus::Ok || !Flatten(*top, "", tree))
    return {};
  return tree;
}

std::string TreeEntryKey(const std::string& entry) { return entry.substr(0, entry.find('|')); }

}  // namespace lindqua::test
