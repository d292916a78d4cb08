#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/ProgramFolder.h"
#include "platform/win32/Win32FileSystem.h"

namespace lindqua::test {

TEST(ProgramFolder, IsTheTestProgramsFolderWithATrailingBackslash) {
  const std::string folder = GetProgramFolder();
  ASSERT_FALSE(folder.empty());
  EXPECT_EQ(folder.back(), '\\');
  Win32FileSystem files;
  EXPECT_TRUE(files.FileExists(folder + "lindqua_wine_tests.exe")) << folder;
}

}  // namespace lindqua::test
