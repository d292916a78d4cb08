// The one-pass search answers as searching for each fragment in turn would,
// below every tested length.
#include <gtest/gtest.h>

#include <string>

#include "engine/FragmentSet.h"
#include "platform/Text.h"

namespace lindqua::test {

namespace {

// Each fragment searched on its own, from where it would have to start to end past `tested`.
bool FoundOneByOne(std::initializer_list<Fragment> fragments, std::string_view path, std::size_t tested) {
  for (const Fragment& fragment : fragments) {
    const std::size_t size = fragment.text.size();
    const std::size_t from = tested + 1 > size ? tested + 1 - size : 0;
    if (from >= path.size()) continue;
    const std::string_view window = path.substr(from);
    if (fragment.anyCase ? ContainsText(window, fragment.text) : window.find(fragment.text) != std::string_view::npos)
      return true;
  }
  return false;
}

}  // namespace

TEST(FragmentSet, AnswersAsSearchingEachFragmentInTurn) {
  const std::initializer_list<Fragment> fragments = {
      {"software\\microsoft", true}, {"}\\inproc", true}, {"Printers", false},
      {"Soft", false},               {"x", true},         {"\xC3\xA9t\xC3\xA9", false},
  };
  const FragmentSet set(fragments);
  const char* paths[] = {
      "",
      "x",
      "X",
      "Software\\Microsoft",
      "SOFTWARE\\MICROSOFT\\Windows",
      "Vendor\\software\\microsoftly",
      "Vendor\\software\\micro",
      "CLSID\\{1}\\InprocServer32",
      "CLSID\\{1]\\InprocServer32",  // "]" is "}" with its 0x20 bit cleared
      "Devices\\printers",
      "Devices\\Printers\\Deep",
      "Hard\\Soft",
      "Hard\\SOFT",
      "caf\xC3\xA9t\xC3\xA9",
      "CAF\xC3\x89T\xC3\x89",
      "Ends in Printer",
  };
  for (std::string_view path : paths) {
    for (std::size_t tested = 0; tested <= path.size() + 1; ++tested)
      EXPECT_EQ(set.FoundIn(path, tested), FoundOneByOne(fragments, path, tested)) << path << " tested " << tested;
  }
  EXPECT_TRUE(set.FoundIn("CLSID\\{1}\\InprocServer32"));
  EXPECT_FALSE(set.FoundIn("CLSID\\{1]\\InprocServer32"));
  EXPECT_FALSE(set.FoundIn("Hard\\SOFT"));
  EXPECT_FALSE(set.FoundIn("Software\\Microsoft", 18)) << "the whole fragment lies in the tested part";
  EXPECT_TRUE(set.FoundIn("Software\\Microsoft", 17));
}

}  // namespace lindqua::test
