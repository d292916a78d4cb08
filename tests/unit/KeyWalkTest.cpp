// The key walk and its three sections, rule by rule, over the in-memory
// registry.
#include <gtest/gtest.h>

#include "engine/KeyWalk.h"
#include "engine/Scanners.h"
#include "platform/TRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr const char* Uninstall = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr const char* UserSid = MemoryRegistry::CurrentUserSid;

class KeyWalkTest : public ::testing::Test {
 protected:
  void PutKey(RootKey root, const std::string& path) {
    TRegistry reg(m.registry);
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(path, true)) << path;
  }
  void PutValue(RootKey root, const std::string& path, const std::string& name, const std::string& text) {
    TRegistry reg(m.registry);
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(path, true)) << path;
    reg.WriteRaw(name, RegType::String, Utf8ToUtf16LeBytes(text));
  }

  // "shown @ location" of every row, in order.
  std::vector<std::string> Rows() const {
    std::vector<std::string> out;
    for (const auto& row : m.Rows()) out.push_back(row.shownText + " @ " + row.location);
    return out;
  }

  MemoryScan m;
};

using Strings = std::vector<std::string>;

TEST_F(KeyWalkTest, ObsoleteSoftwareReportsEmptyVendorKeysOneLevelDeep) {
  PutKey(RootKey::CurrentUser, "Software\\OldVendor");
  PutKey(RootKey::LocalMachine, "Software\\GoneToo\\Product\\1.0");  // a chain of single empty keys
  PutValue(RootKey::CurrentUser, "Software\\Defaulted", "", "");     // a set default, even empty, counts
  PutKey(RootKey::CurrentUser, "Software\\TwoEmpty\\A");
  PutKey(RootKey::CurrentUser, "Software\\TwoEmpty\\B");
  PutKey(RootKey::CurrentUser, "Software\\Microsoft\\Nothing");
  PutKey(RootKey::LocalMachine, "Software\\Classes\\.none");
  PutValue(RootKey::LocalMachine, "Software\\Kept\\Sub", "v", "x");
  ScanObsoleteSoftware(m.scan);

  EXPECT_EQ(Rows(), (Strings{"OldVendor @ HKEY_CURRENT_USER\\Software", "GoneToo @ HKEY_LOCAL_MACHINE\\Software"}))
      << "two empty subkeys make a key not empty, and they are not looked into";
  const auto rows = m.Rows();
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows[0].caption, "Obsolete Software Entry");
  EXPECT_EQ(rows[0].tag, 3);
  EXPECT_EQ(m.model.Texts().status, "Scanning: Software Locations");
}

TEST_F(KeyWalkTest, UninstallEntriesAreWalkedWholeAndChainsReportedParentFirst) {
  const std::string base = Uninstall;
  PutValue(RootKey::LocalMachine, base + "\\X", "DisplayName", "X");
  PutKey(RootKey::LocalMachine, base + "\\X\\Y");
  PutKey(RootKey::LocalMachine, base + "\\Chain\\Mid\\Leaf");
  PutValue(RootKey::LocalMachine, base + "\\Full", "DisplayName", "Full");
  ScanEmptyUninstallEntries(m.scan);

  EXPECT_EQ(Rows(), (Strings{
                        "Chain @ HKEY_LOCAL_MACHINE\\" + base,
                        "Mid @ HKEY_LOCAL_MACHINE\\" + base + "\\Chain",
                        "Leaf @ HKEY_LOCAL_MACHINE\\" + base + "\\Chain\\Mid",
                        "Y @ HKEY_LOCAL_MACHINE\\" + base + "\\X",
                    }));
  ASSERT_EQ(m.Rows().size(), 4u);
  EXPECT_EQ(m.Rows()[0].caption, "Empty Uninstall Entries");
  EXPECT_EQ(m.model.Texts().status, "Scanning: Empty Uninstaller Entry");
  EXPECT_EQ(m.Rows()[0].reason, "No values; only an empty subkey: Mid\\Leaf") << "the chain the fix removes with it";
  EXPECT_EQ(m.Rows()[1].reason, "No values; only an empty subkey: Leaf");
  EXPECT_EQ(m.Rows()[2].reason, "No values and no subkeys");
}

