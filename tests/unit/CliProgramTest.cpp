// The console program over the in-memory platform and a scanner table of the
// test's own: what reaches stdout, stderr and files, and the exit status.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>
#include <tuple>

#include "app/CliProgram.h"
#include "app/SettingsReadOnly.h"
#include "platform/memory/PortableIniFile.h"
#include "app/ConsoleScan.h"
#include "engine/ScanSection.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/JsonCheck.h"

namespace lindqua::test {

namespace {

class CapturingConsole : public CliConsole {
 public:
  void WriteOut(std::string_view text) override { out += text; }
  void WriteErr(std::string_view text) override { err += text; }
  bool ErrIsTerminal() override { return terminal; }
  std::string OutFailure() override { return outFailure; }
  std::string out;
  std::string outFailure;
  std::string err;
  bool terminal = false;
};

class CliProgramTest : public ::testing::Test {
 protected:
  CliProgramTest() {
    // A first start's record, as the real reader gives it when there is no file.
    settings = LoadSettingsReadOnly(files, ini, "C:\\Tools\\").options;
    host.loadSettings = [this](const std::string& path) {
      ++settingsLoads;
      settingsPath = path;
      return settings;
    };
    host.elevated = true;
    host.scanners = [this](int section) -> std::function<void(ScanContext&)> {
      if (!FindScanSection(section)) return nullptr;
      return [this, section](ScanContext& scan) {
        ran.push_back(section);
        driveLetters = scan.DriveLetters;
        driveAReady = scan.DriveAReady;
        check64BitPaths = scan.Check64BitPaths;
        if (section == failingSection) throw std::runtime_error("registry went away");
        // One row the built-in list ignores, one it keeps.
        scan.AddFinding("Caption " + std::to_string(section), "Client",
                        "HKEY_CURRENT_USER\\Software\\ThinPrint\\Client", FixTag::ValueInLocation,
                        "Not found: C:\\Gone\\client.exe");
        scan.AddFinding("Caption " + std::to_string(section), "d\xC3\xA9j\xC3\xA0",
                        "HKEY_USERS\\S" + std::to_string(section), FixTag::Key, "No values and no subkeys");
      };
    };
  }

