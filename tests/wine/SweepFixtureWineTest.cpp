// The sweep fixture on Wine's registry and drive C:: the registry text goes in
// through Wine's own regedit, the scanners run over the Win32 platform, and
// the rows must be those the memory platform gives for the same data.
#include <windows.h>

#include <gtest/gtest.h>

#include "wine/WineRun.h"

#include "platform/TRegistry.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/WinText.h"
#include "support/SweepFixture.h"

namespace lindqua::test {

namespace {

bool KeyExists(Win32Registry& registry, RootKey root, const std::string& path) {
  TRegistry reg(registry);
  reg.SetRootKey(root);
  return reg.KeyExists("\\" + path);
}

// Takes out what the fixture put into the registry and onto drive C:, also
// when the test fails half-way.
class FixtureCleanup {
 public:
  FixtureCleanup(bool underWow64, Win32FileSystem& files) : underWow64_(underWow64), files_(files) {}
  ~FixtureCleanup() {
    RunRegedit(underWow64_, SweepFixturePath("cleanup.reg"));
    files_.DeletePath(SweepFixtureFolder);
    ::SetEnvironmentVariableW(Wide(SweepFixtureVariable).c_str(), nullptr);
  }
  FixtureCleanup(const FixtureCleanup&) = delete;
  FixtureCleanup& operator=(const FixtureCleanup&) = delete;

 private:
  bool underWow64_;
  Win32FileSystem& files_;
};

}  // namespace

TEST(SweepFixtureWine, Win32PlatformGivesTheExpectedRows) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  const bool underWow64 = IsWow64(facts);
  {
    FixtureCleanup cleanup(underWow64, files);
    ASSERT_TRUE(RunRegedit(underWow64, SweepFixturePath("fixture.reg")));
    ASSERT_TRUE(KeyExists(registry, RootKey::CurrentUser, "Software\\LindquaFx\\Check")) << "regedit imported nothing";
    ASSERT_TRUE(KeyExists(registry, RootKey::LocalMachine, "Software\\LindquaFx\\Vendor"));
    for (const std::string& path : SweepFixtureFiles()) {
      if (path.back() == '\\') {
        ASSERT_TRUE(files.ForceDirectories(path)) << path;
      } else {
        ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
        ASSERT_TRUE(files.WriteWholeFile(path, "x")) << path;
      }
    }
    ::SetEnvironmentVariableW(Wide(SweepFixtureVariable).c_str(), Wide(SweepFixtureFolder).c_str());

    const auto rows = FixtureRowTexts(RunSweepSections(ScanPlatform{registry, files, facts}));
    EXPECT_EQ(rows, ExpectedSweepRows(ThisProgramsView(underWow64)));
  }
  EXPECT_FALSE(KeyExists(registry, RootKey::CurrentUser, "Software\\LindquaFx"));
  EXPECT_FALSE(KeyExists(registry, RootKey::LocalMachine, "Software\\LindquaFx"));
  EXPECT_FALSE(KeyExists(registry, RootKey::ClassesRoot, "LindquaFx.File"));
  EXPECT_FALSE(files.DirectoryExists(SweepFixtureFolder));
  TRegistry run(registry);
  ASSERT_TRUE(run.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Run", false));
  EXPECT_FALSE(run.ValueExists("LindquaFx Run"));
}

}  // namespace lindqua::test
