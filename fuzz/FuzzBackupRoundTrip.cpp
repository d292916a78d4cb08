// The backup writer against the importer: the input builds a registry subtree
// (any value types and sizes, names with any characters); the writer either
// refuses it or writes a block that, read back as regedit reads it, rebuilds
// exactly the same keys, value names, types and bytes in an empty registry.
#include <cstdint>

#include "FuzzInput.h"
#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "repair/ExportToReg.h"
#include "support/RegistryTree.h"

using namespace lindqua;

namespace {

constexpr const char* TopPath = "Software\\Fuzz";
constexpr const char* BackupFile = "C:\\b.reg";

// Names drawn mostly from the characters that need care in a backup.
std::string Name(fuzz::FuzzInput& in) {
  static const char* const Pieces[] = {"a", "B", "\"", "\\", "\r\n", "\n", "x", "=",
                                       "@", " ", "[", "]", "\xC3\xA9", "\xE2\x82\xAC", "\xE4\xB8\xAD", ";"};
  std::string name;
  for (int count = in.Byte() % 6; count > 0; --count) {
    const std::uint8_t b = in.Byte();
    if (b < 0xC0) name += b % 16 == 6 ? std::string(1, '\0') : std::string(Pieces[b % 16]);
    else name.push_back(static_cast<char>(in.Byte()));
  }
  return name;
}

std::uint32_t Type(fuzz::FuzzInput& in) {
  static const std::uint32_t Types[] = {RegType::None,   RegType::String,         RegType::ExpandString,
                                        RegType::Binary, RegType::Dword,          RegType::DwordBigEndian,
                                        RegType::Link,   RegType::MultiString,    RegType::Qword,
                                        8,               0x12345678,              0xFFFFFFFF};
  const std::uint8_t b = in.Byte();
  return Types[b % std::size(Types)];
}

// regedit gives every text value one terminating NUL, so text that had none
// counts as the same text, as it does for every program that reads it.
test::RegistryTree Comparable(test::RegistryTree tree) {
  for (auto& [entry, data] : tree) {
    const bool text = data.starts_with("1:") || data.starts_with("2:") || data.starts_with("7:");
    const std::size_t size = data.size() - 2;
    if (text && size >= 2 && size % 2 == 0 && data.ends_with(std::string(2, '\0'))) data.resize(data.size() - 2);
  }
  return tree;
}

std::string Hex(const std::string& bytes) {
  std::string out;
  for (const unsigned char c : bytes) out += "0123456789abcdef"[c >> 4], out += "0123456789abcdef"[c & 15], out += ' ';
  return out;
}

std::string Difference(const test::RegistryTree& original, const test::RegistryTree& back) {
  std::string out;
  for (const auto& [entry, data] : original) {
    const auto found = back.find(entry);
    if (found == back.end()) out += "missing: " + Hex(entry) + "\n";
    else if (found->second != data) out += "changed: " + Hex(entry) + " from " + Hex(data) + " to " + Hex(found->second) + "\n";
  }
  for (const auto& [entry, data] : back)
    if (!original.count(entry)) out += "added: " + Hex(entry) + "\n";
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  MemoryRegistry registry;
  std::unique_ptr<RegistryKey> root, top;
  if (registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root) != RegStatus::Ok ||
      root->CreateSubKey(TopPath, RegAccess::AllAccess, top) != RegStatus::Ok)
    fuzz::Fail("cannot create the top key");

  std::vector<std::unique_ptr<RegistryKey>> keys;
  keys.push_back(std::move(top));
  for (int steps = 0; !in.Empty() && steps < 64; ++steps) {
    RegistryKey& parent = *keys[in.Byte() % keys.size()];
    if (in.Byte() % 4 == 0) {
      // Names the registry itself refuses are simply not created.
      std::unique_ptr<RegistryKey> sub;
      if (parent.CreateSubKey(Name(in), RegAccess::AllAccess, sub) == RegStatus::Ok) keys.push_back(std::move(sub));
    } else {
      const std::string name = Name(in);
      const std::uint32_t type = Type(in);
      const std::string bytes = in.Text(255);
      (void)parent.SetValue(name, type, std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()));
    }
  }
  keys.clear();

  MemoryFileSystem files;
  Windows1252CodePage ansi;
  const ExportResult result = ExportToReg(ExportPlatform{registry, files, ansi}, BackupFile, RootKey::CurrentUser,
                                          true, "", TopPath);
  if (result.status == ExportStatus::CannotBeExact) return 0;
  if (result.status != ExportStatus::Written) fuzz::Fail("the in-memory file could not be written");

  std::string text;
  if (!files.ReadWholeFile(BackupFile, text)) fuzz::Fail("the written backup cannot be read");
  MemoryRegistry restored;
  try {
    ImportRegText(restored, text, ansi);
  } catch (const RegTextError& e) {
    fuzz::Fail(std::string("the backup does not import: ") + e.what() + "\n" + text);
  }
  const auto original = Comparable(test::ReadRegistryTree(registry, RootKey::CurrentUser, TopPath));
  const auto back = Comparable(test::ReadRegistryTree(restored, RootKey::CurrentUser, TopPath));
  if (original != back) fuzz::Fail("the backup restores something else:\n" + text + Difference(original, back));
  return 0;
}
