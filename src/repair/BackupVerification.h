#pragma once
// After a restore: every key and value of the backup file read back from the
// registry and compared, type and data byte for byte. The registry editor
// reports success whatever it managed to write, so this is the only proof.
#include <string>
#include <vector>

#include "platform/RegTextImport.h"
#include "platform/RegistryBackend.h"

namespace lindqua {

struct BackupDifference {
  std::string key;    // as written in the file
  std::string value;  // "" for the key itself or the default value; see isValue
  bool isValue = false;
  std::string problem;
};

std::vector<BackupDifference> VerifyRestoredKeys(RegistryBackend& registry, const std::vector<RegTextKey>& keys);

// One line for people: "HKEY_...\Key: missing" or "HKEY_...\Key  [value "x"]: different data".
std::string DescribeDifference(const BackupDifference& difference);

}  // namespace lindqua
