// lindqua-cli clean over the in-memory platform: confirmation, dry run,
// the fix with its backup, and the exit status when rows stay.
#include <gtest/gtest.h>

#include <deque>

#include "app/CliClean.h"
#include "app/SettingsReadOnly.h"
#include "platform/memory/PortableIniFile.h"
#include "engine/ScanSection.h"
#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemoryRestorePointClient.h"
#include "platform/memory/MemorySystemFacts.h"

namespace lindqua::test {

namespace {

class ScriptedConsole : public CliConsole {
 public:
  void WriteOut(std::string_view text) override { out += text; }
  void WriteErr(std::string_view text) override { err += text; }
  bool ErrIsTerminal() override { return false; }
  std::optional<std::string> ReadLine() override {
    if (answers.empty()) return std::nullopt;
    std::string line = answers.front();
    answers.pop_front();
    return line;
  }
  std::string out, err;
  std::deque<std::string> answers;
};

class CliCleanTest : public ::testing::Test {
 protected:
  CliCleanTest() {
    ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Dead]\r\n\"Path\"=\"C:\\\\gone.exe\"\r\n"
                            "\r\n[HKEY_CURRENT_USER\\Software\\Weird]\r\n\"a\\nb\"=\"x\"\r\n");
    // The imported name holds a backslash and an "n"; make a real line break for the refusal case.
    TRegistry reg(registry);
    EXPECT_TRUE(reg.OpenKey("Software\\Weird", false));
    reg.WriteString("two\nlines", "x");
    files.AddFolder("C:\\Backups");
    settings = LoadSettingsReadOnly(files, ini, "C:\\Tools\\").options;
    settings.BackupFolder = "C:\\Backups";
    host.loadSettings = [this](const std::string&) { return settings; };
    host.elevated = true;
    host.ansi = &ansi;
    host.restorePoints = &restorePoints;
    host.scanners = [this](int section) -> std::function<void(ScanContext&)> {
      if (section != 4) return nullptr;
      return [this](ScanContext& scan) {
        for (const auto& row : rows) scan.AddFinding(row.caption, row.shownText, row.location, row.tag, row.reason);
      };
    };
    rows = {{"Non-existent File or Folder", "C:\\gone.exe", "HKEY_CURRENT_USER\\Software\\Dead\\Path", 1, 4, false,
             "Not found: C:\\gone.exe"}};
  }
  int Run(std::vector<std::string> args) { return RunCli(args, host); }
  bool ValueExists(const std::string& key, const std::string& name) {
    TRegistry reg(registry);
    return reg.OpenKey(key, false) && reg.ValueExists(name);
  }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  Windows1252CodePage ansi;
  MemoryRestorePointClient restorePoints{RestorePointResult::Refused};
  ScriptedConsole console;
  PortableIniFiles ini{files};
  TOptionsSetting settings;
  CliHost host{ScanPlatform{registry, files, facts}, console, nullptr};
  std::vector<Finding> rows;
};

}  // namespace

TEST_F(CliCleanTest, WithoutConfirmationNothingIsDeleted) {
  EXPECT_EQ(Run({"clean", "--sections", "4"}), CliExit::Failure);
  EXPECT_NE(console.err.find("Delete 1 findings after backing them up? [y/N] "), std::string::npos);
  EXPECT_NE(console.err.find("not confirmed; nothing deleted"), std::string::npos);
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
  console.answers = {"no"};
  EXPECT_EQ(Run({"clean", "--sections", "4"}), CliExit::Failure);
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
}

