#pragma once
// The in-memory form of an INI file as the profile functions see it: the
// file's text encoding, and sections of "name[=value]" entries kept in file
// order, duplicates included. Names and values are UTF-16, as on Windows, so
// that lengths and truncation agree with the system's functions.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace lindqua {

enum class IniEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct IniEntry {
  std::u16string name;
  std::optional<std::u16string> value;  // nullopt: a line without "="
};

struct IniSection {
  std::u16string name;  // "" for the lines before the first section header
  std::vector<IniEntry> entries;
};

struct IniDocument {
  // A new file is written in the ANSI code page; an existing one keeps its encoding.
  IniEncoding encoding = IniEncoding::Ansi;
  std::vector<IniSection> sections;
};

// Any bytes give a document; what cannot be understood becomes entries that
// no sensible lookup matches, never an error.
IniDocument ParseIniDocument(std::string_view bytes);
std::string SerializeIniDocument(const IniDocument& document);

// The first entry of the first section whose name matches (blanks around the
// asked names are ignored, letter case is not significant); nullptr if none.
const IniEntry* FindIniEntry(const IniDocument& document, std::u16string_view section, std::u16string_view key);
// Sets an entry, appending the key to its section or the section to the
// document when missing. False when the value was already the same.
bool SetIniEntry(IniDocument& document, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value);

// The text a read hands back for a stored value (or a default): one pair of
// enclosing quotes removed and at most maxChars UTF-16 units kept.
std::u16string IniReadResult(std::u16string_view stored, std::size_t maxChars);

// The ANSI code page of the portable implementation (Windows-1252, the code
// page of an English Windows and of Wine in the test prefixes).
std::u16string AnsiToUtf16(std::string_view bytes);
// Characters outside the code page become "?", as the system's conversion does.
std::string Utf16ToAnsi(std::u16string_view text);

}  // namespace lindqua
