#pragma once
// INI files with the semantics of the system's profile functions: sections in
// brackets, "key=value" lines, names matched without regard to case, blanks
// around names and values trimmed, one pair of enclosing quotes stripped on
// reading, the first of duplicate sections or keys winning, and a whole-file
// rewrite on every change. On Windows the system's own functions do the work;
// the portable implementation must give the same answers.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace lindqua {

class IniFile {
 public:
  // What a string read returns at most, in UTF-16 units (the profile
  // functions are handed a buffer of 2048 characters).
  static constexpr std::size_t MaxReadChars = 2047;

  virtual ~IniFile() = default;
  // The path the file was opened with.
  virtual const std::string& FileName() const = 0;
  // The value of section/key, or defaultValue when the file, the section or
  // the key is missing. Never fails and never writes.
  virtual std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) = 0;
  // Sets section/key, creating the file, the section (at the end of the file)
  // or the key (at the end of its section) as needed. False when the file
  // could not be written; the file is then as it was before the call.
  [[nodiscard]] virtual bool WriteString(std::string_view section, std::string_view key, std::string_view value) = 0;
};

// Opens INI files; opening never fails, a missing file reads as empty.
class IniFiles {
 public:
  virtual ~IniFiles() = default;
  virtual std::unique_ptr<IniFile> Open(std::string_view path) = 0;
};

// True for a decimal integer with an optional sign and nothing else; false
// for anything else, including hex, blanks, trailing text and values beyond 32 bits.
bool ParseIniInteger(std::string_view text, std::int32_t& value) noexcept;

// Integers and Booleans stored as text on top of ReadString/WriteString:
// integers are decimal, anything that is not reads as the default; Booleans
// are written "1"/"0" and read as integers (non-zero = true).
std::int32_t ReadIniInteger(IniFile& file, std::string_view section, std::string_view key, std::int32_t defaultValue);
bool ReadIniBool(IniFile& file, std::string_view section, std::string_view key, bool defaultValue);
[[nodiscard]] bool WriteIniInteger(IniFile& file, std::string_view section, std::string_view key, std::int32_t value);
[[nodiscard]] bool WriteIniBool(IniFile& file, std::string_view section, std::string_view key, bool value);

}  // namespace lindqua
