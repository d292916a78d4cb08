#pragma once
// Looks for keys that hold nothing: lists the subkeys of a key, passes over
// the ones a fixed list of path fragments protects, and reports each empty
// one as a tag-3 row so that the fix deletes it. The engine of the obsolete
// software, empty uninstall entry and empty key sections.
#include <string>
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// rootName in any case; keyPath "" for the root itself. section 10 looks at
// the direct subkeys only; 23 and 25 walk the whole tree, and 25 also spares
// the keys IsProtectedKey names. A key the walk cannot open with full access
// is neither reported nor entered.
void WalkKeys(ScanContext& scan, std::string_view rootName, std::string_view keyPath, int section);

// True when path holds one of the fragments that guard keys the system
// expects to find, even empty.
bool IsProtectedKey(std::string_view path);

// True when the walk passes over path (and everything under it) without
// looking: a fixed list of fragments, some compared with exact case.
// `tested`: the length of a leading part of the path already found free of
// every fragment (a key the walk entered); only matches that end after it
// are looked for.
bool WalkSkipsPath(std::string_view path, std::size_t tested = 0);

// What a key holds, telling "nothing" apart from "could not look": only an
// Empty key may be offered for deletion, since the fix backs up what it
// deletes and cannot back up what it cannot read.
enum class KeyContent { Empty, NotEmpty, Unreadable };
KeyContent ClassifyKeyContent(ScanContext& scan, RootKey root, std::string_view keyPath);

// The reason a row about an Empty key gives: that it holds nothing, or the
// chain of lone empty subkeys the fix would remove with it.
std::string DescribeEmptyKey(ScanContext& scan, RootKey root, std::string_view keyPath);

}  // namespace lindqua
