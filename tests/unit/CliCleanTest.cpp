// lindqua-cli clean over the in-memory platform: confirmation, dry run,
// the fix with its backup, and the exit status when rows stay.
#include <gtest/gtest.h>

#include <deque>

#include "app/CliBackups.h"
#include "app/CliClean.h"
#include "app/SettingsReadOnly.h"
#include "platform/memory/PortableIniFile.h"
#include "engine/ScanSection.h"
#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemoryProcessRunner.h"
#include "platform/memory/MemoryRestorePointClient.h"
#include "support/JsonCheck.h"
#include "platform/memory/MemorySystemFacts.h"

namespace lindqua::test {

namespace {

class ScriptedConsole : public CliConsole {
 public:
  void WriteOut(std::string_view text) override { out += text; }
  void WriteErr(std::string_view text) override { err += text; }
  bool ErrIsTerminal() override { return false; }
  std::optional<std::string> ReadLine() override {
    questions.push_back(err.substr(err.rfind('\n') + 1));
    if (answers.empty()) return std::nullopt;
    std::string line = answers.front();
    answers.pop_front();
    return line;
  }
  std::string out, err;
  std::deque<std::string> answers;
  std::vector<std::string> questions;
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
    host.processes = &processes;
    host.interrupt = &interrupt;
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
  MemoryProcessRunner processes;
  // Stops the clean once the scripted number of rows is done.
  struct CountingInterrupt : CliInterrupt {
    std::stop_source stop;
    std::stop_token Catch() override { return stop.get_token(); }
    void Release() override {}
  } interrupt;
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
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Dead]\r\n\"Other\"=\"x\"\r\n\"Third\"=\"y\"\r\n");
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
  EXPECT_EQ(Run({"clean", "--output", "x.txt"}), CliExit::Usage);
  EXPECT_EQ(Run({"clean", "--yes", "--yes"}), CliExit::Usage);
}

TEST_F(CliCleanTest, DryRunAndQuestionPromiseWhatTheRealRunDoes) {
  rows.push_back({"Non-existent File or Folder", "two\nlines", "HKEY_CURRENT_USER\\Software\\Weird", 2, 4, false, ""});
  rows.push_back({"Non-existent File or Folder", "x", "HKEY_CURRENT_USER\\Software\\Gone", 0, 4, false, ""});
  EXPECT_EQ(Run({"clean", "--sections", "4", "--dry-run"}), CliExit::Ok);
  EXPECT_NE(console.out.find("already gone: HKEY_CURRENT_USER\\Software\\Gone\r\n"), std::string::npos);
  EXPECT_NE(console.out.find("would not fix (no exact backup possible): HKEY_CURRENT_USER\\Software\\Weird  "
                            "[value \"two<0x0A>lines\"] (value name holding a line break"),
            std::string::npos)
      << console.out;
  EXPECT_EQ(console.out.find("would delete: HKEY_CURRENT_USER\\Software\\Weird"), std::string::npos);

  // One question, which counts only what will go and names a folder it must make.
  settings.BackupFolder = "C:\\New";
  console.answers = {"n"};
  EXPECT_EQ(Run({"clean", "--sections", "4"}), CliExit::Failure);
  ASSERT_EQ(console.questions.size(), 1u);
  EXPECT_EQ(console.questions[0], "Create the backup folder C:\\New, then delete 1 findings after backing them up? [y/N] ");
  EXPECT_NE(console.err.find("1 findings cannot be backed up exactly and will stay"), std::string::npos);
  EXPECT_FALSE(files.DirectoryExists("C:\\New"));
}

TEST_F(CliCleanTest, JsonResultNamesTheBackupAndWhatHappenedToEachFinding) {
  rows.push_back({"Non-existent File or Folder", "two\nlines", "HKEY_CURRENT_USER\\Software\\Weird", 2, 4, false, ""});
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes", "--format", "json"}), CliExit::NotAllFixed);
  JsonCheck json;
  ASSERT_TRUE(json.Parse(console.out)) << console.out;
  EXPECT_EQ(console.out.rfind("{\"dryRun\":false,\"backupFile\":\"C:\\\\Backups\\\\2026_01_02_150405.reg\","
                              "\"completed\":true,", 0),
            0u)
      << console.out;
  EXPECT_NE(console.out.find("\"result\":\"refused\",\"why\":\"no exact backup possible: "), std::string::npos);
  EXPECT_NE(console.out.find("\"result\":\"deleted\",\"why\":\"\"}"), std::string::npos);
  EXPECT_EQ(console.out.find("backup: "), std::string::npos) << "only the JSON object on standard output";
}

