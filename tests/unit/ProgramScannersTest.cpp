// The program and history sections over the in-memory platform, for the cases
// the shared fixture (tests/fixtures/programs) cannot hold: the other WOW64
// case, shell folders laid out otherwise, values of unusual types.
#include <gtest/gtest.h>

#include "engine/Rot13.h"
#include "engine/Scanners.h"
#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

using Strings = std::vector<std::string>;

class ProgramScannersTest : public ::testing::Test {
 protected:
  void Seed(std::string_view regText) { ImportRegText(m.registry, regText); }
  // "shown @ location #tag" of every row, in order.
  Strings Rows() const {
    Strings out;
    for (const auto& row : m.Rows()) {
      out.push_back(row.shownText + " @ " + row.location + " #" + std::to_string(row.tag));
      EXPECT_FALSE(row.reason.empty()) << out.back();
    }
    return out;
  }
  MemoryScan m;
};

}  // namespace

TEST_F(ProgramScannersTest, StartMenuOrderKeepsKeysOfEitherProgramsFolderInAnyCase) {
  const char* keys = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\GAMES]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\office]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu2\Programs\Gone]
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\MenuOrder\Start Menu\&Programs\Removed]
)";
  Seed(keys);
  m.files.SetSpecialFolder(SpecialFolder::Programs, "C:\\User\\Programs");
  m.files.SetSpecialFolder(SpecialFolder::CommonPrograms, "C:\\All\\Programs");
  m.files.AddFolder("C:\\User\\Programs\\Games");
  m.files.AddFile("C:\\User\\Programs\\Gone");  // a file is no folder
  m.files.AddFolder("C:\\All\\Programs\\Office");
  ScanStartMenuOrder(m.scan);
  const std::string key = " @ HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\";
  EXPECT_EQ(Rows(), (Strings{"Gone" + key + "Start Menu2\\Programs #3", "Removed" + key + "Start Menu\\&Programs #3"}));

  // Without a listing of both folders no key can be judged.
  MemoryScan other;
  ImportRegText(other.registry, keys);
  other.files.SetSpecialFolder(SpecialFolder::Programs, "C:\\User\\Programs");
  other.files.AddFolder("C:\\User\\Programs");
  ScanStartMenuOrder(other.scan);
  EXPECT_TRUE(other.Rows().empty());
}

TEST_F(ProgramScannersTest, ShortcutsWithMissingTargetsAreReportedOnceByTheirOwnPath) {
  auto& files = m.files;
  files.SetSpecialFolder(SpecialFolder::AppData, "C:\\User\\AppData");
  files.SetSpecialFolder(SpecialFolder::StartMenu, "C:\\user\\appdata\\Start Menu");  // inside, other case
  files.SetSpecialFolder(SpecialFolder::Recent, "C:\\User\\AppDataRecent");           // a sibling, not inside
  files.SetSpecialFolder(SpecialFolder::Desktop, "C:\\User\\Desktop");
  files.SetSpecialFolder(SpecialFolder::CommonStartMenu, "C:\\All\\Start Menu");
  files.AddFolder("C:\\Present");
  files.AddFile("C:\\Present\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\gone.lnk", "C:\\Gone\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\nocolon.lnk", "C:Gone\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\folder.lnk", "C:\\Present");
  files.AddShortcut("C:\\User\\Desktop\\file.LNK", "C:\\Present\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\share.lnk", "\\\\server\\share\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\empty.lnk", "");
  files.AddShortcut("C:\\User\\Desktop\\untested.lnk", "Q:\\Gone\\app.exe");
  files.AddShortcut("C:\\User\\Desktop\\notes.txt", "C:\\Gone\\notes.exe");
  files.AddShortcut("C:\\User\\Desktop\\floppy.lnk", "a:\\setup.exe");
  files.AddShortcut("C:\\User\\AppData\\Start Menu\\Programs\\old.lnk", "C:\\Gone\\old.exe");
  files.AddShortcut("C:\\User\\AppDataRecent\\doc.lnk", "C:\\Gone\\doc.txt");
  files.AddShortcut("C:\\All\\Start Menu\\sys.lnk", "C:\\Windows\\System32\\gone.exe");
  files.AddShortcut("C:\\All\\Start Menu\\pf.lnk", "C:\\Program Files\\Gone\\gone.exe");
  m.scan.DriveLetters = "acdefghijklmnop";

  for (bool wow64 : {false, true}) {
    m.model.EditRows([](auto& rows) { rows.clear(); });
    m.scan.UnderWow64 = wow64;
    ScanShortcuts(m.scan);
    Strings expected;
    if (!wow64)
      expected = {"C:\\Windows\\System32\\gone.exe @ C:\\All\\Start Menu\\sys.lnk #4",
                  "C:\\Program Files\\Gone\\gone.exe @ C:\\All\\Start Menu\\pf.lnk #4"};
    expected.insert(expected.end(), {"C:\\Gone\\old.exe @ C:\\User\\AppData\\Start Menu\\Programs\\old.lnk #4",
                                     "C:\\Gone\\doc.txt @ C:\\User\\AppDataRecent\\doc.lnk #4",
                                     "C:\\Gone\\app.exe @ C:\\User\\Desktop\\gone.lnk #4",
                                     "a:\\setup.exe @ C:\\User\\Desktop\\floppy.lnk #4"});
    EXPECT_EQ(Rows(), expected) << "WOW64 " << wow64;
  }
  EXPECT_EQ(m.Rows()[0].caption, "Missing ShortCut reference");
  EXPECT_NE(m.Rows().back().reason.find("Drive A:"), std::string::npos);
}

