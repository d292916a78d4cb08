#pragma once
// A copy of a registry key (or of one of its values) taken before anything of
// it is written to a backup, so that a key tree with a part that cannot be
// read is refused as a whole instead of being backed up in part.
#include <string>
#include <string_view>
#include <vector>

#include "platform/RegistryBackend.h"

namespace lindqua {

struct RegKeySnapshot {
  std::string path;  // from the root, without leading or trailing "\"
  std::vector<RegValueEntry> values;  // in enumeration order
  std::vector<RegKeySnapshot> subKeys;  // in enumeration order, each with its whole tree
};

enum class SnapshotStatus { Ok, Unreadable };

// Reads the key at path with its values and, when wholeKey, every subkey.
// With wholeKey false only the value valueName is read ("" = the default value).
// Unreadable: the key, a subkey or a value could not be opened, listed or read.
[[nodiscard]] SnapshotStatus ReadKeySnapshot(RegistryBackend& registry, RootKey root, std::string_view path,
                                             bool wholeKey, std::string_view valueName, RegKeySnapshot& out);

}  // namespace lindqua
