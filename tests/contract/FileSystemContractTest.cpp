// What the engine relies on from the file system, checked on every implementation.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/PlatformUnderTest.h"

namespace lindqua::test {

TEST_P(FilesContract, FilesAndFoldersAreTellApart) {
  const std::string dir = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFolder(dir + "\\Sub"));
  ASSERT_TRUE(under->MakeFile(dir + "\\Sub\\file.txt", 3));
  auto& fs = Files();
  EXPECT_TRUE(fs.FileExists(dir + "\\Sub\\file.txt"));
  EXPECT_TRUE(fs.FileExists(UpperCase(dir + "\\Sub\\file.txt"))) << "names match without case";
  EXPECT_TRUE(fs.FileExists(dir + "/Sub/file.txt")) << "forward slashes separate too";
  EXPECT_FALSE(fs.FileExists(dir + "\\Sub"));
  EXPECT_FALSE(fs.FileExists(dir + "\\Sub\\"));
  EXPECT_FALSE(fs.FileExists(dir + "\\Sub\\file.txt\\"));
  EXPECT_FALSE(fs.FileExists(dir + "\\Sub\\missing.txt"));
  EXPECT_TRUE(fs.DirectoryExists(dir + "\\Sub"));
  EXPECT_TRUE(fs.DirectoryExists(dir + "\\Sub\\"));
  EXPECT_FALSE(fs.DirectoryExists(dir + "\\Sub\\file.txt"));
  EXPECT_FALSE(fs.DirectoryExists(dir + "\\Gone\\"));
  EXPECT_TRUE(fs.DirectoryExists("C:\\"));
  EXPECT_TRUE(fs.FileExists(dir + "\\Sub\\.\\..\\Sub\\file.txt"));
  EXPECT_FALSE(fs.FileExists(""));
  EXPECT_FALSE(fs.DirectoryExists(""));
}

TEST_P(FilesContract, OddPathsAreNeverFoundAndUnansweredOnesNeverMissing) {
  const std::string dir = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFile(dir + "\\app.exe", 1));
  auto& fs = Files();
  for (const std::string& path : {dir + "\\app.exe\"", dir + "\\app*.exe", dir + "\\app?exe", dir + "\\app.exe|x",
                                 dir + "\\<app>.exe", "\"" + dir + "\\app.exe\""}) {
    EXPECT_FALSE(fs.FileExists(path)) << path;
  }
  EXPECT_TRUE(fs.FileExists(dir + "\\app.exe.")) << "a trailing dot is dropped";
  EXPECT_TRUE(fs.FileExists(dir + "\\app.exe  ")) << "trailing blanks are dropped";
  // A share whose server does not answer may be away only for now: the
  // system cannot say, so the path is not taken for missing.
  const std::string share = "\\\\nosuchserver\\share\\app.exe";
  EXPECT_TRUE(fs.FileExists(share));
  EXPECT_TRUE(fs.DirectoryExists(share));
  EXPECT_EQ(fs.KindOf(share), FileSystem::PathKind::Unsure);
}

TEST_P(FilesContract, ListsFolderEntriesWithoutDots) {
  const std::string dir = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFolder(dir + "\\List\\Inner"));
  ASSERT_TRUE(under->MakeFile(dir + "\\List\\a.lnk", 10));
  auto entries = Files().ListFolder(dir + "\\List");
  std::sort(entries.begin(), entries.end(), [](auto& a, auto& b) { return a.name < b.name; });
  ASSERT_EQ(entries.size(), 2u);
  EXPECT_EQ(entries[0].name, "Inner");
  EXPECT_TRUE(entries[0].isDirectory);
  EXPECT_EQ(entries[1].name, "a.lnk");
  EXPECT_FALSE(entries[1].isDirectory);
  EXPECT_EQ(entries[1].size, 10u);
  EXPECT_TRUE(Files().ListFolder(dir + "\\Missing").empty());
}

TEST_P(FilesContract, SpecialFoldersAreExistingFoldersOrNothing) {
  auto& fs = Files();
  const std::string fonts = fs.GetSpecialFolder(SpecialFolder::Fonts);
  ASSERT_FALSE(fonts.empty());
  EXPECT_EQ(fonts.find(":\\"), 1u) << fonts << ": a full path on a drive";
  EXPECT_NE(fonts.back(), '\\') << fonts;
  EXPECT_TRUE(fs.DirectoryExists(fonts)) << fonts;
  constexpr int ControlPanel = 0x0003;  // a shell folder that is not on disk
  EXPECT_EQ(fs.GetSpecialFolder(ControlPanel), "");
  EXPECT_EQ(fs.GetSpecialFolder(0x7F), "") << "an id the shell does not know";
}

