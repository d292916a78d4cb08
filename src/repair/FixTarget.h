#pragma once
// What a row's fix tag says to delete: a key with its tree, one value, or a
// file. Shared by the fix itself and by the console's dry run.
#include <optional>
#include <string>

#include "engine/Finding.h"
#include "platform/RegistryBackend.h"

namespace lindqua {

struct FixTarget {
  enum class Kind { Key, Value, File } kind = Kind::Key;
  std::string rootName;  // as written in the row, before its first "\"
  std::string keyPath;   // below the root; may begin with "\" for a key directly under it
  std::string valueName; // Kind::Value: "" is the default value
  std::string filePath;  // Kind::File
};

// nullopt when the row names nothing to delete: no "\" in its location, or a
// tag without an action.
std::optional<FixTarget> FixTargetOf(const Finding& row);

// A readable form for people: "HKEY_CURRENT_USER\Software\X", "...\Key  [value "Name"]" or the file path.
std::string DescribeFixTarget(const FixTarget& target);

}  // namespace lindqua
