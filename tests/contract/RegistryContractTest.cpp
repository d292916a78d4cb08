// What the engine relies on from the registry, checked on every implementation.
#include <gtest/gtest.h>

#include "contract/PlatformUnderTest.h"
#include "platform/TRegistry.h"

namespace lindqua::test {

namespace {

Bytes Raw(std::initializer_list<int> bytes) {
  Bytes out;
  for (int b : bytes) out.push_back(static_cast<std::uint8_t>(b));
  return out;
}

}  // namespace

TEST_P(RegistryContract, OpensRelativeToCurrentKeyOrFromRoot) {
  TRegistry reg(Registry());
  const std::string scratch = under->ScratchPath();
  ASSERT_TRUE(reg.OpenKey(scratch + "\\A\\B", true));
  reg.CloseKey();

  ASSERT_TRUE(reg.OpenKey(scratch, false));
  EXPECT_EQ(reg.CurrentPath(), scratch);
  ASSERT_TRUE(reg.OpenKey("A", false)) << "relative to the current key";
  EXPECT_EQ(reg.CurrentPath(), scratch + "\\A");
  EXPECT_FALSE(reg.OpenKey(scratch, false)) << "a relative path never falls back to the root";
  EXPECT_EQ(reg.CurrentPath(), scratch + "\\A") << "a failed open leaves the current key";
  ASSERT_TRUE(reg.OpenKey("\\" + scratch + "\\A\\B", false)) << "a leading backslash starts at the root";
  EXPECT_EQ(reg.CurrentPath(), scratch + "\\A\\B");

  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey("", false)) << "an empty path opens the root itself";
  const auto rootNames = reg.GetKeyNames();
  EXPECT_NE(std::find(rootNames.begin(), rootNames.end(), "Software"), rootNames.end());
}

TEST_P(RegistryContract, KeyNamesMatchWithoutCaseAndKeepStoredCase) {
  TRegistry reg(Registry());
  const std::string scratch = under->ScratchPath();
  ASSERT_TRUE(reg.OpenKey(scratch + "\\MixedCase", true));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(UpperCase(scratch) + "\\mixedcase", false));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(scratch, false));
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{"MixedCase"});
  EXPECT_TRUE(reg.KeyExists("MIXEDCASE"));
  EXPECT_FALSE(reg.KeyExists("Missing"));
}

TEST_P(RegistryContract, AccessDeniedKeyCannotBeOpenedAndCurrentKeyStays) {
  TRegistry reg(Registry());
  const std::string scratch = under->ScratchPath();
  ASSERT_TRUE(reg.OpenKey(scratch + "\\Locked", true));
  reg.CloseKey();
  ASSERT_TRUE(under->DenyAllAccess("Locked"));
  ASSERT_TRUE(reg.OpenKey(scratch, false));
  reg.Access = RegAccess::Read;
  EXPECT_FALSE(reg.OpenKey("Locked", false));
  EXPECT_EQ(reg.CurrentPath(), scratch);
  std::unique_ptr<RegistryKey> root, key;
  ASSERT_EQ(Registry().OpenRoot(RootKey::CurrentUser, RegAccess::Read, root), RegStatus::Ok);
  EXPECT_EQ(root->OpenSubKey(scratch + "\\Locked", RegAccess::Read, key), RegStatus::AccessDenied);
}

TEST_P(RegistryContract, EnumerationOrderIsStableAndDefaultValueIsListedUnnamed) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Order", true));
  for (const char* name : {"zeta", "Alpha", "mid", "beta"}) {
    ASSERT_TRUE(reg.OpenKey("\\" + under->ScratchPath() + "\\Order\\" + name, true));
  }
  ASSERT_TRUE(reg.OpenKey("\\" + under->ScratchPath() + "\\Order", false));
  for (const char* name : {"zeta", "Alpha", "", "mid"}) reg.WriteString(name, name);
  const auto keys = reg.GetKeyNames();
  const auto values = reg.GetValueNames();
  EXPECT_EQ(keys.size(), 4u);
  EXPECT_EQ(values.size(), 4u);
  EXPECT_NE(std::find(values.begin(), values.end(), ""), values.end());
  EXPECT_EQ(reg.GetKeyNames(), keys);
  EXPECT_EQ(reg.GetValueNames(), values);
}

