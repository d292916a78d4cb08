// The key the registry editor is opened at, and how it is handed over.
#include <gtest/gtest.h>

#include "app/RegeditJump.h"
#include "platform/TRegistry.h"
#include "platform/memory/MemoryProcessRunner.h"
#include "platform/memory/MemoryRegistry.h"

namespace lindqua::test {

namespace {

Finding Row(std::string caption, std::string shown, std::string location, int tag) {
  return Finding{std::move(caption), std::move(shown), std::move(location), tag, 10, false, ""};
}

}  // namespace

TEST(RegeditJump, LastKeyFollowsTheFixTag) {
  EXPECT_EQ(LastKeyFor(Row("", "x", "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo\\ImagePath", 1)),
            "HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\Foo");
  EXPECT_EQ(LastKeyFor(Row("", "x", "NoBackslash", 1)), "");
  EXPECT_EQ(LastKeyFor(Row("", "{0000-1}", "HKEY_CLASSES_ROOT\\CLSID", 3)), "HKEY_CLASSES_ROOT\\CLSID\\{0000-1}");
  EXPECT_EQ(LastKeyFor(Row("", "S-1-5-21-X", "HKEY_USERS\\", 3)), "HKEY_USERS\\S-1-5-21-X");
  EXPECT_EQ(LastKeyFor(Row("", "x", "C:\\Links\\a.lnk", 4)), "");
  for (int tag : {0, 2, 5, 6}) EXPECT_EQ(LastKeyFor(Row("", "x", "HKEY_CURRENT_USER\\Software\\A", tag)), "HKEY_CURRENT_USER\\Software\\A");
  EXPECT_EQ(LastKeyFor(Row("", "x", "HKEY_CURRENT_USER\\Software\\A", 9)), "");
}

TEST(RegeditJump, WritesLastKeyThenStartsAFurtherEditor) {
  MemoryRegistry registry;
  MemoryProcessRunner shell;
  aOpenRegeditExecute(Row("", "x", "HKEY_CURRENT_USER\\Software\\A\\Value", 1), registry, shell);
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey(RegeditAppletKey, false));
  EXPECT_EQ(reg.ReadString("LastKey"), "HKEY_CURRENT_USER\\Software\\A");
  EXPECT_EQ(shell.shellOpened, std::vector<std::string>{"Regedit -m"});
}

}  // namespace lindqua::test
