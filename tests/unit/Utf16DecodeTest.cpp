#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Text.h"

namespace lindqua {
namespace {

// Registry string data as stored: UTF-16LE bytes, maybe NUL-terminated,
// maybe with an odd byte or junk after the terminator.
TEST(Utf16Decode, RegistryBytesBecomeUtf8) {
  const struct {
    std::vector<unsigned char> bytes;
    std::string utf8;
  } cases[] = {
      {{}, ""},
      {{'C', 0, ':', 0, '\\', 0}, "C:\\"},
      {{'a', 0, 0, 0, 'b', 0}, "a"},                           // stops at the terminator
      {{'a', 0, 'b'}, "a"},                                    // an odd last byte is no unit
      {{0xE9, 0x00, 0xAC, 0x20}, "\xC3\xA9\xE2\x82\xAC"},      // two and three bytes
      {{'a', 0, 0xE9, 0x00, 'b', 0}, "a\xC3\xA9" "b"},            // ASCII, then not, then ASCII
      {{0x3D, 0xD8, 0x00, 0xDE}, "\xF0\x9F\x98\x80"},          // a surrogate pair
      {{0x3D, 0xD8, 'x', 0}, "\xED\xA0\xBD" "x"},              // a lone high surrogate is kept
      {{0x00, 0xDE, 0x3D, 0xD8}, "\xED\xB8\x80\xED\xA0\xBD"},  // a low before a high pairs with nothing
      {{0x3D, 0xD8, 0, 0, 0x00, 0xDE}, "\xED\xA0\xBD"},        // no pair across the terminator
  };
  // One buffer decodes every case in turn, longer and shorter, as a sweep does.
  std::string reused = "left over from an earlier, longer value";
  for (const auto& c : cases) {
    EXPECT_EQ(Utf16LeBytesToUtf8(c.bytes.data(), c.bytes.size()), c.utf8);
    Utf16LeBytesToUtf8(c.bytes.data(), c.bytes.size(), reused);
    EXPECT_EQ(reused, c.utf8);
    // The same text through the units, as names travel.
    std::u16string units;
    for (std::size_t i = 0; i + 1 < c.bytes.size(); i += 2) {
      const auto unit = static_cast<char16_t>(c.bytes[i] | (c.bytes[i + 1] << 8));
      if (unit == 0) break;
      units.push_back(unit);
    }
    EXPECT_EQ(Utf16ToUtf8(units), c.utf8);
  }
}

// ASCII is decoded four units at a time: a terminator or a unit above ASCII
// at every place of a longer text.
TEST(Utf16Decode, EveryPlaceOfALongTextIsJudgedByItself) {
  const std::string ascii = "C:\\Tools\\a.exe";
  for (std::size_t at = 0; at < ascii.size(); ++at) {
    std::vector<unsigned char> bytes;
    for (char c : ascii) bytes.insert(bytes.end(), {static_cast<unsigned char>(c), 0});
    bytes[2 * at] = 0;
    EXPECT_EQ(Utf16LeBytesToUtf8(bytes.data(), bytes.size()), ascii.substr(0, at)) << "terminator at " << at;
    bytes[2 * at] = 0xE9;
    EXPECT_EQ(Utf16LeBytesToUtf8(bytes.data(), bytes.size()),
              ascii.substr(0, at) + "\xC3\xA9" + ascii.substr(at + 1))
        << "e acute at " << at;
    bytes[2 * at] = 'x';
    bytes[2 * at + 1] = 0x01;  // U+0178: only its high byte is not ASCII
    EXPECT_EQ(Utf16LeBytesToUtf8(bytes.data(), bytes.size()), ascii.substr(0, at) + "\xC5\xB8" + ascii.substr(at + 1))
        << "high byte at " << at;
  }
}

}  // namespace
}  // namespace lindqua
