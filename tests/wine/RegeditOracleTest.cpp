// The backups against the system's own regedit: every key and value of the
// corpus is backed up, deleted, and imported back with "regedit /s"; the
// registry must then hold every key, value name, type and data byte it held
// before. Keys and values the writer refused were never deleted and must be
// unchanged too. The registry is read back with the raw Windows functions,
// not with the code under test.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/WinText.h"
#include "repair/BackupFileName.h"
#include "repair/ExportToReg.h"

namespace lindqua::test {

namespace {

const std::string OracleKey = "Software\\LindquaOracle";
const std::string UsersKey = "S-1-5-21-LindquaOracle";
const std::string RootValue = "LindquaOracleRootValue";
// A key of the corpus that nobody may open, so that its tree cannot be read whole.
const std::string LockedKey = OracleKey + "\\Refused-Locked\\Inner";

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(LINDQUA_FIXTURES) + "\\oracle\\" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

// ---- reading the registry back, independently of the writer ----

struct StoredValue {
  DWORD type = 0;
  std::string data;
  bool operator==(const StoredValue&) const = default;
};

// "HKEY_...\path" -> value name -> value; a key without values maps to an empty map.
using RegistryDump = std::map<std::string, std::map<std::string, StoredValue>>;

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

// regedit gives every text value one terminating NUL; text that had none is
// the same text.
StoredValue Comparable(StoredValue v) {
  if (IsText(v.type) && v.data.size() >= 2 && v.data.size() % 2 == 0 && v.data.ends_with(std::string(2, '\0')))
    v.data.resize(v.data.size() - 2);
  return v;
}

void DumpKey(HKEY key, const std::string& name, RegistryDump& dump) {
  auto& values = dump[name];
  DWORD maxName = 0, maxData = 0, maxSubKey = 0;
  ASSERT_EQ(::RegQueryInfoKeyW(key, nullptr, nullptr, nullptr, nullptr, &maxSubKey, nullptr, nullptr, &maxName,
                               &maxData, nullptr, nullptr),
            ERROR_SUCCESS)
      << name;
  for (DWORD i = 0;; ++i) {
    std::wstring valueName(maxName + 1, L'\0');
    std::string data(maxData, '\0');
    DWORD nameLength = maxName + 1, dataLength = maxData, type = 0;
    const LONG error = ::RegEnumValueW(key, i, valueName.data(), &nameLength, nullptr, &type,
                                       reinterpret_cast<BYTE*>(data.data()), &dataLength);
    if (error == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(error, ERROR_SUCCESS) << name;
    data.resize(dataLength);
    values[Narrow(std::wstring_view(valueName.data(), nameLength))] = Comparable({type, data});
  }
  for (DWORD i = 0;; ++i) {
    std::wstring subName(maxSubKey + 1, L'\0');
    DWORD length = maxSubKey + 1;
    const LONG error = ::RegEnumKeyExW(key, i, subName.data(), &length, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(error, ERROR_SUCCESS) << name;
    subName.resize(length);
    UniqueHKey sub;
    const std::string subPath = name + "\\" + Narrow(subName);
    if (::RegOpenKeyExW(key, subName.c_str(), 0, KEY_READ, sub.put()) == ERROR_SUCCESS)
      DumpKey(sub.get(), subPath, dump);
    else
      dump[subPath]["<cannot be opened>"] = {};
  }
}

RegistryDump DumpCorpus() {
  RegistryDump dump;
  const std::pair<HKEY, std::string> trees[] = {{HKEY_CURRENT_USER, OracleKey}, {HKEY_USERS, UsersKey}};
  for (const auto& [root, path] : trees) {
    UniqueHKey key;
    if (::RegOpenKeyExW(root, Wide(path).c_str(), 0, KEY_READ, key.put()) == ERROR_SUCCESS)
      DumpKey(key.get(), (root == HKEY_USERS ? "HKEY_USERS\\" : "HKEY_CURRENT_USER\\") + path, dump);
  }
  BYTE data[64];
  DWORD size = sizeof data, type = 0;
  if (::RegQueryValueExW(HKEY_CURRENT_USER, Wide(RootValue).c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS)
    dump["HKEY_CURRENT_USER"][RootValue] = {type, std::string(reinterpret_cast<char*>(data), size)};
  return dump;
}

std::string Describe(const StoredValue& v) {
  std::ostringstream out;
  out << "type " << v.type << ", " << v.data.size() << " bytes";
  if (v.data.size() <= 24) out << " " << ::testing::PrintToString(v.data);
  return out.str();
}

// Every difference, named by key and value, so that a failure says what was lost.
std::vector<std::string> Differences(const RegistryDump& before, const RegistryDump& after) {
  std::vector<std::string> found;
  for (const auto& [key, values] : before) {
    const auto now = after.find(key);
    if (now == after.end()) {
      found.push_back("key lost: " + key);
      continue;
    }
    for (const auto& [name, value] : values) {
      const auto v = now->second.find(name);
      if (v == now->second.end()) found.push_back("value lost: " + key + " [" + name + "]");
      else if (!(v->second == value))
        found.push_back("value changed: " + key + " [" + name + "] " + Describe(value) + " -> " + Describe(v->second));
    }
    for (const auto& [name, value] : now->second)
      if (!values.contains(name)) found.push_back("value added: " + key + " [" + name + "]");
  }
  for (const auto& [key, values] : after)
    if (!before.contains(key)) found.push_back("key added: " + key);
  return found;
}

// ---- setting the corpus up ----

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\\' && i + 1 < text.size()) {
      const char c = text[++i];
      out.push_back(c == 'n' ? '\n' : c == 'r' ? '\r' : c);
    } else {
      out.push_back(text[i]);
    }
  }
  return out;
}

Bytes GeneratedData(const std::string& recipe) {
  const std::size_t colon = recipe.find(':');
  const std::string kind = recipe.substr(0, colon);
  const std::size_t count = std::stoul(recipe.substr(colon + 1));
  Bytes data;
  if (kind == "bytes") {
    for (std::size_t i = 0; i < count; ++i) data.push_back(static_cast<std::uint8_t>(i * 7 + i / 256));
  } else {
    for (std::size_t i = 0; i <= count; ++i) {
      const char c = i == count ? '\0' : static_cast<char>('a' + i % 26);
      data.push_back(static_cast<std::uint8_t>(c));
      data.push_back(0);
    }
  }
  return data;
}

void AddGeneratedValues(RegistryBackend& registry) {
  std::istringstream table(ReadFixture("generated.tsv"));
  std::string line;
  while (std::getline(table, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> columns;
    std::istringstream fields(line);
    for (std::string field; std::getline(fields, field, '\t');) columns.push_back(field);
    ASSERT_EQ(columns.size(), 4u) << line;
    std::unique_ptr<RegistryKey> root, key;
    ASSERT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
    ASSERT_EQ(root->CreateSubKey(columns[0], RegAccess::AllAccess, key), RegStatus::Ok) << line;
    const Bytes data = GeneratedData(columns[3]);
    ASSERT_EQ(key->SetValue(Unescape(columns[1]), std::stoul(columns[2], nullptr, 16), data), RegStatus::Ok) << line;
  }
}

// An empty DACL denies everyone; a missing (NULL) DACL allows everyone.
bool LockKey(const std::string& path, bool locked) {
  UniqueHKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, Wide(path).c_str(), 0, WRITE_DAC, key.put()) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR sd;
  ACL emptyAcl;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
  ::SetSecurityDescriptorDacl(&sd, TRUE, locked ? &emptyAcl : nullptr, FALSE);
  return ::RegSetKeySecurity(key.get(), DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
}

void RemoveCorpus() {
  LockKey(LockedKey, false);
  ::RegDeleteTreeW(HKEY_CURRENT_USER, Wide(OracleKey).c_str());
  ::RegDeleteKeyW(HKEY_CURRENT_USER, Wide(OracleKey).c_str());
  ::RegDeleteTreeW(HKEY_USERS, Wide(UsersKey).c_str());
  ::RegDeleteKeyW(HKEY_USERS, Wide(UsersKey).c_str());
  ::RegDeleteValueW(HKEY_CURRENT_USER, Wide(RootValue).c_str());
}

// ---- the backups: one per key below the corpus key, one per value of "Values" ----

struct Backup {
  RootKey root;
  bool wholeKey;
  std::string valueName;
  std::string keyPath;  // as the fix passes it
  bool mustRefuse;
  std::string Name() const { return keyPath + (wholeKey ? "" : " [" + valueName + "]"); }
  // The key as DumpCorpus names it.
  std::string DumpKey() const {
    const std::string path = keyPath.starts_with("\\") ? keyPath.substr(1) : keyPath;
    return std::string(RootKeyName(root)) + (path.empty() ? "" : "\\" + path);
  }
  bool GoneFrom(const RegistryDump& dump) const {
    const auto key = dump.find(DumpKey());
    return wholeKey ? key == dump.end() : key == dump.end() || !key->second.contains(valueName);
  }
};

std::vector<Backup> PlanBackups(TRegistry& reg) {
  std::vector<Backup> plan;
  EXPECT_TRUE(reg.OpenKey("\\" + OracleKey, false));
  for (const auto& name : reg.GetKeyNames())
    if (name != "Values")
      plan.push_back({RootKey::CurrentUser, true, "", OracleKey + "\\" + name, name.starts_with("Refused")});
  EXPECT_TRUE(reg.OpenKey("\\" + OracleKey + "\\Values", false));
  for (const auto& name : reg.GetValueNames())
    plan.push_back({RootKey::CurrentUser, false, name, OracleKey + "\\Values", name.starts_with("Refused")});
  // A key directly under a root, named with a leading backslash as the fix does.
  plan.push_back({RootKey::Users, true, "", "\\" + UsersKey, false});
  plan.push_back({RootKey::CurrentUser, false, RootValue, "", false});
  return plan;
}

bool Delete(RegistryBackend& registry, const Backup& backup) {
  std::unique_ptr<RegistryKey> root, key;
  if (registry.OpenRoot(backup.root, RegAccess::AllAccess, root) != RegStatus::Ok) return false;
  const std::string path = backup.keyPath.starts_with("\\") ? backup.keyPath.substr(1) : backup.keyPath;
  if (backup.wholeKey) return root->DeleteSubKeyTree(path) == RegStatus::Ok;
  if (root->OpenSubKey(path, RegAccess::AllAccess, key) != RegStatus::Ok) return false;
  return key->DeleteValue(backup.valueName) == RegStatus::Ok;
}

// Runs the 32-bit regedit, as the restore does; under WOW64 the system maps
// the Windows folder's regedit to the SysWOW64 one, which sees our registry view.
void ImportWithRegedit(const std::string& file) {
  wchar_t windows[MAX_PATH] = {};
  ASSERT_GT(::GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  std::wstring command = L"\"" + std::wstring(windows) + L"\\regedit.exe\" /s \"" + Wide(file) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  ASSERT_TRUE(::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
      << "cannot start regedit: " << ::GetLastError();
  UniqueKernelHandle process(info.hProcess), thread(info.hThread);
  ASSERT_EQ(::WaitForSingleObject(process.get(), 240000), WAIT_OBJECT_0) << "regedit did not finish";
}

std::size_t CountValues(const RegistryDump& dump) {
  std::size_t count = 0;
  for (const auto& [key, values] : dump) count += values.size();
  return count;
}

std::size_t CountBytes(const RegistryDump& dump) {
  std::size_t count = 0;
  for (const auto& [key, values] : dump)
    for (const auto& [name, value] : values) count += value.data.size();
  return count;
}

}  // namespace

TEST(RegeditOracle, EveryBackupImportsBackToWhatWasDeleted) {
  Win32AnsiCodePage ansi;
  ASSERT_EQ(ansi.CodePage(), 1252u) << "the corpus marks what a western code page refuses";
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  RemoveCorpus();
  ImportRegText(registry, ReadFixture("corpus.reg"));
  ASSERT_NO_FATAL_FAILURE(AddGeneratedValues(registry));
  {
    TRegistry root(registry);
    root.SetRootKey(RootKey::CurrentUser);
    ASSERT_TRUE(root.OpenKey("", false));
    root.WriteString(RootValue, "a value directly under a root");
  }
  ASSERT_TRUE(LockKey(LockedKey, true));
  RegistryDump before;
  ASSERT_NO_FATAL_FAILURE(before = DumpCorpus());

  const std::string folder = "C:\\lindqua-oracle-" + std::to_string(::GetCurrentProcessId());
  ASSERT_TRUE(files.ForceDirectories(folder));
  const std::string file = MakeBackupFileName(folder, facts);
  const ExportPlatform platform{registry, files, ansi};
  TRegistry reg(registry);
  reg.SetRootKey(RootKey::CurrentUser);
  const auto plan = PlanBackups(reg);
  int written = 0, refused = 0;
  for (const auto& backup : plan) {
    const auto result = ExportToReg(platform, file, backup.root, backup.wholeKey, backup.valueName, backup.keyPath);
    if (backup.mustRefuse) {
      EXPECT_EQ(result.status, ExportStatus::CannotBeExact) << backup.Name();
      ++refused;
      continue;
    }
    ASSERT_EQ(result.status, ExportStatus::Written) << backup.Name() << ": " << result.problem;
    ++written;
    EXPECT_TRUE(Delete(registry, backup)) << backup.Name();
  }
  const RegistryDump deleted = DumpCorpus();
  for (const auto& backup : plan)
    EXPECT_EQ(backup.GoneFrom(deleted), !backup.mustRefuse) << backup.Name() << " before the import";

  ASSERT_NO_FATAL_FAILURE(ImportWithRegedit(file));
  const RegistryDump after = DumpCorpus();
  const auto differences = Differences(before, after);
  for (std::size_t i = 0; i < differences.size() && i < 40; ++i) ADD_FAILURE() << differences[i];

  std::cout << "oracle corpus: " << before.size() << " keys, " << CountValues(before) << " values, "
            << CountBytes(before) << " data bytes; " << written << " backups written, " << refused
            << " refused; " << differences.size() << " differences after regedit /s\n";
  RecordProperty("corpus_keys", static_cast<int>(before.size()));
  RecordProperty("corpus_values", static_cast<int>(CountValues(before)));
  RecordProperty("differences", static_cast<int>(differences.size()));
  RemoveCorpus();
  if (differences.empty()) files.DeletePath(folder);
  else std::cout << "the backup is kept for inspection: " << file << "\n";
}

}  // namespace lindqua::test