// Walks visit subkeys in this order, so rows come out in it. Windows and Wine
// keep subkeys sorted by name without regard to case. (They differ for the
// characters between "Z" and "a", which Wine sorts as lower case; the names
// here avoid them.)
TEST_P(RegistryContract, SubkeysAreEnumeratedSortedWithoutRegardToCase) {
  TRegistry reg(Registry());
  const std::string base = under->ScratchPath() + "\\Sorted";
  for (const char* name : {"zeta", "Alpha", "mid", "B2", "b1", "beta", "10", "9", "a.b", "a b", "a-c",
                           "\xC3\x84rger", "\xE6\x97\xA5"}) {
    ASSERT_TRUE(reg.OpenKey("\\" + base + "\\" + name, true)) << name;
  }
  ASSERT_TRUE(reg.OpenKey("\\" + base, false));
  EXPECT_EQ(reg.GetKeyNames(), (std::vector<std::string>{"10", "9", "a b", "a-c", "a.b", "Alpha", "b1", "B2", "beta",
                                                         "mid", "zeta", "\xC3\x84rger", "\xE6\x97\xA5"}));
}

TEST_P(RegistryContract, EmptyAndMissingDefaultValue) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\NoDefault", true));
  EXPECT_TRUE(reg.GetValueNames().empty()) << "an unset default value is not listed";
  EXPECT_FALSE(reg.ValueExists(""));
  EXPECT_EQ(reg.ReadString(""), "");
  reg.WriteString("", "");
  EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{""});
  EXPECT_EQ(reg.GetDataType(""), TRegDataType::rdString);
  EXPECT_EQ(reg.ReadString(""), "");
}

TEST_P(RegistryContract, EveryValueTypeKeepsTypeAndBytes) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Types", true));
  const Bytes multi = Utf8ToUtf16LeBytes(std::string("one\0\0two\0", 9));
  struct Case {
    const char* name;
    std::uint32_t type;
    Bytes data;
    TRegDataType mapped;
  } cases[] = {
      {"none", 0, Raw({1, 2}), TRegDataType::rdUnknown},
      {"none-empty", 0, {}, TRegDataType::rdUnknown},
      {"sz", 1, Utf8ToUtf16LeBytes("text"), TRegDataType::rdString},
      {"expand", 2, Utf8ToUtf16LeBytes("%TEMP%\\x"), TRegDataType::rdExpandString},
      {"binary", 3, Raw({0, 255, 7}), TRegDataType::rdBinary},
      {"binary-empty", 3, {}, TRegDataType::rdBinary},
      {"dword", 4, Raw({1, 0, 0, 0}), TRegDataType::rdInteger},
      {"dword-short", 4, Raw({9}), TRegDataType::rdInteger},
      {"multi", 7, multi, TRegDataType::rdUnknown},
      {"qword", 11, Raw({1, 2, 3, 4, 5, 6, 7, 8}), TRegDataType::rdUnknown},
      {"type-0x100", 0x100, Raw({42}), TRegDataType::rdUnknown},
      {"type-0x12345", 0x12345, Raw({1, 2, 3}), TRegDataType::rdUnknown},
  };
  for (const auto& c : cases) reg.WriteRaw(c.name, c.type, c.data);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RegValue value;
    ASSERT_TRUE(reg.ReadRaw(c.name, value));
    EXPECT_EQ(value.type, c.type);
    EXPECT_EQ(value.data, c.data);
    EXPECT_EQ(reg.GetDataType(c.name), c.mapped);
    EXPECT_EQ(reg.GetDataSize(c.name), static_cast<int>(c.data.size()));
  }
  EXPECT_EQ(reg.ReadInteger("dword"), 1);
  EXPECT_THROW(reg.ReadString("dword"), RegistryError);
  EXPECT_THROW(reg.ReadString("multi"), RegistryError);
  EXPECT_THROW(reg.ReadInteger("sz"), RegistryError);
  EXPECT_EQ(reg.GetDataSize("missing"), -1);
  std::vector<RegValueEntry> entries;
  ASSERT_EQ(reg.CurrentKey()->EnumValueEntries(entries), RegStatus::Ok);
  ASSERT_EQ(entries.size(), std::size(cases));
  for (const auto& e : entries) {
    RegValue value;
    ASSERT_TRUE(reg.ReadRaw(e.name, value));
    EXPECT_EQ(e.value.type, value.type) << e.name;
    EXPECT_EQ(e.value.data, value.data) << e.name;
  }
}

