// The file reference check, rule by rule, over the in-memory file system.
#include <gtest/gtest.h>

#include "engine/FileReferenceCheck.h"
#include "platform/CachingFileSystem.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

// Every case runs twice: straight on the file system, and through the
// existence cache the scan puts in front of it. Both must answer alike.
class FileReferenceCheckTest : public ::testing::TestWithParam<bool> {
 protected:
  FileReferenceCheckTest()
      : cache(m.files), cachedScan(ScanPlatform{m.registry, cache, m.facts}, ScanSink(m.model, m.stop.get_token())) {
    cachedScan.DriveLetters = AllDriveLetters;
  }

  void SetUp() override {
    files().AddFile("C:\\Tools\\app.exe");
    files().AddFile("C:\\Tools\\run.bat");
    files().AddFile("C:\\Tools\\data.txt");
    files().AddFolder("C:\\Tools\\Sub");
    files().AddFolder("C:\\Windows");
    files().AddFile("C:\\Lib\\x.dll");
  }

  ScanContext& scan() { return GetParam() ? cachedScan : m.scan; }
  // The cache takes the files as fixed for a scan: a change starts it again.
  MemoryFileSystem& files() {
    cache.Clear();
    return m.files;
  }
  bool Missing(std::string_view text, std::string_view cutAt = "", bool acceptFolder = false) {
    return IsMissingFile(scan(), text, cutAt, acceptFolder, scan().DriveLetters);
  }

  MemoryScan m;
  CachingFileSystem cache;
  ScanContext cachedScan;
};

TEST_P(FileReferenceCheckTest, CheapTextRulesComeBeforeAnyFileQuery) {
  for (const char* text : {"", "C:\\HP\\Tools\\x.exe", "C:\\Apps\\Printer.exe", "c:\\apps\\hpfax.exe",
                           "C:\\Gone\\PRINT\\x.exe", "C:\\Gone\\ppPrint", "C:\\Gone\\p\\x\\Hp"}) {
    EXPECT_FALSE(Missing(text)) << text;
  }
  EXPECT_EQ(files().QueryCount(), 0u);
  // Without those words the same kind of path is judged, near misses included.
  for (const char* text : {"C:\\Gone\\x.exe", "C:\\Gone\\h\\p.exe", "C:\\Gone\\ahp.exe", "C:\\Gone\\pRiN\\t.exe",
                           "C:\\Gone\\prin", "C:\\Gone\\x\\h"}) {
    EXPECT_TRUE(Missing(text)) << text;
  }
}

TEST_P(FileReferenceCheckTest, UnderWow64RedirectedFoldersAreNeverJudged) {
  scan().UnderWow64 = true;
  files().SetEnvironment("ProgramFiles", "C:\\Program Files");
  files().AddFolder("C:\\Program Files");
  EXPECT_FALSE(Missing("C:\\Windows\\System32\\gone.dll"));
  EXPECT_FALSE(Missing("%ProgramFiles%\\gone.exe"));
  EXPECT_FALSE(Missing("C:\\PROGRAMFILES\\gone.exe"));
  files().SetEnvironment("PF", "C:\\Program Files");
  EXPECT_FALSE(Missing("%PF%\\gone.exe")) << "the expanded name is tested again";
  scan().UnderWow64 = false;
  EXPECT_TRUE(Missing("C:\\Windows\\System32\\gone.dll"));
  EXPECT_TRUE(Missing("%PF%\\gone.exe"));
}

TEST_P(FileReferenceCheckTest, QuotedPaths) {
  EXPECT_FALSE(Missing("\"")) << "nothing after the quote";
  EXPECT_FALSE(Missing("\"\"")) << "the unquoted name is empty";
  EXPECT_FALSE(Missing("\"C:\\Tools\\app.exe\" -run"));
  EXPECT_TRUE(Missing("\"C:\\Tools\\gone.exe\" C:\\Tools\\app.exe")) << "only the quoted part is the name";
  EXPECT_FALSE(Missing("\"C:\\Tools\\app.exe")) << "an unclosed quote takes the rest";
  EXPECT_TRUE(Missing("\"C:\\Tools\\gone.exe"));
}

