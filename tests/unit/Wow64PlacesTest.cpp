// The WOW64 view rules: the table itself, and the file check over a memory
// file system that holds both views ("System32" is what the 32-bit program
// sees there, "Sysnative" the native folder).
#include <gtest/gtest.h>

#include "engine/FileReferenceCheck.h"
#include "engine/Wow64Places.h"
#include "platform/CachingFileSystem.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

Wow64Folders Folders() {
  return {"C:\\Windows", "C:\\Program Files", "C:\\Program Files (x86)", "C:\\Program Files\\Common Files",
          "C:\\Program Files (x86)\\Common Files"};
}

// "!" when not judged, "" for the path as written, else "view=path" joined by "|".
std::string Describe(const Wow64Places& where) {
  if (!where.judged) return "!";
  std::string text;
  for (const Wow64Place& place : where.places)
    text.append(text.empty() ? "" : "|").append(place.view.substr(0, 2)).append("=").append(place.path);
  return text;
}

TEST(Wow64Places, RuleTable) {
  struct Case {
    const char* name;
    const char* reference;
    std::size_t after;  // where the text after the reference starts in name
    PathOrigin origin;
    const char* places;
  };
  const auto R = PathOrigin::Registry;
  for (const Case& c : std::initializer_list<Case>{
           {"C:\\Windows\\System32\\x.dll", "", 0, R,
            "32=C:\\Windows\\System32\\x.dll|64=C:\\Windows\\Sysnative\\x.dll"},
           {"c:\\WINDOWS\\system32", "", 0, R, "32=c:\\WINDOWS\\system32|64=C:\\Windows\\Sysnative"},
           {"C:\\Windows\\System32\\drivers\\x.sys -k", "SystemRoot", 10, R,
            "32=C:\\Windows\\System32\\drivers\\x.sys -k|64=C:\\Windows\\Sysnative\\drivers\\x.sys -k"},
           // exempt subfolders are the native ones as written; a longer name is no exemption
           {"C:\\Windows\\System32\\drivers\\etc\\hosts", "", 0, R, ""},
           {"C:\\Windows\\System32\\spool\\x.dll", "", 0, R, ""},
           {"C:\\Windows\\System32\\catroot2\\x.cat", "", 0, R, ""},
           {"C:\\Windows\\System32\\spoolsv.exe", "", 0, R,
            "32=C:\\Windows\\System32\\spoolsv.exe|64=C:\\Windows\\Sysnative\\spoolsv.exe"},
           {"C:\\Windows\\System32\\driverstore\\x.inf", "", 0, R,
            "32=C:\\Windows\\System32\\driverstore\\x.inf|64=C:\\Windows\\Sysnative\\driverstore\\x.inf"},
           // no alias reaches the native one
           {"C:\\Windows\\lastgood\\system32\\x.dll", "", 0, R, "!"},
           {"C:\\Windows\\regedit.exe /s", "", 0, R, "!"},
           {"C:\\Windows\\regedit", "", 0, R, "!"},
           {"C:\\Windows\\regedit2.exe", "", 0, R, ""},
           // not redirected
           {"C:\\Windows\\SysWOW64\\x.dll", "", 0, R, ""},
           {"C:\\Windows\\Sysnative\\x.dll", "", 0, R, ""},
           {"C:\\Windows\\System32x\\x.dll", "", 0, R, ""},
           {"D:\\Backup\\System32\\x.dll", "", 0, R, ""},
           {"C:\\Program Files\\App\\a.exe", "", 0, R, ""},
           {"C:\\Program Files (x86)\\App\\a.exe", "", 0, R, ""},
           {"C:\\Program Files (x86)\\App\\a.exe", "ProgramFiles(x86)", 22, R, ""},
           // references a 32-bit and a 64-bit program expand differently
           {"C:\\Program Files (x86)\\App\\a.exe", "ProgramFiles", 22, R,
            "64=C:\\Program Files\\App\\a.exe|32=C:\\Program Files (x86)\\App\\a.exe"},
           {"C:\\Program Files\\App\\a.exe", "programw6432", 16, R,
            "64=C:\\Program Files\\App\\a.exe|32=C:\\Program Files (x86)\\App\\a.exe"},
           {"C:\\Program Files (x86)\\Common Files\\c.dll", "CommonProgramFiles", 35, R,
            "64=C:\\Program Files\\Common Files\\c.dll|32=C:\\Program Files (x86)\\Common Files\\c.dll"},
           // a shortcut's target may be the shell's expansion of %ProgramFiles%
           {"C:\\Program Files (x86)\\App\\a.exe", "", 0, PathOrigin::ShellLink,
            "64=C:\\Program Files\\App\\a.exe|32=C:\\Program Files (x86)\\App\\a.exe"},
           {"C:\\Program Files\\App\\a.exe", "", 0, PathOrigin::ShellLink,
            "64=C:\\Program Files\\App\\a.exe|32=C:\\Program Files (x86)\\App\\a.exe"},
           {"C:\\Program Files Extra\\a.exe", "", 0, PathOrigin::ShellLink, ""},
       }) {
    const std::string_view name = c.name;
    EXPECT_EQ(Describe(PlacesUnderWow64(Folders(), name, c.reference, name.substr(c.after), c.origin)), c.places)
        << c.name << " / " << c.reference;
  }
}

