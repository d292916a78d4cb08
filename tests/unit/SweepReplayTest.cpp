// The sweep of all users gives the current user's rows from what the sweep of
// the current user kept, and the machine sweep its classes from what the
// classes root sweep kept: the same rows as reading the tree again, and the
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

void Put(MemoryRegistry& registry, RootKey root, const std::string& path, const std::string& name,
         const std::string& text) {
  TRegistry reg(registry);
  reg.SetRootKey(root);
  ASSERT_TRUE(reg.OpenKey(path, true)) << path;
  reg.WriteString(name, text);
}

// A user tree with rows at the top, in keys the current user's sweep passes
// over (some nested, one beside a kept key of the same stem), names with a
// backslash, quotes and non-ASCII text, and users before and after the
// current one.
void Seed(MemoryRegistry& registry) {
  const auto put = [&registry](RootKey root, const std::string& path, const std::string& name,
                               const std::string& text) { Put(registry, root, path, name, text); };
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
  std::vector<std::string> users;  // the rows of the section asked about
  std::uint64_t usersOpens = 0;    // keys that section opened
};

// Runs the chosen sections in order, letting `between` change the registry
// before `asked` runs.
SectionRun RunSections(MemoryScan& m, RegistryBackend& registry, const std::vector<int>& sections,
                       const std::function<void()>& between = {},
                       std::size_t maxBytes = SweptTreeRecord::DefaultMaxBytes, int asked = SectionId::Users) {
  FailingRegistry counted(registry);
  ResultsModel model;
  ScanContext scan(ScanPlatform{counted, m.files, m.facts}, ScanSink(model, m.stop.get_token()));
  scan.DriveLetters = AllDriveLetters;
  scan.ChosenSections = sections;
  scan.CurrentUserSweep = SweptTreeRecord(maxBytes);
  scan.ClassesRootSweep = SweptTreeRecord(maxBytes);
  SectionRun run;
  for (int section : sections) {
    scan.currentSection = section;
    if (section == asked && between) between();
    const std::uint64_t before = counted.Count(RegFault::Open);
    ScannerForSection(section)(scan);
    if (section == asked) run.usersOpens = counted.Count(RegFault::Open) - before;
  }
  EXPECT_TRUE(scan.CurrentUserSweep.Entries().empty()) << "nothing is kept once both are done";
  EXPECT_TRUE(scan.ClassesRootSweep.Entries().empty()) << "nothing is kept once both are done";
  run.users = RowsOf(model.Rows(), asked);
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

namespace {

// Machine classes with rows in keys the machine sweep leaves out by its own
// rules (a whole key, fragments that start in the parent or deeper down) and
// in keys it enters, and a key of the same name among the user's classes.
void SeedClasses(MemoryRegistry& registry) {
  const auto put = [&registry](RootKey root, const std::string& path, const std::string& name,
                               const std::string& text) { Put(registry, root, path, name, text); };
  const auto M = RootKey::LocalMachine;
  put(M, "Software\\Classes", "top", "C:\\Gone\\classes.exe");
  put(M, "Software\\Classes\\Applications\\app.exe", "a", "C:\\Gone\\a.exe");
  put(M, "Software\\Classes\\Applications2", "b", "C:\\Gone\\b.exe");
  put(M, "Software\\Classes\\CLSID\\{1}\\InprocServer32", "", "C:\\Gone\\server.dll");
  put(M, "Software\\Classes\\CLSID\\{1}\\InprocServer32\\Below", "", "C:\\Gone\\below.dll");
  put(M, "Software\\Classes\\CLSID\\{1}\\DefaultIcon", "", "C:\\Gone\\icon.dll");
  put(M, "Software\\Classes\\CLSID\\{1}\\ProgID", "", "C:\\Gone\\after.dll");
  put(M, "Software\\Classes\\LqFile\\shell\\open\\command", "", "\"C:\\Gone\\open.exe\" \"%1\"");
  put(M, "Software\\Classes\\LqFile\\Software\\Microsoft\\Deep", "m", "C:\\Gone\\ms.exe");
  put(M, "Software\\Classes\\LqFile\\Software\\Microsoft\\Deep\\Deeper", "m", "C:\\Gone\\ms2.exe");
  put(M, "Software\\Classes\\LqFile\\Software\\Vendor", "m", "C:\\Gone\\vendor2.exe");
  put(M, "Software\\Classes\\LqShared\\Deep", "s", "C:\\Gone\\shared.exe");
  put(M, "Software\\Classes\\TypeLib\\{2}\\1.0\\0\\win32", "", "C:\\Gone\\lib.tlb");
  put(M, "Software\\Vendor", "v", "C:\\Gone\\vendor.exe");
  put(RootKey::CurrentUser, "Software\\Classes\\LqShared", "u", "C:\\Gone\\user.exe");
}

}  // namespace

TEST(ClassesReplay, TheMachineSweepGivesTheSameRowsWithoutReadingItsClassesAgain) {
  MemoryScan m;
  SeedClasses(m.registry);
  const int machine = SectionId::LocalMachine;
  const SectionRun alone = RunSections(m, m.registry, {machine}, {}, SweptTreeRecord::DefaultMaxBytes, machine);
  const SectionRun after = RunSections(m, m.registry, {SectionId::ClassesRoot, machine}, {},
                                       SweptTreeRecord::DefaultMaxBytes, machine);
  ASSERT_EQ(alone.users.size(), 8u);
  EXPECT_EQ(after.users, alone.users);
  EXPECT_LT(after.usersOpens, alone.usersOpens);
}

TEST(ClassesReplay, WhatTheClassesRootMayNotShowAsTheMachinesIsReadAgain) {
  // Each change comes between the two sweeps, below the top of a class the
  // record cannot vouch for; the machine sweep must see it.
  struct Case {
    const char* what;
    const char* key;
    std::size_t maxBytes;
  };
  const Case cases[] = {
      {"the user has a class of that name", "Software\\Classes\\LqShared\\Deep", SweptTreeRecord::DefaultMaxBytes},
      {"the class's own facts changed", "Software\\Classes\\LqFile", SweptTreeRecord::DefaultMaxBytes},
      {"more was found than may be kept", "Software\\Classes\\LqFile\\shell", 300},
  };
  const int machine = SectionId::LocalMachine;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryScan m;
    SeedClasses(m.registry);
    bool changed = false;
    const auto change = [&] {
      if (changed) return;
      changed = true;
      TRegistry reg(m.registry);
      reg.SetRootKey(RootKey::LocalMachine);
      ASSERT_TRUE(reg.OpenKey(c.key, false));
      reg.WriteString("added", "C:\\Gone\\added.exe");
    };
    const SectionRun both = RunSections(m, m.registry, {SectionId::ClassesRoot, machine}, change, c.maxBytes, machine);
    const SectionRun alone = RunSections(m, m.registry, {machine}, {}, SweptTreeRecord::DefaultMaxBytes, machine);
    ASSERT_EQ(alone.users.size(), 9u);
    EXPECT_EQ(both.users, alone.users);
  }
}

}  // namespace lindqua::test