TEST_F(ProgramScannersTest, OpenSaveListsAndUsageRecordNameMissingFilesAndUnusedPrograms) {
  m.files.AddFile("C:\\Present\\report.txt");
  m.files.AddFile("C:\\Present\\zero.exe");
  m.files.AddFile("C:\\Present\\used.exe");
  m.files.AddFile("C:\\Present\\short.exe");
  m.files.SetDrive('A', DriveType::Removable, true);
  m.files.AddFile("A:\\Letters\\draft");  // there, but the scan found the drive not ready: never asked
  Seed(R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU]
"doc1"="C:\\Present\\report"
"doc2"="C:\\Gone\\letter"
"rel"="letter"
"floppy"="A:\\Letters\\draft"
"C:\\in\\name"="C:\\Gone\\named"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU\txt]
"a"="C:\\Gone\\x.txt"
"b"="C:\\Present\\report.txt"
"MRUList"="ab"
[HKEY_CURRENT_USER\Software\Microsoft\Windows\CurrentVersion\Explorer\ComDlg32\OpenSaveMRU\*]
"a"="C:\\Present\\report.txt"
)");
  const std::string count =
      "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
  TRegistry reg(m.registry);
  ASSERT_TRUE(reg.OpenKey(count, true));
  const auto usage = [&](const std::string& name, Bytes data) { reg.WriteRaw(Rot13(name), RegType::Binary, data); };
  const Bytes countZero = {1, 0, 0, 0, 0, 0, 0, 0}, countFive = {1, 0, 0, 0, 5, 0, 0, 0}, noCount = {1, 0, 0, 0};
  usage("UEME_RUNPATH:C:\\Present\\zero.exe", countZero);
  usage("UEME_RUNPATH:C:\\Present\\used.exe", countFive);
  usage("UEME_RUNPATH:C:\\Gone\\used.exe", countFive);
  usage("UEME_RUNPIDL:C:\\Gone\\x.lnk", countFive);
  usage("UEME_RUNPIDL:C:\\Gone\\y.lnk", countZero);
  usage("UEME_RUNPATH:C:\\Present\\short.exe", noCount);
  usage("UEME_RUNPATH:C:\\Gone\\short.exe", noCount);
  reg.WriteString(Rot13("UEME_RUNPATH:C:\\Gone\\text.exe"), "typed as text");

  ScanMruLists(m.scan);
  const std::string list = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
  const std::string at = " @ HKEY_CURRENT_USER\\" + count + " #6";
  EXPECT_EQ(Rows(), (Strings{"C:\\Gone\\letter @ " + list + "\\doc2 #1", "A:\\Letters\\draft @ " + list + "\\floppy #1",
                             "C:\\in\\name @ " + list + " #2",
                             "C:\\Gone\\x.txt @ " + list + "\\txt\\a #1", "UEME_RUNPATH:C:\\Present\\zero.exe" + at,
                             "UEME_RUNPATH:C:\\Gone\\used.exe" + at, "UEME_RUNPIDL:C:\\Gone\\y.lnk" + at,
                             "UEME_RUNPATH:C:\\Gone\\short.exe" + at, "UEME_RUNPATH:C:\\Gone\\text.exe" + at}));
  for (const auto& row : m.Rows()) EXPECT_EQ(row.caption, "Non-existent MRU and History Lists file");
  EXPECT_EQ(m.Rows()[0].reason, "No file found: C:\\Gone\\letter, C:\\Gone\\letter.txt");
}

}  // namespace lindqua::test
