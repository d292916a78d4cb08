// The real programs on Wine's registry: the unattended run cleans the demo
// leftovers with a backup that brings them back, and a clean killed half-way
// leaves every value it already deleted in its backup file.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "platform/TRegistry.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "gui/SettingsFileGuard.h"
#include "wine/WineRun.h"

namespace lindqua::test {

namespace {

constexpr char AppPaths[] = "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths";

std::string Fixture(const std::string& name) { return std::string(LINDQUA_FIXTURES) + "\\demo\\" + name; }

std::wstring Exe(const wchar_t* name) { return L"\"" + Wide(LINDQUA_BUILD_DIR) + L"\\" + name + L"\""; }

bool UnderWow64() {
  Win32SystemFacts facts;
  return IsWow64(facts);
}

// Only the listed sections checked; everything else at its default.
std::string SettingsText(const std::string& backupFolder, std::initializer_list<int> sections) {
  std::string text = "[Settings]\r\nBackupFolder=" + backupFolder + "\r\n[NodeSelected]\r\n";
  for (int node = 1; node <= 25; ++node) {
    bool on = false;
    for (int s : sections) on = on || s == node;
    text += std::to_string(node) + "=" + (on ? "1" : "0") + "\r\n";
  }
  return text;
}

std::string ReadFile(const std::string& path) {
  std::string bytes;
  Win32FileSystem files;
  files.ReadWholeFile(path, bytes);
  return bytes;
}

std::string OnlyBackupIn(const std::string& folder) {
  Win32FileSystem files;
  std::string found;
  for (const auto& entry : files.ListFolder(folder))
    if (!entry.isDirectory && entry.name.size() > 4 && entry.name.substr(entry.name.size() - 4) == ".reg")
      found = folder + "\\" + entry.name;
  return found;
}

bool ValueExists(RootKey root, const std::string& key, const std::string& name) {
  Win32Registry registry;
  TRegistry reg(registry);
  reg.SetRootKey(root);
  reg.Access = RegAccess::Read;
  return reg.OpenKey(key, false) && reg.ValueExists(name);
}

class ScratchFolder {
 public:
  explicit ScratchFolder(const std::string& name) : path_("C:\\" + name + "-" + std::to_string(::GetCurrentProcessId())) {
    files_.ForceDirectories(path_);
  }
  ~ScratchFolder() { files_.DeletePath(path_); }
  const std::string& Path() const { return path_; }

 private:
  Win32FileSystem files_;
  std::string path_;
};

}  // namespace

TEST(CleaningEndToEnd, CleanOnceRemovesTheLeftoversWithABackupThatBringsThemBack) {
  const bool wow64 = UnderWow64();
  ASSERT_TRUE(RunRegedit(wow64, Fixture("leftovers.reg")));
  ASSERT_TRUE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\orbitpaint.exe", "Path"))
      << "regedit imported nothing";
  ScratchFolder backups("lq-cleanonce");
  SettingsFileGuard settings;
  settings.Write(SettingsText(backups.Path(), {8}));

  DWORD exitCode = 1;
  ASSERT_TRUE(RunAndWait(Exe(L"lindqua.exe") + L" -cleanonce", 180000, &exitCode)) << "the unattended run must end";
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\orbitpaint.exe", ""));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\orbitpaint.exe", "Path"));
  EXPECT_FALSE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\tallybook.exe", ""));
  EXPECT_TRUE(ValueExists(RootKey::LocalMachine, "Software\\Brightwell Labs\\Tallybook", "InstallDir"))
      << "only the checked section was fixed";

  const std::string backup = OnlyBackupIn(backups.Path());
  ASSERT_FALSE(backup.empty()) << "no backup file in " << backups.Path();
  const std::string text = ReadFile(backup);
  EXPECT_EQ(text.rfind("REGEDIT4\r\n", 0), 0u);
  EXPECT_NE(text.find("\"Path\"=\"C:\\\\Apps\\\\OrbitPaint\\\\\""), std::string::npos) << text;
  EXPECT_NE(text.find("@=\"C:\\\\Apps\\\\OrbitPaint\\\\orbitpaint.exe\""), std::string::npos) << text;

  // A second scan of the same section finds none of them.
  const std::string report = backups.Path() + "\\second-scan.txt";
  ASSERT_TRUE(RunAndWait(Exe(L"lindqua-cli.exe") + L" scan --sections 8 --output \"" + Wide(report) + L"\""));
  const std::string second = ReadFile(report);
  EXPECT_EQ(second.find("OrbitPaint"), std::string::npos) << second;
  EXPECT_EQ(second.find("Tallybook"), std::string::npos) << second;

  // The backup puts back what was deleted.
  ASSERT_TRUE(RunRegedit(wow64, backup));
  EXPECT_TRUE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\orbitpaint.exe", "Path"));
  EXPECT_TRUE(ValueExists(RootKey::LocalMachine, std::string(AppPaths) + "\\tallybook.exe", ""));
  RunRegedit(wow64, Fixture("remove-leftovers.reg"));
}

