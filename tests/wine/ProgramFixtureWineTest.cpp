// The program and history fixture on a Wine prefix: the registry text goes in
// through Wine's own regedit, the shortcuts are made by the prefix's shell
// link object inside its real shell folders, the five sections run over the
// Win32 platform, and the fix of the shortcut rows must lose no file.
#include <windows.h>

#include <gtest/gtest.h>

#include "wine/ShellLinkFile.h"
#include "wine/WineRun.h"
#include "wine/WineTrash.h"

#include "platform/TRegistry.h"
#include "platform/Text.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "support/ProgramFixture.h"

namespace lindqua::test {

namespace {

// Takes out what the fixture put into the registry, onto drive C: and into
// the shell folders, also when the test fails half-way.
class ProgramFixtureCleanup {
 public:
  ProgramFixtureCleanup(bool underWow64, Win32FileSystem& files) : underWow64_(underWow64), files_(files) {}
  ~ProgramFixtureCleanup() {
    RunRegedit(underWow64_, ProgramFixturePath("cleanup.reg"));
    files_.DeletePath(ProgramFixtureFolder);
    for (const ShellItem& item : ProgramFixtureShellItems()) files_.DeletePath(ShellItemOwnedRoot(files_, item));
  }
  ProgramFixtureCleanup(const ProgramFixtureCleanup&) = delete;
  ProgramFixtureCleanup& operator=(const ProgramFixtureCleanup&) = delete;

 private:
  bool underWow64_;
  Win32FileSystem& files_;
};

bool KeyExists(Win32Registry& registry, RootKey root, const std::string& path) {
  TRegistry reg(registry);
  reg.SetRootKey(root);
  return reg.KeyExists("\\" + path);
}

}  // namespace

TEST(ProgramFixtureWine, Win32PlatformGivesTheExpectedRowsAndLosesNoShortcut) {
  ASSERT_FALSE(WineTrashFolder().empty()) << "run through cmake/wine-run, which keeps Wine's trash in the prefix";
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  const bool underWow64 = IsWow64(facts);
  {
    ProgramFixtureCleanup cleanup(underWow64, files);
    ASSERT_TRUE(RunRegedit(underWow64, ProgramFixturePath("fixture.reg")));
    ASSERT_TRUE(KeyExists(registry, RootKey::LocalMachine,
                          "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LindquaPx Old"))
        << "regedit imported nothing";
    for (const std::string& path : ProgramFixtureFiles()) {
      if (path.back() == '\\') {
        ASSERT_TRUE(files.ForceDirectories(path)) << path;
      } else {
        ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
        ASSERT_TRUE(files.WriteWholeFile(path, "x")) << path;
      }
    }
    for (const ShellItem& item : ProgramFixtureShellItems()) {
      ASSERT_FALSE(files.GetSpecialFolder(item.folderId).empty()) << item.folderId;
      const std::string path = ShellItemPath(files, item);
      if (item.kind == "dir") {
        ASSERT_TRUE(files.ForceDirectories(path)) << path;
        continue;
      }
      ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
      if (item.kind == "raw") {
        ASSERT_TRUE(WriteRawShellLink(path, item.target)) << path;
      } else {
        ASSERT_TRUE(MakeShellLink(path, item.target)) << path;
      }
    }

    const auto rows = RunProgramSections(ScanPlatform{registry, files, facts});
    EXPECT_EQ(SortedProgramRows(rows), ExpectedProgramRows(files, ThisProgramsView(underWow64)));
    EXPECT_EQ(LostShortcutFiles(files, rows, InWineTrash), std::vector<std::string>{});
    for (const Finding& row : rows) {
      if (row.tag == 4 && ContainsText(row.location, ProgramFixtureMarker)) {
        EXPECT_TRUE(InWineTrash(row.location)) << row.location << ": drive C: has a Recycle Bin";
      }
    }
  }
  EXPECT_FALSE(KeyExists(registry, RootKey::LocalMachine,
                         "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\LindquaPx Old"));
  EXPECT_FALSE(files.DirectoryExists(ProgramFixtureFolder));
}

}  // namespace lindqua::test
