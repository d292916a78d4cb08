// Paths into the folders WOW64 redirects, on Wine's registry and file system:
// files on the 64-bit side only, the 32-bit side only, both and neither,
// named through each form of path, scanned with the exact check on and off.
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/TScanTaskThread.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "support/FixtureData.h"
#include "support/RecordingNotifier.h"
#include "support/SweepFixture.h"
#include "wine/ShellLinkFile.h"
#include "wine/WineRun.h"

namespace lindqua::test {

namespace {

constexpr const char* Marker = "LindquaW64";

// Takes out the fixture's keys and files, also when the test fails half-way.
class Wow64FixtureCleanup {
 public:
  explicit Wow64FixtureCleanup(Win32FileSystem& files) : files_(files) {}
  ~Wow64FixtureCleanup() {
    RunRegedit(true, FixtureDataPath("wow64", "cleanup.reg"));
    for (const std::string& path : FixtureDataLines("wow64", "files.txt"))
      (void)files_.DeletePath(path.substr(0, path.rfind('\\')));
  }
  Wow64FixtureCleanup(const Wow64FixtureCleanup&) = delete;
  Wow64FixtureCleanup& operator=(const Wow64FixtureCleanup&) = delete;

 private:
  Win32FileSystem& files_;
};

std::vector<Finding> ScanSection(ScanPlatform platform, const char* section, bool check64BitPaths) {
  ResultsModel model;
  RecordingNotifier notifier;
  TScanTaskThread scan(platform, model, notifier, false);
  scan.SectionList = {section};
  scan.SetCheck64BitPaths(check64BitPaths);
  scan.Resume();
  scan.WaitFor();
  EXPECT_FALSE(scan.EndedOnError());
  std::vector<Finding> rows;
  for (const Finding& row : model.Rows())
    if (ContainsText(row.location, Marker)) rows.push_back(row);
  return rows;
}

std::vector<std::string> Expected(bool on) {
  std::vector<std::string> rows;
  for (const std::string& line : FixtureDataLines("wow64", "expected-rows.txt")) {
    const std::size_t bar = line.find('|');
    if (line.substr(0, bar) == "*" || on) rows.push_back(line.substr(bar + 1));
  }
  return rows;
}

}  // namespace

TEST(Wow64PathsWine, RowsWithTheExactCheckOnAndOff) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  if (!IsWow64(facts)) GTEST_SKIP() << "only a 32-bit program on 64-bit Windows sees redirected folders";
  Wow64FixtureCleanup cleanup(files);
  ASSERT_TRUE(RunRegedit(true, FixtureDataPath("wow64", "fixture.reg")));
  for (const std::string& path : FixtureDataLines("wow64", "files.txt")) {
    ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
    ASSERT_TRUE(files.WriteWholeFile(path, "x")) << path;
  }
  ASSERT_FALSE(files.FileExists("C:\\Windows\\System32\\LindquaW64\\only64.dll")) << "the two views are one";

  const ScanPlatform platform{registry, files, facts};
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "on" : "off");
    const std::vector<Finding> rows = ScanSection(platform, "4", on);
    std::vector<std::string> texts;
    for (const Finding& row : rows) texts.push_back(RowText(row));
    EXPECT_EQ(texts, Expected(on));
    for (const Finding& row : rows) {
      // A path meant in two places says it looked in both.
      const bool twoPlaces = ContainsText(row.shownText, "%") || ContainsText(row.shownText, "System32");
      EXPECT_EQ(ContainsText(row.reason, "64-bit view: Not found: ") &&
                    ContainsText(row.reason, "32-bit view: Not found: "),
                twoPlaces)
          << row.reason;
    }
  }
}

TEST(Wow64PathsWine, ShortcutsFollowTheExactCheck) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  if (!IsWow64(facts)) GTEST_SKIP() << "only a 32-bit program on 64-bit Windows sees redirected folders";
  Wow64FixtureCleanup cleanup(files);
  for (const std::string& path : FixtureDataLines("wow64", "files.txt")) {
    ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
    ASSERT_TRUE(files.WriteWholeFile(path, "x")) << path;
  }
  const std::string desktop = files.GetSpecialFolder(SpecialFolder::CommonDesktop);
  ASSERT_FALSE(desktop.empty());
  const struct {
    const char* name;
    const char* target;
    bool reportedWhenOn;
  } links[] = {
      {"a", "C:\\Program Files\\LindquaW64\\only64.dll", false},
      {"b", "C:\\Program Files (x86)\\LindquaW64\\only64.dll", false},  // may have been %ProgramFiles%
      {"c", "C:\\Program Files\\LindquaW64\\neither.dll", true},
      {"d", "C:\\Windows\\System32\\LindquaW64\\only64.dll", false},
      {"e", "C:\\Windows\\System32\\LindquaW64\\neither.dll", true},
      {"f", "C:\\Windows\\System32\\LindquaW64\\sub64", false},  // a folder in the 64-bit view only
  };
  struct LinkFiles {
    Win32FileSystem& files;
    std::vector<std::string> paths;
    ~LinkFiles() {
      for (const std::string& path : paths) (void)files.DeletePath(path);
    }
  } made{files, {}};
  std::vector<std::string> expected;
  for (const auto& link : links) {
    const std::string path = desktop + "\\" + Marker + " " + link.name + ".lnk";
    ASSERT_TRUE(MakeShellLink(path, link.target)) << path;
    made.paths.push_back(path);
    if (link.reportedWhenOn) expected.push_back(path);
  }
  ASSERT_TRUE(files.ForceDirectories("C:\\Windows\\Sysnative\\LindquaW64\\sub64"));

  const ScanPlatform platform{registry, files, facts};
  for (bool on : {false, true}) {
    SCOPED_TRACE(on ? "on" : "off");
    std::vector<std::string> reported;
    for (const Finding& row : ScanSection(platform, "18", on)) reported.push_back(row.location);
    EXPECT_EQ(reported, on ? expected : std::vector<std::string>{});
  }
}

}  // namespace lindqua::test
