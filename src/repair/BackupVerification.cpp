#include "repair/BackupVerification.h"

namespace lindqua {

namespace {

std::string TypeName(std::uint32_t type) { return "type " + std::to_string(type); }

// Opens the key named by the file, or nullptr when it does not exist.
std::unique_ptr<RegistryKey> OpenFileKey(RegistryBackend& registry, const RegTextKey& key, RegStatus& status) {
  std::unique_ptr<RegistryKey> root;
  status = registry.OpenRoot(key.root, RegAccess::Read, root);
  if (status != RegStatus::Ok || key.subKey.empty()) return root;
  std::unique_ptr<RegistryKey> opened;
  status = root->OpenSubKey(key.subKey, RegAccess::Read, opened);
  return status == RegStatus::Ok ? std::move(opened) : nullptr;
}

void CheckValue(RegistryKey& opened, const RegTextKey& key, const RegTextValue& value,
                std::vector<BackupDifference>& differences) {
  RegValue actual;
  const RegStatus status = opened.QueryValue(value.name, actual);
  std::string problem;
  if (value.remove) {
    if (status == RegStatus::Ok) problem = "still there";
  } else if (status != RegStatus::Ok) {
    problem = status == RegStatus::NotFound ? "missing" : "cannot be read";
  } else if (actual.type != value.type) {
    problem = TypeName(actual.type) + " instead of " + TypeName(value.type);
  } else if (actual.data != value.data) {
    problem = "different data (" + std::to_string(actual.data.size()) + " bytes instead of " +
              std::to_string(value.data.size()) + ")";
  }
  if (!problem.empty()) differences.push_back({key.path, value.name, true, problem});
}

}  // namespace

std::vector<BackupDifference> VerifyRestoredKeys(RegistryBackend& registry, const std::vector<RegTextKey>& keys) {
  std::vector<BackupDifference> differences;
  for (const RegTextKey& key : keys) {
    RegStatus status = RegStatus::Ok;
    const std::unique_ptr<RegistryKey> opened = OpenFileKey(registry, key, status);
    if (key.remove) {
      if (opened) differences.push_back({key.path, "", false, "still there"});
      continue;
    }
    if (!opened) {
      differences.push_back({key.path, "", false, status == RegStatus::NotFound ? "missing" : "cannot be opened"});
      continue;
    }
    for (const RegTextValue& value : key.values) CheckValue(*opened, key, value, differences);
  }
  return differences;
}

std::string DescribeDifference(const BackupDifference& difference) {
  std::string text = difference.key;
  if (difference.isValue)
    text += "  [value " + (difference.value.empty() ? std::string("(default)") : "\"" + difference.value + "\"") + "]";
  return text + ": " + difference.problem;
}

}  // namespace lindqua
