// The fix: what each tag deletes, the backup it writes first, the rows it
// removes, and where it stops.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "repair/FixProcedure.h"
#include "repair/FixTarget.h"

namespace lindqua::test {

namespace {

const char* Seed = R"(REGEDIT4

[HKEY_LOCAL_MACHINE\SYSTEM\CurrentControlSet\Services\Foo]
"ImagePath"="C:\\gone\\foo.exe"
"Start"=dword:00000002

[HKEY_CLASSES_ROOT\CLSID\{0000-AAAA}\InprocServer32]
@="C:\\gone\\x.dll"

[HKEY_CURRENT_USER\Software\Bar]
@="C:\\gone\\default.exe"
"P:\\Bar.rkr"="history"
"Keep"="kept"

[HKEY_USERS\S-1-5-21-X\Software]
"v"="1"
)";

class FixProcedureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ImportRegText(registry, Seed);
    files.AddFolder("C:\\Backup");
    files.AddFile("C:\\Links\\dead.lnk", 10);
    request.backupFolder = "C:\\Backup";
  }
  void Add(const std::string& location, int tag, const std::string& shown = "", bool checked = true) {
    results.EditRows([&](auto& rows) { rows.push_back(Finding{"caption", shown, location, tag, 3, checked, ""}); });
  }
  FixReport Fix() { return DeleteCheckedFindings(platform, results, request); }
  bool KeyExists(RootKey root, const std::string& path) {
    TRegistry reg(registry);
    reg.SetRootKey(root);
    return reg.KeyExists(path);
  }
  bool ValueExists(RootKey root, const std::string& path, const std::string& name) {
    TRegistry reg(registry);
    reg.SetRootKey(root);
    return reg.OpenKey(path, false) && reg.ValueExists(name);
  }
  std::string Backup(const FixReport& report) {
    std::string text;
    return files.ReadWholeFile(report.backupFile, text) ? text : "";
  }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  Windows1252CodePage ansi;
  FixPlatform platform{ExportPlatform{registry, files, ansi}, facts};
  ResultsModel results;
  FixRequest request;
};

}  // namespace

TEST(FixTarget, EachTagNamesItsTarget) {
  auto t1 = FixTargetOf({"", "x", "HKEY_LOCAL_MACHINE\\SYSTEM\\Services\\Foo\\ImagePath", 1, 0, true, ""});
  ASSERT_TRUE(t1);
  EXPECT_EQ(t1->kind, FixTarget::Kind::Value);
  EXPECT_EQ(t1->keyPath, "SYSTEM\\Services\\Foo");
  EXPECT_EQ(t1->valueName, "ImagePath");
  auto t1root = FixTargetOf({"", "x", "HKEY_USERS\\value", 1, 0, true, ""});
  EXPECT_EQ(t1root->keyPath, "");
  EXPECT_EQ(t1root->valueName, "value");
  auto t3 = FixTargetOf({"", "S-1-5-21-X", "HKEY_USERS\\", 3, 0, true, ""});
  EXPECT_EQ(t3->keyPath, "\\S-1-5-21-X");
  EXPECT_EQ(DescribeFixTarget(*t3), "HKEY_USERS\\S-1-5-21-X");
  auto t6 = FixTargetOf({"", "C:\\One.exe", "HKEY_CURRENT_USER\\Software\\Bar", 6, 0, true, ""});
  EXPECT_EQ(t6->valueName, "P:\\Bar.rkr");
  auto t5 = FixTargetOf({"", "x", "HKEY_CURRENT_USER\\Software\\Bar", 5, 0, true, ""});
  EXPECT_EQ(t5->valueName, "");
  EXPECT_EQ(DescribeFixTarget(*t5), "HKEY_CURRENT_USER\\Software\\Bar  [value (default)]");
  auto t4 = FixTargetOf({"", "x", "C:\\Links\\dead.lnk", 4, 0, true, ""});
  EXPECT_EQ(t4->filePath, "C:\\Links\\dead.lnk");
  EXPECT_FALSE(FixTargetOf({"", "x", "no backslash", 0, 0, true, ""}));
  EXPECT_FALSE(FixTargetOf({"", "x", "HKEY_USERS\\x", 7, 0, true, ""}));
}

