#pragma once
// A synthetic registry and the folder tree its strings refer to: key trees
// under the four hives with a realistic mix of existing and missing paths,
// command lines, environment references and text that names no file.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/RegistryBackend.h"

namespace lindqua::bench {

struct SyntheticShape {
  std::size_t keys = 200000;
  std::size_t values = 1000000;
  std::size_t vendors = 200;  // folders of the file tree, 5 programs of 10 files each
  std::string folderRoot = "C:\\LqBench";
  std::string variable = "LQBENCH";  // expands to folderRoot
  std::string keyName = "LqBench";   // the top key under each hive part
  std::uint32_t seed = 20261208;
};

struct SyntheticSink {
  std::function<void(const std::string& path, bool isFolder)> file;
  // A key with its string values (name, text); the key's parents come first.
  std::function<void(RootKey root, const std::string& path)> key;
  std::function<void(const std::string& name, const std::string& text)> value;  // into the last key
  std::function<void(const std::string& name, std::uint32_t number)> number;    // a DWORD, into the last key
  std::function<void(const std::string& path, const std::string& target)> shortcut;
};

struct SyntheticCounts {
  std::size_t keys = 0, values = 0, files = 0;
  std::size_t existing = 0, missing = 0, commandLines = 0, references = 0, text = 0;
};

SyntheticCounts GenerateSynthetic(const SyntheticShape& shape, const SyntheticSink& sink);

}  // namespace lindqua::bench
