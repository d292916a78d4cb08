#pragma once
// A registry subtree as a flat map, for comparing two registries exactly:
// one entry per key ("path") and one per value ("path|name" -> type and
// bytes). Paths are relative to the subtree's top, which is "".
#include <map>
#include <string>
#include <string_view>

#include "platform/RegistryBackend.h"

namespace lindqua::test {

using RegistryTree = std::map<std::string, std::string>;

// Empty when root\path cannot be opened or read through.
RegistryTree ReadRegistryTree(RegistryBackend& registry, RootKey root, std::string_view path);

// The key path of an entry ("a\b|v" -> "a\b", "a\b" -> "a\b").
std::string TreeEntryKey(const std::string& entry);

}  // namespace lindqua::test
