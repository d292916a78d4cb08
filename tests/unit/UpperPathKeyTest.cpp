// The cache's key is worked out only from where each path differs from the
// one before: whatever came before, it must say what a fresh look says.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/PlainName.h"
#include "platform/Text.h"
#include "platform/UpperPathKey.h"

namespace lindqua {
namespace {

// Every "\"-separated name of `upper` from `start` on is plain, looked at afresh.
bool PlainNamesAfresh(std::string_view upper, std::size_t start) {
  for (;;) {
    const std::size_t end = upper.find('\\', start);
    if (!IsPlainName(upper.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start)))
      return false;
    if (end == std::string_view::npos) return true;
    start = end + 1;
  }
}

TEST(UpperPathKey, SaysWhatAFreshLookSaysWhateverCameBefore) {
  // Prefix probing, extensions tried and taken back, names that stop or
  // start being plain as characters come and go, and unrelated paths.
  const std::vector<std::string> paths = {
      "C:\\Tools\\app.exe", "c:\\tools\\APP.EXE -x", "C:\\Tools\\app", "C:\\Tools\\app.", "C:\\Tools\\app. \\x",
      "C:\\Tools\\app.com", "C:\\Tools\\", "C:\\Tools", "C:\\Tools\\con", "C:\\Tools\\con\\x", "C:\\Tools\\a:b\\c",
      "C:\\Tools\\Sub\\..\\x", "C", "", "\\\\server\\share", "D:\\Gr\xC3\xBC\xC3\x9F\x65\\x", "C:\\Tools\\Sub\\y",
      "C:\\Tools\\Sub\\yz", "C:\\Tools\\Sub\\y", "C:\\Tools\\Sub", "C:\\T", "C:\\Tools\\Sub\\\\y", "C:\\Tools\\Sub\\y"};
  UpperPathKey key;
  for (int round = 0; round < 2; ++round) {
    for (std::size_t k = 0; k < paths.size(); ++k) {
      const std::string& path = round == 0 ? paths[k] : paths[paths.size() - 1 - k];
      key.Assign(path);
      const std::string upper = UpperCase(path);
      ASSERT_EQ(key.Text(), upper);
      EXPECT_EQ(key.Hash(), PathHash(upper)) << path;
      EXPECT_EQ(key.LastSlash(), upper.rfind('\\')) << path;
      EXPECT_EQ(key.LastNamePlain(), IsPlainName(std::string_view(upper).substr(upper.rfind('\\') + 1))) << path;
      for (std::size_t length = 0; length <= upper.size(); ++length)
        EXPECT_EQ(key.HashOf(length), PathHash(upper.substr(0, length))) << path << " " << length;
      for (std::size_t start = 0; start <= upper.size(); ++start) {
        if (start != 0 && upper[start - 1] != '\\') continue;  // names start after a "\"
        EXPECT_EQ(key.PlainNamesFrom(start), PlainNamesAfresh(upper, start)) << path << " from " << start;
      }
    }
  }
}

}  // namespace
}  // namespace lindqua