TEST_P(RegistryContract, StringsReadUpToFirstNulAndKeepNonAsciiText) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Strings", true));
  reg.WriteRaw("embedded", RegType::String, Utf8ToUtf16LeBytes(std::string("before\0after", 12)));
  reg.WriteRaw("unterminated", RegType::String, Utf8ToUtf16LeBytes("abc", false));
  reg.WriteRaw("odd", RegType::String, Raw({'h', 0, 'i', 0, 'x'}));
  const std::string nonAscii = "Gr\xC3\xBC\xC3\x9F\x65 \xE6\x97\xA5\xE6\x9C\xAC \xF0\x9F\x98\x80";
  reg.WriteString(nonAscii, nonAscii);
  EXPECT_EQ(reg.ReadString("embedded"), "before");
  EXPECT_EQ(reg.ReadString("unterminated"), "abc");
  EXPECT_EQ(reg.ReadString("odd"), "hi");
  EXPECT_EQ(reg.ReadString(nonAscii), nonAscii);
  const auto names = reg.GetValueNames();
  EXPECT_NE(std::find(names.begin(), names.end(), nonAscii), names.end());
  ASSERT_TRUE(reg.OpenKey(nonAscii, true));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Strings", false));
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{nonAscii});
}

TEST_P(RegistryContract, LongNamesAndLargeData) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Limits", true));
  const std::string longValueName(16383, 'v');
  const std::string longKeyName(255, 'k');
  Bytes big(1 << 20);
  for (std::size_t i = 0; i < big.size(); ++i) big[i] = static_cast<std::uint8_t>(i * 7);
  reg.WriteRaw(longValueName, RegType::Binary, big);
  RegValue value;
  ASSERT_TRUE(reg.ReadRaw(longValueName, value));
  EXPECT_EQ(value.data, big);
  EXPECT_EQ(reg.GetValueNames(), std::vector<std::string>{longValueName});
  std::vector<RegValueEntry> entries;
  ASSERT_EQ(reg.CurrentKey()->EnumValueEntries(entries), RegStatus::Ok);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].value.data.size(), big.size());
  ASSERT_TRUE(reg.OpenKey(longKeyName, true));
  reg.CloseKey();
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Limits", false));
  EXPECT_EQ(reg.GetKeyNames(), std::vector<std::string>{longKeyName});
  // Windows refuses a 256-character key name and Wine accepts it, so the
  // program never relies on either answer.
}