TEST_F(CliCleanTest, EveryEarlyStopNamesTheBackupFirstAndEndsWithTheSameCode) {
  rows.push_back({"Non-existent File or Folder", "x", "HKEY_CURRENT_USER\\Software\\Weird", 0, 4, false, ""});
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("Software\\Weird", false));
  ASSERT_TRUE(reg.DeleteValue("two\nlines"));
  // Interrupted after the first row: it is finished, the second not begun.
  interrupt.stop.request_stop();
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::EndedEarly);
  EXPECT_EQ(console.out.rfind("backup: C:\\Backups\\2026_01_02_150405.reg\r\n", 0), 0u) << console.out;
  EXPECT_NE(console.err.find("the fix ended early: interrupted; 2 findings not attempted"), std::string::npos)
      << console.err;
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
  interrupt.stop = std::stop_source{};

  files.FailWritesTo("C:\\Backups");
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::EndedEarly);
  EXPECT_EQ(console.err.find("cannot be written: the backup file cannot be written"), std::string::npos)
      << "the reason is said once";
  settings.BackupFolder = "Q:\\NoDrive";
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::EndedEarly);
  EXPECT_NE(console.err.find("Cannot create Q:\\NoDrive"), std::string::npos);
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
}

TEST_F(CliCleanTest, DeletionsRefusedForWantOfRightsAreToldOnceWithTheHint) {
  ImportRegText(registry, "REGEDIT4\r\n\r\n[HKEY_LOCAL_MACHINE\\Software\\Vendor\\App]\r\n\"Path\"=\"C:\\\\a.exe\"\r\n"
                          "\"Other\"=\"C:\\\\b.exe\"\r\n");
  // A standard user may read a machine key but not change or delete it.
  const std::uint32_t change = 0x10000 | RegAccess::SetValue | RegAccess::CreateSubKey;
  ASSERT_TRUE(registry.DenyAccess(RootKey::LocalMachine, "Software\\Vendor", change));
  ASSERT_TRUE(registry.DenyAccess(RootKey::LocalMachine, "Software\\Vendor\\App", change));
  host.elevated = false;
  const std::string app = "HKEY_LOCAL_MACHINE\\Software\\Vendor\\App";
  rows.push_back({"Non-existent File or Folder", "C:\\a.exe", app + "\\Path", 1, 4, false, "Not found: C:\\a.exe"});
  rows.push_back({"Non-existent File or Folder", "C:\\b.exe", app + "\\Other", 1, 4, false, "Not found: C:\\b.exe"});
  rows.push_back({"Empty Registry Keys", "App", "HKEY_LOCAL_MACHINE\\Software\\Vendor", 3, 4, false, "r"});
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::NotAllFixed);
  std::size_t hints = 0;
  for (std::size_t at = console.err.find("Run as administrator"); at != std::string::npos;
       at = console.err.find("Run as administrator", at + 1))
    ++hints;
  EXPECT_EQ(hints, 1u) << console.err;
  EXPECT_NE(console.err.find("3 findings were not fixed: Windows refused to delete their keys or values without "
                             "administrator rights"),
            std::string::npos)
      << console.err;
  EXPECT_EQ(console.out.find("not fixed"), std::string::npos) << "no row repeats the same words: " << console.out;
  EXPECT_NE(console.out.find("deleted: "), std::string::npos) << "the user's own key was fixed";
  EXPECT_TRUE(ValueExists("\\Software\\Dead", "Path") == false);
  TRegistry machine(registry);
  machine.SetRootKey(RootKey::LocalMachine);
  machine.Access = RegAccess::Read;
  ASSERT_TRUE(machine.OpenKey("Software\\Vendor\\App", false));
  EXPECT_TRUE(machine.ValueExists("Path"));
  EXPECT_TRUE(machine.ValueExists("Other"));
}

