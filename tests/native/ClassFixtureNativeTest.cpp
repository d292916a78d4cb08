// The class registration fixture over the memory platform: the same registry
// text, files and locked keys as the Wine test, the same rows expected.
#include <gtest/gtest.h>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/ClassFixture.h"

namespace lindqua::test {

TEST(ClassFixture, MemoryPlatformGivesTheExpectedRows) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ImportRegText(registry, ReadClassFixture("fixture.reg"));
  for (const auto& [root, path] : ClassFixtureLockedKeys())
    ASSERT_TRUE(registry.DenyAccess(root, path, 0xFFFFFFFF)) << path;
  for (const std::string& path : ClassFixtureLines("files.txt")) ASSERT_TRUE(files.AddFile(path)) << path;
  files.SetEnvironment(ClassFixtureVariable, ClassFixtureFolder);
  const ScanPlatform platform{registry, files, facts};
  EXPECT_EQ(ClassFixtureRowTexts(RunScanSections(platform, ClassSectionsRun)), ExpectedClassRows("A", FixtureView::Plain));
  EXPECT_EQ(ClassFixtureRowTexts(RunScanSections(platform, WithSoftwareSweepRun)), ExpectedClassRows("B", FixtureView::Plain));
}

}  // namespace lindqua::test
