#include "engine/ClassKeyReads.h"
#include "engine/ScanSection.h"

#include <algorithm>

#include "platform/Text.h"

namespace lindqua {

RegStatus OpenFromRoot(ScanContext& scan, RootKey root, std::string_view path, std::unique_ptr<RegistryKey>& out) {
  out.reset();
  std::unique_ptr<RegistryKey> rootKey;
  if (RegStatus status = scan.Registry().OpenRoot(root, RegAccess::AllAccess, rootKey); status != RegStatus::Ok)
    return status;
  if (!rootKey) return RegStatus::Failed;
  const RegStatus status = rootKey->OpenSubKey(path, RegAccess::AllAccess, out);
  if (status == RegStatus::Ok && !out) return RegStatus::Failed;
  return status;
}

std::optional<std::string> ReadTextValue(RegistryKey& key, std::string_view name) {
  RegValue value;
  if (key.QueryValue(name, value) != RegStatus::Ok) return std::nullopt;
  if (value.type != RegType::String && value.type != RegType::ExpandString) return std::nullopt;
  return Utf16LeBytesToUtf8(value.data.data(), value.data.size());
}

std::optional<std::vector<std::string>> ReadSubKeyNames(ScanContext& scan, RootKey root, std::string_view path) {
  std::unique_ptr<RegistryKey> key;
  if (OpenFromRoot(scan, root, path, key) != RegStatus::Ok) return std::nullopt;
  std::vector<std::string> names;
  if (key->EnumSubKeys(names) != RegStatus::Ok) return std::nullopt;
  return names;
}

bool IsSoftwareSweepSelected(const ScanContext& scan) {
  return std::find(scan.ChosenSections.begin(), scan.ChosenSections.end(), SectionId::LocalMachine) != scan.ChosenSections.end();
}

}  // namespace lindqua
