// The ignore filter: which rows a finished scan loses to the built-in and the
// user's ignore lists.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/IgnoreFilter.h"

namespace lindqua::test {

namespace {

Finding Row(int tag, std::string location, std::string shown = "") {
  Finding row;
  row.caption = "caption";
  row.shownText = std::move(shown);
  row.location = std::move(location);
  row.tag = tag;
  return row;
}

// The locations of the rows that survive, in order.
std::vector<std::string> Survivors(std::vector<Finding> rows, const std::vector<std::string>& user = {},
                                   std::optional<std::int32_t> count = std::nullopt, std::string_view sid = {}) {
  ApplyIgnoreList(rows, user, count.value_or(static_cast<std::int32_t>(user.size())), sid);
  std::vector<std::string> out;
  for (const Finding& row : rows) out.push_back(row.location + "|" + row.shownText);
  return out;
}

bool Kept(const Finding& row, const std::vector<std::string>& user = {}) { return !Survivors({row}, user).empty(); }

TEST(IgnoreFilter, BuiltInListHasThirtyKeysInOrder) {
  const auto keys = BuiltInIgnoreKeys();
  ASSERT_EQ(keys.size(), 30u);
  EXPECT_STREQ(keys[0], "HKEY_CLASSES_ROOT\\.DAT");
  EXPECT_STREQ(keys[7], "HKEY_CURRENT_USER\\Software\\JavaSoft");
  EXPECT_STREQ(keys[24], "HKEY_CURRENT_USER\\Software\\Funk Software, Inc.");
  EXPECT_STREQ(keys[29], "HKEY_LOCAL_MACHINE\\SOFTWARE\\Hewlett-Packard\\DigitalImaging");
}

TEST(IgnoreFilter, KeyRowsBelowOrAboveAnIgnoredKeyGoValueRowsAboveItStay) {
  EXPECT_FALSE(Kept(Row(FixTag::Key, "HKEY_CURRENT_USER\\Software\\JavaSoft\\Prefs")));
  EXPECT_FALSE(Kept(Row(FixTag::Key, "HKEY_CURRENT_USER\\Software"))) << "deleting it would delete JavaSoft";
  EXPECT_TRUE(Kept(Row(FixTag::ValueInLocation, "HKEY_CURRENT_USER\\Software\\Setting")));
  EXPECT_FALSE(Kept(Row(FixTag::NamedValue, "HKEY_CURRENT_USER\\Software\\ThinPrint\\Client", "X")));
  EXPECT_FALSE(Kept(Row(FixTag::ValueInLocation, "HKEY_CURRENT_USER\\Software\\ThinPrint\\Client")))
      << "the value Client of the ignored key ThinPrint";
}

TEST(IgnoreFilter, EntriesMatchWholeKeyNamesWithoutRegardToCase) {
  EXPECT_TRUE(Kept(Row(FixTag::Key, "HKEY_CLASSES_ROOT\\.data")));
  EXPECT_FALSE(Kept(Row(FixTag::Key, "hkey_classes_root\\.dat\\shell")));
  EXPECT_FALSE(Kept(Row(FixTag::Key, "HKEY_CLASSES_ROOT\\.DAT")));
  // Substring, not prefix: the entry is found anywhere in the path.
  EXPECT_FALSE(Kept(Row(FixTag::Key, "HKEY_USERS\\x\\HKEY_CURRENT_USER\\Software\\Lexmark\\y")));
}

TEST(IgnoreFilter, AKeyIsIgnoredUnderEverySpellingOfIt) {
  const std::string sid = "S-1-5-21-7-8-9-1001";
  const std::string users = "HKEY_USERS\\" + sid;
  const struct {
    std::string entry, key;
  } pairs[] = {
      {"HKEY_CURRENT_USER\\Software\\Vendor", users + "\\Software\\Vendor"},
      {users + "\\Software\\Vendor", "HKEY_CURRENT_USER\\Software\\Vendor"},
      {"HKEY_CLASSES_ROOT\\.vnd", "HKEY_LOCAL_MACHINE\\Software\\Classes\\.vnd"},
      {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\.vnd", "HKEY_CLASSES_ROOT\\.vnd"},
      {"HKEY_CLASSES_ROOT\\.vnd", "HKEY_CURRENT_USER\\Software\\Classes\\.vnd"},
      {"HKEY_CURRENT_USER\\Software\\Classes\\.vnd", "HKEY_CLASSES_ROOT\\.vnd"},
      {"HKEY_CLASSES_ROOT\\.vnd", users + "\\Software\\Classes\\.vnd"},
      {"hkey_classes_root\\.VND", users + "_Classes\\.vnd"},
      {users + "_Classes\\.vnd", "HKEY_CLASSES_ROOT\\.vnd"},
  };
  for (const auto& pair : pairs) {
    SCOPED_TRACE(pair.entry + " / " + pair.key);
    // The same key under another spelling: a key below it, its value and
    // the key itself go; a sibling stays.
    const std::vector<Finding> rows = {Row(FixTag::Key, pair.key + "\\Sub"), Row(FixTag::ValueInLocation, pair.key + "\\v"),
                                       Row(FixTag::Key, pair.key), Row(FixTag::Key, pair.key + "2")};
    EXPECT_EQ(Survivors(rows, {pair.entry}, 1, sid), std::vector<std::string>{pair.key + "2|"});
  }
  // A key above the ignored one, under another spelling, would delete it too.
  EXPECT_TRUE(Survivors({Row(FixTag::Key, "HKEY_LOCAL_MACHINE\\Software\\Classes")}, {"HKEY_CLASSES_ROOT\\.vnd"}, 1,
                        sid)
                  .empty());
  EXPECT_TRUE(Survivors({Row(FixTag::Key, users + "\\Software")}, {"HKEY_CLASSES_ROOT\\.vnd"}, 1, sid).empty());
  // Another user's key, and a current user the system did not name, are not the same key.
  const Finding other = Row(FixTag::Key, "HKEY_USERS\\S-1-5-21-7-8-9-1002\\Software\\Vendor\\App");
  EXPECT_EQ(Survivors({other}, {"HKEY_CURRENT_USER\\Software\\Vendor"}, 1, sid).size(), 1u);
  EXPECT_EQ(Survivors({Row(FixTag::Key, users + "\\Software\\Vendor\\App")}, {"HKEY_CURRENT_USER\\Software\\Vendor"}, 1)
                .size(),
            1u);
  // The built-in entries count under every spelling as well.
  EXPECT_TRUE(Survivors({Row(FixTag::Key, users + "\\Software\\JavaSoft\\Prefs")}, {}, 0, sid).empty());
}

TEST(IgnoreFilter, EachTagNamesItsOwnPath) {
  const std::vector<std::string> user = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Keep"};
  // Tag 3: the subkey named by the shown text is what would go.
  EXPECT_FALSE(Kept(Row(FixTag::SubKey, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", "Keep"), user));
  EXPECT_TRUE(Kept(Row(FixTag::SubKey, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", "Keeper"), user));
  // Tags 5 and 6 name values, so a key above the entry stays.
  EXPECT_TRUE(Kept(Row(FixTag::DefaultValue, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"), user));
  EXPECT_FALSE(Kept(Row(FixTag::DefaultValue, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Keep"), user));
  EXPECT_TRUE(Kept(Row(FixTag::Rot13Value, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor", "abc"), user));
  EXPECT_FALSE(Kept(Row(FixTag::Rot13Value, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\Keep\\Sub", "abc"), user));
  // Tag 2 with an empty value name works like a key row.
  EXPECT_FALSE(Kept(Row(FixTag::NamedValue, "HKEY_LOCAL_MACHINE\\SOFTWARE", ""), user));
  // Tag 1 directly under a root: the path is the root alone, the value the rest.
  EXPECT_TRUE(Kept(Row(FixTag::ValueInLocation, "HKEY_LOCAL_MACHINE\\SOFTWARE"), user));
}

TEST(IgnoreFilter, RowsWithoutARegistryPathAlwaysStay) {
  const std::vector<std::string> user = {"C:\\Users", "HKEY_USERS"};
  EXPECT_TRUE(Kept(Row(FixTag::File, "C:\\Users\\me\\Desktop\\old.lnk"), user));
  EXPECT_TRUE(Kept(Row(7, "HKEY_USERS\\S-1-5-20"), user));
  EXPECT_TRUE(Kept(Row(-1, "HKEY_USERS\\S-1-5-20"), user));
  EXPECT_TRUE(Kept(Row(FixTag::Key, "HKEY_USERS"), user)) << "no backslash, no path";
  EXPECT_TRUE(Kept(Row(FixTag::Key, ""), user));
}

TEST(IgnoreFilter, SubKeyDirectlyUnderARootGetsTwoBackslashes) {
  // "HKEY_USERS\\S-1-5-20\" matches none of the "HKEY_USERS\S-1-5-20\..." entries.
  EXPECT_TRUE(Kept(Row(FixTag::SubKey, "HKEY_USERS\\", "S-1-5-20")));
  EXPECT_FALSE(Kept(Row(FixTag::SubKey, "HKEY_USERS\\", "S-1-5-20"), {"HKEY_USERS\\\\S-1-5-20"}));
}

TEST(IgnoreFilter, UserEntriesWorkWithOrWithoutTrailingBackslash) {
  const Finding inside = Row(FixTag::Key, "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\App");
  const Finding sibling = Row(FixTag::Key, "HKEY_LOCAL_MACHINE\\SOFTWARE\\VendorTwo");
  for (const std::string entry : {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor\\", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Vendor"}) {
    EXPECT_FALSE(Kept(inside, {entry})) << entry;
    EXPECT_TRUE(Kept(sibling, {entry})) << entry;
  }
  EXPECT_TRUE(Kept(inside)) << "an empty user list leaves only the built-in keys";
}

TEST(IgnoreFilter, UserListCountsOnlyItsFirstEntries) {
  const std::vector<Finding> rows = {Row(FixTag::Key, "HKEY_USERS\\A\\x"), Row(FixTag::Key, "HKEY_USERS\\B\\x"),
                                     Row(FixTag::Key, "HKEY_USERS\\C\\x")};
  const std::vector<std::string> user = {"HKEY_USERS\\A", "HKEY_USERS\\B"};
  EXPECT_EQ(Survivors(rows, user, 1), (std::vector<std::string>{"HKEY_USERS\\B\\x|", "HKEY_USERS\\C\\x|"}));
  EXPECT_EQ(Survivors(rows, user, 0).size(), 3u);
  EXPECT_EQ(Survivors(rows, user, -5).size(), 3u) << "a negative count reads no entry";
  EXPECT_EQ(Survivors(rows, user, 40), (std::vector<std::string>{"HKEY_USERS\\C\\x|"}))
      << "a count past the end uses what exists";
}

TEST(IgnoreFilter, EmptyUserEntriesMatchNothing) {
  const std::vector<Finding> rows = {Row(FixTag::Key, "HKEY_USERS\\A\\x"), Row(FixTag::NamedValue, "HKEY_USERS\\B", "v"),
                                     Row(FixTag::SubKey, "HKEY_USERS\\", "C")};
  EXPECT_EQ(Survivors(rows, {"", ""}, 2).size(), 3u);
  EXPECT_EQ(Survivors(rows, {"", "\\"}, 2).size(), 0u) << "a lone backslash lies in every path";
  const std::vector<Finding> file = {Row(FixTag::File, "C:\\gone.exe")};
  EXPECT_EQ(Survivors(file, {"\\"}, 1).size(), 1u) << "a row without a path stays";
  EXPECT_EQ(Survivors(rows, {"", "HKEY_USERS\\A"}, 2).size(), 2u) << "entries after an empty one still count";
}

TEST(IgnoreFilter, KeepsTheOrderOfTheRowsThatStay) {
  std::vector<Finding> rows;
  for (int i = 0; i < 6; ++i) {
    const bool ignored = i % 2 == 1;
    rows.push_back(Row(FixTag::NamedValue, ignored ? "HKEY_CURRENT_USER\\Software\\JavaSoft" : "HKEY_USERS\\k",
                       std::to_string(i)));
  }
  EXPECT_EQ(Survivors(rows), (std::vector<std::string>{"HKEY_USERS\\k|0", "HKEY_USERS\\k|2", "HKEY_USERS\\k|4"}));
}

TEST(IgnoreFilter, OddTextsInRowsAndEntries) {
  const std::vector<std::string> user = {"HKEY_CURRENT_USER\\Software\\\"Quoted\" Ünïcode"};
  EXPECT_FALSE(Kept(Row(FixTag::Key, "HKEY_CURRENT_USER\\Software\\\"quoted\" Ünïcode\\x"), user));
  // Non-ASCII letters are compared byte for byte: only ASCII case folds.
  EXPECT_TRUE(Kept(Row(FixTag::Key, "HKEY_CURRENT_USER\\Software\\\"Quoted\" ÜNÏCODE\\x"), user));
  EXPECT_TRUE(Kept(Row(FixTag::NamedValue, std::string("HKEY_USERS\\a\0b", 14), "\\\\")));
}

}  // namespace
}  // namespace lindqua::test