TEST_F(CliCleanTest, DryRunListsTargetsWithTheirReasonsAndDeletesNothing) {
  // A reason quotes registry data: a line break in it must not start a line
  // that reads like another row.
  rows.push_back({"Non-existent File or Folder", "x", "HKEY_CURRENT_USER\\Software\\Dead\\Other", 1, 4, false,
                  "Not found: C:\\a\r\nwould delete: HKEY_LOCAL_MACHINE\\Software"});
  rows.push_back({"Non-existent File or Folder", "y", "HKEY_CURRENT_USER\\Software\\Dead\\Third", 1, 4, false, ""});
  EXPECT_EQ(Run({"clean", "--sections", "4", "--dry-run"}), CliExit::Ok);
  EXPECT_EQ(console.out,
            "would delete: HKEY_CURRENT_USER\\Software\\Dead  [value \"Third\"]\r\n"
            "would delete: HKEY_CURRENT_USER\\Software\\Dead  [value \"Other\"]\r\n"
            "  reason: Not found: C:\\a  would delete: HKEY_LOCAL_MACHINE\\Software\r\n"
            "would delete: HKEY_CURRENT_USER\\Software\\Dead  [value \"Path\"]\r\n"
            "  reason: Not found: C:\\gone.exe\r\n"
            "3 findings; nothing deleted (dry run).\r\n");
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
  EXPECT_TRUE(files.ListFolder("C:\\Backups").empty());
}

TEST_F(CliCleanTest, ConfirmedCleanBacksUpDeletesAndNamesTheBackup) {
  console.answers = {"Y"};
  EXPECT_EQ(Run({"clean", "--sections", "4"}), CliExit::Ok) << console.err;
  EXPECT_FALSE(ValueExists("Software\\Dead", "Path"));
  EXPECT_NE(console.out.find("deleted: HKEY_CURRENT_USER\\Software\\Dead  [value \"Path\"]"), std::string::npos);
  EXPECT_NE(console.out.find("backup: C:\\Backups\\2026_01_02_150405.reg"), std::string::npos);
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile("C:\\Backups\\2026_01_02_150405.reg", backup));
  EXPECT_NE(backup.find("\"Path\"=\"C:\\\\gone.exe\""), std::string::npos);
}

TEST_F(CliCleanTest, RowsThatCannotBeFixedGiveExitThreeWithTheReason) {
  rows.push_back({"Non-existent File or Folder", "two\nlines", "HKEY_CURRENT_USER\\Software\\Weird", 2, 4, false, ""});
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::NotAllFixed);
  EXPECT_TRUE(ValueExists("Software\\Weird", "two\nlines"));
  EXPECT_FALSE(ValueExists("Software\\Dead", "Path"));
  EXPECT_NE(console.out.find("not fixed (no exact backup possible)"), std::string::npos);
}

TEST_F(CliCleanTest, RefusedRestorePointAsksAndYesGoesOn) {
  console.answers = {"y", "n"};
  EXPECT_EQ(Run({"clean", "--sections", "4", "--restore-point"}), CliExit::Failure);
  EXPECT_EQ(restorePoints.Calls(), 1);
  EXPECT_NE(console.err.find("Restore Point creation Failed! Contiue to fix? [y/N] "), std::string::npos);
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
  console.answers = {"y", "yes"};
  EXPECT_EQ(Run({"clean", "--sections", "4", "--restore-point"}), CliExit::Ok);
  EXPECT_FALSE(ValueExists("Software\\Dead", "Path"));
}

TEST_F(CliCleanTest, MissingBackupFolderIsAskedForAndCreatedWithYes) {
  settings.BackupFolder = "C:\\New\\Backups";
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::Ok);
  EXPECT_TRUE(files.DirectoryExists("C:\\New\\Backups"));
  EXPECT_FALSE(ValueExists("Software\\Dead", "Path"));
}

TEST_F(CliCleanTest, CleanOnlyOptionsAreRefusedByScanAndViceVersa) {
  EXPECT_EQ(Run({"scan", "--dry-run"}), CliExit::Usage);
  EXPECT_EQ(Run({"clean", "--format", "json"}), CliExit::Usage);
  EXPECT_EQ(Run({"clean", "--yes", "--yes"}), CliExit::Usage);
}

}  // namespace lindqua::test