TEST(CleaningEndToEnd, KilledCleanLeavesEveryDeletedValueInItsBackup) {
  const std::string base = "Software\\LindquaKill" + std::to_string(::GetCurrentProcessId());
  constexpr int Keys = 3000;
  {
    Win32Registry registry;
    TRegistry reg(registry);
    for (int i = 0; i < Keys; ++i) {
      ASSERT_TRUE(reg.OpenKey("\\" + base + "\\K" + std::to_string(10000 + i), true));
      reg.WriteString("Path", "C:\\lq-kill-missing\\tool" + std::to_string(i) + ".exe");
    }
  }
  ScratchFolder backups("lq-kill");
  Win32FileSystem files;
  const std::string settingsFile = backups.Path() + "\\settings.ini";
  files.WriteWholeFile(settingsFile, SettingsText(backups.Path(), {4}));

  UniqueKernelHandle process = StartProcess(Exe(L"lindqua-cli.exe") + L" clean --sections 4 --yes --settings \"" +
                                            Wide(settingsFile) + L"\"");
  ASSERT_TRUE(process);
  // Killed once the backup holds a few hundred blocks, in the middle of the fix.
  bool killed = false;
  for (int wait = 0; wait < 12000; ++wait) {
    if (::WaitForSingleObject(process.get(), 10) == WAIT_OBJECT_0) break;
    const std::string backup = OnlyBackupIn(backups.Path());
    if (!backup.empty() && files.FileSize(backup).value_or(0) > 40000) {
      ::TerminateProcess(process.get(), 9);
      ::WaitForSingleObject(process.get(), 30000);
      killed = true;
      break;
    }
  }
  const std::string backup = OnlyBackupIn(backups.Path());
  ASSERT_FALSE(backup.empty());
  const std::string text = ReadFile(backup);
  int deleted = 0, kept = 0;
  for (int i = 0; i < Keys; ++i) {
    const std::string key = base + "\\K" + std::to_string(10000 + i);
    if (ValueExists(RootKey::CurrentUser, key, "Path")) {
      ++kept;
      continue;
    }
    ++deleted;
    const std::string block = "[HKEY_CURRENT_USER\\" + key + "]\r\n\"Path\"=\"C:\\\\lq-kill-missing\\\\tool" +
                              std::to_string(i) + ".exe\"\r\n";
    EXPECT_NE(text.find(block), std::string::npos) << "deleted without its backup: " << key;
  }
  EXPECT_GT(deleted, 0);
  if (killed) {
    EXPECT_GT(kept, 0) << "the clean was killed before it ended";
  }
  RecordProperty("deleted", deleted);
  RecordProperty("kept", kept);
  Win32Registry registry;
  std::unique_ptr<RegistryKey> root;
  ASSERT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
  (void)root->DeleteSubKeyTree(base);
}

}  // namespace lindqua::test
