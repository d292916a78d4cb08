#pragma once
// The registry work of a sweep without its tests: the same keys opened
// read-only, the same values read and decoded, no file ever asked about.
#include <cstdint>

#include "engine/ScanContext.h"

namespace lindqua::bench {

struct WalkCounts {
  std::uint64_t keys = 0, values = 0, stringBytes = 0;
};

// Reads every value of the key and decodes the strings, as a sweep does.
void ReadValuesOf(RegistryKey& key, WalkCounts& counts);

// Walks the four hives as sections 3 to 6 sweep them, with their skip rules.
WalkCounts BareWalkOfHives(ScanContext& scan);

}  // namespace lindqua::bench
