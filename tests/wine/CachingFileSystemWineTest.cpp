// The existence cache over the Win32 file system gives Windows' own answers,
// also for the paths Windows does not read as written.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <stop_token>

#include "engine/FileReferenceCheck.h"
#include "platform/CachingFileSystem.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"

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
      "C:\\windows\\notepad.exe", "C:\\windows\\no-such-file.exe", "C:\\PROGRA~1", "c:\\users",
      "C:\\windows\\sysnative", "C:\\windows\\Sysnative\\notepad.exe", "C:\\windows\\system32\\drivers\\etc",
      "C:\\windows\\system32\\drivers\\etc\\hosts", "C:\\windows\\syswow64\\notepad.exe"};
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

namespace {

// The file reference check over the Win32 platform, straight or through the
// existence cache, as a scan would run it on drive C:.
class WineCheck {
 public:
  explicit WineCheck(bool cached)
      : cache_(files_),
        scan_(ScanPlatform{registry_, cached ? static_cast<FileSystem&>(cache_) : files_, facts_},
              ScanSink(model_, stop_.get_token())) {
    scan_.DriveLetters = "c";
    scan_.UnderWow64 = IsWow64(facts_);
  }
  bool Missing(const std::string& text, std::string_view cutAt = "") {
    return IsMissingFile(scan_, text, cutAt, false, scan_.DriveLetters);
  }
  Win32FileSystem& Files() { return files_; }
  FileSystem& Asked() { return scan_.Files(); }

 private:
  Win32Registry registry_;
  Win32FileSystem files_;
  Win32SystemFacts facts_;
  CachingFileSystem cache_;
  ResultsModel model_;
  std::stop_source stop_;
  ScanContext scan_;
};

// Deletes a path the test made, also when it fails half-way.
struct MadePath {
  Win32FileSystem& files;
  std::string path;
  ~MadePath() { files.DeletePath(path); }
};

}  // namespace

TEST(CachingFileSystemWine, AFileReachedThroughSysnativeIsNotMissing) {
  Win32SystemFacts facts;
  if (!IsWow64(facts)) {
    const char* expected = std::getenv("LINDQUA_EXPECT_WOW64");
    ASSERT_FALSE(expected && std::string(expected) == "1") << "the win64 prefix must run this under WOW64";
    GTEST_SKIP() << "only a 32-bit program on 64-bit Windows reaches the system folder as Sysnative";
  }
  const std::string name = "lindqua-sysnative-" + std::to_string(::GetCurrentProcessId()) + ".dll";
  for (bool cached : {false, true}) {
    WineCheck check(cached);
    MadePath made{check.Files(), "C:\\Windows\\Sysnative\\" + name};
    ASSERT_TRUE(check.Files().WriteWholeFile(made.path, "x"));
    ASSERT_FALSE(check.Files().FileExists("C:\\Windows\\System32\\" + name)) << "System32 leads to the 32-bit side";
    // Ask about the Windows folder first, so that a cache holds its listing,
    // which has no Sysnative in it.
    ASSERT_TRUE(check.Missing("C:\\Windows\\lindqua-no-such-file.dll"));
    EXPECT_TRUE(check.Asked().FileExists(made.path)) << "cached " << cached;
    EXPECT_FALSE(check.Missing(made.path + ",1", ".dll")) << "cached " << cached;
    EXPECT_FALSE(check.Missing(made.path)) << "cached " << cached;
    EXPECT_FALSE(check.Missing("c:\\windows\\SYSNATIVE\\" + name + " /x")) << "cached " << cached;
    EXPECT_TRUE(check.Missing("C:\\Windows\\Sysnative\\lindqua-no-such-file.dll")) << "cached " << cached;
  }
}

TEST(CachingFileSystemWine, AStemCompletedInItsFolderIsNotMissing) {
  for (bool cached : {false, true}) {
    WineCheck check(cached);
    MadePath made{check.Files(), "C:\\lindqua-stem-" + std::to_string(::GetCurrentProcessId())};
    ASSERT_TRUE(check.Files().ForceDirectories(made.path + "\\en-US\\Sub.d"));
    ASSERT_TRUE(check.Files().WriteWholeFile(made.path + "\\en-US\\M1033David.APM", "x"));
    ASSERT_TRUE(check.Files().WriteWholeFile(made.path + "\\en-US\\M1033David.INI", "x"));
    EXPECT_FALSE(check.Missing(made.path + "\\en-US\\M1033David")) << "cached " << cached;
    EXPECT_FALSE(check.Missing(made.path + "\\EN-US\\m1033david;")) << "cached " << cached;
    EXPECT_TRUE(check.Missing(made.path + "\\en-US\\M1033")) << "cached " << cached;
    EXPECT_TRUE(check.Missing(made.path + "\\en-US\\Sub")) << "cached " << cached;
    EXPECT_TRUE(check.Missing(made.path + "\\Gone\\M1033David")) << "cached " << cached;
  }
}

}  // namespace lindqua::test