TEST_P(FilesContract, StemFilesAreFilesNamedAfterTheStemPlusAnExtension) {
  const std::string dir = under->ScratchFolder();
  ASSERT_TRUE(under->MakeFolder(dir + "\\Voice\\Sub.d"));
  ASSERT_TRUE(under->MakeFile(dir + "\\Voice\\M1033David.APM", 1));
  ASSERT_TRUE(under->MakeFile(dir + "\\Voice\\Bare", 1));
  ASSERT_TRUE(under->MakeFile(dir + "\\Voice\\a.b.c", 1));
  struct Case {
    std::string folder;
    const char* stem;
    bool found;
  };
  for (const Case& c : std::initializer_list<Case>{
           {dir + "\\Voice", "M1033David", true},
           {dir + "\\VOICE\\", "m1033david", true},
           {dir + "\\Voice", "M1033", false},
           {dir + "\\Voice", "M1033David.APM", false},
           {dir + "\\Voice", "Bare", false},
           {dir + "\\Voice", "Sub", false},
           {dir + "\\Voice", "a", true},
           {dir + "\\Voice", "a.b", true},
           {dir + "\\Voice", "M*", false},
           {dir + "\\Voice", "M1033David.", false},
           {dir + "\\Voice", "", false},
           {dir + "\\Gone", "M1033David", false},
       }) {
    EXPECT_EQ(Files().StemFileExists(c.folder, c.stem), c.found) << c.folder << " " << c.stem;
  }
}

TEST_P(FilesContract, DriveTypes) {
  EXPECT_EQ(Files().DriveTypeOf('C'), DriveType::Fixed);
  EXPECT_EQ(Files().DriveTypeOf('c'), DriveType::Fixed);
  EXPECT_EQ(Files().DriveTypeOf('Q'), DriveType::NoRootDir);
  EXPECT_TRUE(Files().VolumeReady('C'));
  EXPECT_FALSE(Files().VolumeReady('Q'));
}

TEST_P(FilesContract, ExpandsKnownVariablesAndKeepsUnknownOnes) {
  under->SetVariable("LINDQUA_DIR", "C:\\Lq");
  auto& fs = Files();
  EXPECT_EQ(fs.ExpandEnvironment("%LINDQUA_DIR%\\x.exe"), "C:\\Lq\\x.exe");
  EXPECT_EQ(fs.ExpandEnvironment("%lindqua_dir%"), "C:\\Lq");
  EXPECT_EQ(fs.ExpandEnvironment("%LINDQUA_NOPE%\\x"), "%LINDQUA_NOPE%\\x");
  EXPECT_EQ(fs.ExpandEnvironment("100% sure"), "100% sure");
  EXPECT_EQ(fs.ExpandEnvironment("a%LINDQUA_DIR%b%LINDQUA_NOPE%c"), "aC:\\Lqb%LINDQUA_NOPE%c");
}

TEST_P(FilesContract, CreatesCopiesAndDeletes) {
  const std::string dir = under->ScratchFolder();
  auto& fs = Files();
  ASSERT_TRUE(fs.ForceDirectories(dir + "\\Made\\Deeper\\Still"));
  EXPECT_TRUE(fs.DirectoryExists(dir + "\\Made\\Deeper\\Still"));
  ASSERT_TRUE(under->MakeFile(dir + "\\Made\\src.txt", 5));
  EXPECT_TRUE(fs.CopyFileTo(dir + "\\Made\\src.txt", dir + "\\Made\\Deeper\\dst.txt", true));
  EXPECT_FALSE(fs.CopyFileTo(dir + "\\Made\\src.txt", dir + "\\Made\\Deeper\\dst.txt", true));
  EXPECT_TRUE(fs.CopyFileTo(dir + "\\Made\\src.txt", dir + "\\Made\\Deeper\\dst.txt", false));
  EXPECT_FALSE(fs.CopyFileTo(dir + "\\Made\\none.txt", dir + "\\Made\\x.txt", false));
  EXPECT_TRUE(fs.DeletePath(dir + "\\Made\\src.txt"));
  EXPECT_FALSE(fs.FileExists(dir + "\\Made\\src.txt"));
  EXPECT_TRUE(fs.DeletePath(dir + "\\Made"));
  EXPECT_FALSE(fs.DirectoryExists(dir + "\\Made"));
  EXPECT_FALSE(fs.FileExists(dir + "\\Made\\Deeper\\dst.txt"));
}

