// The Win32 implementations under the contract tests, on Wine's registry and drive C:.
#include <windows.h>
#include <aclapi.h>

#include <gtest/gtest.h>

#include <atomic>

#include "contract/PlatformUnderTest.h"
#include "platform/win32/WinText.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "wine/ShellLinkFile.h"
#include "wine/WineTrash.h"

namespace lindqua::test {

namespace {

std::string UniqueSuffix() {
  static std::atomic<int> counter{0};
  return std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

bool SetKeyDacl(HKEY root, const std::string& path, bool denyAll) {
  HKEY key = nullptr;
  const std::wstring wide = Wide(path);
  if (::RegOpenKeyExW(root, wide.c_str(), 0, WRITE_DAC | READ_CONTROL, &key) != ERROR_SUCCESS) return false;
  SECURITY_DESCRIPTOR sd;
  ACL emptyAcl;
  ::InitializeSecurityDescriptor(&sd, SECURITY_DESCRIPTOR_REVISION);
  ::InitializeAcl(&emptyAcl, sizeof emptyAcl, ACL_REVISION);
  // An empty DACL denies everyone; a missing (NULL) DACL allows everyone.
  ::SetSecurityDescriptorDacl(&sd, TRUE, denyAll ? &emptyAcl : nullptr, FALSE);
  const bool ok = ::RegSetKeySecurity(key, DACL_SECURITY_INFORMATION, &sd) == ERROR_SUCCESS;
  ::RegCloseKey(key);
  return ok;
}

class Win32RegistryUnderTest : public RegistryUnderTest {
 public:
  Win32RegistryUnderTest() : scratch_("Software\\LindquaContract-" + UniqueSuffix()) {
    HKEY key = nullptr;
    const std::wstring wide = Wide(scratch_);
    ::RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    if (key) ::RegCloseKey(key);
  }
  ~Win32RegistryUnderTest() override {
    for (const auto& path : denied_) SetKeyDacl(HKEY_CURRENT_USER, path, false);
    const std::wstring wide = Wide(scratch_);
    ::RegDeleteTreeW(HKEY_CURRENT_USER, wide.c_str());
  }
  RegistryBackend& Registry() override { return registry_; }
  std::string ScratchPath() override { return scratch_; }
  bool DenyAllAccess(const std::string& path) override {
    denied_.push_back(scratch_ + "\\" + path);
    return SetKeyDacl(HKEY_CURRENT_USER, denied_.back(), true);
  }

 private:
  Win32Registry registry_;
  std::string scratch_;
  std::vector<std::string> denied_;
};

class Win32FilesUnderTest : public FilesUnderTest {
 public:
  Win32FilesUnderTest() : scratch_("C:\\lindqua-contract-" + UniqueSuffix()) { files_.ForceDirectories(scratch_); }
  ~Win32FilesUnderTest() override {
    files_.DeletePath(scratch_);
    for (const auto& name : variables_) ::SetEnvironmentVariableW(Wide(name).c_str(), nullptr);
  }
  FileSystem& Files() override { return files_; }
  std::string ScratchFolder() override { return scratch_; }
  bool MakeFile(const std::string& path, std::size_t size) override {
    HANDLE file = ::CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    std::string data(size, 'x');
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, data.data(), static_cast<DWORD>(size), &written, nullptr);
    ::CloseHandle(file);
    return ok && written == size;
  }
  bool MakeFolder(const std::string& path) override { return files_.ForceDirectories(path); }
  void SetVariable(const std::string& name, const std::string& value) override {
    variables_.push_back(name);
    ::SetEnvironmentVariableW(Wide(name).c_str(), Wide(value).c_str());
  }
  bool MakeShortcut(const std::string& path, const std::string& target) override {
    return MakeShellLink(path, target);
  }
  bool RecycleBinIsPrivate() override { return !WineTrashFolder().empty(); }
  bool InRecycleBin(const std::string& path) override { return InWineTrash(path); }

 private:
  Win32FileSystem files_;
  std::string scratch_;
  std::vector<std::string> variables_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, RegistryContract,
                         ::testing::Values(RegistryFactory{
                             "Win32", [] { return std::make_unique<Win32RegistryUnderTest>(); }}),
                         [](const auto& info) { return info.param.name; });

INSTANTIATE_TEST_SUITE_P(Win32, FilesContract,
                         ::testing::Values(FilesFactory{"Win32",
                                                        [] { return std::make_unique<Win32FilesUnderTest>(); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
