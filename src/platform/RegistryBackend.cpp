#include "platform/RegistryBackend.h"

namespace lindqua {

namespace {
constexpr const char* RootNames[RootKeyCount] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                                 "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
}

std::optional<RootKey> RootKeyFromName(std::string_view name) {
  const std::string upper = UpperCase(name);
  for (int i = 0; i < RootKeyCount; ++i)
    if (upper == RootNames[i]) return static_cast<RootKey>(i);
  return std::nullopt;
}

const char* RootKeyName(RootKey root) { return RootNames[static_cast<int>(root)]; }

RegStatus RegistryKey::EnumValueEntries(std::vector<RegValueEntry>& entries) {
  entries.clear();
  std::vector<std::string> names;
  if (RegStatus s = EnumValues(names); s != RegStatus::Ok) return s;
  entries.reserve(names.size());
  for (auto& name : names) {
    RegValueEntry entry;
    if (QueryValue(name, entry.value) != RegStatus::Ok) continue;  // vanished meanwhile
    entry.name = std::move(name);
    entries.push_back(std::move(entry));
  }
  return RegStatus::Ok;
}

}  // namespace lindqua
