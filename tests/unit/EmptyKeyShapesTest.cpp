// The empty-key walk of HKEY_USERS judges the keys the users' sweeps read
// from what they saw, instead of asking each key again: the same rows as a
// walk that asks, and still only keys the walk itself can open to delete.
#include <gtest/gtest.h>

#include <algorithm>

#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/TRegistry.h"
#include "support/FailingRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr std::uint32_t DeleteRight = 0x10000;

void Key(MemoryRegistry& registry, RootKey root, const std::string& path, const char* value = nullptr) {
  TRegistry reg(registry);
  reg.SetRootKey(root);
  ASSERT_TRUE(reg.OpenKey(path, true)) << path;
  if (value) reg.WriteString(value, "x");
}

// Empty keys and chains of lone subkeys in the current user's tree, in keys
// its sweep passes over, below a key the walk may not delete, in another
// user and in the default user (which the walk leaves alone).
void Seed(MemoryRegistry& registry) {
  const RootKey user = RootKey::CurrentUser;
  Key(registry, user, "Software\\Vendor", "kept");
  Key(registry, user, "Software\\Vendor\\Empty");
  Key(registry, user, "Software\\Chain\\Only\\Deeper");
  Key(registry, user, "Software\\Two\\A");
  Key(registry, user, "Software\\Two\\B", "v");
  Key(registry, user, "Software\\Gr\u00fc\u00dfe \"q\"\\Leer");
  Key(registry, user, "AppEvents\\Schemes\\Apps\\Game\\Empty");
  Key(registry, user, "AppEvents\\Schemes", "v");  // holds values, yet a key below it was passed over
  Key(registry, user, "Software\\Locked\\Empty");
  Key(registry, user, "Software\\Locked", "v");
  ASSERT_TRUE(registry.DenyAccess(user, "Software\\Locked", DeleteRight));
  Key(registry, user, "Software\\Microsoft\\Guarded\\Empty");
  // Trees with no key that could be empty: values everywhere, or two subkeys.
  Key(registry, user, "Software\\Quiet\\Deep\\Deeper", "v");
  Key(registry, user, "Software\\Quiet\\Deep", "v");
  Key(registry, user, "Software\\Quiet", "v");
  Key(registry, user, "Software\\Forked\\A", "v");
  Key(registry, user, "Software\\Forked\\B", "v");
  Key(registry, RootKey::Users, "S-1-5-18\\Software\\Old");
  Key(registry, RootKey::Users, ".DEFAULT\\Software\\Old");
}

struct WalkRun {
  std::vector<std::string> rows;  // location|shown|reason of the walk's rows
  std::uint64_t asked = 0;        // lists and facts the walk asked for
  std::uint64_t opened = 0;       // keys the walk opened
};

WalkRun RunScan(MemoryScan& m, const std::vector<int>& sections,
            std::size_t maxBytes = KeyShapeRecord::DefaultMaxBytes) {
  FailingRegistry counted(m.registry);
  ResultsModel model;
  ScanContext scan(ScanPlatform{counted, m.files, m.facts}, ScanSink(model, m.stop.get_token()));
  scan.DriveLetters = AllDriveLetters;
  scan.ChosenSections = sections;
  scan.UsersKeyShapes = KeyShapeRecord(maxBytes);
  WalkRun run;
  for (int section : sections) {
    scan.currentSection = section;
    const std::uint64_t before = counted.Count(RegFault::Enumerate) + counted.Count(RegFault::Read);
    const std::uint64_t opensBefore = counted.Count(RegFault::Open);
    ScannerForSection(section)(scan);
    if (section == SectionId::EmptyKeys) {
      run.asked = counted.Count(RegFault::Enumerate) + counted.Count(RegFault::Read) - before;
      run.opened = counted.Count(RegFault::Open) - opensBefore;
    }
  }
  EXPECT_FALSE(scan.UsersKeyShapes.Usable()) << "nothing is kept once the walk is done";
  for (const Finding& row : model.Rows())
    if (row.section == SectionId::EmptyKeys) run.rows.push_back(row.location + "|" + row.shownText + "|" + row.reason);
  return run;
}

}  // namespace

TEST(EmptyKeysFromSweeps, SameRowsAsAWalkThatAsksEveryKey) {
  MemoryScan m;
  Seed(m.registry);
  const WalkRun alone = RunScan(m, {SectionId::EmptyKeys});
  const std::string user = std::string("HKEY_USERS\\") + MemoryRegistry::CurrentUserSid;
  const auto has = [&](const std::string& row) {
    return std::find(alone.rows.begin(), alone.rows.end(), row) != alone.rows.end();
  };
  EXPECT_TRUE(has(user + "\\Software\\Vendor|Empty|No values and no subkeys"));
  EXPECT_TRUE(has(user + "\\Software|Chain|No values; only an empty subkey: Only\\Deeper"));
  EXPECT_TRUE(has(user + "\\Software\\Two|A|No values and no subkeys"));
  EXPECT_TRUE(has(user + "\\Software\\Gr\u00fc\u00dfe \"q\"|Leer|No values and no subkeys"));
  EXPECT_TRUE(has(user + "\\AppEvents\\Schemes\\Apps\\Game|Empty|No values and no subkeys"));
  EXPECT_TRUE(has("HKEY_USERS\\S-1-5-18\\Software|Old|No values and no subkeys"));
  for (const std::string& row : alone.rows)
    EXPECT_TRUE(row.find("Locked\\") == std::string::npos && row.find("DEFAULT") == std::string::npos &&
                row.find("Guarded") == std::string::npos)
        << row << ": below a key the walk may not delete, the default user or a guarded tree";

  struct Case {
    const char* what;
    std::vector<int> sections;
    bool fewer;  // the walk asks less than alone
  };
  const Case cases[] = {
      {"after the current user", {SectionId::CurrentUser, SectionId::EmptyKeys}, true},
      {"after all users", {SectionId::Users, SectionId::EmptyKeys}, true},
      {"after both, all users replaying the current one",
       {SectionId::CurrentUser, SectionId::Users, SectionId::EmptyKeys}, true},
      {"before them: nothing is kept", {SectionId::EmptyKeys, SectionId::CurrentUser, SectionId::Users}, false},
  };
  for (const Case& c : cases) {
    const WalkRun run = RunScan(m, c.sections);
    EXPECT_EQ(run.rows, alone.rows) << c.what;
    if (c.fewer) {
      EXPECT_LT(run.asked, alone.asked) << c.what;
      EXPECT_LE(run.opened + 4, alone.opened) << c.what << ": the two trees without an empty key are not opened";
    } else {
      EXPECT_EQ(run.asked, alone.asked) << c.what;
      EXPECT_EQ(run.opened, alone.opened) << c.what;
    }
  }
  // Past its bound the record is given up whole and the walk asks every key.
  const WalkRun bounded = RunScan(m, {SectionId::CurrentUser, SectionId::Users, SectionId::EmptyKeys}, 600);
  EXPECT_EQ(bounded.rows, alone.rows);
  EXPECT_EQ(bounded.asked, alone.asked);
  EXPECT_EQ(bounded.opened, alone.opened);
}

}  // namespace lindqua::test
