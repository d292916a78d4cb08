#pragma once
// Applies a registry text file (REGEDIT4 or version 5.00, UTF-8 or UTF-16LE
// with its byte-order mark) to any registry backend. Tests and benchmarks seed
// the in-memory registry with it so that fixtures read like data; the same
// files go through the system's own regedit on Windows.
#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/RegistryBackend.h"

namespace lindqua {

class RegTextError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct RegTextValue {
  std::string name;  // "" is the default value
  bool remove = false;  // "name"=-
  std::uint32_t type = RegType::String;
  Bytes data;  // as the registry stores it: strings in UTF-16LE with their NUL
  std::size_t line = 0;
};

struct RegTextKey {
  RootKey root = RootKey::CurrentUser;
  std::string path;    // as written, without brackets and the "-" of a removal
  std::string subKey;  // below the root; "" for the root itself
  bool remove = false; // [-path]
  std::vector<RegTextValue> values;
  std::size_t line = 0;
};

// The keys and values of a registry text file, in file order, without
// touching any registry; throws RegTextError naming the line for text it
// cannot read. With `ansi`, a REGEDIT4 file is read in that code page, as
// regedit reads the program's backup files; without it, as UTF-8.
std::vector<RegTextKey> ParseRegText(std::string_view fileBytes, const AnsiCodePage* ansi = nullptr);

// Throws RegTextError naming the line for text it cannot read; keys and values
// it cannot write are an error too, so a fixture never half-applies silently.
// In a REGEDIT4 file the bytes of hex(1), hex(2) and hex(7) data are taken as
// UTF-8 text; in a version 5.00 file they are UTF-16LE as stored.
void ImportRegText(RegistryBackend& registry, std::string_view fileBytes);
// The same, reading narrow text as regedit does: in the given ANSI code page.
// Backups are written that way, so this is how a test reads one back.
void ImportRegText(RegistryBackend& registry, std::string_view fileBytes, const AnsiCodePage& ansi);

}  // namespace lindqua
