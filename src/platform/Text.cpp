#include "platform/Text.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace lindqua {
namespace {

// The word-at-a-time loops below take the first byte in memory as the lowest.
static_assert(std::endian::native == std::endian::little);

constexpr std::uint64_t Ones = 0x0101010101010101ULL;
constexpr std::uint64_t HighBits = 0x80 * Ones;

// Lowest byte that is zero, counted from the start of the word as it lay in
// memory; the borrow of the test can only mark bytes after a true zero.
std::size_t FirstZeroByte(std::uint64_t word) noexcept {
  const std::uint64_t zeros = (word - Ones) & ~word & HighBits;
  return static_cast<std::size_t>(std::countr_zero(zeros)) / 8;
}

}  // namespace


// Eight bytes at a time: the existence cache upper-cases every path it is
// asked about. A byte is a lower-case letter when its low seven bits lie in
// "a".."z" and its high bit is clear; such bytes lose their 0x20 bit. No sum
// carries into the next byte, so each byte is judged on its own.
void UpperInPlace(std::string& text) noexcept {
  char* p = text.data();
  std::size_t n = text.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, sizeof word);
    const std::uint64_t low7 = word & ~HighBits;
    const std::uint64_t atLeastA = low7 + (0x80 - 'a') * Ones;
    const std::uint64_t aboveZ = low7 + (0x80 - 'z' - 1) * Ones;
    const std::uint64_t isLower = atLeastA & ~aboveZ & ~word & HighBits;
    word ^= isLower >> 2;
    std::memcpy(p, &word, sizeof word);
  }
  for (; n > 0; ++p, --n) *p = AsciiUpper(*p);
}

std::string UpperCase(std::string_view text) {
  std::string out(text);
  UpperInPlace(out);
  return out;
}

std::string LowerCase(std::string_view text) {
  std::string out(text);
  for (char& c : out) c = AsciiLower(c);
  return out;
}

bool SameText(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiUpper(a[i]) != AsciiUpper(b[i])) return false;
  return true;
}

namespace {

// First byte at or after `from` that equals `lower` once its 0x20 bit is
// set by `fold` (0 or 0x20 in every byte), or npos.
std::size_t FindFolded(std::string_view text, char lower, std::uint64_t fold, std::size_t from) noexcept {
  const std::uint64_t pattern = static_cast<unsigned char>(lower) * Ones;
  const auto foldByte = static_cast<char>(fold & 0xFF);
  std::size_t i = from;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, sizeof word);
    const std::size_t at = FirstZeroByte((word | fold) ^ pattern);
    if (at != 8) return i + at;
  }
  for (; i < text.size(); ++i)
    if ((text[i] | foldByte) == lower) return i;
  return std::string_view::npos;
}

}  // namespace

std::size_t FindLetter(std::string_view text, char letter, std::size_t from) noexcept {
  return FindFolded(text, AsciiLower(letter), 0x20 * Ones, from);
}

std::size_t FindText(std::string_view haystack, std::string_view needle, std::size_t from) noexcept {
  if (needle.empty()) return from <= haystack.size() ? from : std::string_view::npos;
  if (haystack.size() < needle.size()) return std::string_view::npos;
  // The first character is looked for eight bytes at a time: a letter in
  // either case becomes its lower case by setting its 0x20 bit, which no
  // other byte maps to the same value. The scan checks every value's text
  // for a few words this way.
  const char lower = AsciiLower(needle[0]);
  const std::uint64_t fold = AsciiUpper(needle[0]) != lower ? 0x20 * Ones : 0;
  const std::string_view rest = needle.substr(1);
  const std::size_t last = haystack.size() - needle.size();
  for (std::size_t i = FindFolded(haystack, lower, fold, from); i <= last; i = FindFolded(haystack, lower, fold, i + 1))
    if (SameText(haystack.substr(i + 1, rest.size()), rest)) return i;
  return std::string_view::npos;
}

