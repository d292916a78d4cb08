#include <gtest/gtest.h>

#include "app/RegGlobal.h"
#include "platform/TRegistry.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"

namespace lindqua::test {

TEST(RegGlobal, TwoDigits) {
  EXPECT_EQ(TwoDigits(0), "00");
  EXPECT_EQ(TwoDigits(9), "09");
  EXPECT_EQ(TwoDigits(10), "10");
  EXPECT_EQ(TwoDigits(123), "123");
}

TEST(RegGlobal, SettingsBaseFolderEndsInOneBackslash) {
  MemoryFileSystem files;
  files.SetSpecialFolder(SpecialFolder::AppData, "C:\\Data");
  EXPECT_EQ(GetSettingsBaseFolder(files), "C:\\Data\\");
  files.SetSpecialFolder(SpecialFolder::AppData, "C:\\Data\\");
  EXPECT_EQ(GetSettingsBaseFolder(files), "C:\\Data\\");
  files.SetSpecialFolder(SpecialFolder::AppData, "");
  EXPECT_EQ(GetSettingsBaseFolder(files), "");
}

TEST(RegGlobal, DeletePathRemovesAFileOrAFolderWithItsContents) {
  MemoryFileSystem files;
  ASSERT_TRUE(files.AddFile("C:\\Backup\\one.reg", 10));
  ASSERT_TRUE(files.AddFile("C:\\Backup\\Old\\two.reg", 10));
  ASSERT_TRUE(files.AddFile("C:\\Keep\\three.reg", 10));
  EXPECT_TRUE(DeletePath(files, "C:\\Backup\\one.reg"));
  EXPECT_FALSE(files.FileExists("C:\\Backup\\one.reg"));
  EXPECT_TRUE(files.DirectoryExists("C:\\Backup\\Old"));
  EXPECT_TRUE(DeletePath(files, "C:\\Backup"));
  EXPECT_FALSE(files.DirectoryExists("C:\\Backup"));
  EXPECT_TRUE(files.FileExists("C:\\Keep\\three.reg"));
  EXPECT_FALSE(DeletePath(files, "C:\\Backup"));
}

TEST(RegGlobal, WriteUserRegStringCreatesTheKeyAndFailsSilently) {
  MemoryRegistry registry;
  const std::string path = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";
  WriteUserRegString(registry, path, "LastKey", "My Computer\\HKEY_CURRENT_USER\\S\xC3\xBC\"d");
  TRegistry reg(registry);
  reg.SetRootKey(RootKey::CurrentUser);
  ASSERT_TRUE(reg.OpenKey(path, false));
  EXPECT_EQ(reg.ReadString("LastKey"), "My Computer\\HKEY_CURRENT_USER\\S\xC3\xBC\"d");
  reg.CloseKey();

  WriteUserRegString(registry, "Software\\Locked", "v", "x");
  // A key that opens but refuses values: the write fails and nothing escapes.
  ASSERT_TRUE(registry.DenyAccess(RootKey::CurrentUser, "Software\\Locked", RegAccess::SetValue));
  WriteUserRegString(registry, "Software\\Locked", "w", "y");
  reg.Access = RegAccess::Read;
  ASSERT_TRUE(reg.OpenKey("Software\\Locked", false));
  EXPECT_TRUE(reg.ValueExists("v"));
  EXPECT_FALSE(reg.ValueExists("w"));
  EXPECT_EQ(Rot13("abc"), "nop") << "the helpers' header carries the one Rot13";
}

}  // namespace lindqua::test
