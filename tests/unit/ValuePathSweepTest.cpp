// The value-path sweep and the five scanners built on it, rule by rule, over
// the in-memory registry and file system.
#include <gtest/gtest.h>

#include "engine/Scanners.h"
#include "engine/SweepSkipRules.h"
#include "engine/ValuePathSweep.h"
#include "platform/TRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr const char* Missing = "C:\\Gone\\app.exe";
constexpr const char* Present = "C:\\Tools\\app.exe";
constexpr const char* Issue = "Non-existent File or Folder";

class ValuePathSweepTest : public ::testing::Test {
 protected:
  void SetUp() override { m.files.AddFile(Present); }

  void Put(RootKey root, const std::string& path, const std::string& name, const std::string& text,
           std::uint32_t type = RegType::String) {
    TRegistry reg(m.registry);
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(path, true)) << path;
    reg.WriteRaw(name, type, Utf8ToUtf16LeBytes(text));
  }
  void PutKey(RootKey root, const std::string& path) {
    TRegistry reg(m.registry);
    reg.SetRootKey(root);
    ASSERT_TRUE(reg.OpenKey(path, true)) << path;
  }

  // The locations of all rows, in order.
  std::vector<std::string> Locations() const {
    std::vector<std::string> out;
    for (const auto& row : m.Rows()) out.push_back(row.location);
    return out;
  }

  MemoryScan m;
};

using Strings = std::vector<std::string>;

TEST_F(ValuePathSweepTest, ReportsMissingStringsWithTag1AndTheValueInTheLocation) {
  Put(RootKey::CurrentUser, "Software\\Vendor", "Path", Missing);
  Put(RootKey::CurrentUser, "Software\\Vendor", "Here", Present);
  Put(RootKey::CurrentUser, "Software\\Vendor", "", "C:\\Gone\\default.exe");
  Put(RootKey::CurrentUser, "Software\\Vendor", "Expand", "%NoSuchVar%\\x.exe", RegType::ExpandString);
  ScanCurrentUser(m.scan);
  const auto rows = m.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].caption, Issue);
  EXPECT_EQ(rows[0].shownText, Missing);
  EXPECT_EQ(rows[0].location, "HKEY_CURRENT_USER\\Software\\Vendor\\Path");
  EXPECT_EQ(rows[0].tag, 1);
  EXPECT_EQ(rows[1].location, "HKEY_CURRENT_USER\\Software\\Vendor\\") << "the default value ends in a backslash";
  EXPECT_EQ(m.model.Texts().status, "Scanning: HKEY_CURRENT_USER");
}

TEST_F(ValuePathSweepTest, ValueNamesHoldingABackslashGiveTag2) {
  Put(RootKey::CurrentUser, "Software\\Shared", "C:\\Gone\\lib.dll", "C:\\Gone\\lib.dll");
  Put(RootKey::CurrentUser, "Software\\Shared", "C:\\Tools\\app.exe", "C:\\Gone\\other.dll");
  Put(RootKey::CurrentUser, "Software\\Shared", "C:\\Gone\\fine.dll", Present);
  ScanCurrentUser(m.scan);
  const auto rows = m.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].shownText, "C:\\Gone\\lib.dll");
  EXPECT_EQ(rows[0].location, "HKEY_CURRENT_USER\\Software\\Shared");
  EXPECT_EQ(rows[0].tag, 2);
  EXPECT_EQ(rows[1].shownText, "C:\\Tools\\app.exe") << "the name is shown, not the data";
  EXPECT_EQ(rows[1].tag, 2);
}

