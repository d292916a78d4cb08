#include "engine/CommandKeySearch.h"

#include <memory>
#include <optional>
#include <vector>

#include "engine/ClassKeyReads.h"

namespace lindqua {

namespace {

struct CommandSearch {
  ScanContext& scan;
  std::string& lastFound;
  std::string& result;
  std::string_view valueName;
  std::string_view keyName;
};

// The command text when key holds a command subkey worth looking at.
std::optional<std::string> CommandText(const CommandSearch& search, RegistryKey& key) {
  std::unique_ptr<RegistryKey> command;
  if (key.OpenSubKey(search.keyName, RegAccess::AllAccess, command) != RegStatus::Ok || !command) return std::nullopt;
  RegValue value;
  const RegStatus status = command->QueryValue(search.valueName, value);
  if (status == RegStatus::NotFound) return std::string();
  if (status != RegStatus::Ok) return std::nullopt;
  return ReadTextValue(*command, search.valueName);
}

// True once the next hit is in search.result.
bool Search(CommandSearch& search, RegistryKey& key, const std::string& path) {
  if (search.scan.Terminated()) return false;
  if (auto text = CommandText(search, key)) {
    if (search.lastFound.empty()) {
      search.lastFound = path;
      search.result = std::move(*text);
      return true;
    }
    if (search.lastFound == path) search.lastFound.clear();
  }
  std::vector<std::string> names;
  if (key.EnumSubKeys(names) != RegStatus::Ok) return false;
  for (const std::string& name : names) {
    if (search.scan.Terminated()) return false;
    std::unique_ptr<RegistryKey> child;
    if (key.OpenSubKey(name, RegAccess::AllAccess, child) != RegStatus::Ok || !child) continue;
    if (Search(search, *child, path + "\\" + name)) return true;
  }
  return false;
}

}  // namespace

void FindNextCommandKey(ScanContext& scan, RootKey root, std::string& lastFound, std::string& result,
                        std::string_view valueName, std::string_view keyName, std::string_view path) {
  result = std::string(CommandNotFound);
  if (scan.Terminated()) return;
  std::unique_ptr<RegistryKey> key;
  if (OpenFromRoot(scan, root, path, key) != RegStatus::Ok) return;
  CommandSearch search{scan, lastFound, result, valueName, keyName};
  Search(search, *key, std::string(path));
}

}  // namespace lindqua
