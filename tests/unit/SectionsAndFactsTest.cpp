#include <gtest/gtest.h>

#include <set>

#include "app/OptionsSetting.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/SystemFacts.h"

namespace lindqua::test {

TEST(ScanSections, TableCoversThreeToTwentyFiveWithDistinctScanners) {
  std::set<Scanner> scanners;
  int expected = 3;
  for (const auto& s : ScanSections()) {
    EXPECT_EQ(s.id, expected++);
    EXPECT_EQ(FindScanSection(s.id), &s);
    scanners.insert(ScannerForSection(s.id));
  }
  EXPECT_EQ(expected, 26);
  EXPECT_EQ(scanners.size(), 23u);
  for (int id : {-1, 0, 1, 2, 26, 100}) {
    EXPECT_EQ(FindScanSection(id), nullptr);
    EXPECT_EQ(ScannerForSection(id), nullptr);
  }
  // The hive sweeps pick their skip rules by these texts, so they must agree.
  for (int id : {3, 4, 5, 6}) EXPECT_EQ(FindScanSection(id)->issueCaption, IssueMissingFileOrFolder);
  EXPECT_EQ(FindScanSection(5)->statusText, StatusScanningLocalMachine);
  EXPECT_EQ(FindScanSection(4)->statusText, StatusScanningCurrentUser);
  EXPECT_EQ(FindScanSection(22)->statusText, nullptr);
  EXPECT_STREQ(FindScanSection(8)->statusText, FindScanSection(10)->statusText);
  EXPECT_STREQ(FindScanSection(21)->issueCaption, "Installer Refrence Issue");
}

TEST(WindowsVersionCode, WholeTable) {
  struct Row {
    std::uint32_t platform, major, minor;
    int code;
  } rows[] = {
      {2, 3, 51, 5},  {2, 4, 0, 6},   {2, 5, 0, 7},   {2, 5, 1, 9},  {2, 5, 2, 10}, {2, 5, 3, 7},
      {2, 6, 0, 11},  {2, 6, 1, 11},  {2, 6, 3, 11},  {2, 10, 0, 10}, {2, 7, 0, 10}, {2, 2, 0, 10},
      {1, 4, 0, 1},   {1, 4, 10, 3},  {1, 4, 90, 8},  {1, 4, 5, 10}, {1, 5, 0, 10}, {0, 4, 0, 1},
      {3, 4, 10, 3},
  };
  for (const auto& r : rows)
    EXPECT_EQ(WindowsVersionCode(OsVersion{r.platform, r.major, r.minor}), r.code)
        << r.platform << " " << r.major << "." << r.minor;
}

TEST(OptionsSetting, IsZeroBeforeLoading) {
  const TOptionsSetting fresh;
  EXPECT_FALSE(OptionsSetting.IgnoreRemovableDrive);
  EXPECT_FALSE(OptionsSetting.CreateRestore);
  EXPECT_TRUE(OptionsSetting.BackupFolder.empty());
  EXPECT_TRUE(OptionsSetting.LastFix.empty());
  for (bool selected : fresh.NodeSelected) EXPECT_FALSE(selected);
  EXPECT_EQ(fresh.IgnoreKeyCount, 0);
  EXPECT_EQ(fresh.WindowState, 0);
}

}  // namespace lindqua::test

#include "engine/Rot13.h"

namespace lindqua::test {

TEST(Rot13, RotatesAsciiLettersOnlyAndIsItsOwnInverse) {
  EXPECT_EQ(Rot13("Hello, World! 123"), "Uryyb, Jbeyq! 123");
  EXPECT_EQ(Rot13("Zz Aa \xC3\xBC"), "Mm Nn \xC3\xBC");
  EXPECT_EQ(Rot13(Rot13("C:\\Program Files\\x.exe")), "C:\\Program Files\\x.exe");
}

}  // namespace lindqua::test