TEST_F(ValuePathSweepTest, OnlyStringTypesAreTestedAndImeFilesNever) {
  const std::string key = "Software\\Types";
  Put(RootKey::CurrentUser, key, "multi", Missing, RegType::MultiString);
  Put(RootKey::CurrentUser, key, "binary", Missing, RegType::Binary);
  Put(RootKey::CurrentUser, key, "none", Missing, RegType::None);
  Put(RootKey::CurrentUser, key, "dword", Missing, RegType::Dword);
  Put(RootKey::CurrentUser, key, "link", Missing, RegType::Link);
  Put(RootKey::CurrentUser, key, "ime", "C:\\Windows\\SYSTEM32\\Ime\\gone.ime");
  Put(RootKey::CurrentUser, key, "ime2", "C:\\Gone\\system32\\IME\\x");
  Put(RootKey::CurrentUser, key, "expand", Missing, RegType::ExpandString);
  TRegistry reg(m.registry);
  ASSERT_TRUE(reg.OpenKey(key, false));
  reg.WriteRaw("nul", RegType::String, Utf8ToUtf16LeBytes(std::string("C:\\Gone\\a.exe\0C:\\Tools\\app.exe", 30)));
  const Bytes odd = {'C', 0, ':', 0, '\\', 0, 'x', 0, 'y'};
  reg.WriteRaw("odd", RegType::String, odd);
  reg.WriteRaw("empty", RegType::String, {});
  ScanCurrentUser(m.scan);
  const auto rows = m.Rows();
  ASSERT_EQ(rows.size(), 3u);
  EXPECT_EQ(rows[0].location, "HKEY_CURRENT_USER\\Software\\Types\\expand");
  EXPECT_EQ(rows[1].shownText, "C:\\Gone\\a.exe") << "the text ends at its first NUL";
  EXPECT_EQ(rows[2].shownText, "C:\\x") << "an odd last byte is dropped";
}

TEST_F(ValuePathSweepTest, DepthFirstWithValuesBeforeSubkeys) {
  Put(RootKey::CurrentUser, "A", "v1", "C:\\Gone\\1");
  Put(RootKey::CurrentUser, "A\\B", "v2", "C:\\Gone\\2");
  Put(RootKey::CurrentUser, "A\\B\\C", "v3", "C:\\Gone\\3");
  Put(RootKey::CurrentUser, "A\\D", "v4", "C:\\Gone\\4");
  Put(RootKey::CurrentUser, "A", "v5", "C:\\Gone\\5");
  Put(RootKey::CurrentUser, "E", "v6", "C:\\Gone\\6");
  ScanCurrentUser(m.scan);
  EXPECT_EQ(Locations(), (Strings{"HKEY_CURRENT_USER\\A\\v1", "HKEY_CURRENT_USER\\A\\v5",
                                  "HKEY_CURRENT_USER\\A\\B\\v2", "HKEY_CURRENT_USER\\A\\B\\C\\v3",
                                  "HKEY_CURRENT_USER\\A\\D\\v4", "HKEY_CURRENT_USER\\E\\v6"}));
}

TEST_F(ValuePathSweepTest, LocalMachineSkipsMicrosoftServersAndTypeLibraries) {
  m.scan.IsNT6 = false;
  const auto L = RootKey::LocalMachine;
  Put(L, "Software\\Vendor", "a", Missing);
  Put(L, "Software\\Microsoft\\Windows\\x", "b", Missing);
  Put(L, "Software\\MicrosoftEdge", "c", Missing);
  Put(L, "Software\\Classes\\Applications\\app.exe", "d", Missing);
  Put(L, "Software\\Classes\\Applications2", "e", Missing);
  Put(L, "Software\\Classes\\CLSID\\{1}\\InprocServer32", "", Missing);
  Put(L, "Software\\Classes\\CLSID\\{1}\\LocalServer32", "", Missing);
  Put(L, "Software\\Classes\\CLSID\\{1}\\DefaultIcon", "", Missing);
  Put(L, "Software\\Classes\\CLSID\\{1]\\InprocServer32", "", Missing);  // "]" is no "}" in any case
  Put(L, "Software\\Classes\\TypeLib", "f", Missing);
  Put(L, "Software\\Classes\\TypeLib\\{2}\\1.0", "g", Missing);
  Put(L, "Software\\Classes\\Extensions\\ContractId\\Windows.Launch", "h", Missing);
  Put(L, "Software\\Classes\\Windows.DVD.Maker", "i", Missing);
  ScanLocalMachine(m.scan);
  EXPECT_EQ(Locations(), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications2\\e",
                                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{1]\\InprocServer32\\",
                                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{1}\\DefaultIcon\\",
                                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\TypeLib\\f",
                                  "HKEY_LOCAL_MACHINE\\Software\\Classes\\Windows.DVD.Maker\\i",
                                  "HKEY_LOCAL_MACHINE\\Software\\Vendor\\a"}));
  m.model.Clear();
  m.scan.IsNT6 = true;
  ScanLocalMachine(m.scan);
  EXPECT_EQ(m.Rows().size(), 5u) << "on NT 6 the DVD maker key is left out too";
}