TEST_F(FixProcedureTest, DeletesWhatEachTagNamesAfterBackingItUp) {
  Add("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo\\ImagePath", 1, "C:\\gone\\foo.exe");
  Add("HKEY_CLASSES_ROOT\\CLSID", 3, "{0000-AAAA}");
  Add("HKEY_CURRENT_USER\\Software\\Bar", 5, "C:\\gone\\default.exe");
  Add("HKEY_CURRENT_USER\\Software\\Bar", 6, "C:\\One.exe");
  Add("C:\\Links\\dead.lnk", 4, "dead");
  Add("HKEY_USERS\\", 3, "S-1-5-21-X");
  const FixReport report = Fix();
  ASSERT_TRUE(report.completed) << report.endReason;
  EXPECT_EQ(results.Count(), 0u);
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Foo", "ImagePath"));
  EXPECT_TRUE(ValueExists(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Foo", "Start"));
  EXPECT_FALSE(KeyExists(RootKey::ClassesRoot, "CLSID\\{0000-AAAA}"));
  EXPECT_TRUE(KeyExists(RootKey::ClassesRoot, "CLSID"));
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, "Software\\Bar", ""));
  EXPECT_FALSE(ValueExists(RootKey::CurrentUser, "Software\\Bar", "P:\\Bar.rkr"));
  EXPECT_TRUE(ValueExists(RootKey::CurrentUser, "Software\\Bar", "Keep"));
  EXPECT_FALSE(files.FileExists("C:\\Links\\dead.lnk"));
  EXPECT_FALSE(KeyExists(RootKey::Users, "S-1-5-21-X"));

  const std::string backup = Backup(report);
  EXPECT_EQ(report.backupFile, "C:\\Backup\\2026_01_02_150405.reg");
  EXPECT_EQ(backup.rfind("REGEDIT4\r\n", 0), 0u);
  EXPECT_NE(backup.find("[HKEY_USERS\\S-1-5-21-X\\Software]\r\n\"v\"=\"1\""), std::string::npos);
  EXPECT_NE(backup.find("\"P:\\\\Bar.rkr\"=\"history\""), std::string::npos);
  EXPECT_NE(backup.find("@=\"C:\\\\gone\\\\default.exe\""), std::string::npos);
  EXPECT_NE(backup.find("[HKEY_CLASSES_ROOT\\CLSID\\{0000-AAAA}\\InprocServer32]"), std::string::npos);
  EXPECT_EQ(backup.find("Start"), std::string::npos) << "a value row backs up only its value";
  EXPECT_EQ(backup.find("dead.lnk"), std::string::npos) << "files get no backup";
  EXPECT_EQ(report.lastFix, "1/2/2026 3:04:05 PM");
}

TEST_F(FixProcedureTest, UncheckedRowsStayAndNothingCheckedWritesNoFile) {
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0, "", false);
  Add("no backslash at all", 0, "", true);
  const FixReport report = Fix();
  EXPECT_TRUE(report.completed);
  EXPECT_EQ(results.Count(), 2u);
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  EXPECT_FALSE(files.FileExists(report.backupFile));
}