TEST(Wow64Places, UnknownFoldersLeaveTheirPathsUnjudged) {
  Wow64Folders folders = Folders();
  folders.programFiles64.clear();
  EXPECT_EQ(Describe(PlacesUnderWow64(folders, "C:\\Program Files (x86)\\a.exe", "ProgramFiles", "\\a.exe")), "!");
  folders.windows.clear();
  EXPECT_EQ(Describe(PlacesUnderWow64(folders, "C:\\Windows\\System32\\a.dll", "", "")), "!");
  EXPECT_EQ(Describe(PlacesUnderWow64(folders, "C:\\Tools\\a.dll", "", "")), "");
}

// Both views, through the check, straight and through the scan's cache.
class Wow64CheckTest : public ::testing::TestWithParam<bool> {
 protected:
  Wow64CheckTest()
      : cache(m.files), cachedScan(ScanPlatform{m.registry, cache, m.facts}, ScanSink(m.model, m.stop.get_token())) {
    cachedScan.DriveLetters = AllDriveLetters;
  }

  void SetUp() override {
    MemoryFileSystem& files = m.files;
    files.SetSpecialFolder(SpecialFolder::Windows, "C:\\Windows");
    files.SetEnvironment("SystemRoot", "C:\\Windows");
    files.SetEnvironment("ProgramFiles", "C:\\Program Files (x86)");
    files.SetEnvironment("ProgramFiles(x86)", "C:\\Program Files (x86)");
    files.SetEnvironment("ProgramW6432", "C:\\Program Files");
    files.SetEnvironment("CommonProgramFiles", "C:\\Program Files (x86)\\Common Files");
    files.SetEnvironment("CommonProgramFiles(x86)", "C:\\Program Files (x86)\\Common Files");
    files.SetEnvironment("CommonProgramW6432", "C:\\Program Files\\Common Files");
    const struct {
      const char* folder;
      bool is64;
    } sides[] = {{"C:\\Windows\\System32\\", false},        {"C:\\Windows\\Sysnative\\", true},
                 {"C:\\Program Files (x86)\\App\\", false},   {"C:\\Program Files\\App\\", true},
                 {"C:\\Program Files (x86)\\Common Files\\", false}, {"C:\\Program Files\\Common Files\\", true}};
    for (const auto& side : sides) {
      files.AddFile(std::string(side.folder) + "both.dll");
      files.AddFile(std::string(side.folder) + (side.is64 ? "only64.dll" : "only32.dll"));
    }
    for (ScanContext* s : {&m.scan, &cachedScan}) {
      s->UnderWow64 = true;
      s->SetCheck64BitPaths(true);
    }
  }

  ScanContext& scan() { return GetParam() ? cachedScan : m.scan; }
  bool Missing(std::string_view text, PathOrigin origin = PathOrigin::Registry) {
    return IsMissingFile(scan(), text, "", false, scan().DriveLetters, origin);
  }

  MemoryScan m;
  CachingFileSystem cache;
  ScanContext cachedScan;
};