TEST_F(KeyWalkTest, EmptyKeysSkipDefaultHivesGuardedPathsAndProtectedKeys) {
  PutKey(RootKey::Users, ".DEFAULT\\Software\\Empty");
  PutKey(RootKey::Users, "Lone");
  PutKey(RootKey::Users, "S-1-5-20_Classes");
  PutKey(RootKey::Users, "Z_S-1-5-19_Classes\\Deep");  // sorts last, so its walk is the last detail
  PutValue(RootKey::CurrentUser, "Software\\Vendor", "v", "x");
  PutKey(RootKey::CurrentUser, "Software\\Vendor\\.default");  // no depth lets it through
  PutKey(RootKey::CurrentUser, "Software\\Vendor\\Gone");
  PutKey(RootKey::CurrentUser, "CONTROL PANEL\\DESKTOP\\Empty");
  PutKey(RootKey::CurrentUser, "Software\\Microsoft\\Empty");
  ScanEmptyKeys(m.scan);

  const std::string user = std::string("HKEY_USERS\\") + UserSid;
  EXPECT_EQ(Rows(), (Strings{
                        "Lone @ HKEY_USERS\\",
                        "CONTROL PANEL @ " + user,
                        "Gone @ " + user + "\\Software\\Vendor",
                    }))
      << "the guarded desktop key is passed over, so its parent's chain is tested but not entered";
  ASSERT_FALSE(m.Rows().empty());
  EXPECT_EQ(m.Rows()[0].caption, "Empty Registry Keys");
  EXPECT_EQ(m.model.Texts().detail, "Z_S-1-5-19_Classes\\Deep") << "a protected key is still walked into";
}

TEST_F(KeyWalkTest, GuardFragmentsKeepTheirCaseRules) {
  EXPECT_TRUE(WalkSkipsPath("S-1\\Software\\Microsoft\\Office"));
  EXPECT_FALSE(WalkSkipsPath("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\X"));
  EXPECT_TRUE(WalkSkipsPath("x\\keyboard layout\\preload"));
  EXPECT_TRUE(WalkSkipsPath("x\\NotProtectedReally"));
  EXPECT_FALSE(WalkSkipsPath("x\\printers"));

  // Told that a leading part was entered, the rules still see every fragment
  // that ends after it, including one that starts inside it.
  for (const std::string path : {"S-1\\Software\\Microsoft\\Office", "S-1\\Software\\Classes\\x",
                                 "A\\Control Panel\\Desktop\\B", "U\\Keyboard Layout", "U\\Nope\\Printers",
                                 "U\\Software\\Policies\\Power\\y", "U\\Software\\Vendor\\Tool"}) {
    for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
      if (WalkSkipsPath(path.substr(0, slash))) break;  // the walk would not have entered it
      EXPECT_EQ(WalkSkipsPath(path, slash), WalkSkipsPath(path)) << path << " entered up to " << slash;
    }
  }

  EXPECT_TRUE(IsProtectedKey("\\S-1-5-19_Classes"));
  EXPECT_FALSE(IsProtectedKey("\\s-1-5-19_classes"));
  EXPECT_TRUE(IsProtectedKey("x\\kasperskylab\\PROTECTED\\y"));
  EXPECT_TRUE(IsProtectedKey("x\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Once"));
  EXPECT_FALSE(IsProtectedKey("x\\SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run"));
}

TEST_F(KeyWalkTest, KeysThatCannotBeOpenedWithFullAccessAreNeverOfferedForDeletion) {
  const std::string base = Uninstall;
  PutKey(RootKey::LocalMachine, base + "\\Locked\\Empty");
  PutKey(RootKey::LocalMachine, base + "\\HidesOne\\Locked");
  PutKey(RootKey::LocalMachine, base + "\\Open");
  ASSERT_TRUE(m.registry.DenyAccess(RootKey::LocalMachine, base + "\\Locked", RegAccess::SetValue));
  ASSERT_TRUE(m.registry.DenyAccess(RootKey::LocalMachine, base + "\\HidesOne\\Locked", RegAccess::SetValue));
  ScanEmptyUninstallEntries(m.scan);

  // The parent of a lone locked key is not known to be empty: deleting it
  // would take a key the backup could not read.
  EXPECT_EQ(Rows(), (Strings{"Open @ HKEY_LOCAL_MACHINE\\" + base}));
  EXPECT_EQ(ClassifyKeyContent(m.scan, RootKey::LocalMachine, base + "\\HidesOne"), KeyContent::Unreadable);
  EXPECT_EQ(ClassifyKeyContent(m.scan, RootKey::LocalMachine, base + "\\Open"), KeyContent::Empty);
}

TEST_F(KeyWalkTest, OddNamesAndRootsAreReportedAsStoredOrIgnored) {
  PutKey(RootKey::CurrentUser, "Software\\Ünïcode \"quoted\" name");
  PutKey(RootKey::CurrentUser, "Software\\with space");
  WalkKeys(m.scan, "hkey_current_user", "Software", 10);
  EXPECT_EQ(Rows(), (Strings{"with space @ HKEY_CURRENT_USER\\Software",
                             "Ünïcode \"quoted\" name @ HKEY_CURRENT_USER\\Software"}));
  WalkKeys(m.scan, "HKEY_NOWHERE", "Software", 10);
  WalkKeys(m.scan, "HKEY_CURRENT_USER", "No\\Such\\Key", 25);
  EXPECT_EQ(m.Rows().size(), 2u);
}

}  // namespace

}  // namespace lindqua::test