TEST_F(FixProcedureTest, RowsWithoutTargetOrWithUnknownRootGoWithoutEffect) {
  Add("HKEY_DYN_DATA\\Software\\Bar", 0);
  Add("hkey_current_user\\Software\\Bar", 0);
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0);  // the same key twice: the second finds nothing
  Add("HKEY_CURRENT_USER\\Software\\Bar", 9);
  const FixReport report = Fix();
  ASSERT_TRUE(report.completed);
  EXPECT_EQ(results.Count(), 0u);
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  ASSERT_EQ(report.rows.size(), 4u);
  EXPECT_EQ(report.rows[0].outcome, DeleteOutcome::NothingThere);  // tag 9
  EXPECT_EQ(report.rows[1].outcome, DeleteOutcome::Deleted);
  EXPECT_EQ(report.rows[2].outcome, DeleteOutcome::NothingThere);
  EXPECT_EQ(report.rows[3].outcome, DeleteOutcome::UnknownRoot);
}

TEST_F(FixProcedureTest, MissingBackupFolderIsCreatedOnlyWhenTheCallerMayCreateIt) {
  EXPECT_EQ(MissingBackupFolderQuestion("C:\\New\\Backups"),
            "C:\\New\\Backups,can not find the backup folder.\r\ncreates a new directory?");
  request.backupFolder = "C:\\New\\Backups";
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0);
  FixReport report = Fix();
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(report.stop, FixStop::FolderMissing);
  EXPECT_FALSE(files.DirectoryExists("C:\\New\\Backups"));
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  request.createFolder = true;
  report = Fix();
  EXPECT_TRUE(report.completed);
  EXPECT_TRUE(files.DirectoryExists("C:\\New\\Backups"));
  EXPECT_FALSE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  request.backupFolder = "Q:\\NoDrive";
  report = Fix();
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(report.endReason, "Cannot create Q:\\NoDrive");
  // An empty setting names no folder at all, rather than "Cannot create ".
  request.backupFolder = "";
  report = Fix();
  EXPECT_EQ(report.stop, FixStop::FolderMissing);
  EXPECT_EQ(report.endReason, "no backup folder is set");
}

TEST_F(FixProcedureTest, RestorePointIsOfferedOnlyWhereWindowsHasIt) {
  facts.version = OsVersion{2, 5, 0};  // Windows 2000: no restore points
  EXPECT_FALSE(RestorePointOffered(facts));
  facts.version = OsVersion{2, 6, 1};
  EXPECT_TRUE(RestorePointOffered(facts));
}

TEST_F(FixProcedureTest, StopRequestFinishesTheCurrentRowAndReportsTheRest) {
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0);
  Add("HKEY_USERS\\", 3, "S-1-5-21-X");
  std::stop_source stop;
  std::string announced;
  FixProgress progress;
  progress.starting = [&](const std::string& file, std::size_t rows) { announced = file + " " + std::to_string(rows); };
  progress.rowDone = [&](const FixRowReport&) { stop.request_stop(); };
  const FixReport report = DeleteCheckedFindings(platform, results, request, stop.get_token(), progress);
  EXPECT_EQ(announced, "C:\\Backup\\2026_01_02_150405.reg 2");
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(report.stop, FixStop::Interrupted);
  ASSERT_EQ(report.rows.size(), 1u);
  EXPECT_FALSE(KeyExists(RootKey::Users, "S-1-5-21-X")) << "the row begun is finished";
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  EXPECT_EQ(results.Count(), 1u);
  EXPECT_NE(Backup(report).find("S-1-5-21-X"), std::string::npos);
}

TEST_F(FixProcedureTest, UnwritableBackupEndsAtTheFirstRowThatNeedsOne) {
  files.FailWritesTo("C:\\Backup");
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0);             // needs a backup: the fix ends here
  Add("C:\\Links\\dead.lnk", 4);                          // handled before it (rows go last to first)
  Add("HKEY_CURRENT_USER\\Software\\Gone", 0);            // nothing there: removed, nothing written
  const FixReport report = Fix();
  EXPECT_FALSE(report.completed);
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, "Software\\Bar"));
  EXPECT_FALSE(files.FileExists("C:\\Links\\dead.lnk"));
  const auto rows = results.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].location, "HKEY_CURRENT_USER\\Software\\Bar");
  EXPECT_EQ(report.stop, FixStop::BackupFailed);
}