bool ContainsText(std::string_view haystack, std::string_view needle) noexcept {
  return FindText(haystack, needle) != std::string_view::npos;
}

bool StartsWithText(std::string_view text, std::string_view prefix) noexcept {
  return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

bool EndsWithText(std::string_view text, std::string_view suffix) noexcept {
  return text.size() >= suffix.size() && SameText(text.substr(text.size() - suffix.size()), suffix);
}

std::u16string Utf8ToUtf16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t i = 0;
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  while (i < text.size()) {
    unsigned char c = byte(i);
    char32_t cp = 0xFFFD;
    std::size_t len = 1;
    if (c < 0x80) {
      cp = c;
    } else if ((c & 0xE0) == 0xC0 && i + 1 < text.size() && (byte(i + 1) & 0xC0) == 0x80) {
      cp = ((c & 0x1F) << 6) | (byte(i + 1) & 0x3F);
      len = 2;
      if (cp < 0x80) cp = 0xFFFD;
    } else if ((c & 0xF0) == 0xE0 && i + 2 < text.size() && (byte(i + 1) & 0xC0) == 0x80 &&
               (byte(i + 2) & 0xC0) == 0x80) {
      cp = ((c & 0x0F) << 12) | ((byte(i + 1) & 0x3F) << 6) | (byte(i + 2) & 0x3F);
      len = 3;
      // Lone surrogates encoded in UTF-8 (WTF-8) are kept so that a registry
      // name holding one survives a round trip through the program.
      if (cp < 0x800) cp = 0xFFFD;
    } else if ((c & 0xF8) == 0xF0 && i + 3 < text.size() && (byte(i + 1) & 0xC0) == 0x80 &&
               (byte(i + 2) & 0xC0) == 0x80 && (byte(i + 3) & 0xC0) == 0x80) {
      cp = ((c & 0x07) << 18) | ((byte(i + 1) & 0x3F) << 12) | ((byte(i + 2) & 0x3F) << 6) | (byte(i + 3) & 0x3F);
      len = 4;
      if (cp < 0x10000 || cp > 0x10FFFF) cp = 0xFFFD;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

namespace {

void AppendUtf8(std::string& out, char32_t cp) {
  if (cp < 0x80) {
    out.push_back(static_cast<char>(cp));
  } else if (cp < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else if (cp < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
  }
}

// Appends units [from, count) read by unitAt: a surrogate pair becomes one
// code point and a lone surrogate is kept as itself (WTF-8).
template <class UnitAt>
void AppendDecoded(std::string& out, std::size_t from, std::size_t count, UnitAt unitAt) {
  for (std::size_t i = from; i < count; ++i) {
    char32_t cp = unitAt(i);
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < count) {
      const char32_t low = unitAt(i + 1);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        cp = 0x10000 + ((cp - 0xD800) << 10) + (low - 0xDC00);
        ++i;
      }
    }
    AppendUtf8(out, cp);
  }
}

// Four units of ASCII, none NUL, in one word of UTF-16LE bytes: written as
// four bytes. False (nothing written) for any other word.
bool PackAscii(const unsigned char* units, char* out) noexcept {
  std::uint64_t word;
  std::memcpy(&word, units, sizeof word);
  constexpr std::uint64_t UnitOnes = 0x0001000100010001ULL;
  if (word & 0xFF80FF80FF80FF80ULL) return false;
  if ((word - UnitOnes) & ~word & (0x8000 * UnitOnes)) return false;
  const std::uint64_t pairs = word | (word >> 8);  // bytes a b b c c d d 0
  const auto packed = static_cast<std::uint32_t>((pairs & 0xFFFF) | ((pairs >> 16) & 0xFFFF0000));
  std::memcpy(out, &packed, sizeof packed);
  return true;
}

}  // namespace

namespace {

// The UTF-16 units a UTF-8 byte begins: none for a continuation byte, two
// for a character beyond the BMP.
std::size_t UnitsBegunBy(char c) noexcept {
  const auto byte = static_cast<unsigned char>(c);
  return (byte & 0xC0) == 0x80 ? 0 : byte >= 0xF0 ? 2 : 1;
}

}  // namespace

std::size_t Utf16Length(std::string_view utf8) noexcept {
  std::size_t units = 0;
  for (char c : utf8) units += UnitsBegunBy(c);
  return units;
}

std::size_t Utf8BytesWithinUnits(std::string_view utf8, std::size_t units) noexcept {
  if (utf8.size() <= units) return utf8.size();  // a byte is never less than a unit
  std::size_t used = 0;
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    used += UnitsBegunBy(utf8[i]);
    if (used > units) return i;
  }
  return utf8.size();
}

// Eight bytes at a time: the existence cache compares each path it is asked
// with the one before.
std::size_t SharedPrefixLength(std::string_view a, std::string_view b) noexcept {
  const std::size_t n = a.size() < b.size() ? a.size() : b.size();
  std::size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    std::uint64_t x, y;
    std::memcpy(&x, a.data() + i, sizeof x);
    std::memcpy(&y, b.data() + i, sizeof y);
    if (x != y) return i + static_cast<std::size_t>(std::countr_zero(x ^ y)) / 8;
  }
  while (i < n && a[i] == b[i]) ++i;
  return i;
}

