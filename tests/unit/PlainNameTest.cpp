// Names the existence cache may take as written: a device or a name Windows
// would change must never count as plain, or a path below it would be
// judged absent without asking.
#include <gtest/gtest.h>

#include <string_view>

#include "platform/PlainName.h"

namespace lindqua {
namespace {

TEST(PlainName, DevicesAndNamesWindowsChangesAreNotPlain) {
  const struct {
    std::string_view upperName;
    bool plain;
  } cases[] = {
      {"APP37.EXE", true},      {"LQSCAN", true},       {"COM", true},           {"AUX1", true},
      {"CONX", true},           {"CONOUTX", true},      {"COM\xC2\xB4", true},   {"NULL.TXT", true},
      {"CON", false},           {"PRN.TXT", false},     {"AUX  .LOG", false},    {"NUL", false},
      {"COM1", false},          {"LPT9.LOG", false},    {"COMX", false},         {"LPT\xC2\xB3.X", false},
      {"CONIN$", false},        {"CONOUT$.TXT", false}, {"CLOCK$", false},       {"A.", false},
      {"A ", false},            {"A:B", false},         {"A/B", false},          {"", false},
      {".", false},             {"..", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsPlainName(c.upperName), c.plain) << c.upperName;
}

// Trailing dots and blanks may be stripped: the name still stays in its
// folder unless what is left is no plain name.
TEST(PlainName, ANameStaysInItsFolderWhateverItsEndLoses) {
  const struct {
    std::string_view upperName;
    bool staysIn;
  } cases[] = {
      {"FILE9.", true}, {"A . .", true}, {"APP.EXE", true}, {".A.", true},   {"", false},
      {".", false},     {"..", false},   {"...", false},    {". .", false},  {"CON.", false},
      {"LPT1 .", false}, {"A:B.", false}, {"A/.", false},
  };
  for (const auto& c : cases) EXPECT_EQ(StaysInFolder(c.upperName), c.staysIn) << c.upperName;
}

}  // namespace
}  // namespace lindqua