TEST_F(FixProcedureTest, RowsThatCannotBeBackedUpExactlyStayAndTheFixGoesOn) {
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("Software\\Bar\\Sub", true));
  reg.WriteString("two\nlines", "x");  // a name regedit cannot carry
  Add("HKEY_CURRENT_USER\\Software\\Bar", 0);
  Add("HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo\\ImagePath", 1);
  const FixReport report = Fix();
  ASSERT_TRUE(report.completed);
  EXPECT_TRUE(KeyExists(RootKey::CurrentUser, "Software\\Bar\\Sub"));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, "SYSTEM\\CurrentControlSet\\Services\\Foo", "ImagePath"));
  const auto rows = results.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].location, "HKEY_CURRENT_USER\\Software\\Bar");
  ASSERT_EQ(report.rows.size(), 2u);
  EXPECT_EQ(report.rows[1].outcome, DeleteOutcome::NotExact);
  EXPECT_FALSE(report.rows[1].problem.empty());
  EXPECT_EQ(Backup(report).find("Software\\Bar"), std::string::npos);
}

TEST_F(FixProcedureTest, EmptyListEndsAfterTheFolderIsMade) {
  request.backupFolder = "C:\\Other";
  request.createFolder = true;
  const FixReport report = Fix();
  EXPECT_TRUE(files.DirectoryExists("C:\\Other"));
  EXPECT_FALSE(report.completed);
  EXPECT_EQ(report.stop, FixStop::NothingToFix);
}

TEST_F(FixProcedureTest, FileRowsGoToTheRecycleBinOrStayWithTheirFile) {
  files.SetDrive('D', DriveType::Removable, true);
  files.SetDrive('E', DriveType::Fixed, true);
  files.SetRecycleBin('E', false);
  const struct {
    std::string path;
    bool makeFile, makeFolder, rowStays, fileStays;
  } cases[] = {
      {"C:\\Links\\dead.lnk", true, false, false, false},    // recycled
      {"C:\\Links\\gone.lnk", false, false, false, false},   // already gone: nothing to keep
      {"D:\\Stick\\dead.lnk", true, false, true, true},      // removable drive: no bin
      {"E:\\NoBin\\dead.lnk", true, false, true, true},      // bin switched off
      {"C:\\Links\\Folder", false, true, true, true},        // never a folder
      {"C:\\Links\\*.lnk", false, false, true, true},        // never a pattern
  };
  for (const auto& c : cases) {
    if (c.makeFile) {
      ASSERT_TRUE(files.AddFile(c.path, 10)) << c.path;
    }
    if (c.makeFolder) {
      ASSERT_TRUE(files.AddFile(c.path + "\\inside.txt", 1)) << c.path;
    }
    Add(c.path, 4, "C:\\Target\\gone.exe");
  }
  const FixReport report = Fix();
  ASSERT_TRUE(report.completed) << report.endReason;
  const auto rows = results.Rows();
  for (const auto& c : cases) {
    const bool listed = std::any_of(rows.begin(), rows.end(), [&](const Finding& r) { return r.location == c.path; });
    EXPECT_EQ(listed, c.rowStays) << c.path;
    if (c.makeFile || c.makeFolder) {
      EXPECT_EQ(files.KindOf(c.path) != FileSystem::PathKind::None, c.fileStays) << c.path;
    }
  }
  EXPECT_TRUE(files.FileExists("C:\\Links\\Folder\\inside.txt"));
  EXPECT_EQ(files.RecycledFiles(), std::vector<std::string>{"C:\\Links\\dead.lnk"});
  for (const FixRowReport& row : report.rows) {
    if (row.row.location == "D:\\Stick\\dead.lnk") {
      EXPECT_NE(row.problem.find("no Recycle Bin"), std::string::npos);
    }
  }
  EXPECT_FALSE(files.FileExists(report.backupFile)) << "files get no backup file";
}

}  // namespace lindqua::test