TEST_F(CliCleanTest, RelativeBackupFolderIsTheProgramsAndAnEmptyOneIsRefused) {
  host.programFolder = "C:\\Tools\\";
  settings.BackupFolder = "Backup";
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::Ok) << console.err;
  EXPECT_TRUE(files.FileExists("C:\\Tools\\Backup\\2026_01_02_150405.reg"));
  settings.BackupFolder = "";
  rows[0].location = "HKEY_CURRENT_USER\\Software\\Weird";
  rows[0].tag = 0;
  EXPECT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::Failure);
  EXPECT_NE(console.err.find("no backup folder is set"), std::string::npos);
}

TEST_F(CliCleanTest, BackupsAreListedRestoredWithVerificationAndDeletedOnlyInTheFolder) {
  console.answers = {"y"};
  ASSERT_EQ(Run({"clean", "--sections", "4", "--yes"}), CliExit::Ok);
  const std::string backup = "C:\\Backups\\2026_01_02_150405.reg";
  ASSERT_TRUE(files.WriteWholeFile("C:\\Backups\\2025_01_01_000000.reg", "REGEDIT4\r\n[HKEY_NOWHERE]\r\n"));
  console.out.clear();
  EXPECT_EQ(Run({"backups"}), CliExit::Ok);
  EXPECT_EQ(console.out.find("2026_01_02_150405.reg  "), 0u) << "newest first: " << console.out;
  EXPECT_NE(console.out.find("1 keys  1 values\r\n"), std::string::npos);
  EXPECT_NE(console.out.find("2025_01_01_000000.reg  "), std::string::npos);
  EXPECT_NE(console.out.find("unreadable: "), std::string::npos);

  // The editor "imports" nothing: the value is missing, the file stays.
  console.out.clear();
  EXPECT_EQ(Run({"restore", "--latest", "--yes"}), CliExit::NotAllFixed);
  EXPECT_EQ(processes.started, std::vector<std::string>{"Regedit /s \"" + backup + "\""});
  EXPECT_NE(console.out.find("difference: HKEY_CURRENT_USER\\Software\\Dead  [value \"Path\"]: missing"),
            std::string::npos);
  EXPECT_TRUE(files.FileExists(backup));
  processes.script.run = [this, backup](const std::string&) {
    std::string text;
    ASSERT_TRUE(files.ReadWholeFile(backup, text));
    ImportRegText(registry, text);
  };
  EXPECT_EQ(Run({"restore", backup, "--yes", "--format", "json"}), CliExit::Ok);
  EXPECT_TRUE(ValueExists("Software\\Dead", "Path"));
  EXPECT_FALSE(files.FileExists(backup));
  EXPECT_EQ(Run({"restore", "C:\\Backups\\2025_01_01_000000.reg", "--yes"}), CliExit::Failure);
  EXPECT_EQ(processes.started.size(), 2u) << "a damaged file is never imported";

  ASSERT_TRUE(files.WriteWholeFile("C:\\Elsewhere.reg", "REGEDIT4\r\n"));
  EXPECT_EQ(Run({"backups", "delete", "C:\\Elsewhere.reg", "C:\\Backups\\..\\Elsewhere.reg"}), CliExit::Failure);
  EXPECT_TRUE(files.FileExists("C:\\Elsewhere.reg"));
  // A restore imports and verifies any .reg file, but deletes only one of
  // the backups: a file elsewhere, or one reached by climbing out, is kept.
  processes.script.run = [](const std::string&) {};
  for (const char* elsewhere : {"C:\\Elsewhere.reg", "C:\\Backups\\..\\Elsewhere.reg"}) {
    console.err.clear();
    EXPECT_EQ(Run({"restore", elsewhere, "--yes"}), CliExit::Ok) << elsewhere << ": " << console.err;
    EXPECT_TRUE(files.FileExists("C:\\Elsewhere.reg")) << elsewhere;
    EXPECT_NE(console.err.find("only files directly in the backup folder"), std::string::npos) << console.err;
  }
  EXPECT_EQ(Run({"backups", "delete", "2025_01_01_000000.reg"}), CliExit::Ok);
  EXPECT_FALSE(files.FileExists("C:\\Backups\\2025_01_01_000000.reg"));
  EXPECT_EQ(Run({"restore", "--latest", "--yes"}), CliExit::Failure);
  EXPECT_NE(console.err.find("no backup files in \"C:\\Backups\""), std::string::npos);
}

}  // namespace lindqua::test