// The sweep asks only about the part of a path below a parent the rules let
// through; every fragment, wherever it starts, must still be seen.
TEST_F(ValuePathSweepTest, SkipRulesSeeFragmentsThatStartInTheParent) {
  const char* paths[] = {
      "Software\\Classes\\CLSID\\{1}\\InprocServer32",   // "}\\inprocserver32" starts in the parent
      "Software\\Classes\\CLSID\\{1}\\LocalServer32\\x",
      "Software\\Vendor\\Software\\Microsoft",            // starts two keys up
      "Software\\Vendor\\Software\\Microsofty\\z",
      "Software\\Classes\\TypeLib\\{2}",
      "Software\\Classes\\Extensions\\ContractId\\Windows.Launch",
      "Software\\Microsoft\\PowerShell\\3\\x",
      "Software\\Classes\\Windows.DVD.Maker",
      "Software\\Vendor\\Plain\\Deep\\Key",
      "Software\\Vendor\\software\\classes\\typelib\\x",
      "Software\\Vendor\\SOFTWARE\\CLASSES\\Windows.dvd.Maker",
  };
  m.scan.SetStatusText("Scanning: HKEY_LOCAL_MACHINE");
  for (bool nt6 : {false, true}) {
    m.scan.IsNT6 = nt6;
    for (std::string_view path : paths) {
      for (std::size_t slash = path.find('\\'); slash != std::string_view::npos; slash = path.find('\\', slash + 1)) {
        const std::string_view child = path.substr(0, path.find('\\', slash + 1));
        if (SweepSkipsKey(m.scan, path.substr(0, slash), Issue)) break;  // never entered, never asked
        EXPECT_EQ(SweepSkipsKey(m.scan, child, Issue, slash), SweepSkipsKey(m.scan, child, Issue))
            << child << (nt6 ? " (NT 6)" : "");
      }
    }
  }
}

TEST_F(ValuePathSweepTest, MachineRulesOfOtherCallersUnderTheLocalMachineStatus) {
  const auto L = RootKey::LocalMachine;
  Put(L, "Software\\Microsoft\\PowerShell\\3\\x", "a", Missing);
  Put(L, "Software\\Microsoft\\speech\\Voices\\Tokens", "b", Missing);
  Put(L, "Software\\Classes\\CLSID\\{1}\\InprocServer32", "", Missing);
  Put(L, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "c", Missing);
  m.scan.SetStatusText("Scanning: HKEY_LOCAL_MACHINE");
  m.scan.IsNT6 = true;
  SweepKeyValues(m.scan, "HKEY_LOCAL_MACHINE", "Software", "Other Issue", "", m.scan.DriveLetters);
  EXPECT_EQ(Locations(), (Strings{"HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{1}\\InprocServer32\\",
                                  "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\speech\\Voices\\Tokens\\b"}))
      << "PowerShell 3 is matched with its exact case, the skip list whole, the rest only for the hive sweep";
  m.model.Clear();
  m.scan.IsNT6 = false;
  SweepKeyValues(m.scan, "HKEY_LOCAL_MACHINE", "Software", "Other Issue", "", m.scan.DriveLetters);
  EXPECT_EQ(m.Rows().size(), 3u);
}

