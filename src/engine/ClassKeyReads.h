#pragma once
// Reads shared by the class registration sections. Each one tells "absent"
// apart from "could not read", because these sections report what is absent
// and a key or value the scan could not read is never evidence of that.
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/ScanContext.h"

namespace lindqua {

// Opens root\path with full access, the access the fix needs to delete it.
[[nodiscard]] RegStatus OpenFromRoot(ScanContext& scan, RootKey root, std::string_view path,
                                     std::unique_ptr<RegistryKey>& out);

// The text of a string or expandable-string value; nullopt when the value is
// absent, of another type or cannot be read.
std::optional<std::string> ReadTextValue(RegistryKey& key, std::string_view name);

// The subkey names of root\path; nullopt when the key cannot be opened or
// listed, so that an unreadable list is never taken for an empty one.
std::optional<std::vector<std::string>> ReadSubKeyNames(ScanContext& scan, RootKey root, std::string_view path);

// True when section 5, the sweep of the machine's software key, is among the
// chosen sections: it already examines what some class checks would.
bool IsSoftwareSweepSelected(const ScanContext& scan);

}  // namespace lindqua