TEST_P(FileReferenceCheckTest, EnvironmentReferences) {
  files().SetEnvironment("SystemRoot", "C:\\Windows");
  files().AddFile("C:\\Windows\\here.exe");
  EXPECT_TRUE(Missing("%SystemRoot%\\gone.exe"));
  EXPECT_FALSE(Missing("%SystemRoot%\\here.exe"));
  EXPECT_FALSE(Missing("%systemroot%\\here"));
  EXPECT_FALSE(Missing("%NoSuchVariable%\\gone.exe"));
  EXPECT_FALSE(Missing("%"));
  EXPECT_FALSE(Missing("%%\\gone.exe"));
  files().SetEnvironment("DataFile", "C:\\Tools\\data.txt");
  EXPECT_FALSE(Missing("%DataFile%")) << "a reference must expand to a folder";
  files().SetEnvironment("Padded", "  C:\\Windows \t");
  EXPECT_TRUE(Missing("%Padded%\\gone.exe")) << "blanks around the expansion are trimmed";
  EXPECT_FALSE(Missing("%Padded%\\here.exe"));
  EXPECT_FALSE(Missing("\"%SystemRoot%\\here.exe\" /x")) << "unquoting comes first";
  EXPECT_FALSE(Missing("%C:\\Tools\\gone.exe")) << "an unclosed reference doubles the name";
}

TEST_P(FileReferenceCheckTest, ExpansionThatDoesNotFitTheBufferIsNotUsed) {
  const std::string longFolder = "C:\\" + std::string(1019, 'L');  // 1022 characters
  ASSERT_TRUE(files().AddFolder(longFolder));
  files().SetEnvironment("Fits", longFolder + "\\");  // 1023 characters and the NUL
  files().SetEnvironment("TooLong", longFolder + "\\\\");
  EXPECT_EQ(ExpandIfFolder(scan(), "%Fits%"), longFolder + "\\");
  EXPECT_EQ(ExpandIfFolder(scan(), "%TooLong%"), "%TooLong%");
  EXPECT_TRUE(Missing("%Fits%gone.exe"));
  EXPECT_FALSE(Missing("%TooLong%gone.exe"));
}

TEST_P(FileReferenceCheckTest, OnlyLocalPathsOnTestedDrivesAreJudged) {
  for (const char* text : {"rundll32.exe shell32.dll,Control_RunDLL", "\\\\server\\share\\gone.exe", "gone.exe",
                           "C:gone.exe", "CC:\\gone.exe", "C:\\Windows\\x.exe D:\\data.txt", ":\\gone.exe"}) {
    EXPECT_FALSE(Missing(text)) << text;
  }
  EXPECT_TRUE(Missing("q:\\gone.exe")) << "every letter is tested when removable drives count";
  scan().DriveLetters = "cd";
  EXPECT_FALSE(Missing("Q:\\gone.exe"));
  EXPECT_TRUE(Missing("D:\\gone.exe"));
}

TEST_P(FileReferenceCheckTest, FloppyPathsAreJudgedWithoutTouchingTheDrive) {
  files().SetDrive('A', DriveType::Removable, true);
  files().AddFile("A:\\setup.exe");
  const auto before = files().QueryCount();
  EXPECT_TRUE(Missing("A:\\setup.exe")) << "drive A: held no volume when the scan started";
  EXPECT_TRUE(Missing("b:\\setup.exe"));
  EXPECT_EQ(files().QueryCount(), before);
  scan().DriveAReady = true;
  EXPECT_FALSE(Missing("A:\\setup.exe"));
  EXPECT_TRUE(Missing("A:\\other.exe"));
  scan().DriveAReady = false;
  scan().IgnoreRemovableDrive = true;
  scan().DriveLetters = "c";
  EXPECT_FALSE(Missing("A:\\setup.exe"));
  EXPECT_FALSE(Missing("A:\\setup.exe", ".exe"));
}

