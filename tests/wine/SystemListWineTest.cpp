// The system list fixture on Wine's registry and drive C:: the registry text
// goes in through Wine's own regedit, and the six sections must give the rows
// the memory platform gives for the same data, both when the scanners run in
// this process and when the real lindqua-cli.exe lists them.
#include <windows.h>

#include <gtest/gtest.h>

#include <sstream>

#include "wine/WineRun.h"

#include "app/FindingsOutput.h"
#include "platform/TRegistry.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "support/SystemListFixture.h"

namespace lindqua::test {

namespace {

// Seeds the fixture and takes it out again, also when the test fails half-way.
class SystemListSeed {
 public:
  SystemListSeed(bool underWow64, Win32FileSystem& files) : underWow64_(underWow64), files_(files) {}
  ~SystemListSeed() {
    RunRegedit(underWow64_, SystemListFixturePath("cleanup.reg"));
    DeleteSystemListFiles(files_);
  }
  SystemListSeed(const SystemListSeed&) = delete;
  SystemListSeed& operator=(const SystemListSeed&) = delete;

  void Plant(Win32Registry& registry) {
    ASSERT_TRUE(RunRegedit(underWow64_, SystemListFixturePath("fixture.reg")));
    TRegistry check(registry);
    check.SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(check.KeyExists("\\AppEvents\\Schemes\\Apps\\LindquaSlApp\\Ding\\.Current")) << "regedit imported nothing";
    ASSERT_EQ(CreateSystemListFiles(files_), "");
  }

 private:
  bool underWow64_;
  Win32FileSystem& files_;
};

// The build passes the program's Linux path; under Wine the Linux root is Z:.
std::wstring CliPath() {
  std::wstring path = L"Z:" + Wide(LINDQUA_CLI_EXE);
  for (wchar_t& c : path)
    if (c == L'/') c = L'\\';
  return path;
}

// The lines of a text report that name the fixture, in their order.
std::vector<std::string> FixtureLines(const std::string& report) {
  std::vector<std::string> lines;
  std::istringstream in(report);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (ContainsText(line, SystemListMarker)) lines.push_back(line);
  }
  return lines;
}

// Each expected row ("section|tag|location|shown|caption") as the report prints it.
std::vector<std::string> ExpectedReportLines() {
  std::vector<std::string> lines;
  for (const std::string& row : ExpectedSystemListRows()) {
    std::vector<std::string> fields;
    std::istringstream in(row);
    for (std::string field; std::getline(in, field, '|');) fields.push_back(field);
    fields.resize(5);
    lines.push_back(fields[4] + ReportColumnSeparator + fields[3] + ReportColumnSeparator + fields[2]);
  }
  return lines;
}

}  // namespace

TEST(SystemListWine, Win32PlatformGivesTheExpectedRows) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  const bool underWow64 = IsWow64(facts);
  {
    SystemListSeed seed(underWow64, files);
    seed.Plant(registry);
    if (HasFatalFailure()) return;
    const auto rows = SystemListRowTexts(RunSystemListSections(ScanPlatform{registry, files, facts}));
    EXPECT_EQ(rows, ExpectedSystemListRows());
  }
  TRegistry after(registry);
  after.SetRootKey(RootKey::CurrentUser);
  EXPECT_FALSE(after.KeyExists("\\AppEvents\\Schemes\\Apps\\LindquaSlApp"));
  after.SetRootKey(RootKey::LocalMachine);
  EXPECT_FALSE(after.KeyExists("\\SYSTEM\\CurrentControlSet\\Services\\LindquaSlGone"));
  EXPECT_FALSE(files.DirectoryExists(SystemListFolder));
}

TEST(SystemListWine, CliListsTheFixtureRows) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  SystemListSeed seed(IsWow64(facts), files);
  seed.Plant(registry);
  if (HasFatalFailure()) return;
  // Removable drives count, as in the in-process run, so the floppy rows show.
  const std::string settings = std::string(SystemListFolder) + "\\Settings.ini";
  const std::string report = std::string(SystemListFolder) + "\\report.txt";
  ASSERT_TRUE(files.WriteWholeFile(settings, "[Settings]\r\nIgnoreRemovableDrive=0\r\n"));
  DWORD exitCode = 1;
  ASSERT_TRUE(RunAndWait(L"\"" + CliPath() + L"\" scan --sections " + Wide(SystemListSections) + L" --settings \"" +
                             Wide(settings) + L"\" --output \"" + Wide(report) + L"\"",
                         120000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  std::string text;
  ASSERT_TRUE(files.ReadWholeFile(report, text));
  EXPECT_EQ(FixtureLines(text), ExpectedReportLines());
}

}  // namespace lindqua::test
