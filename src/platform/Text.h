#pragma once
// Case rules shared by every layer: "without regard to case" means ASCII-only
// upper-casing of both sides, which is safe on UTF-8 bytes.
#include <cstdint>
#include <string>
#include <vector>
#include <string_view>

namespace lindqua {

using Bytes = std::vector<std::uint8_t>;

// Inline: the sweep upper-cases every path it asks about.
constexpr char AsciiUpper(char c) noexcept { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
constexpr char AsciiLower(char c) noexcept { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
std::string UpperCase(std::string_view text);
// AsciiUpper on every byte.
void UpperInPlace(std::string& text) noexcept;
std::string LowerCase(std::string_view text);
bool SameText(std::string_view a, std::string_view b) noexcept;
// Plain substring test without regard to case.
bool ContainsText(std::string_view haystack, std::string_view needle) noexcept;
// Position of needle without regard to case, or npos.
std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from = 0) noexcept;
// Position of the ASCII letter `letter`, in either case, or npos.
std::size_t FindLetter(std::string_view text, char letter, std::size_t from = 0) noexcept;
bool StartsWithText(std::string_view text, std::string_view prefix) noexcept;
bool EndsWithText(std::string_view text, std::string_view suffix) noexcept;

// UTF-8 <-> UTF-16 conversions used at the registry's byte level: string data
// in the registry is stored as UTF-16LE, names travel as UTF-8 everywhere else.
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text);
// The UTF-16 code units text takes, counted without converting it (the unit
// Windows measures names and buffers in).
std::size_t Utf16Length(std::string_view utf8) noexcept;
// How many leading bytes of utf8 hold at most `units` UTF-16 units, ending on
// a character boundary.
std::size_t Utf8BytesWithinUnits(std::string_view utf8, std::size_t units) noexcept;
// How many leading bytes a and b share.
std::size_t SharedPrefixLength(std::string_view a, std::string_view b) noexcept;
// Reads UTF-16LE bytes up to the first NUL character (an odd last byte is ignored).
std::string Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size);
// The same into `out`, whose buffer is kept: for a caller decoding value after value.
void Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size, std::string& out);
// UTF-16LE bytes of text followed by one NUL character, as the registry stores strings.
Bytes Utf8ToUtf16LeBytes(std::string_view text, bool terminate = true);

// The decimal text of n with a "0" in front from 0 to 9 ("07", "10", "123").
std::string TwoDigits(int n);

}  // namespace lindqua
