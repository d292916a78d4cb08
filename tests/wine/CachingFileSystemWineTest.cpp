// The existence cache over the Win32 file system gives Windows' own answers,
// also for the paths Windows does not read as written.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/CachingFileSystem.h"
#include "platform/win32/Win32FileSystem.h"

namespace lindqua::test {

TEST(CachingFileSystemWine, AnswersAreThoseOfWindows) {
  Win32FileSystem files;
  const std::string dir = "C:\\lindqua-cache-" + std::to_string(::GetCurrentProcessId());
  ASSERT_TRUE(files.ForceDirectories(dir + "\\Sub"));
  ASSERT_TRUE(files.WriteWholeFile(dir + "\\app.exe", "x"));
  ASSERT_TRUE(files.WriteWholeFile(dir + "\\File", "x"));
  ASSERT_TRUE(files.WriteWholeFile(dir + "\\.hidden", "x"));
  ASSERT_TRUE(files.ForceDirectories(dir + "\\Long Folder Name"));
  ASSERT_TRUE(files.ForceDirectories(dir + "\\Gr\xC3\xBC\xC3\x9F\x65"));
  ASSERT_TRUE(files.WriteWholeFile(dir + "\\Gr\xC3\xBC\xC3\x9F\x65\\x.txt", "x"));
  const std::vector<std::string> paths = {
      dir + "\\app.exe", dir + "\\APP.EXE", dir + "\\app.exe\\", dir + "\\app.exe.", dir + "\\app.exe  ",
      dir + "\\app.exe. .", dir + "\\Sub", dir + "\\Sub\\", dir + "\\Sub\\..\\app.exe", dir + "/app.exe",
      dir + "\\\\app.exe", dir + "\\Gone", dir + "\\Gone\\", dir + "\\Gone\\app.exe", dir + "\\Gone\\..\\app.exe",
      dir + "\\Gone\\.\\x", dir + "\\Gone.\\x", dir + "\\Gone \\x", dir + "\\Gone\\CON", dir + "\\Gone\\nul",
      dir + "\\Gone\\nul.txt", dir + "\\Gone\\COM1", dir + "\\Gone\\a:b", dir + "\\File\\x",
      dir + "\\File\\..\\app.exe", dir + "\\Sub.\\..\\app.exe", "Q:\\x", "C:", "C", "NUL", "C:\\windows",
      dir + "\\app*.exe", dir + "\\.hidden", dir + "\\.HIDDEN", dir + "\\LONGFO~1", dir + "\\Long Folder Name\\x",
      dir + "\\Gr\xC3\xBC\xC3\x9F\x65\\x.txt", dir + "\\GR\xC3\x9C\xC3\x9F\x45\\X.TXT", dir + "\\Gr\xC3\xBC\xC3\x9F\x65\\y.txt",
      dir + "\\Sub\\", dir + "\\Sub\\x", dir + "\\apP.exE", dir + "\\Gone\\\\x", "C:\\", "C:\\WINDOWS\\", "C:\\windows\\system32",
      "C:\\windows\\notepad.exe", "C:\\windows\\no-such-file.exe", "C:\\PROGRA~1", "c:\\users"};
  CachingFileSystem cache(files);
  for (int round = 0; round < 2; ++round) {
    for (std::size_t k = 0; k < paths.size(); ++k) {
      const std::string& path = round == 0 ? paths[k] : paths[paths.size() - 1 - k];
      EXPECT_EQ(cache.FileExists(path), files.FileExists(path)) << path;
      EXPECT_EQ(cache.DirectoryExists(path), files.DirectoryExists(path)) << path;
    }
  }
  files.DeletePath(dir);
}

}  // namespace lindqua::test
