#pragma once
// Finds, one per call, the keys below a path that hold a command subkey, in
// depth-first order with each key before its subkeys.
#include <string>
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// What result holds when no further key was found.
inline constexpr std::string_view CommandNotFound = "Not Found";

// A key below (or at) path is a hit when its subkey keyName opens and that
// subkey's value valueName is absent (read as "") or text. Each call walks
// the tree again, passes the hits up to and including lastFound (compared
// with exact case), sets lastFound to the next hit's path and result to its
// text. With no further hit, result is CommandNotFound and lastFound is empty
// again once the last hit has been passed.
void FindNextCommandKey(ScanContext& scan, RootKey root, std::string& lastFound, std::string& result,
                        std::string_view valueName, std::string_view keyName, std::string_view path);

}  // namespace lindqua
