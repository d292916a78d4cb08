// The class registration fixture on Wine's registry and drive C:: the registry
// text goes in through the regedit of the program's bitness, some keys are
// then locked, and the class sections must give the rows the memory platform
// gives for the same data. The fix then deletes every row with its backup,
// and the same regedit must import that backup back to exactly what was there.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include <map>

#include "wine/WineRun.h"

#include "platform/TRegistry.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/WinText.h"
#include "repair/FixProcedure.h"
#include "support/ClassFixture.h"

namespace lindqua::test {

namespace {

HKEY RootHandle(RootKey root) {
  static const HKEY Roots[] = {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                            HKEY_CURRENT_CONFIG};
  return Roots[static_cast<int>(root)];
}

// An empty DACL denies everyone; a missing (NULL) DACL allows everyone. The
// owner may always change the DACL, so the clean-up can undo it.
bool LockKey(const FixtureKey& key, bool locked) {
  UniqueHKey handle;
  if (::RegOpenKeyExW(RootHandle(key.first), Wide(key.second).c_str(), 0, WRITE_DAC, handle.put()) != ERROR_SUCCESS)
    return false;
  SECURITY_DESCRIPTOR sd;
  ACL emptyAcl;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
  ::SetSecurityDescriptorDacl(&sd, TRUE, locked ? &emptyAcl : nullptr, FALSE);
  return ::RegSetKeySecurity(handle.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
}

class FixtureCleanup {
 public:
  FixtureCleanup(bool underWow64, Win32FileSystem& files) : underWow64_(underWow64), files_(files) {}
  ~FixtureCleanup() {
    for (const FixtureKey& key : ClassFixtureLockedKeys()) LockKey(key, false);
    RunRegedit(underWow64_, ClassFixturePath("cleanup.reg"));
    files_.DeletePath(ClassFixtureFolder);
    ::SetEnvironmentVariableW(Wide(ClassFixtureVariable).c_str(), nullptr);
  }
  FixtureCleanup(const FixtureCleanup&) = delete;
  FixtureCleanup& operator=(const FixtureCleanup&) = delete;

 private:
  bool underWow64_;
  Win32FileSystem& files_;
};

// Every key and value below the fixture's trees, as the program sees them:
// "ROOT\path" -> "", "ROOT\path [name]" -> type and data bytes.
using RegistryDump = std::map<std::string, std::string>;

void DumpTree(RegistryKey& key, const std::string& name, RegistryDump& dump) {
  dump[name] = "";
  std::vector<std::string> names;
  if (key.EnumValues(names) != RegStatus::Ok) dump[name] = "<values cannot be listed>";
  for (const std::string& valueName : names) {
    RegValue value;
    const bool read = key.QueryValue(valueName, value) == RegStatus::Ok;
    dump[name + " [" + valueName + "]"] =
        read ? std::to_string(value.type) + ":" + std::string(value.data.begin(), value.data.end()) : "<unreadable>";
  }
  if (key.EnumSubKeys(names) != RegStatus::Ok) dump[name] = "<subkeys cannot be listed>";
  for (const std::string& subName : names) {
    std::unique_ptr<RegistryKey> sub;
    if (key.OpenSubKey(subName, RegAccess::Read, sub) == RegStatus::Ok && sub)
      DumpTree(*sub, name + "\\" + subName, dump);
    else
      dump[name + "\\" + subName] = "<cannot be opened>";
  }
}

RegistryDump DumpFixture(RegistryBackend& registry) {
  RegistryDump dump;
  for (const auto& [root, path] : ClassFixtureTrees()) {
    std::unique_ptr<RegistryKey> rootKey, key;
    if (registry.OpenRoot(root, RegAccess::Read, rootKey) == RegStatus::Ok &&
        rootKey->OpenSubKey(path, RegAccess::Read, key) == RegStatus::Ok && key)
      DumpTree(*key, std::string(RootKeyName(root)) + "\\" + path, dump);
  }
  return dump;
}

}  // namespace

TEST(ClassFixtureWine, RowsMatchAndEveryBackupRestoresThroughRegedit) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  Win32AnsiCodePage ansi;
  const bool underWow64 = IsWow64(facts);
  {
    FixtureCleanup cleanup(underWow64, files);
    ASSERT_TRUE(RunRegedit(underWow64, ClassFixturePath("fixture.reg")));
    TRegistry check(registry);
    check.SetRootKey(RootKey::ClassesRoot);
    ASSERT_TRUE(check.KeyExists("\\Interface\\{4C696E64-7175-6143-7200-000000000011}")) << "regedit imported nothing";
    for (const FixtureKey& key : ClassFixtureLockedKeys()) ASSERT_TRUE(LockKey(key, true)) << key.second;
    for (const std::string& path : ClassFixtureLines("files.txt")) {
      ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\')))) << path;
      ASSERT_TRUE(files.WriteWholeFile(path, "x")) << path;
    }
    ::SetEnvironmentVariableW(Wide(ClassFixtureVariable).c_str(), Wide(ClassFixtureFolder).c_str());

    const ScanPlatform platform{registry, files, facts};
    EXPECT_EQ(ClassFixtureRowTexts(RunScanSections(platform, WithSoftwareSweepRun)),
              ExpectedClassRows("B", ThisProgramsView(underWow64)));
    const std::vector<Finding> rows = RunScanSections(platform, ClassSectionsRun);
    ASSERT_EQ(ClassFixtureRowTexts(rows), ExpectedClassRows("A", ThisProgramsView(underWow64)));

    // Only the fixture's rows are fixed: the prefix's own registrations stay.
    ResultsModel results;
    results.EditRows([&](std::vector<Finding>& model) {
      for (Finding row : rows) {
        row.checked = true;
        if (!ClassFixtureRowTexts({row}).empty()) model.push_back(row);
      }
    });
    const RegistryDump before = DumpFixture(registry);
    const FixRequest request{std::string(ClassFixtureFolder) + "\\Backup", true};
    const FixReport report = DeleteCheckedFindings(FixPlatform{{registry, files, ansi}, facts}, results, request);
    ASSERT_TRUE(report.completed) << report.endReason;
    // A class reported by two sections (its server missing, its AppID gone)
    // goes with its whole key first; the row of its server key then finds nothing.
    const auto insideAnotherRow = [&](const Finding& row) {
      return std::any_of(rows.begin(), rows.end(), [&](const Finding& other) {
        return other.tag == FixTag::Key && row.location.starts_with(other.location + "\\");
      });
    };
    for (const FixRowReport& fixed : report.rows) {
      const DeleteOutcome expected = insideAnotherRow(fixed.row) ? DeleteOutcome::NothingThere : DeleteOutcome::Deleted;
      EXPECT_EQ(fixed.outcome, expected) << fixed.row.location << ": " << fixed.problem;
    }
    EXPECT_EQ(results.Count(), 0u);
    const RegistryDump deleted = DumpFixture(registry);
    EXPECT_LT(deleted.size(), before.size());

    ASSERT_TRUE(RunRegedit(underWow64, report.backupFile));
    EXPECT_EQ(DumpFixture(registry), before) << "backup: " << report.backupFile;
  }
  TRegistry after(registry);
  after.SetRootKey(RootKey::ClassesRoot);
  EXPECT_FALSE(after.KeyExists("\\CLSID\\{4C696E64-7175-6143-7200-000000000007}"));
  EXPECT_FALSE(files.DirectoryExists(ClassFixtureFolder));
}

}  // namespace lindqua::test
