// The INI contract under Wine: the system's profile functions, and the
// portable implementation over the real file system, on drive C:.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <vector>

#include "contract/IniUnderTest.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32IniFile.h"
#include "platform/win32/WinText.h"

namespace lindqua::test {

namespace {

// The profile functions cache files by name, so every test gets fresh names.
std::string UniqueFolder() {
  static std::atomic<int> counter{0};
  return "C:\\lindqua-ini-" + std::to_string(::GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

class Win32IniUnderTest : public IniUnderTest {
 public:
  explicit Win32IniUnderTest(bool portable) : scratch_(UniqueFolder()), portable_(portable) {
    files_.ForceDirectories(scratch_);
  }
  ~Win32IniUnderTest() override {
    locks_.clear();
    files_.DeletePath(scratch_);
  }
  IniFiles& Ini() override { return portable_ ? static_cast<IniFiles&>(portableIni_) : systemIni_; }
  FileSystem& Files() override { return files_; }
  std::string ScratchFolder() override { return scratch_; }
  // A read-only attribute does not stop root, who runs the tests; a handle
  // that shares only reading stops every writer.
  void RefuseWrites(const std::string& path) override {
    locks_.emplace_back(::CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(locks_.back()) << path;
  }

 private:
  Win32FileSystem files_;
  std::string scratch_;
  bool portable_;
  Win32IniFiles systemIni_;
  PortableIniFiles portableIni_{files_};
  std::vector<UniqueFileHandle> locks_;
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Win32, IniContract,
                         ::testing::Values(IniFactory{"Profile",
                                                      [] { return std::make_unique<Win32IniUnderTest>(false); }},
                                           IniFactory{"PortableOnWin32Files",
                                                      [] { return std::make_unique<Win32IniUnderTest>(true); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
