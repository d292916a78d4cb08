// The class registration sections where the fixture cannot reach: lists that
// cannot be read, the class list itself, the status line, and the order in
// which the command search hands out its hits.
#include <gtest/gtest.h>

#include "engine/CommandKeySearch.h"
#include "engine/Scanners.h"
#include "platform/RegTextImport.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr const char* Seed = R"(REGEDIT4

[HKEY_CLASSES_ROOT\CLSID]
@="C:\\Gone\\list.dll"

[HKEY_CLASSES_ROOT\CLSID\{C1}]
"AppID"="{A9}"

[HKEY_CLASSES_ROOT\AppID\{A1}]

[HKEY_CLASSES_ROOT\Interface\{I1}]
@="IGone"

[HKEY_CLASSES_ROOT\Interface\{I1}\TypeLib]
@="{T9}"

[HKEY_CLASSES_ROOT\TypeLib\{T1}]

[HKEY_LOCAL_MACHINE\Software\Classes\Applications\app.exe\command]
@="C:\\Gone\\top.exe"

[HKEY_LOCAL_MACHINE\Software\Classes\Applications\app.exe\shell\open\command]
@="C:\\Gone\\open.exe"

[HKEY_LOCAL_MACHINE\Software\Classes\Applications\app.exe\shell\open\command\command]
@="C:\\Gone\\nested.exe"
)";

class ClassScannersTest : public ::testing::Test {
 protected:
  void SetUp() override { ImportRegText(m.registry, Seed); }
  std::vector<std::string> Locations() const {
    std::vector<std::string> out;
    for (const Finding& row : m.Rows()) out.push_back(row.location);
    return out;
  }
  MemoryScan m;
};

using Strings = std::vector<std::string>;

// A list that cannot be read says nothing about what is registered: taking
// it for empty would report every interface or class that refers to it.
TEST_F(ClassScannersTest, UnreadableListsOfRegisteredIdsReportNothing) {
  struct Case {
    const char* lockedList;
    Scanner scanner;
    Strings rows;
  };
  const Case cases[] = {
      {nullptr, ScanCustomControls, {"HKEY_CLASSES_ROOT\\Interface\\{I1}"}},
      {"TypeLib", ScanCustomControls, {}},
      {nullptr, ScanActiveX, {"HKEY_CLASSES_ROOT\\CLSID\\{C1}"}},
      {"AppID", ScanActiveX, {}},
  };
  for (const Case& c : cases) {
    MemoryScan fresh;
    ImportRegText(fresh.registry, Seed);
    if (c.lockedList) {
      ASSERT_TRUE(fresh.registry.DenyAccess(RootKey::ClassesRoot, c.lockedList, RegAccess::Read));
    }
    c.scanner(fresh.scan);
    Strings rows;
    for (const Finding& row : fresh.Rows()) rows.push_back(row.location);
    EXPECT_EQ(rows, c.rows) << (c.lockedList ? c.lockedList : "nothing locked");
  }
}

TEST_F(ClassScannersTest, TheClassListItselfIsNeverOfferedForDeletion) {
  ScanCustomControls(m.scan);
  EXPECT_EQ(Locations(), (Strings{"HKEY_CLASSES_ROOT\\Interface\\{I1}"}));
  EXPECT_EQ(m.model.Texts().status, "Scanning: Custom Controls");
}

TEST_F(ClassScannersTest, OpenWithKeepsTheStatusTextAndReportsEveryCommandParentFirst) {
  m.scan.SetStatusText("Scanning: Invalid ActiveX");
  ScanOpenWithApps(m.scan);
  const std::string app = "HKEY_LOCAL_MACHINE\\Software\\Classes\\Applications\\app.exe";
  EXPECT_EQ(Locations(), (Strings{app + "\\command", app + "\\shell\\open\\command",
                                  app + "\\shell\\open\\command\\command"}));
  EXPECT_EQ(m.model.Texts().status, "Scanning: Invalid ActiveX");
}

TEST_F(ClassScannersTest, CommandSearchHandsOutEachHitOnceThenNotFoundWithLastFoundCleared) {
  const std::string app = "Software\\Classes\\Applications\\app.exe";
  std::string lastFound, result;
  Strings hits;
  for (int call = 0; call < 5; ++call) {
    FindNextCommandKey(m.scan, RootKey::LocalMachine, lastFound, result, "", "command", app);
    hits.push_back(result);
  }
  EXPECT_EQ(hits, (Strings{"C:\\Gone\\top.exe", "C:\\Gone\\open.exe", "C:\\Gone\\nested.exe", "Not Found",
                           "C:\\Gone\\top.exe"}));
  m.stop.request_stop();
  lastFound.clear();
  FindNextCommandKey(m.scan, RootKey::LocalMachine, lastFound, result, "", "command", app);
  EXPECT_EQ(result, "Not Found") << "a stopped scan searches no further";
}

}  // namespace

}  // namespace lindqua::test