std::string Utf16ToUtf8(std::u16string_view text) {
  std::string out(text.size(), '\0');
  std::size_t i = 0;
  for (; i < text.size() && text[i] < 0x80; ++i) out[i] = static_cast<char>(text[i]);
  out.resize(i);
  AppendDecoded(out, i, text.size(), [&](std::size_t k) { return text[k]; });
  return out;
}

// Decoded straight from the bytes: a value's text is read once per value
// the scan looks at, so no UTF-16 copy is made on the way. Most texts are
// ASCII, written in place four units at a time.
namespace {

// Decodes into `out`, already as long as the data's units.
void DecodeUtf16Le(const unsigned char* data, std::size_t units, std::string& out) {
  const auto unitAt = [&](std::size_t k) { return static_cast<char16_t>(data[2 * k] | (data[2 * k + 1] << 8)); };
  // Written through a pointer taken once: a store through `out` could change
  // the string itself as far as the compiler knows, so it would read the
  // buffer's address again after every character.
  char* const to = out.data();
  std::size_t i = 0;
  while (i + 4 <= units && PackAscii(data + 2 * i, to + i)) i += 4;
  for (; i < units; ++i) {
    const char16_t unit = unitAt(i);
    if (unit == 0) {
      out.resize(i);
      return;
    }
    if (unit >= 0x80) break;
    to[i] = static_cast<char>(unit);
  }
  std::size_t end = i;
  while (end < units && unitAt(end) != 0) ++end;
  out.resize(i);
  AppendDecoded(out, i, end, unitAt);
}

}  // namespace

std::string Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size) {
  std::string out(size / 2, '\0');
  DecodeUtf16Le(data, size / 2, out);
  return out;
}

void Utf16LeBytesToUtf8(const unsigned char* data, std::size_t size, std::string& out) {
  out.resize(size / 2);
  DecodeUtf16Le(data, size / 2, out);
}

Bytes Utf8ToUtf16LeBytes(std::string_view text, bool terminate) {
  std::u16string units = Utf8ToUtf16(text);
  if (terminate) units.push_back(0);
  Bytes out;
  out.reserve(units.size() * 2);
  for (char16_t u : units) {
    out.push_back(static_cast<std::uint8_t>(u & 0xFF));
    out.push_back(static_cast<std::uint8_t>(u >> 8));
  }
  return out;
}

std::string TwoDigits(int n) {
  std::string text = std::to_string(n);
  return n >= 0 && n < 10 ? "0" + text : text;
}

}  // namespace lindqua
