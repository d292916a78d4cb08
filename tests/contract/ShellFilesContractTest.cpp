// Shortcut targets and the Recycle Bin, the same over memory and over Win32.
#include "contract/PlatformUnderTest.h"

namespace lindqua::test {

TEST_P(FilesContract, ShortcutsGiveBackTheTargetTheyStore) {
  const std::string scratch = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFolder(scratch + "\\Present"));
  ASSERT_TRUE(under->MakeFile(scratch + "\\Present\\app.exe", 3));
  ASSERT_TRUE(under->MakeFile(scratch + "\\plain.lnk", 3));
  const std::string targets[] = {scratch + "\\Gone\\app.exe", scratch + "\\Present", scratch + "\\Present\\app.exe"};
  // One session for several shortcuts, as the shortcut walk holds it.
  const auto session = Files().BeginShellSession();
  for (std::size_t i = 0; i < std::size(targets); ++i) {
    const std::string link = scratch + "\\link" + std::to_string(i) + ".lnk";
    ASSERT_TRUE(under->MakeShortcut(link, targets[i])) << link;
    EXPECT_EQ(Files().ShortcutTarget(link), targets[i]) << link;
  }
  EXPECT_EQ(Files().ShortcutTarget(scratch + "\\missing.lnk"), std::nullopt);
  EXPECT_EQ(Files().ShortcutTarget(scratch + "\\Present"), std::nullopt);
  EXPECT_EQ(Files().ShortcutTarget(scratch + "\\plain.lnk").value_or(""), "") << "a file that is no shortcut";
}

TEST_P(FilesContract, RecyclingTakesExactlyTheOneFileNamed) {
  using Result = FileSystem::RecycleResult;
  const std::string scratch = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFile(scratch + "\\a.lnk", 3));
  ASSERT_TRUE(under->MakeFile(scratch + "\\b.lnk", 3));
  ASSERT_TRUE(under->MakeFolder(scratch + "\\Sub"));
  ASSERT_TRUE(under->MakeFile(scratch + "\\Sub\\c.lnk", 3));
  const struct {
    std::string path;
    Result expected;
  } refusals[] = {
      {scratch + "\\*.lnk", Result::NotAFile},         {scratch + "\\?.lnk", Result::NotAFile},
      {scratch + "\\Sub", Result::NotAFile},           {scratch + "\\Sub\\", Result::NotAFile},
      {"a.lnk", Result::NotAFile},                     {"", Result::NotAFile},
      {scratch + "\\missing.lnk", Result::NotThere},   {"\\\\server\\share\\a.lnk", Result::NoRecycleBin},
  };
  for (const auto& c : refusals) EXPECT_EQ(Files().RecycleFile(c.path), c.expected) << c.path;
  EXPECT_TRUE(Files().FileExists(scratch + "\\a.lnk"));
  EXPECT_TRUE(Files().FileExists(scratch + "\\b.lnk"));
  EXPECT_TRUE(Files().FileExists(scratch + "\\Sub\\c.lnk"));

  ASSERT_TRUE(under->RecycleBinIsPrivate()) << "recycling here would fill the Recycle Bin of whoever runs the tests";
  EXPECT_EQ(Files().RecycleFile(scratch + "\\a.lnk"), Result::Recycled);
  EXPECT_FALSE(Files().FileExists(scratch + "\\a.lnk"));
  EXPECT_TRUE(under->InRecycleBin(scratch + "\\a.lnk"));
  EXPECT_TRUE(Files().FileExists(scratch + "\\b.lnk"));
  EXPECT_FALSE(under->InRecycleBin(scratch + "\\b.lnk"));
}

}  // namespace lindqua::test
