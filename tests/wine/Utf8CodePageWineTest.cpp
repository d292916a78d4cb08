// Where the ANSI code page is UTF-8 (65001), a fix must still back up and
// delete, and the system's regedit must bring back exactly what was deleted.
// Wine takes its code page from the Unix locale, so this runs as a test entry
// of its own with LANG=hi_IN.UTF-8 (a locale without an ANSI code page).
#include <windows.h>

#include <gtest/gtest.h>

#include "engine/ResultsModel.h"
#include "platform/TRegistry.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "repair/FixProcedure.h"
#include "wine/WineRun.h"

namespace lindqua::test {

TEST(Utf8CodePageWine, ABackupAtCodePage65001BringsBackWhatWasDeleted) {
  if (::GetACP() != CP_UTF8)
    GTEST_SKIP() << "runs in its own test entry at code page 65001 (LANG=hi_IN.UTF-8); this process has "
                 << ::GetACP();
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  Win32AnsiCodePage ansi;
  const std::string key = "Software\\LqUtf8 J\xC3\xB6rg \xE4\xB8\xAD";       // "Jörg" and a CJK ideograph
  const std::string name = "Pfad \xE4\xB8\xAD", data = "C:\\LqGone\\\xCE\xA9.exe";  // and an Omega
  const std::string folder = "C:\\lindqua-utf8-" + std::to_string(::GetCurrentProcessId());
  {
    TRegistry reg(registry);
    ASSERT_TRUE(reg.OpenKey(key, true));
    reg.WriteString(name, data);
  }
  ResultsModel model;
  model.EditRows([&](std::vector<Finding>& rows) {
    rows.push_back(Finding{"Non-existent File or Folder", data, "HKEY_CURRENT_USER\\" + key + "\\" + name, 1, 4, true,
                           "r"});
  });
  const FixReport report =
      DeleteCheckedFindings(FixPlatform{ExportPlatform{registry, files, ansi}, facts}, model, FixRequest{folder, true});
  ASSERT_TRUE(report.completed) << report.endReason;
  ASSERT_EQ(report.rows.size(), 1u);
  EXPECT_EQ(report.rows[0].outcome, DeleteOutcome::Deleted) << report.rows[0].problem;
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey(key, false));
  EXPECT_FALSE(reg.ValueExists(name));
  std::string backup;
  ASSERT_TRUE(files.ReadWholeFile(report.backupFile, backup));
  EXPECT_NE(backup.find("\"Pfad \xE4\xB8\xAD\"=\"C:\\\\LqGone\\\\\xCE\xA9.exe\""), std::string::npos)
      << "written in the ANSI code page, which is UTF-8 here: " << backup;

  ASSERT_TRUE(RunRegedit(IsWow64(facts), report.backupFile));
  ASSERT_TRUE(reg.OpenKey("\\" + key, false));
  EXPECT_EQ(reg.ReadString(name), data) << "regedit read the backup in the ANSI code page";
  reg.CloseKey();
  TRegistry cleanup(registry);
  EXPECT_TRUE(cleanup.DeleteKey("\\" + key));
  files.DeletePath(folder);
}

}  // namespace lindqua::test
