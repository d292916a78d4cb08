#include "sweep/SyntheticData.h"

#include <vector>

#include "sweep/Random.h"

namespace lindqua::bench {

namespace {

constexpr const char* KeyWords[] = {"Settings", "Options", "Recent", "Plugins", "Profiles", "Cache", "Shell",
                                    "Components", "Layout", "Defaults", "History", "Devices"};
constexpr const char* Extensions[] = {".exe", ".dll", ".ocx", ".txt", ".ini", ".chm"};
constexpr const char* Switches[] = {" -run", " /quiet", " \"%1\"", " --minimized", ",1", " /s /n"};
constexpr const char* Words[] = {"Default", "1", "0x00000010", "{6B2E1F3A-88C1-4B7E-9F30-2D4C8A1E5B77}", "Enabled",
                                 "http://www.example.com/update", "en-US", "Segoe UI,9", "Tahoma", "yes",
                                 "2026-12-08", "Normal"};

struct Tree {
  std::vector<std::string> files;     // existing files
  std::vector<std::string> programs;  // existing .exe files
  std::vector<std::string> folders;   // existing folders
};

Tree MakeTree(const SyntheticShape& shape, const SyntheticSink& sink, SyntheticCounts& counts) {
  Tree tree;
  sink.file(shape.folderRoot, true);
  for (std::size_t v = 0; v < shape.vendors; ++v) {
    for (int app = 0; app < 5; ++app) {
      const std::string folder =
          shape.folderRoot + "\\Vendor" + std::to_string(v) + "\\App" + std::to_string(app) + "\\bin";
      sink.file(folder, true);
      tree.folders.push_back(folder);
      for (int f = 0; f < 10; ++f) {
        const std::string file = folder + "\\file" + std::to_string(f) + Extensions[f % 6];
        sink.file(file, false);
        tree.files.push_back(file);
        if (f % 6 == 0) tree.programs.push_back(file);
        ++counts.files;
      }
    }
  }
  return tree;
}

std::string ValueText(Random& rng, const SyntheticShape& shape, const Tree& tree, SyntheticCounts& counts) {
  const std::size_t kind = rng.Below(100);
  if (kind < 25) {  // an existing file
    ++counts.existing;
    return tree.files[rng.Below(tree.files.size())];
  }
  if (kind < 40) {  // a missing file, in an existing folder or a removed one
    ++counts.missing;
    if (rng.Below(2))
      return tree.folders[rng.Below(tree.folders.size())] + "\\gone" + std::to_string(rng.Below(50)) + ".exe";
    return shape.folderRoot + "\\Removed" + std::to_string(rng.Below(500)) + "\\App\\tool" +
           std::to_string(rng.Below(20)) + ".exe";
  }
  if (kind < 55) {  // a command line, quoted or not, its program present or gone
    ++counts.commandLines;
    std::string program = tree.programs[rng.Below(tree.programs.size())];
    if (rng.Below(4) == 0) program.insert(program.size() - 4, "_old");
    const bool quote = rng.Below(2);
    return (quote ? "\"" + program + "\"" : program) + Switches[rng.Below(6)];
  }
  if (kind < 70) {  // an environment reference into the tree
    ++counts.references;
    const std::string& file = tree.files[rng.Below(tree.files.size())];
    std::string text = "%" + shape.variable + "%" + file.substr(shape.folderRoot.size());
    if (rng.Below(5) == 0) text += ".bak";
    return text;
  }
  ++counts.text;
  std::string text = Words[rng.Below(12)];
  if (rng.Below(3) == 0) text += " " + std::to_string(rng.Next());
  return text;
}

}  // namespace

SyntheticCounts GenerateSynthetic(const SyntheticShape& shape, const SyntheticSink& sink) {
  SyntheticCounts counts;
  Random rng(shape.seed);
  const Tree tree = MakeTree(shape, sink, counts);
  // The keys are spread over the machine's classes (swept twice: as the
  // classes root and under the machine), the machine's software, and the user
  // (swept twice: as the current user and under the users).
  struct Part {
    RootKey root;
    std::string base;
    std::size_t share;  // percent of the keys
  };
  const Part parts[] = {{RootKey::LocalMachine, "Software\\Classes\\" + shape.keyName, 20},
                        {RootKey::LocalMachine, "Software\\" + shape.keyName, 30},
                        {RootKey::CurrentUser, "Software\\" + shape.keyName, 50}};
  const std::size_t perKey = shape.keys ? shape.values / shape.keys : 0;
  std::size_t extra = shape.keys ? shape.values % shape.keys : 0;
  for (const Part& part : parts) {
    const std::size_t count = shape.keys * part.share / 100;
    std::vector<std::string> paths;
    paths.reserve(count);
    for (std::size_t i = 0; i < count; ++i) {
      // A tree with eight children per key: parents always come first.
      const std::string& parent = i < 8 ? part.base : paths[i / 8 - 1];
      paths.push_back(parent + "\\" + KeyWords[i % 12] + std::to_string(i));
      sink.key(part.root, paths.back());
      ++counts.keys;
      std::size_t values = perKey + (extra ? 1 : 0);
      if (extra) --extra;
      for (std::size_t v = 0; v < values; ++v) {
        sink.value("Value" + std::to_string(v), ValueText(rng, shape, tree, counts));
        ++counts.values;
      }
    }
  }
  return counts;
}

}  // namespace lindqua::bench