// A scan asks every key for its counts and trusts them to describe what an
// enumeration would give; it compares them to tell whether a key changed.
TEST_P(RegistryContract, KeyInfoCountsAndLongestNamesFollowWrites) {
  TRegistry reg(Registry());
  const std::string path = under->ScratchPath() + "\\Info";
  ASSERT_TRUE(reg.OpenKey(path, true));
  const auto info = [&] {
    RegKeyInfo out;
    EXPECT_EQ(reg.CurrentKey()->QueryInfo(out), RegStatus::Ok);
    return out;
  };
  EXPECT_EQ(info().subKeyCount + info().valueCount, 0u);
  // Lengths in UTF-16 units: "\u00fc" is one unit in two bytes, U+1F600 two in four.
  reg.WriteRaw("Gr\u00fc\u00dfe\xF0\x9F\x98\x80", RegType::Binary, Bytes(10, 1));
  reg.WriteRaw("a", RegType::Binary, Bytes(3, 2));
  for (const char* child : {"K\u00f6ln\xF0\x9F\x98\x80", "ab"}) {
    TRegistry creator(Registry());
    ASSERT_TRUE(creator.OpenKey(path + "\\" + child, true));
  }
  RegKeyInfo now = info();
  EXPECT_EQ(now.subKeyCount, 2u);
  EXPECT_EQ(now.valueCount, 2u);
  EXPECT_EQ(now.maxSubKeyLength, 6u);
  EXPECT_EQ(now.maxValueNameLength, 7u);
  EXPECT_EQ(now.maxDataLength, 10u);
  reg.WriteRaw("a", RegType::Binary, Bytes(40, 2));
  EXPECT_EQ(info().maxDataLength, 40u) << "an overwrite with longer data";
  EXPECT_EQ(info().valueCount, 2u) << "an overwrite adds no value";
  ASSERT_TRUE(reg.DeleteValue("a"));
  ASSERT_TRUE(reg.DeleteKey("K\u00f6ln\xF0\x9F\x98\x80"));
  now = info();
  EXPECT_EQ(now.subKeyCount, 1u);
  EXPECT_EQ(now.valueCount, 1u);
  // After a removal the longest lengths need only cover what is left.
  EXPECT_GE(now.maxSubKeyLength, 2u);
  EXPECT_GE(now.maxValueNameLength, 7u);
  EXPECT_GE(now.maxDataLength, 10u);
}

TEST_P(RegistryContract, DeleteKeyRemovesTreeAndOpenHandlesSeeItGone) {
  TRegistry reg(Registry());
  const std::string scratch = under->ScratchPath();
  ASSERT_TRUE(reg.OpenKey(scratch + "\\Tree\\Sub\\Deep", true));
  reg.WriteString("v", "x");
  TRegistry other(Registry());
  ASSERT_TRUE(other.OpenKey(scratch, false));
  EXPECT_TRUE(other.DeleteKey("Tree"));
  EXPECT_FALSE(other.KeyExists("Tree"));
  EXPECT_TRUE(other.GetKeyNames().empty());
  EXPECT_FALSE(reg.ValueExists("v")) << "a handle to a deleted key reads nothing";
  EXPECT_FALSE(other.DeleteKey("Tree"));
  ASSERT_TRUE(other.OpenKey("New", true));
  other.WriteString("a", "1");
  EXPECT_TRUE(other.DeleteValue("a"));
  EXPECT_FALSE(other.DeleteValue("a"));
}

TEST_P(RegistryContract, ReadOnlyAccessCannotWrite) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\ReadOnly", true));
  reg.CloseKey();
  reg.Access = RegAccess::Read;
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\ReadOnly", false));
  EXPECT_THROW(reg.WriteString("x", "y"), RegistryError);
  EXPECT_TRUE(reg.GetValueNames().empty());
}

TEST_P(RegistryContract, CurrentUserIsTheUsersOwnKeyUnderHkeyUsers) {
  TRegistry reg(Registry());
  ASSERT_TRUE(reg.OpenKey(under->ScratchPath() + "\\Seen", true));
  TRegistry users(Registry());
  users.SetRootKey(RootKey::Users);
  ASSERT_TRUE(users.OpenKey("", false));
  std::vector<std::string> seenUnder;
  for (const auto& sid : users.GetKeyNames()) {
    TRegistry probe(Registry());
    probe.SetRootKey(RootKey::Users);
    if (probe.OpenKey(sid + "\\" + under->ScratchPath() + "\\Seen", false)) seenUnder.push_back(sid);
  }
  ASSERT_EQ(seenUnder.size(), 1u);
  // The backend names that key itself, so a scan can tell which part of
  // HKEY_USERS it has already read as HKEY_CURRENT_USER.
  const auto named = Registry().CurrentUserKeyName();
  ASSERT_TRUE(named.has_value());
  EXPECT_TRUE(SameText(*named, seenUnder.front())) << *named;
}

INSTANTIATE_TEST_SUITE_P(Memory, RegistryContract, ::testing::Values(MemoryRegistryFactory()),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
