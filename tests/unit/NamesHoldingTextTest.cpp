#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

#include "engine/NamesHoldingText.h"
#include "platform/Text.h"

namespace lindqua {
namespace {

// The index must answer as asking every name would, for needles shorter than,
// as long as and longer than the names, in either case.
TEST(NamesHoldingText, AnswersAsAskingEveryName) {
  const std::vector<std::string> names = {
      "{00020430-0000-0000-C000-000000000046}",
      "{00020430-0000-0000-C000-000000000046}\\backup",  // longer, holds the id
      "{AAAAAAAA-0000-0000-0000-000000000001}",
      "short",
      "",
      "caf\xC3\xA9",
      "{aaaaaaaa-0000-0000-0000-000000000002}",  // same id again, other case
      "{AAAAAAAA-0000-0000-0000-000000000002}",
  };
  const std::vector<std::string_view> needles = {
      "{00020430-0000-0000-c000-000000000046}",
      "{AAAAAAAA-0000-0000-0000-000000000001}",
      "{aaaaaaaa-0000-0000-0000-000000000001}",
      "{aaaaaaaa-0000-0000-0000-000000000002}",
      "{AAAAAAAA-0000-0000-0000-000000000003}",
      "\\BACKUP",
      "backup",
      "SHORT",
      "shorter",
      "hor",
      "",
      "CAF\xC3\xA9",
      "CAF\xC3\x89",  // no folding outside ASCII
      "{00020430-0000-0000-C000-000000000046}\\backup\\more",
  };
  const NamesHoldingText index(names);
  for (std::string_view needle : needles) {
    bool expected = false;
    for (const std::string& name : names) expected = expected || (!needle.empty() && ContainsText(name, needle));
    EXPECT_EQ(index.AnyHolds(needle), expected) << needle;
  }
  EXPECT_FALSE(NamesHoldingText({}).AnyHolds("x"));
}

}  // namespace
}  // namespace lindqua
