// The program and history fixture over the memory platform, with shell
// folders laid out as a Wine prefix has them: the same data as the Wine test,
// the same rows expected, and no shortcut file lost by the fix.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/ProgramFixture.h"

namespace lindqua::test {

TEST(ProgramFixture, MemoryPlatformGivesTheExpectedRowsAndLosesNoShortcut) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  const std::string user = "C:\\users\\lindqua\\AppData\\Roaming";
  const std::pair<int, std::string> shellFolders[] = {
      {SpecialFolder::Programs, user + "\\Microsoft\\Windows\\Start Menu\\Programs"},
      {SpecialFolder::CommonPrograms, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs"},
      {SpecialFolder::CommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu"},
      {SpecialFolder::CommonDesktop, "C:\\users\\Public\\Desktop"},
      {SpecialFolder::AppData, user},
      {SpecialFolder::Recent, user + "\\Microsoft\\Windows\\Recent"},
      {SpecialFolder::StartMenu, user + "\\Microsoft\\Windows\\Start Menu"},
      {SpecialFolder::Desktop, "C:\\users\\lindqua\\Desktop"},
  };
  for (const auto& [id, path] : shellFolders) {
    files.SetSpecialFolder(id, path);
    ASSERT_TRUE(files.AddFolder(path)) << path;
  }
  ImportRegText(registry, ReadProgramFixture("fixture.reg"));
  for (const std::string& path : ProgramFixtureFiles())
    ASSERT_TRUE(path.back() == '\\' ? files.AddFolder(path) : files.AddFile(path)) << path;
  for (const ShellItem& item : ProgramFixtureShellItems()) {
    const std::string path = ShellItemPath(files, item);
    ASSERT_TRUE(item.kind == "dir" ? files.AddFolder(path) : files.AddShortcut(path, item.target)) << path;
  }

  const auto rows = RunProgramSections(ScanPlatform{registry, files, facts});
  EXPECT_EQ(SortedProgramRows(rows), ExpectedProgramRows(files, FixtureView::Plain));

  const auto recycled = [&](const std::string& path) {
    const auto all = files.RecycledFiles();
    return std::find(all.begin(), all.end(), path) != all.end();
  };
  EXPECT_EQ(LostShortcutFiles(files, rows, recycled), std::vector<std::string>{});
  const auto shortcutRows = std::count_if(rows.begin(), rows.end(), [](const Finding& r) { return r.tag == 4; });
  EXPECT_EQ(files.RecycledFiles().size(), static_cast<std::size_t>(shortcutRows))
      << "drive C: has a Recycle Bin: every shortcut row went there";
}

}  // namespace lindqua::test
