// The console program's view of the settings: the same file and entries,
// and nothing on the disk changes.
#include <gtest/gtest.h>

#include "app/SettingsReadOnly.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"

namespace lindqua::test {

namespace {

constexpr const char* AppData = "C:\\Users\\Ann\\AppData\\Roaming";
constexpr const char* UserFolder = "C:\\Users\\Ann\\AppData\\Roaming\\Vantorel";
constexpr const char* UserFile = "C:\\Users\\Ann\\AppData\\Roaming\\Vantorel\\Lindqua\\Settings.ini";
constexpr const char* SeedFile = "C:\\Prog\\Settings.ini";

class SettingsReadOnlyTest : public ::testing::Test {
 protected:
  SettingsReadOnlyTest() {
    files.AddFolder(AppData);
    files.AddFolder("C:\\Prog");
    files.SetSpecialFolder(SpecialFolder::AppData, AppData);
  }
  ReadOnlySettings Read(std::string_view path = {}) { return LoadSettingsReadOnly(files, ini, "C:\\Prog", path); }

  MemoryFileSystem files;
  PortableIniFiles ini{files};
};

}  // namespace

TEST_F(SettingsReadOnlyTest, NoFileAnywhereGivesDefaultsAndCreatesNothing) {
  const ReadOnlySettings settings = Read();
  EXPECT_FALSE(settings.found);
  EXPECT_EQ(settings.path, UserFile);
  EXPECT_FALSE(files.DirectoryExists(UserFolder));
  EXPECT_EQ(settings.options.BackupFolder, "C:\\Prog\\Backup");
  EXPECT_TRUE(settings.options.IgnoreRemovableDrive);
  std::vector<int> all;
  for (int id = 3; id <= 25; ++id) all.push_back(id);
  EXPECT_EQ(CheckedSectionsInTreeOrder(settings.options), all);
}

TEST_F(SettingsReadOnlyTest, ReadsTheUserFileElseTheSeedWithoutCopyingIt) {
  ASSERT_TRUE(files.WriteWholeFile(SeedFile, "[NodeSelected]\r\n3=0\r\n25=0\r\n1=0\r\n2=0\r\n"));
  ReadOnlySettings settings = Read();
  EXPECT_TRUE(settings.found);
  EXPECT_EQ(settings.path, SeedFile);
  EXPECT_FALSE(files.DirectoryExists(UserFolder)) << "the seed is not copied";
  const std::vector<int> sections = CheckedSectionsInTreeOrder(settings.options);
  EXPECT_EQ(sections.front(), 4) << "the root and the group are no sections";
  EXPECT_EQ(sections.back(), 24);
  EXPECT_EQ(sections.size(), 21u);

  ASSERT_TRUE(files.ForceDirectories("C:\\Users\\Ann\\AppData\\Roaming\\Vantorel\\Lindqua"));
  ASSERT_TRUE(files.WriteWholeFile(UserFile, "[NodeSelected]\r\n3=1\r\n4=0\r\n[IgnoreKey]\r\nCount=1\r\nKey1=k\r\n"));
  settings = Read();
  EXPECT_EQ(settings.path, UserFile);
  EXPECT_EQ(CheckedSectionsInTreeOrder(settings.options).front(), 3);
  EXPECT_EQ(settings.options.IgnoreKeys, std::vector<std::string>{"k"});
}

TEST_F(SettingsReadOnlyTest, ANamedFileIsReadAsItIs) {
  ASSERT_TRUE(files.WriteWholeFile("C:\\other.ini", "[Settings]\r\nBackupFolder=D:\\B\r\n"));
  files.FailWritesTo("C:\\other.ini");
  const ReadOnlySettings settings = Read("C:\\other.ini");
  EXPECT_TRUE(settings.found);
  EXPECT_EQ(settings.options.BackupFolder, "D:\\B");

  const ReadOnlySettings missing = Read("C:\\missing.ini");
  EXPECT_FALSE(missing.found);
  EXPECT_EQ(missing.options.BackupFolder, "C:\\Prog\\Backup");
  EXPECT_FALSE(files.FileExists("C:\\missing.ini"));
}

}  // namespace lindqua::test