TEST_F(ValuePathSweepTest, CurrentUserSkipsOnlyItsListedKeysWhole) {
  const auto U = RootKey::CurrentUser;
  Put(U, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "a", Missing);
  Put(U, "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\Deeper", "b", Missing);
  Put(U, "Software\\Microsoft\\Windows\\CurrentVersion\\RunServices", "c", Missing);
  Put(U, "AppEvents\\Schemes\\Apps\\.Default", "", Missing);
  Put(U, "AppEvents\\Schemes", "d", Missing);
  Put(U, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU\\exe", "e", Missing);
  Put(U, "Software\\Microsoft\\Office", "f", Missing);
  ScanCurrentUser(m.scan);
  EXPECT_EQ(Locations(), (Strings{"HKEY_CURRENT_USER\\AppEvents\\Schemes\\d",
                                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Office\\f",
                                  "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\RunServices\\c"}));
}

TEST_F(ValuePathSweepTest, OtherSectionsSweepWithoutSkipLists) {
  Put(RootKey::ClassesRoot, "CLSID\\{1}\\InprocServer32", "", Missing);
  const std::string user = std::string(MemoryRegistry::CurrentUserSid) + "\\";
  ScanClassesRoot(m.scan);
  EXPECT_EQ(Locations(), Strings{"HKEY_CLASSES_ROOT\\CLSID\\{1}\\InprocServer32\\"});
  m.model.Clear();
  Put(RootKey::CurrentUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Run", "a", Missing);
  ScanUsers(m.scan);
  EXPECT_EQ(Locations(),
            (Strings{"HKEY_USERS\\" + user + "Software\\Microsoft\\Windows\\CurrentVersion\\Run\\a"}));
}

TEST_F(ValuePathSweepTest, NestedWow64ViewIsNeverEntered) {
  const auto L = RootKey::LocalMachine;
  Put(L, "Software\\Wow6432Node\\Vendor", "a", Missing);
  Put(L, "Software\\Wow6432Node\\Wow6432Node\\Vendor", "b", Missing);
  Put(L, "Software\\WOW6432NODE\\wow6432node", "c", Missing);
  Put(RootKey::CurrentUser, "Software\\Wow6432Node\\Wow6432Node", "d", Missing);
  ScanLocalMachine(m.scan);
  EXPECT_EQ(Locations(), Strings{"HKEY_LOCAL_MACHINE\\Software\\Wow6432Node\\Vendor\\a"});
  m.model.Clear();
  SweepKeyValues(m.scan, "hkey_local_machine", "Software\\Wow6432Node\\Wow6432Node", "x", "", "c");
  EXPECT_TRUE(m.Rows().empty()) << "whichever section sweeps";
  ScanCurrentUser(m.scan);
  EXPECT_EQ(Locations(), Strings{"HKEY_CURRENT_USER\\Software\\Wow6432Node\\Wow6432Node\\d"})
      << "only the machine's nested view is left out";
}

TEST_F(ValuePathSweepTest, SoftwareLocationsReportWithTheirOwnCaption) {
  Put(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe", "", Missing);
  Put(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe", "Path",
      "C:\\Gone");
  Put(RootKey::LocalMachine, "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\app.exe", "", Present);
  ScanSoftwareLocations(m.scan);
  const auto rows = m.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0].caption, "Software Locations Issue");
  EXPECT_EQ(rows[0].location, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe\\");
  EXPECT_EQ(rows[1].location,
            "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\gone.exe\\Path");
  EXPECT_EQ(rows[1].tag, 1);
  m.model.Clear();
  ScanLocalMachine(m.scan);
  EXPECT_TRUE(m.Rows().empty()) << "the hive sweep leaves application paths to this section";
}

TEST_F(ValuePathSweepTest, KeysAreOpenedReadOnlyAndUnreadableTreesSkipped) {
  Put(RootKey::CurrentUser, "Software\\NoWrite\\Deep", "a", Missing);
  Put(RootKey::CurrentUser, "Software\\NoRead\\Deep", "b", Missing);
  Put(RootKey::CurrentUser, "Software\\Zlast", "c", Missing);
  ASSERT_TRUE(m.registry.DenyAccess(RootKey::CurrentUser, "Software\\NoWrite", RegAccess::SetValue));
  ASSERT_TRUE(m.registry.DenyAccess(RootKey::CurrentUser, "Software\\NoRead", RegAccess::QueryValue));
  ScanCurrentUser(m.scan);
  EXPECT_EQ(Locations(), (Strings{"HKEY_CURRENT_USER\\Software\\NoWrite\\Deep\\a", "HKEY_CURRENT_USER\\Software\\Zlast\\c"}));
}

TEST_F(ValuePathSweepTest, RootNamesAndKeyPaths) {
  Put(RootKey::CurrentUser, "", "rootValue", Missing);
  Put(RootKey::CurrentUser, "Software\\Vendor", "a", Missing);
  SweepKeyValues(m.scan, "HKEY_CURRENT_USR", "", Issue, "", m.scan.DriveLetters);
  SweepKeyValues(m.scan, "HKCU", "", Issue, "", m.scan.DriveLetters);
  SweepKeyValues(m.scan, "hkey_current_user", "Software\\Missing", Issue, "", m.scan.DriveLetters);
  EXPECT_TRUE(m.Rows().empty());
  SweepKeyValues(m.scan, "hkey_current_user", "", Issue, "", m.scan.DriveLetters);
  EXPECT_EQ(Locations(), (Strings{"HKEY_CURRENT_USER\\\\rootValue", "HKEY_CURRENT_USER\\Software\\Vendor\\a"}))
      << "a value right under the root gets an empty key part";
  m.model.Clear();
  SweepKeyValues(m.scan, "HKEY_CURRENT_USER", "SOFTWARE\\vendor", Issue, "", m.scan.DriveLetters);
  EXPECT_EQ(Locations(), Strings{"HKEY_CURRENT_USER\\SOFTWARE\\vendor\\a"}) << "the caller's spelling of the path";
}

TEST_F(ValuePathSweepTest, CutAtAndDriveLettersReachTheCheck) {
  Put(RootKey::ClassesRoot, "CLSID\\{1}\\InprocServer32", "", "C:\\Gone\\x.dll,1");
  Put(RootKey::ClassesRoot, "CLSID\\{2}\\InprocServer32", "", "D:\\Gone\\y.ocx");
  SweepKeyValues(m.scan, "HKEY_CLASSES_ROOT", "CLSID", "ActiveX Issue", ".dll", "c");
  const auto rows = m.Rows();
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0].shownText, "C:\\Gone\\x.dll,1");
  EXPECT_EQ(rows[0].caption, "ActiveX Issue");
}

