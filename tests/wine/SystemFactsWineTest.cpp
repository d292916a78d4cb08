// The real system facts under Wine: the prefix decides whether the 32-bit
// program runs under WOW64, and the test run says which prefix it expects.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/win32/Win32SystemFacts.h"

namespace lindqua::test {

TEST(Win32SystemFacts, VersionCodeIsNt6OnWine) {
  Win32SystemFacts facts;
  const OsVersion v = facts.GetVersion();
  EXPECT_EQ(v.platformId, 2u);
  EXPECT_EQ(GetWindowsVersionCode(facts), WindowsVersionCode(v));
  EXPECT_EQ(GetWindowsVersionCode(facts), 11) << "Wine reports Windows " << v.major << "." << v.minor;
}

TEST(Win32SystemFacts, Wow64MatchesThePrefixArchitecture) {
  // scripts/test names the prefix it runs in; without it, a 64-bit prefix is
  // told by its SysWOW64 folder, which a 32-bit prefix does not have.
  const char* named = std::getenv("LINDQUA_EXPECT_WOW64");
  const bool expected = named ? std::string(named) == "1"
                              : ::GetFileAttributesW(L"C:\\windows\\syswow64") != INVALID_FILE_ATTRIBUTES;
  Win32SystemFacts facts;
  ASSERT_TRUE(facts.IsWow64Process().has_value()) << "kernel32 has IsWow64Process";
  EXPECT_EQ(IsWow64(facts), expected);
}

TEST(Win32SystemFacts, DateTimeTextHoldsDateAndTime) {
  Win32SystemFacts facts;
  const std::string text = facts.DateTimeText(LocalTime{2026, 3, 4, 17, 5, 6});
  EXPECT_NE(text.find("2026"), std::string::npos) << text;
  EXPECT_NE(text.find("05"), std::string::npos) << text;
}

}  // namespace lindqua::test
