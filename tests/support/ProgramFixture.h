#pragma once
// The program and history fixture: registry text, files, shell-folder items
// and the rows they must give, read from tests/fixtures/programs. The same
// data runs over the memory platform natively and over Win32 under Wine.
#include <functional>
#include <string>
#include <vector>

#include "engine/Finding.h"
#include "engine/ScanContext.h"
#include "support/FixtureData.h"

namespace lindqua::test {

// Every fixture key, value, path and file holds this text.
inline constexpr const char* ProgramFixtureMarker = "LindquaPx";
inline constexpr const char* ProgramFixtureFolder = "C:\\LindquaPx";

struct ShellItem {
  std::string kind;      // "dir", "lnk" or "file"
  int folderId = 0;      // the shell folder it goes into
  std::string relative;  // below that folder; a folder ends with "\"
  std::string target;    // what a shortcut points at
};

std::string ProgramFixturePath(const std::string& name);
std::string ReadProgramFixture(const std::string& name);
// The lines of files.txt: paths, a trailing backslash for a folder.
std::vector<std::string> ProgramFixtureFiles();
std::vector<ShellItem> ProgramFixtureShellItems();
// Where an item lives: its shell folder's path, "\", its relative path.
std::string ShellItemPath(FileSystem& files, const ShellItem& item);
// The outermost path of an item that the fixture made and removes again.
std::string ShellItemOwnedRoot(FileSystem& files, const ShellItem& item);

// expected-rows.txt as sorted row texts, shell folders filled in, those of
// another program's view left out.
std::vector<std::string> ExpectedProgramRows(FileSystem& files, FixtureView view);
// The rows that come from the fixture, as sorted row texts.
std::vector<std::string> SortedProgramRows(const std::vector<Finding>& rows);
// Runs the five program and history sections as the window starts a scan.
std::vector<Finding> RunProgramSections(ScanPlatform platform);

// Fixes the shortcut rows as the fix does and names every shortcut file that
// is afterwards neither in place nor in the Recycle Bin.
std::vector<std::string> LostShortcutFiles(FileSystem& files, const std::vector<Finding>& rows,
                                           const std::function<bool(const std::string&)>& inRecycleBin);

}  // namespace lindqua::test
