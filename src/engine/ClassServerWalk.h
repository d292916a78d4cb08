#pragma once
// The class tree walk of the custom controls section: every key below a
// class list whose default value names a missing file is reported, so that
// the fix deletes that key with everything under it.
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// Examines the key parentPath + name (plain concatenation) under the root
// named rootName (any case; an unknown name does nothing), then each subkey
// depth-first. The key the walk starts at is reported only when name is not
// empty: with an empty name it is the list of every class, never one class.
void ScanClsidKey(ScanContext& scan, std::string_view rootName, std::string_view parentPath, std::string_view name);

}  // namespace lindqua
