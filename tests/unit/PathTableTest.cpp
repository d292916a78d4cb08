// The cache's store must find exactly what was put in, whatever the hashes
// do: the caller passes them, so colliding ones are easy to make here.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "platform/PathTable.h"
#include "platform/UpperPathKey.h"

namespace lindqua {
namespace {

TEST(PathTable, FindsWhatWasInsertedThroughGrowthCollisionsAndClearing) {
  PathTable table;
  EXPECT_EQ(table.Find("C:\\A", PathHash("C:\\A")), nullptr) << "an empty table";

  // Many paths (the table grows several times), every eighth sharing one
  // hash with its neighbours, and one the empty text.
  std::map<std::string, std::uint8_t> expected;
  const auto hashOf = [](const std::string& text, int i) { return i % 8 == 0 ? 42u : PathHash(text); };
  for (int i = 0; i < 5000; ++i) {
    const std::string text = i == 1 ? std::string() : "C:\\FOLDER\\" + std::to_string(i);
    table.Insert(text, hashOf(text, i)) = static_cast<std::uint8_t>(i % 251 + 1);
    expected[text] = static_cast<std::uint8_t>(i % 251 + 1);
  }
  EXPECT_EQ(table.Size(), expected.size());
  for (int i = 0; i < 5000; ++i) {
    const std::string text = i == 1 ? std::string() : "C:\\FOLDER\\" + std::to_string(i);
    const std::uint8_t* bits = table.Find(text, hashOf(text, i));
    ASSERT_NE(bits, nullptr) << text;
    EXPECT_EQ(*bits, expected[text]) << text;
  }
  EXPECT_EQ(table.Find("C:\\FOLDER\\5000", 42), nullptr) << "a colliding hash, another text";
  EXPECT_EQ(table.Find("C:\\FOLDER\\1", PathHash("C:\\FOLDER\\10")), nullptr) << "a prefix of a stored text";

  // Inserting what is there gives its byte back and adds nothing.
  table.Insert("C:\\FOLDER\\7", PathHash("C:\\FOLDER\\7")) |= 0x80;
  EXPECT_EQ(table.Size(), expected.size());
  EXPECT_EQ(*table.Find("C:\\FOLDER\\7", PathHash("C:\\FOLDER\\7")), expected["C:\\FOLDER\\7"] | 0x80);

  table.Clear();
  EXPECT_EQ(table.Size(), 0u);
  EXPECT_EQ(table.TextBytes(), 0u);
  EXPECT_EQ(table.Find("C:\\FOLDER\\7", PathHash("C:\\FOLDER\\7")), nullptr);
  EXPECT_EQ(table.Insert("C:\\FOLDER\\7", PathHash("C:\\FOLDER\\7")), 0) << "a new entry starts at 0";

  table.Release();
  EXPECT_EQ(table.Find("C:\\FOLDER\\7", PathHash("C:\\FOLDER\\7")), nullptr);
  table.Insert("D:\\", PathHash("D:\\")) = 5;
  EXPECT_EQ(*table.Find("D:\\", PathHash("D:\\")), 5) << "usable again after giving its memory back";
}

}  // namespace
}  // namespace lindqua
