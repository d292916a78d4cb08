// The empty-key walk over Wine's registry: keys seeded with Wine's own regedit
// under the current user must come back through HKEY_USERS as the rows below,
// and the keys a default hive name, a guarded path or a protected name spares
// must give none.
#include <windows.h>

#include <gtest/gtest.h>

#include <stop_token>

#include "wine/WineRun.h"

#include "engine/ResultsModel.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/TRegistry.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"

namespace lindqua::test {

namespace {

std::string KeyWalkFixture(const std::string& name) { return std::string(LINDQUA_FIXTURES) + "\\keywalk\\" + name; }

class KeyWalkCleanup {
 public:
  explicit KeyWalkCleanup(bool underWow64) : underWow64_(underWow64) {}
  ~KeyWalkCleanup() { RunRegedit(underWow64_, KeyWalkFixture("cleanup.reg")); }
  KeyWalkCleanup(const KeyWalkCleanup&) = delete;
  KeyWalkCleanup& operator=(const KeyWalkCleanup&) = delete;

 private:
  bool underWow64_;
};

}  // namespace

TEST(KeyWalkWine, EmptyKeysUnderTheCurrentUserComeBackThroughHkeyUsers) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  const bool underWow64 = IsWow64(facts);
  std::vector<std::string> rows;
  {
    KeyWalkCleanup cleanup(underWow64);
    ASSERT_TRUE(RunRegedit(underWow64, KeyWalkFixture("fixture.reg")));
    TRegistry check(registry);
    ASSERT_TRUE(check.KeyExists("\\Software\\LindquaKw\\Chain\\Mid")) << "regedit imported nothing";

    // Alone, and after the sweeps of the current user and of all users,
    // which keep what they read of each key for the walk.
    const auto walk = [&](bool afterSweeps) {
      ResultsModel model;
      std::stop_source stop;
      ScanContext scan(ScanPlatform{registry, files, facts}, ScanSink(model, stop.get_token()));
      scan.DriveLetters = "c";
      if (afterSweeps) {
        scan.ChosenSections = {SectionId::CurrentUser, SectionId::Users, SectionId::EmptyKeys};
        for (int section : {SectionId::CurrentUser, SectionId::Users}) {
          scan.currentSection = section;
          ScannerForSection(section)(scan);
        }
        const auto own = registry.CurrentUserKeyName();
        EXPECT_TRUE(own && scan.UsersKeyShapes.Top(*own) != KeyShapeRecord::None)
            << "the current user's sweep kept its keys under that user's own key";
        scan.currentSection = SectionId::EmptyKeys;
      }
      ScanEmptyKeys(scan);
      std::vector<std::string> found;
      for (const Finding& row : model.Rows()) {
        if (row.section != scan.currentSection || row.location.find("LindquaKw") == std::string::npos) continue;
        EXPECT_EQ(row.caption, "Empty Registry Keys");
        EXPECT_EQ(row.tag, 3);
        found.push_back(row.shownText + " @ " + row.location);
      }
      return found;
    };
    rows = walk(false);
    EXPECT_EQ(walk(true), rows);
  }
  const std::string base = "HKEY_USERS\\S-1-5-21-0-0-0-1000\\Software\\LindquaKw";
  EXPECT_EQ(rows, (std::vector<std::string>{"Chain @ " + base, "Mid @ " + base + "\\Chain", "Empty @ " + base}));
  TRegistry after(registry);
  EXPECT_FALSE(after.KeyExists("\\Software\\LindquaKw"));
}

}  // namespace lindqua::test
