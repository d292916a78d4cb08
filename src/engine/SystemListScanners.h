#pragma once
// The sub-steps of the startup and sound sections, callable on their own.
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// Reports the startup commands of rootName\keyPath that are empty, only a
// pair of quotes, or name a missing program. An unknown root does nothing.
void ScanRunValues(ScanContext& scan, std::string_view rootName, std::string_view keyPath);

// Depth-first over parentPath + name: the unnamed value of every key called
// ".Current", ".Default" or "Utopia0" (any case) must name an existing sound
// file. parentPath ends in "\" wherever name is not empty.
void ScanSoundKey(ScanContext& scan, std::string_view rootName, std::string_view parentPath, std::string_view name);

}  // namespace lindqua
