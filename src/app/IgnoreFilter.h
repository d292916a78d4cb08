#pragma once
// Drops the rows of a finished scan that fall under an ignored key: the
// program's own list of keys that must be left alone, then the user's list.
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Finding.h"

namespace lindqua {

// The 30 keys the program always leaves alone, in their stored case and order.
std::span<const char* const> BuiltInIgnoreKeys();

// Removes every row whose key or value lies under (or, for a key row, above)
// an ignored key. The user's list counts with its first userKeyCount entries;
// a negative count means none, a count past the end means all that exist.
// Empty user entries are skipped: as the bare "\" they would match every row.
// A key counts under each of its spellings: HKEY_CURRENT_USER and
// HKEY_USERS\<currentUserKey> (when known), the classes root and the
// machine's or the user's Software\Classes.
void ApplyIgnoreList(std::vector<Finding>& rows, const std::vector<std::string>& userKeys, std::int32_t userKeyCount,
                     std::string_view currentUserKey);

}  // namespace lindqua
