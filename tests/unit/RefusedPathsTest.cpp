// A path the system will not judge (a folder the user may not list, a locked
// drive) is never taken for missing: no section reports it, the caches keep
// no answer about it, and no reason says it was not found.
#include <gtest/gtest.h>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/FailingFileSystem.h"
#include "support/FixtureData.h"
#include "support/ScanCachesSetting.h"

namespace lindqua::test {

TEST(RefusedPaths, APathTheSystemWillNotJudgeIsNeverMissing) {
  MemoryRegistry registry;
  ImportRegText(registry,
                "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\LqRefused]\r\n"
                "\"file\"=\"C:\\\\Locked\\\\app.exe\"\r\n"
                "\"below\"=\"C:\\\\Locked\\\\Sub\\\\x.dll\"\r\n"
                "\"command\"=\"\\\"C:\\\\Locked\\\\tool.exe\\\" -x\"\r\n"
                "\"folder\"=\"C:\\\\Locked\\\\\"\r\n"
                "\"gone\"=\"C:\\\\Gone\\\\y.exe\"\r\n");
  MemorySystemFacts facts;
  for (const char* caches : {"on", "off"}) {
    SCOPED_TRACE(std::string("caches ") + caches);
    SetScanCachesSetting(caches);
    MemoryFileSystem memory;
    FailingFileSystem files(memory);
    files.RefuseUnder("C:\\Locked");
    std::vector<std::string> locations, reasons;
    for (const Finding& row : RunScanSections(ScanPlatform{registry, files, facts}, {"4"})) {
      if (row.location.find("LqRefused") == std::string::npos) continue;
      locations.push_back(row.location);
      reasons.push_back(row.reason);
    }
    EXPECT_EQ(locations, std::vector<std::string>{"HKEY_CURRENT_USER\\Software\\LqRefused\\gone"});
    for (const std::string& reason : reasons) EXPECT_EQ(reason.find("Locked"), std::string::npos) << reason;
  }
  SetScanCachesSetting(nullptr);
}

}  // namespace lindqua::test
