#pragma once
// Drops the rows of a finished scan that fall under an ignored key: the
// program's own list of keys that must be left alone, then the user's list.
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "engine/Finding.h"

namespace lindqua {

// The 30 keys the program always leaves alone, in their stored case and order.
std::span<const char* const> BuiltInIgnoreKeys();

// Removes every row whose key or value lies under (or, for a key row, above)
// an ignored key. The user's list counts with its first userKeyCount entries;
// a negative count means none, a count past the end means all that exist.
// Empty user entries are skipped: as the bare "\" they would match every row.
void ApplyIgnoreList(std::vector<Finding>& rows, const std::vector<std::string>& userKeys,
                     std::int32_t userKeyCount);

}  // namespace lindqua
