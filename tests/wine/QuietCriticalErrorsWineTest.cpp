// Questions about paths suppress the system's critical-error boxes only for
// their own length, on their own thread: the modes a caller had set are
// there again after each one, and the process's mode is never touched.
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "platform/win32/Win32FileSystem.h"

namespace lindqua::test {

TEST(QuietCriticalErrorsWine, EveryPathQuestionLeavesBothErrorModesAsTheyWere) {
  Win32FileSystem files;
  std::vector<FileSystem::ListedName> names;
  const std::vector<std::pair<const char*, std::function<void()>>> questions = {
      {"FileExists", [&] { (void)files.FileExists("A:\\setup.exe"); }},
      {"DirectoryExists", [&] { (void)files.DirectoryExists("B:\\"); }},
      {"KindOf", [&] { (void)files.KindOf("A:\\setup.exe"); }},
      {"FileSize", [&] { (void)files.FileSize("C:\\windows\\win.ini"); }},
      {"ListFolder", [&] { (void)files.ListFolder("A:\\"); }},
      {"ListNamesComplete", [&] { (void)files.ListNamesComplete("C:\\windows", names); }},
      {"StemFileExists", [&] { (void)files.StemFileExists("C:\\windows", "win"); }},
      {"VolumeReady", [&] { (void)files.VolumeReady('a'); }},
      {"ShortcutTarget", [&] { (void)files.ShortcutTarget("A:\\gone.lnk"); }},
  };
  const UINT processMode = ::GetErrorMode();
  DWORD before = 0;
  ASSERT_TRUE(::SetThreadErrorMode(SEM_NOOPENFILEERRORBOX, &before));
  for (const auto& [name, ask] : questions) {
    ask();
    EXPECT_EQ(::GetThreadErrorMode(), static_cast<DWORD>(SEM_NOOPENFILEERRORBOX)) << name;
    EXPECT_EQ(::GetErrorMode(), processMode) << name;
  }
  // What a question found is still the last error after the mode is put back.
  EXPECT_EQ(files.KindOf("C:\\lindqua-no-such-folder\\x"), FileSystem::PathKind::None);
  ::SetThreadErrorMode(before, nullptr);
}

}  // namespace lindqua::test
