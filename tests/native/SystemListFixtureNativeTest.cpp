// The system list fixture over the memory platform: the same registry text
// and files as the Wine test, the same rows expected.
#include <gtest/gtest.h>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/SystemListFixture.h"

namespace lindqua::test {

TEST(SystemListFixture, MemoryPlatformGivesTheExpectedRows) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  files.SetSpecialFolder(SpecialFolder::Fonts, "C:\\windows\\Fonts");
  ImportRegText(registry, ReadSystemListFixture("fixture.reg"));
  ASSERT_EQ(CreateSystemListFiles(files), "");
  const auto rows = SystemListRowTexts(RunSystemListSections(ScanPlatform{registry, files, facts}));
  EXPECT_EQ(rows, ExpectedSystemListRows());
}

}  // namespace lindqua::test