TEST_P(FilesContract, MoveFileReplacingPutsTheWholeNewFileInPlaceOrNothing) {
  const std::string dir = under->ScratchFolder();
  auto& fs = Files();
  const std::string target = dir + "\\Settings.ini";
  const std::string temporary = dir + "\\Settings.ini.saving";
  std::string read;

  ASSERT_TRUE(fs.WriteWholeFile(temporary, "first"));
  ASSERT_TRUE(fs.MoveFileReplacing(temporary, target)) << "a missing target is created";
  ASSERT_TRUE(fs.WriteWholeFile(temporary, "second"));
  ASSERT_TRUE(fs.MoveFileReplacing(temporary, target)) << "an existing target is replaced";
  EXPECT_FALSE(fs.FileExists(temporary));
  ASSERT_TRUE(fs.ReadWholeFile(target, read));
  EXPECT_EQ(read, "second");

  // Refused moves leave the target as it was.
  EXPECT_FALSE(fs.MoveFileReplacing(dir + "\\missing.tmp", target));
  EXPECT_FALSE(fs.MoveFileReplacing(temporary, target)) << "the source went with the last move";
  ASSERT_TRUE(under->MakeFolder(dir + "\\IsFolder"));
  ASSERT_TRUE(fs.WriteWholeFile(temporary, "third"));
  EXPECT_FALSE(fs.MoveFileReplacing(temporary, dir + "\\IsFolder"));
  EXPECT_FALSE(fs.MoveFileReplacing(temporary, dir + "\\NoFolder\\x.ini"));
  EXPECT_TRUE(fs.DirectoryExists(dir + "\\IsFolder"));
  EXPECT_TRUE(fs.FileExists(temporary));
  ASSERT_TRUE(fs.ReadWholeFile(target, read));
  EXPECT_EQ(read, "second");
}


}  // namespace lindqua::test

namespace lindqua::test {

TEST_P(FilesContract, WholeFilesAndFlushedAppends) {
  const std::string dir = under->ScratchFolder();
  auto& fs = Files();
  const std::string path = dir + "\\data.reg";
  const std::string binary("REGEDIT4\r\n\0\xFF\x80 end", 16);
  ASSERT_TRUE(fs.WriteWholeFile(path, binary));
  std::string read;
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, binary);
  ASSERT_TRUE(fs.AppendAndFlush(path, "\r\nmore"));
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, binary + "\r\nmore");
  EXPECT_EQ(fs.FileSize(path), binary.size() + 6);
  EXPECT_EQ(fs.FileSize(dir), std::nullopt) << "a folder has no file size";
  EXPECT_EQ(fs.FileSize(dir + "\\missing.txt"), std::nullopt);
  ASSERT_TRUE(fs.WriteWholeFile(path, "short"));
  ASSERT_TRUE(fs.ReadWholeFile(path, read));
  EXPECT_EQ(read, "short") << "a whole write replaces the old content";
  EXPECT_TRUE(fs.AppendAndFlush(dir + "\\new.txt", "x")) << "append creates a missing file";
  EXPECT_FALSE(fs.AppendAndFlush(dir + "\\NoFolder\\x.txt", "x"));
  EXPECT_FALSE(fs.WriteWholeFile(dir + "\\NoFolder\\x.txt", "x"));
  EXPECT_FALSE(fs.ReadWholeFile(dir + "\\missing.txt", read));
  ASSERT_TRUE(under->MakeFolder(dir + "\\IsFolder"));
  EXPECT_FALSE(fs.WriteWholeFile(dir + "\\IsFolder", "x"));
  EXPECT_FALSE(fs.ReadWholeFile(dir + "\\IsFolder", read));
}

// A failed write names the system's error, the code first, so that a message
// built on it says why; a success names none.
TEST_P(FilesContract, FailedWriteSaysWhy) {
  const std::string dir = under->ScratchFolder();
  auto& fs = Files();
  ASSERT_TRUE(under->MakeFolder(dir + "\\Folder"));
  const struct {
    std::string path;
    std::string codePrefix;
  } cases[] = {{dir + "\\NoFolder\\x.txt", "error 3: "}, {dir + "\\Folder", "error 5: "}};
  for (const auto& c : cases) {
    const FileSystem::WriteOutcome outcome = fs.WriteWholeFileWithReason(c.path, "x");
    EXPECT_FALSE(outcome.ok) << c.path;
    EXPECT_EQ(outcome.error.rfind(c.codePrefix, 0), 0u) << c.path << ": " << outcome.error;
    EXPECT_GT(outcome.error.size(), c.codePrefix.size()) << "the code alone says nothing to a reader";
    EXPECT_EQ(outcome.error.find('\n'), std::string::npos) << outcome.error;
  }
  const FileSystem::WriteOutcome written = fs.WriteWholeFileWithReason(dir + "\\ok.txt", "x");
  EXPECT_TRUE(written.ok);
  EXPECT_EQ(written.error, "");
}

}  // namespace lindqua::test

namespace lindqua::test {
INSTANTIATE_TEST_SUITE_P(Memory, FilesContract, ::testing::Values(MemoryFilesFactory()),
                         [](const auto& info) { return info.param.name; });
}  // namespace lindqua::test
