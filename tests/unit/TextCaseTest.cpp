#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include "platform/Text.h"

namespace lindqua {
namespace {

// Case folds ASCII letters only; other bytes, UTF-8 included, match as they are.
TEST(TextCase, FindsWithoutRegardToCase) {
  constexpr auto npos = std::string_view::npos;
  const struct {
    std::string_view haystack, needle;
    std::size_t from, at;
  } cases[] = {
      {"C:\\Windows\\System32\\x.dll", "system32", 0, 11},
      {"C:\\Windows\\SYSTEM32\\x.dll", "System32", 0, 11},
      {"C:\\HP\\x.exe", "\\hp", 0, 2},          // first character no letter
      {"c:\\print.exe", "PRINT", 0, 3},
      {"print", "print", 0, 0},                 // the whole haystack
      {"xprint", "print", 0, 1},                // at the very end
      {"prin", "print", 0, npos},               // needle longer
      {"abcabc", "ABC", 1, 3},                  // from skips the first
      {"abc", "abc", 1, npos},
      {"abc", "", 2, 2},
      {"abc", "", 4, npos},
      {"x@y", "`", 0, npos},                    // "@" and "`" are no case pair
      {"[a]", "{A}", 0, npos},                  // nor are "[" and "{"
      {"\xC3\xA9t\xC3\xA9", "\xC3\xA9T", 0, 0},  // bytes above ASCII as they are
      {"\xC3\x89", "\xC3\xA9", 0, npos},         // no folding outside ASCII
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FindText(c.haystack, c.needle, c.from), c.at) << c.haystack << " / " << c.needle;
    if (c.from == 0) {
      EXPECT_EQ(ContainsText(c.haystack, c.needle), c.at != npos) << c.haystack;
    }
  }
}

// The search reads eight bytes at a time: a match, or a near miss, at every
// place of a longer text, against every byte that differs from a letter
// only in its 0x20 bit.
TEST(TextCase, FindsAtEveryPlaceOfALongText) {
  constexpr auto npos = std::string_view::npos;
  for (std::size_t at = 0; at + 5 <= 21; ++at) {
    std::string text(21, '@');
    text.replace(at, 5, "pRiNt");
    EXPECT_EQ(FindText(text, "PRINT"), at) << text;
    EXPECT_EQ(FindLetter(text, 'P'), at) << text;
    EXPECT_EQ(FindLetter(text, 'n'), at + 3) << text;
    EXPECT_EQ(FindLetter(text, 'p', at + 1), npos) << text;
    EXPECT_EQ(FindText(text, "print", at + 1), npos) << text;
    text[at + 4] = 'x';  // "pRiNx": the first letter matches, the rest does not
    EXPECT_EQ(FindText(text, "print"), npos) << text;
    std::string slashes(21, 'h');
    slashes[at] = '\\';
    EXPECT_EQ(FindText(slashes, "\\H"), at == 20 ? npos : at) << slashes;
  }
  // Bytes that differ from "P" or "p" in one more bit than 0x20.
  for (char other : std::string_view("0\x10\xD0\xF0"))
    EXPECT_EQ(FindText(std::string(16, other) + "P", "p"), 16u) << static_cast<int>(other);
}

// Every byte value at every place of a word and of the tail after it, so that
// a byte's neighbours cannot change how it is cased.
TEST(TextCase, UpperCaseChangesOnlyAsciiLetters) {
  for (int b = 0; b < 256; ++b) {
    for (std::size_t at = 0; at < 11; ++at) {
      std::string text = "a\xFFz{`@Z\x80q~Y";
      text[at] = static_cast<char>(b);
      std::string expected = text;
      for (char& c : expected) c = AsciiUpper(c);
      ASSERT_EQ(UpperCase(text), expected) << "byte " << b << " at " << at;
    }
  }
  EXPECT_EQ(UpperCase(""), "");
}

}  // namespace
}  // namespace lindqua