  int Run(std::vector<std::string> args) { return RunCli(args, host); }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  CapturingConsole console;
  PortableIniFiles ini{files};
  TOptionsSetting settings;
  int settingsLoads = 0;
  std::string settingsPath;
  CliHost host{ScanPlatform{registry, files, facts}, console, nullptr};
  std::vector<int> ran;
  int failingSection = 0;
  std::string driveLetters;
  bool driveAReady = false;
  bool check64BitPaths = false;
};

TEST_F(CliProgramTest, TextScanWritesReportLinesInTheOrderFoundWithoutIgnoredRows) {
  EXPECT_EQ(Run({"scan", "--sections", "8,3"}), CliExit::Ok);
  EXPECT_EQ(ran, (std::vector<int>{8, 3}));
  EXPECT_EQ(console.out,
            "Caption 8  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S8\r\n"
            "Caption 3  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S3\r\n");
  EXPECT_EQ(console.err, "") << "elevated and not a terminal: nothing to say";
}

TEST_F(CliProgramTest, ExactWow64PathsComeFromTheSwitchOrTheSettings) {
  facts.wow64 = true;
  for (const auto& [flag, setting, expected] : {std::tuple{false, false, false}, std::tuple{true, false, true},
                                                std::tuple{false, true, true}}) {
    settings.Check64BitPaths = setting;
    std::vector<std::string> args{"scan", "--sections", "3"};
    if (flag) args.push_back("--check-64bit-paths");
    check64BitPaths = !expected;
    EXPECT_EQ(Run(args), CliExit::Ok);
    EXPECT_EQ(check64BitPaths, expected) << flag << setting;
  }
}

TEST_F(CliProgramTest, NoIgnoreKeepsEveryRow) {
  EXPECT_EQ(Run({"scan", "--sections", "5", "--no-ignore", "--format", "json"}), CliExit::Ok);
  JsonCheck json;
  ASSERT_TRUE(json.Parse(console.out)) << console.out;
  EXPECT_NE(console.out.find("\"key\":\"HKEY_CURRENT_USER\\\\Software\\\\ThinPrint\\\\Client\",\"tag\":1"),
            std::string::npos);
  EXPECT_NE(console.out.find("{\"section\":5,\"problem\":\"Caption 5\",\"data\":\"d\xC3\xA9j\xC3\xA0\""),
            std::string::npos);
}

TEST_F(CliProgramTest, SettingsDecideSectionsUserIgnoreListAndDrives) {
  settings.NodeSelected.fill(false);
  settings.NodeSelected[1] = true;  // the root node is no section
  settings.NodeSelected[6] = true;
  settings.NodeSelected[25] = true;
  settings.IgnoreKeys = {"HKEY_USERS\\S25", "HKEY_USERS\\S6"};
  settings.IgnoreKeyCount = 1;
  settings.IgnoreRemovableDrive = false;
  files.SetDrive('A', DriveType::Removable, true);
  EXPECT_EQ(Run({"scan"}), CliExit::Ok);
  EXPECT_EQ(settingsLoads, 1);
  EXPECT_EQ(ran, (std::vector<int>{6, 25}));
  EXPECT_EQ(console.out, "Caption 6  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S6\r\n");
  EXPECT_EQ(driveLetters, "abcdefghijklmnopqrstuvwxyz");
  EXPECT_TRUE(driveAReady);
}

TEST_F(CliProgramTest, DefaultSettingsScanEverySectionOnFixedDisksOnly) {
  EXPECT_EQ(Run({"scan"}), CliExit::Ok);
  EXPECT_EQ(ran.size(), 23u);
  EXPECT_EQ(ran.front(), 3);
  EXPECT_EQ(ran.back(), 25);
  EXPECT_EQ(driveLetters, "c");
  EXPECT_FALSE(driveAReady);
  EXPECT_EQ(settings.BackupFolder, "C:\\Tools\\Backup");
}

TEST_F(CliProgramTest, SettingsFileNamedOnTheCommandLineDecidesSectionsAndIgnoreList) {
  ASSERT_TRUE(files.WriteWholeFile("C:\\my.ini",
                                   "[NodeSelected]\r\n3=0\r\n4=0\r\n5=1\r\n6=0\r\n7=0\r\n8=0\r\n9=0\r\n10=0\r\n11=0\r\n"
                                   "12=0\r\n13=0\r\n14=0\r\n15=0\r\n16=0\r\n17=0\r\n18=0\r\n19=0\r\n20=0\r\n"
                                   "21=0\r\n22=0\r\n23=0\r\n24=0\r\n25=1\r\n"
                                   "[IgnoreKey]\r\nCount=1\r\nKey1=HKEY_USERS\\S25\r\n"));
  host.loadSettings = [this](const std::string& path) { return LoadSettingsReadOnly(files, ini, "C:\\Tools\\", path).options; };
  EXPECT_EQ(Run({"scan", "--settings", "C:\\my.ini"}), CliExit::Ok);
  EXPECT_EQ(ran, (std::vector<int>{5, 25}));
  EXPECT_EQ(console.out, "Caption 5  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S5\r\n");
  std::string after;
  ASSERT_TRUE(files.ReadWholeFile("C:\\my.ini", after));
  EXPECT_NE(after.find("Key1=HKEY_USERS\\S25"), std::string::npos) << "the file is never rewritten";
  EXPECT_EQ(Run({"scan", "--settings"}), CliExit::Usage);
}

TEST_F(CliProgramTest, NamedSettingsFileMustExistAndOutputMustArrive) {
  ASSERT_TRUE(files.AddFolder("C:\\Conf"));
  for (const std::string bad : {"C:\\missing.ini", "C:\\Conf"}) {
    console.err.clear();
    EXPECT_EQ(Run({"clean", "--settings", bad}), CliExit::Usage) << bad;
    EXPECT_NE(console.err.find("\"" + bad + "\""), std::string::npos) << console.err;
  }
  EXPECT_TRUE(ran.empty()) << "nothing is scanned with the defaults instead";

  console.outFailure = "error 112: There is not enough space on the disk.";
  EXPECT_EQ(Run({"scan", "--sections", "4"}), CliExit::Failure);
  EXPECT_NE(console.err.find("cannot write to standard output: error 112"), std::string::npos);
}

TEST_F(CliProgramTest, OutputFileGetsUtf8AndConsoleNothing) {
  ASSERT_TRUE(files.AddFolder("C:\\Out"));
  EXPECT_EQ(Run({"scan", "--sections", "4", "--output", "C:\\Out\\r\xC3\xA9sult.json", "--format", "json"}),
            CliExit::Ok);
  EXPECT_EQ(console.out, "");
  std::string written;
  ASSERT_TRUE(files.ReadWholeFile("C:\\Out\\r\xC3\xA9sult.json", written));
  EXPECT_EQ(written,
            "{\"findings\":[{\"section\":4,\"problem\":\"Caption 4\",\"data\":\"d\xC3\xA9j\xC3\xA0\","
            "\"key\":\"HKEY_USERS\\\\S4\",\"tag\":0,\"reason\":\"No values and no subkeys\"}]}\r\n");
}

TEST_F(CliProgramTest, OutputThatCannotBeWrittenFailsWithTheSystemsReason) {
  ASSERT_TRUE(files.AddFolder("C:\\Out"));
  files.FailWritesTo("C:\\Out\\full.txt");
  const struct {
    const char* path;
    const char* message;
  } cases[] = {
      {"C:\\Out\\full.txt", "cannot write \"C:\\Out\\full.txt\": error 112: There is not enough space on the disk.\r\n"},
      {"C:\\Missing\\x.txt", "cannot write \"C:\\Missing\\x.txt\": error 3: The system cannot find the path specified.\r\n"},
      {"C:\\Out", "cannot write \"C:\\Out\": error 5: Access is denied.\r\n"},
  };
  for (const auto& c : cases) {
    console.err.clear();
    EXPECT_EQ(Run({"scan", "--sections", "4", "--output", c.path}), CliExit::Failure) << c.path;
    EXPECT_EQ(console.err, std::string(CliMessagePrefix) + c.message);
  }
  EXPECT_FALSE(files.FileExists("C:\\Missing\\x.txt"));
  EXPECT_TRUE(files.DirectoryExists("C:\\Out"));
  EXPECT_EQ(console.out, "");
}

TEST_F(CliProgramTest, ScanEndingOnAnErrorFailsAndWritesNoFindings) {
  failingSection = 4;
  EXPECT_EQ(Run({"scan", "--sections", "3-5"}), CliExit::Failure);
  EXPECT_EQ(ran, (std::vector<int>{3, 4}));
  EXPECT_EQ(console.out, "") << "partial findings would pass for a whole scan";
  EXPECT_NE(console.err.find("error in section 4"), std::string::npos) << console.err;
}

TEST_F(CliProgramTest, UsageErrorIsOneLineOnStderrAndRunsNothing) {
  EXPECT_EQ(Run({"scan", "--sections", "6-3"}), CliExit::Usage);
  EXPECT_EQ(Run({}), CliExit::Usage);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(settingsLoads, 0);
  EXPECT_EQ(console.out, "");
  const std::string first = console.err.substr(0, console.err.find("\r\n") + 2);
  EXPECT_EQ(first.find('\n'), first.size() - 1) << console.err;
  EXPECT_NE(first.find("reversed range"), std::string::npos) << first;
}

TEST_F(CliProgramTest, HelpAndVersionGoToStdout) {
  EXPECT_EQ(Run({"--version"}), CliExit::Ok);
  EXPECT_EQ(console.out, "Vantorel Lindqua 2.1\r\n");
  console.out.clear();
  EXPECT_EQ(Run({"--help"}), CliExit::Ok);
  EXPECT_EQ(console.out.rfind("Usage: lindqua-cli scan", 0), 0u);
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(console.err, "");
}

TEST_F(CliProgramTest, NotElevatedIsSaidOnceBeforeAScan) {
  EXPECT_EQ(ElevationNotice(true), "");
  host.elevated = false;
  EXPECT_EQ(Run({"--version"}), CliExit::Ok);
  EXPECT_EQ(console.err, "") << "only a scan reads keys";
  EXPECT_EQ(Run({"scan", "--sections", "3-25"}), CliExit::Ok);
  EXPECT_EQ(console.err, ElevationNotice(false));
  EXPECT_NE(console.err.find("administrator"), std::string::npos);
}

TEST_F(CliProgramTest, ProgressOnlyOnATerminal) {
  console.terminal = true;
  EXPECT_EQ(Run({"scan", "--sections", "3,25"}), CliExit::Ok);
  EXPECT_NE(console.err.find("section 3 HKEY_CLASSES_ROOT"), std::string::npos) << console.err;
  EXPECT_NE(console.err.find("scanned 2 of 2 sections: 4 found"), std::string::npos) << console.err;
  EXPECT_EQ(console.err.substr(console.err.size() - 2), "\r\n") << "the prompt starts on a line of its own";
  EXPECT_EQ(console.out,
            "Caption 3  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S3\r\n"
            "Caption 25  ^^^  d\xC3\xA9j\xC3\xA0  ^^^  HKEY_USERS\\S25\r\n")
      << "progress never mixes into stdout";
}

TEST(ConsoleScan, WaitsForSlowSectionsAndReportsEachOne) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ConsoleScanRequest request;
  request.sections = {7, 9, 11};
  request.scanners = [](int section) -> std::function<void(ScanContext&)> {
    return [section](ScanContext& scan) {
      std::this_thread::sleep_for(std::chrono::milliseconds(section == 9 ? 300 : 5));
      scan.AddFinding("c", "d", "HKEY_USERS\\k", 0, "r");
    };
  };
  std::vector<ConsoleScanProgress> seen;
  const ConsoleScanResult result = RunConsoleScan(ScanPlatform{registry, files, facts}, request,
                                                  [&](const ConsoleScanProgress& p) { seen.push_back(p); });
  EXPECT_TRUE(result.completed);
  ASSERT_EQ(result.rows.size(), 3u);
  EXPECT_EQ(result.rows[1].section, 9);
  ASSERT_FALSE(seen.empty());
  EXPECT_EQ(seen.back().sectionsDone, 3);
  EXPECT_EQ(seen.back().runningSection, 0);
  EXPECT_EQ(seen.back().found, 3u);
  for (std::size_t i = 1; i < seen.size(); ++i) EXPECT_GE(seen[i].sectionsDone, seen[i - 1].sectionsDone);
  bool sawNine = false;
  for (const auto& p : seen) sawNine |= p.runningSection == 9 && p.sectionsDone == 1;
  EXPECT_TRUE(sawNine) << "the slow section shows while it runs";
}

}  // namespace
}  // namespace lindqua::test