TEST_F(ValuePathSweepTest, ShowsEachKeyItOpens) {
  PutKey(RootKey::CurrentUser, "Software\\Last\\Leaf");
  SweepKeyValues(m.scan, "HKEY_CURRENT_USER", "Software", Issue, "", m.scan.DriveLetters);
  EXPECT_EQ(m.model.Texts().detail, "Software\\Last\\Leaf");
}

// Asks the stop at the first file query, as a user pressing Cancel mid-sweep,
// and records what was asked afterwards.
class StoppingFiles : public MemoryFileSystem {
 public:
  explicit StoppingFiles(std::stop_source& stop) : stop_(stop) {}
  bool FileExists(std::string_view path) override {
    if (stop_.stop_requested()) askedAfterStop.emplace_back(path);
    stop_.request_stop();
    return MemoryFileSystem::FileExists(path);
  }
  std::vector<std::string> askedAfterStop;

 private:
  std::stop_source& stop_;
};

TEST_F(ValuePathSweepTest, StopEndsTheSweepBeforeTheNextValueOrKey) {
  Put(RootKey::CurrentUser, "K0", "a", "C:\\Gone0\\x.exe");
  Put(RootKey::CurrentUser, "K0", "b", "C:\\Gone1\\x.exe");
  Put(RootKey::CurrentUser, "K1", "a", "C:\\Gone2\\x.exe");
  StoppingFiles files(m.stop);
  ResultsModel model;
  ScanContext scan(ScanPlatform{m.registry, files, m.facts}, ScanSink(model, m.stop.get_token()));
  scan.DriveLetters = AllDriveLetters;
  ScanCurrentUser(scan);
  EXPECT_TRUE(model.Rows().empty()) << "the row of the value under test is dropped";
  for (const auto& path : files.askedAfterStop) {
    EXPECT_EQ(path.find("Gone1"), std::string::npos) << "the next value was tested: " << path;
    EXPECT_EQ(path.find("Gone2"), std::string::npos) << "the next key was swept: " << path;
  }
}

}  // namespace
}  // namespace lindqua::test
