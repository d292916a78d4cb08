// The sweep fixture over the memory platform: the same registry text and
// files as the Wine test, the same rows expected.
#include <gtest/gtest.h>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/SweepFixture.h"

namespace lindqua::test {

TEST(SweepFixture, MemoryPlatformGivesTheExpectedRows) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ImportRegText(registry, ReadFixtureFile("fixture.reg"));
  for (const std::string& path : SweepFixtureFiles()) {
    if (path.back() == '\\') {
      ASSERT_TRUE(files.AddFolder(path)) << path;
    } else {
      ASSERT_TRUE(files.AddFile(path)) << path;
    }
  }
  files.SetEnvironment(SweepFixtureVariable, SweepFixtureFolder);
  const auto rows = FixtureRowTexts(RunSweepSections(ScanPlatform{registry, files, facts}));
  EXPECT_EQ(rows, ExpectedSweepRows(FixtureView::Plain));
}

}  // namespace lindqua::test
