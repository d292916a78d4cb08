#include "platform/memory/Windows1252CodePage.h"

#include "platform/Text.h"

namespace lindqua {

namespace {

// Unicode of the bytes 0x80..0x9F; the rest of the code page is Latin-1.
constexpr char16_t HighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::optional<char> ByteOf(char16_t unit) {
  if (unit < 0x80 || (unit >= 0xA0 && unit <= 0xFF)) return static_cast<char>(unit);
  for (int i = 0; i < 32; ++i)
    if (HighControls[i] == unit) return static_cast<char>(0x80 + i);
  return std::nullopt;
}

}  // namespace

std::optional<std::string> Windows1252CodePage::FromUtf8(std::string_view utf8) const {
  const std::u16string units = Utf8ToUtf16(utf8);
  // Invalid UTF-8 became U+FFFD, which has no 1252 byte, so it is refused below.
  std::string out;
  out.reserve(units.size());
  for (char16_t unit : units) {
    const auto byte = ByteOf(unit);
    if (!byte) return std::nullopt;
    out.push_back(*byte);
  }
  return out;
}

std::optional<std::string> Windows1252CodePage::ToUtf8(std::string_view ansi) const {
  std::u16string units;
  units.reserve(ansi.size());
  for (char c : ansi) {
    const auto byte = static_cast<unsigned char>(c);
    units.push_back(byte >= 0x80 && byte < 0xA0 ? HighControls[byte - 0x80] : static_cast<char16_t>(byte));
  }
  return Utf16ToUtf8(units);
}

}  // namespace lindqua
