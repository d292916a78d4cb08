// Recycling on Wine's shell: where the user's settings say deleted files are
// removed at once, a shortcut is left in place rather than lost; otherwise it
// goes to the prefix's own Recycle Bin.
#include <windows.h>

#include <gtest/gtest.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"
#include "wine/WineTrash.h"

namespace lindqua::test {

namespace {

constexpr wchar_t PolicyKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";

// Sets the "remove files at once" policy for the test and puts back what was
// there before, also when the test fails half-way.
class NoRecyclePolicy {
 public:
  NoRecyclePolicy() {
    DWORD size = sizeof previous_;
    had_ = ::RegGetValueW(HKEY_CURRENT_USER, PolicyKey, L"NoRecycleFiles", RRF_RT_REG_DWORD, nullptr, &previous_,
                          &size) == ERROR_SUCCESS;
    Set(1);
  }
  ~NoRecyclePolicy() {
    if (had_) {
      Set(previous_);
    } else {
      ::RegDeleteKeyValueW(HKEY_CURRENT_USER, PolicyKey, L"NoRecycleFiles");
    }
  }
  NoRecyclePolicy(const NoRecyclePolicy&) = delete;
  NoRecyclePolicy& operator=(const NoRecyclePolicy&) = delete;

 private:
  static void Set(DWORD value) {
    ::RegSetKeyValueW(HKEY_CURRENT_USER, PolicyKey, L"NoRecycleFiles", REG_DWORD, &value, sizeof value);
  }
  DWORD previous_ = 0;
  bool had_ = false;
};

}  // namespace

TEST(RecycleBinWine, ShortcutStaysWhereRecyclingIsSwitchedOffAndIsRecycledOtherwise) {
  ASSERT_FALSE(WineTrashFolder().empty()) << "run through cmake/wine-run, which keeps Wine's trash in the prefix";
  Win32FileSystem files;
  const std::string folder = "C:\\lindqua-recycle-" + std::to_string(::GetCurrentProcessId());
  const std::string shortcut = folder + "\\dead.lnk";
  ASSERT_TRUE(files.ForceDirectories(folder));
  ASSERT_TRUE(files.WriteWholeFile(shortcut, "not much"));
  {
    NoRecyclePolicy policy;
    EXPECT_EQ(files.RecycleFile(shortcut), FileSystem::RecycleResult::NoRecycleBin);
    EXPECT_TRUE(files.FileExists(shortcut)) << "the shell would have deleted it for good: it must stay";
  }
  EXPECT_EQ(files.RecycleFile(shortcut), FileSystem::RecycleResult::Recycled);
  EXPECT_FALSE(files.FileExists(shortcut));
  EXPECT_TRUE(InWineTrash(shortcut));
  files.DeletePath(folder);
}

}  // namespace lindqua::test
