// What the backup writer relies on from the ANSI code page, on every implementation.
#include <string>

#include "contract/AnsiCodePageUnderTest.h"
#include "platform/memory/Windows1252CodePage.h"

namespace lindqua::test {

using namespace std::string_literals;

TEST_P(AnsiCodePageContract, AsciiControlsAndNulsPassUnchanged) {
  const std::string text = "a\\b\"c\r\n\0\tz ;=@[]"s;
  EXPECT_EQ(ansi->FromUtf8(text), text);
  EXPECT_EQ(ansi->ToUtf8(text), text);
  EXPECT_EQ(ansi->FromUtf8(""), "");
  EXPECT_EQ(ansi->ToUtf8(""), "");
}

TEST_P(AnsiCodePageContract, RefusesWhatHasNoExactForm) {
  // A lone surrogate (as the registry may hold it) and text of other scripts
  // must never come out as a "?" or a best-fit look-alike.
  EXPECT_EQ(ansi->FromUtf8("a\xED\xA0\x80z"), std::nullopt) << "lone surrogate";
  if (ansi->CodePage() != 1252) GTEST_SKIP() << "code page " << ansi->CodePage();
  EXPECT_EQ(ansi->FromUtf8("\xE4\xB8\xAD"), std::nullopt) << "CJK";
  EXPECT_EQ(ansi->FromUtf8("x\xD0\x96"), std::nullopt) << "Cyrillic";
  EXPECT_EQ(ansi->FromUtf8("\xC4\x81"), std::nullopt) << "a with macron has a best fit 'a' but no exact byte";
  EXPECT_EQ(ansi->FromUtf8("\xE2\x88\x9E"), std::nullopt) << "infinity has a best fit '8'";
  EXPECT_EQ(ansi->FromUtf8("\xEF\xBF\xBD"), std::nullopt) << "replacement character";
}

TEST_P(AnsiCodePageContract, Windows1252Table) {
  if (ansi->CodePage() != 1252) GTEST_SKIP() << "code page " << ansi->CodePage();
  EXPECT_EQ(ansi->FromUtf8("caf\xC3\xA9 \xE2\x82\xAC \xC5\x93 \xC3\xBF"), "caf\xE9 \x80 \x9C \xFF");
  EXPECT_EQ(ansi->ToUtf8("caf\xE9 \x80 \x9C \xFF"), "caf\xC3\xA9 \xE2\x82\xAC \xC5\x93 \xC3\xBF");
  // The bytes the table leaves undefined stand for the C1 controls.
  EXPECT_EQ(ansi->ToUtf8("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
  EXPECT_EQ(ansi->FromUtf8("\xC2\x81\xC2\x9D"), "\x81\x9D");
}

TEST_P(AnsiCodePageContract, EveryByteThatDecodesComesBackTheSame) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string one(1, static_cast<char>(byte));
    const auto utf8 = ansi->ToUtf8(one);
    if (!utf8) continue;  // a lead byte of a double-byte code page
    EXPECT_EQ(ansi->FromUtf8(*utf8), one) << "byte " << byte;
  }
}

INSTANTIATE_TEST_SUITE_P(Memory, AnsiCodePageContract,
                         ::testing::Values(AnsiCodePageFactory{
                             "Windows1252", [] { return std::make_unique<Windows1252CodePage>(); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