TEST_P(FileReferenceCheckTest, PrefixesEndingBeforeAStopCharacterAreProbed) {
  EXPECT_FALSE(Missing("C:\\Tools\\app -run")) << "app.exe";
  EXPECT_FALSE(Missing("C:\\Tools\\run,1")) << "run.bat";
  EXPECT_FALSE(Missing("C:\\Tools\\app.exe;"));
  EXPECT_FALSE(Missing("C:\\Tools\\app.exe;;;"));
  EXPECT_FALSE(Missing("C:\\Tools\\data.txt /open"));
  EXPECT_TRUE(Missing("C:\\Tools\\app.exe\t-x")) << "a tab ends no path";
  EXPECT_TRUE(Missing("C:\\Tools\\app.exe.old")) << "a dot ends no path";
  EXPECT_TRUE(Missing("C:\\Tools\\gone -run"));
  EXPECT_TRUE(Missing("C:\\Tools\\gone.exe;"));
  EXPECT_FALSE(Missing("C:\\Tools\\app")) << "the whole name is probed with program extensions";
}

TEST_P(FileReferenceCheckTest, FoldersCountOnlyWhenAccepted) {
  EXPECT_FALSE(Missing("C:\\Tools\\")) << "an existing folder ending in a backslash";
  EXPECT_TRUE(Missing("C:\\Gone\\"));
  EXPECT_TRUE(Missing("C:\\Tools\\Sub"));
  EXPECT_FALSE(Missing("C:\\Tools\\Sub", "", true));
  EXPECT_FALSE(Missing("C:\\Tools\\Sub /x", "", true));
  files().AddFile("C:\\Tools\\Sub.com");
  EXPECT_FALSE(Missing("C:\\Tools\\Sub"));
}

TEST_P(FileReferenceCheckTest, WithoutTheFolderAnyPrefixNamingAFileCounts) {
  EXPECT_TRUE(Missing("C:\\Gone\\app.exe"));
  EXPECT_TRUE(Missing("C:\\Gone\\Deeper\\app.exe -x", "", true));
  files().AddFile("C:\\Tools.exe");
  EXPECT_FALSE(Missing("C:\\Tools,Gone\\x.exe")) << "C:\\Tools ends before a comma: Tools.exe";
  files().AddFile("C:\\Gone");
  EXPECT_FALSE(Missing("C:\\Gone\\app.exe")) << "a file named like the folder is a prefix that exists";
}

TEST_P(FileReferenceCheckTest, CutBranchTestsOnlyTheCutPath) {
  EXPECT_FALSE(Missing("C:\\Lib\\x.dll,1", ".dll"));
  EXPECT_FALSE(Missing("C:\\LIB\\X.DLL,1", ".dll"));
  EXPECT_TRUE(Missing("C:\\Lib\\y.dll,1", ".dll"));
  EXPECT_FALSE(Missing("C:\\Lib\\x.ocx", ".exe")) << "no .exe in the text";
  EXPECT_TRUE(Missing("C:\\Tools\\Sub.exe", ".exe", true)) << "no folder test in this branch";
  EXPECT_FALSE(Missing("C:\\Tools\\app.exe.bak", ".EXE")) << "what follows the cut is not tested";
  EXPECT_FALSE(Missing("\"C:\\Tools\\app.exe\" /x", ".exe"));
  EXPECT_FALSE(Missing("C:\\a.exe D:\\b.exe", ".dll"));
  EXPECT_FALSE(Missing("x.dll", ".dll")) << "the drive test still applies";
}

