// Rows whose registry entry changed between the scan and the fix: the fix
// backs up what is there when it runs, deletes nothing it could not back
// up, and a row it could not fix stays listed with the reason.
#include <gtest/gtest.h>

#include <functional>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "platform/memory/Windows1252CodePage.h"
#include "repair/FixProcedure.h"

namespace lindqua::test {

namespace {

const char* Seed = R"(REGEDIT4

[HKEY_CURRENT_USER\Software\Changed\Key]
"v"="old"

[HKEY_CURRENT_USER\Software\Changed\Values]
"x"="old"
)";

struct ChangedCase {
  const char* name;
  int tag;
  const char* location;
  std::function<void(MemoryRegistry&)> change;
  DeleteOutcome outcome;
  bool rowStays;
  const char* inBackup;  // "" when no backup may be written
};

void Import(MemoryRegistry& registry, const char* text) { ImportRegText(registry, std::string("REGEDIT4\r\n") + text); }

}  // namespace

TEST(FixChangedUnderUs, BacksUpWhatIsThereAtFixTimeAndKeepsWhatItCannotFix) {
  const std::string key = "HKEY_CURRENT_USER\\Software\\Changed\\Key";
  const std::string value = "HKEY_CURRENT_USER\\Software\\Changed\\Values\\x";
  const ChangedCase cases[] = {
      {"key deleted by someone else", 0, key.c_str(),
       [](MemoryRegistry& r) { Import(r, "[-HKEY_CURRENT_USER\\Software\\Changed\\Key]\r\n"); },
       DeleteOutcome::NothingThere, false, ""},
      {"value data changed", 1, value.c_str(),
       [](MemoryRegistry& r) { Import(r, "[HKEY_CURRENT_USER\\Software\\Changed\\Values]\r\n\"x\"=\"new\"\r\n"); },
       DeleteOutcome::Deleted, false, "\"x\"=\"new\""},
      {"key gained a subkey", 0, key.c_str(),
       [](MemoryRegistry& r) { Import(r, "[HKEY_CURRENT_USER\\Software\\Changed\\Key\\Added]\r\n\"a\"=\"1\"\r\n"); },
       DeleteOutcome::Deleted, false, "[HKEY_CURRENT_USER\\Software\\Changed\\Key\\Added]\r\n\"a\"=\"1\""},
      {"key that may no longer be deleted", 0, key.c_str(),
       [](MemoryRegistry& r) {
         ASSERT_TRUE(r.DenyAccess(RootKey::CurrentUser, "Software\\Changed", RegAccess::SetValue));
       },
       DeleteOutcome::Refused, true, "[HKEY_CURRENT_USER\\Software\\Changed\\Key]"},
      {"key that may no longer be read", 1, value.c_str(),
       [](MemoryRegistry& r) {
         ASSERT_TRUE(r.DenyAccess(RootKey::CurrentUser, "Software\\Changed\\Values", RegAccess::QueryValue));
       },
       DeleteOutcome::NotExact, true, ""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MemoryRegistry registry;
    MemoryFileSystem files;
    MemorySystemFacts facts;
    Windows1252CodePage ansi;
    ImportRegText(registry, Seed);
    ASSERT_TRUE(files.AddFolder("C:\\Backup"));
    ResultsModel results;
    results.EditRows([&](auto& rows) { rows.push_back(Finding{"caption", "", c.location, c.tag, 3, true, ""}); });
    c.change(registry);
    const FixReport report =
        DeleteCheckedFindings(FixPlatform{ExportPlatform{registry, files, ansi}, facts}, results, {"C:\\Backup", true});
    ASSERT_EQ(report.rows.size(), 1u);
    EXPECT_EQ(report.rows[0].outcome, c.outcome);
    EXPECT_EQ(results.Count(), c.rowStays ? 1u : 0u);
    if (c.outcome == DeleteOutcome::NotExact) {
      EXPECT_FALSE(report.rows[0].problem.empty()) << "a row left unread says why";
    }
    std::string backup;
    const bool written = files.ReadWholeFile(report.backupFile, backup);
    if (*c.inBackup == '\0') {
      EXPECT_FALSE(written) << backup;
    } else {
      EXPECT_NE(backup.find(c.inBackup), std::string::npos) << backup;
    }
  }
}

}  // namespace lindqua::test
