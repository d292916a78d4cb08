// The sweep of all users gives the current user's rows from what the sweep of
// the current user kept: the same rows as reading the tree again, and the
// tree read again wherever what was kept cannot be trusted.
#include <gtest/gtest.h>

#include <functional>

#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/TRegistry.h"
#include "support/FailingRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

// A user tree with rows at the top, in keys the current user's sweep passes
// over (some nested, one beside a kept key of the same stem), names with a
// backslash, quotes and non-ASCII text, and users before and after the
// current one.
void Seed(MemoryRegistry& registry) {
  const auto put = [&registry](RootKey root, const std::string& path, const std::string& name,
                               const std::string& text) {
    TRegistry reg(registry);
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(path, true)) << path;
    reg.WriteString(name, text);
  };
  put(RootKey::CurrentUser, "", "top", "C:\\Gone\\top.exe");
  put(RootKey::CurrentUser, "AppEvents\\Schemes\\Apps\\Game\\.Current", "", "C:\\Gone\\ding.wav");
  put(RootKey::CurrentUser, "AppEvents\\Schemes\\Names", "x", "C:\\Gone\\names.wav");
  put(RootKey::CurrentUser, "Software\\A \"quoted\" key", "C:\\Gone\\lib.dll", "C:\\Gone\\lib.dll");
  put(RootKey::CurrentUser, "Software\\A \"quoted\" key", "Grüße", "C:\\Gone\\grüße.exe");
  put(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "starter", "C:\\Gone\\run.exe");
  put(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce\\Deeper", "once", "C:\\Gone\\o.exe");
  put(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\RunX", "beside", "C:\\Gone\\b.exe");
  put(RootKey::CurrentUser, "Software\\Zed", "present", "C:\\Tools\\app.exe");
  put(RootKey::CurrentUser, "Software\\Zed", "last", "C:\\Gone\\z.exe");
  put(RootKey::Users, ".Default\\Software", "d", "C:\\Gone\\default.exe");
  put(RootKey::Users, "S-1-5-21-0-0-0-1000_Classes\\x", "", "C:\\Gone\\class.exe");
  put(RootKey::Users, "S-1-5-18\\Software", "s", "C:\\Gone\\system.exe");
}

// Lines "section|tag|location|shown|reason" of one section's rows.
std::vector<std::string> RowsOf(const std::vector<Finding>& rows, int section) {
  std::vector<std::string> out;
  for (const Finding& row : rows)
    if (row.section == section)
      out.push_back(std::to_string(row.tag) + "|" + row.location + "|" + row.shownText + "|" + row.caption + "|" + row.reason);
  return out;
}

struct SectionRun {
  std::vector<std::string> users;  // the rows of all users
  std::uint64_t usersOpens = 0;    // keys the sweep of all users opened
};

// Runs the chosen sections in order, letting `between` change the registry
// before the sweep of all users.
SectionRun RunSections(MemoryScan& m, RegistryBackend& registry, const std::vector<int>& sections,
               const std::function<void()>& between = {}, std::size_t maxBytes = SweptTreeRecord::DefaultMaxBytes) {
  FailingRegistry counted(registry);
  ResultsModel model;
  ScanContext scan(ScanPlatform{counted, m.files, m.facts}, ScanSink(model, m.stop.get_token()));
  scan.DriveLetters = AllDriveLetters;
  scan.ChosenSections = sections;
  scan.CurrentUserSweep = SweptTreeRecord(maxBytes);
  SectionRun run;
  for (int section : sections) {
    scan.currentSection = section;
    if (section == SectionId::Users) {
      if (between) between();
      const std::uint64_t before = counted.Count(RegFault::Open);
      ScanUsers(scan);
      run.usersOpens = counted.Count(RegFault::Open) - before;
    } else {
      ScannerForSection(section)(scan);
    }
  }
  EXPECT_TRUE(scan.CurrentUserSweep.Entries().empty()) << "nothing is kept once both are done";
  run.users = RowsOf(model.Rows(), SectionId::Users);
  return run;
}

// A backend that names another key, or none, as the current user's.
class MisnamingRegistry : public MemoryRegistry {
 public:
  explicit MisnamingRegistry(std::optional<std::string> name) : name_(std::move(name)) {}
  std::optional<std::string> CurrentUserKeyName() override { return name_; }

 private:
  std::optional<std::string> name_;
};

}  // namespace

TEST(CurrentUserReplay, AllUsersGiveTheSameRowsWithoutReadingTheCurrentUserAgain) {
  MemoryScan m;
  m.files.AddFile("C:\\Tools\\app.exe");
  Seed(m.registry);
  const SectionRun alone = RunSections(m, m.registry, {SectionId::Users});
  const SectionRun after = RunSections(m, m.registry, {SectionId::CurrentUser, SectionId::Users});
  const SectionRun before = RunSections(m, m.registry, {SectionId::Users, SectionId::CurrentUser});

  ASSERT_EQ(alone.users.size(), 12u);
  EXPECT_EQ(after.users, alone.users);
  EXPECT_EQ(before.users, alone.users);
  // Read again: the five keys the current user's sweep passed over and what
  // lies below them, and the other users. Not the rest of the current user.
  EXPECT_LT(after.usersOpens, alone.usersOpens);
  EXPECT_EQ(before.usersOpens, alone.usersOpens);
}

TEST(CurrentUserReplay, WhatCannotBeTrustedIsReadAgain) {
  struct Case {
    const char* what;
    std::optional<std::string> keyName;  // as the backend names it
    std::size_t maxBytes;
    bool changeTop;  // a value is added at the top between the two sweeps
  };
  const Case cases[] = {
      {"the top changed in between", MemoryRegistry::CurrentUserSid, SweptTreeRecord::DefaultMaxBytes, true},
      {"more was found than may be kept", MemoryRegistry::CurrentUserSid, 600, false},
      {"the backend cannot name the key", std::nullopt, SweptTreeRecord::DefaultMaxBytes, false},
      {"the backend names another key", std::string("S-1-5-18"), SweptTreeRecord::DefaultMaxBytes, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryScan m;
    MisnamingRegistry registry(c.keyName);
    Seed(registry);
    const auto change = [&registry, &c] {
      if (!c.changeTop) return;
      TRegistry reg(registry);
      reg.SetRootKey(RootKey::CurrentUser);
      ASSERT_TRUE(reg.OpenKey("", false));
      reg.WriteString("added", "C:\\Gone\\added.exe");
    };
    const SectionRun both = RunSections(m, registry, {SectionId::CurrentUser, SectionId::Users}, change, c.maxBytes);
    const SectionRun alone = RunSections(m, registry, {SectionId::Users});
    EXPECT_EQ(both.users, alone.users);
    EXPECT_EQ(both.usersOpens, alone.usersOpens) << "the whole tree is read again";
  }
}

TEST(CurrentUserReplay, NothingIsKeptWhenAllUsersAreNotChosen) {
  MemoryScan m;
  Seed(m.registry);
  m.scan.ChosenSections = {SectionId::CurrentUser};
  m.scan.currentSection = SectionId::CurrentUser;
  ScanCurrentUser(m.scan);
  EXPECT_FALSE(m.Rows().empty());
  EXPECT_TRUE(m.scan.CurrentUserSweep.Entries().empty());
}

}  // namespace lindqua::test