TEST_P(FileReferenceCheckTest, OddTextNeverThrowsAndIsJudgedAsText) {
  EXPECT_TRUE(Missing("C:\\Gr\xC3\xBC\xC3\x9F\x65\\\xE6\x97\xA5.exe"));
  files().AddFile("C:\\Gr\xC3\xBC\xC3\x9F\x65\\\xE6\x97\xA5.exe");
  EXPECT_FALSE(Missing("C:\\Gr\xC3\xBC\xC3\x9F\x65\\\xE6\x97\xA5.exe"));
  EXPECT_FALSE(Missing(std::string(100000, '%')));
  EXPECT_TRUE(Missing("C:\\" + std::string(5000, 'x')));
  EXPECT_FALSE(Missing("\xFF\xFE:\\x"));
}

}  // namespace
TEST_P(FileReferenceCheckTest, AWholeNameCompletedByAFileInItsFolderIsAStem) {
  files().AddFile("C:\\Voices\\en-US\\M1033David.APM");
  files().AddFile("C:\\Voices\\en-US\\M1033David.INI");
  files().AddFolder("C:\\Voices\\en-US\\Folder.d");
  files().AddFile("C:\\Voices\\en-US\\Old.dll.bak");
  struct Case {
    const char* text;
    const char* cutAt;
    bool missing;
    const char* why;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"C:\\Voices\\en-US\\M1033David", "", false, "the voice's files complete the stem"},
           {"c:\\VOICES\\en-us\\m1033david", "", false, "without regard to case"},
           {"C:\\Voices\\en-US\\M1033David;;", "", false, "trailing semicolons come off first"},
           {"C:\\Voices\\en-US\\M1033", "", true, "a shorter name is no stem"},
           {"C:\\Voices\\en-US\\M1033David -x", "", true, "a prefix before a stop character is no stem"},
           {"C:\\Voices\\en-US\\M1033David.", "", true, "a name Windows would cut is no stem"},
           {"C:\\Voices\\en-US\\Folder", "", true, "a folder completes no stem"},
           {"C:\\Voices\\en-US\\Old.dll", "", false, "a name with an extension can be a stem too"},
           {"C:\\Voices\\en-US\\Old.dll", ".dll", true, "a path cut at an extension names a file"},
       }) {
    EXPECT_EQ(Missing(c.text, c.cutAt), c.missing) << c.text << ": " << c.why;
  }
  EXPECT_EQ(MissingFileReason(scan(), "C:\\Voices\\en-US\\M1033", "", false, scan().DriveLetters),
            "Not found: C:\\Voices\\en-US\\M1033; also tried C:\\Voices\\en-US\\M1033.exe, "
            "C:\\Voices\\en-US\\M1033.com, C:\\Voices\\en-US\\M1033.bat, C:\\Voices\\en-US\\M1033.*");
}

TEST_P(FileReferenceCheckTest, ReasonNamesThePathLookedForAndWhatElseWasTried) {
  files().SetEnvironment("GONE", "C:\\Nowhere");
  scan().DriveAReady = false;
  struct Case {
    const char* text;
    const char* cutAt;
    const char* reason;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"C:\\Tools\\gone.dll", "", "Not found: C:\\Tools\\gone.dll; also tried C:\\Tools\\gone.dll.exe, "
                                            "C:\\Tools\\gone.dll.com, C:\\Tools\\gone.dll.bat, C:\\Tools\\gone.dll.*"},
           {"\"C:\\Gone\\x.exe\" -run", "",
            "Not found: C:\\Gone\\x.exe (no folder C:\\Gone\\)"},
           {"C:\\Tools\\gone.exe,1", ".exe", "Not found: C:\\Tools\\gone.exe"},
           {"A:\\setup.exe", "", "Drive not ready: A:\\setup.exe"},
           // "C:\Tools\nil " is tried twice (before the ";" and once it is cut off) and counted once.
           {"C:\\Tools\\nil ;", "",
            "Not found: C:\\Tools\\nil ;; also tried C:\\Tools\\nil ;.exe, C:\\Tools\\nil ;.com, "
            "C:\\Tools\\nil ;.bat, C:\\Tools\\nil .exe and 7 more"},
       }) {
    ASSERT_TRUE(Missing(c.text, c.cutAt)) << c.text;
    EXPECT_EQ(MissingFileReason(scan(), c.text, c.cutAt, false, scan().DriveLetters), c.reason) << c.text;
  }
  const std::string many = MissingFileReason(scan(), "C:\\Tools\\a b c d e f g.exe", "", false, scan().DriveLetters);
  EXPECT_TRUE(many.starts_with("Not found: C:\\Tools\\a b c d e f g.exe; also tried ")) << many;
  EXPECT_NE(many.find(" more"), std::string::npos) << "a long list is cut short: " << many;
}

INSTANTIATE_TEST_SUITE_P(Checks, FileReferenceCheckTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Cached" : "Direct"; });

}  // namespace lindqua::test