TEST_P(Wow64CheckTest, MissingOnlyWhereMissingInEveryPlaceMeant) {
  // Each form of path, over files on the 64-bit side only, the 32-bit side only, both and neither.
  struct Case {
    const char* folderForm;
    bool missing64Only, missing32Only;
  };
  for (const Case& c : std::initializer_list<Case>{
           {"C:\\Windows\\System32\\", false, false},
           {"%SystemRoot%\\system32\\", false, false},
           {"%ProgramFiles%\\App\\", false, false},
           {"%ProgramW6432%\\App\\", false, false},
           {"%CommonProgramFiles%\\", false, false},
           {"C:\\Program Files\\App\\", false, true},
           {"C:\\Program Files (x86)\\App\\", true, false},
           {"%ProgramFiles(x86)%\\App\\", true, false},
       }) {
    const std::string form = c.folderForm;
    EXPECT_FALSE(Missing(form + "both.dll")) << form;
    EXPECT_EQ(Missing(form + "only64.dll"), c.missing64Only) << form;
    EXPECT_EQ(Missing(form + "only32.dll"), c.missing32Only) << form;
    EXPECT_TRUE(Missing(form + "neither.dll")) << form;
    EXPECT_TRUE(Missing("\"" + form + "neither.dll\" /x")) << form;
  }
  EXPECT_FALSE(Missing("C:\\Windows\\regedit.exe")) << "no path reaches the native one";
  EXPECT_TRUE(Missing("C:\\Program Files (x86)\\App\\only64.dll"));
  EXPECT_FALSE(Missing("C:\\Program Files (x86)\\App\\only64.dll", PathOrigin::ShellLink));
}

TEST_P(Wow64CheckTest, OffOrWithoutWow64TheFoldersAreAsBefore) {
  scan().SetCheck64BitPaths(false);
  for (const char* text : {"C:\\Windows\\System32\\neither.dll", "%ProgramFiles%\\App\\neither.dll",
                           "C:\\Program Files\\App\\neither.dll"})
    EXPECT_FALSE(Missing(text)) << text;
  scan().UnderWow64 = false;
  scan().SetCheck64BitPaths(true);
  EXPECT_FALSE(Missing("C:\\Windows\\System32\\only32.dll")) << "without WOW64 the path as written is all";
  EXPECT_TRUE(Missing("C:\\Windows\\System32\\only64.dll"));
}

TEST_P(Wow64CheckTest, ReasonNamesEveryPlaceTried) {
  const std::string reason =
      MissingFileReason(scan(), "C:\\Windows\\System32\\gone.dll", ".dll", false, scan().DriveLetters);
  EXPECT_EQ(reason,
            "32-bit view: Not found: C:\\Windows\\System32\\gone.dll | "
            "64-bit view: Not found: C:\\Windows\\Sysnative\\gone.dll");
  EXPECT_EQ(MissingFileReason(scan(), "%ProgramFiles%\\Gone\\a.exe", ".exe", false, scan().DriveLetters),
            "64-bit view: Not found: C:\\Program Files\\Gone\\a.exe | "
            "32-bit view: Not found: C:\\Program Files (x86)\\Gone\\a.exe");
  // The exempt folders are the native ones as written: one place.
  EXPECT_EQ(MissingFileReason(scan(), "C:\\Windows\\System32\\drivers\\etc\\gone.ini", ".ini", false, scan().DriveLetters),
            "Not found: C:\\Windows\\System32\\drivers\\etc\\gone.ini");
  EXPECT_EQ(MissingFileReason(scan(), "C:\\Program Files\\Gone\\a.exe", ".exe", false, scan().DriveLetters),
            "Not found: C:\\Program Files\\Gone\\a.exe");
}

TEST_P(Wow64CheckTest, AShortcutToAFolderInEitherViewIsNoFinding) {
  m.files.AddFolder("C:\\Windows\\Sysnative\\Tasks64");
  cache.Clear();
  EXPECT_TRUE(FolderExistsInAnyView(scan(), "C:\\Windows\\System32\\Tasks64", PathOrigin::ShellLink));
  EXPECT_FALSE(FolderExistsInAnyView(scan(), "C:\\Windows\\System32\\Gone", PathOrigin::ShellLink));
}

INSTANTIATE_TEST_SUITE_P(Checks, Wow64CheckTest, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Cached" : "Direct"; });

}  // namespace

}  // namespace lindqua::test
