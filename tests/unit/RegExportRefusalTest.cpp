// The writer's answers: a key or value that a backup could not restore
// exactly is refused before a byte is written; a file that cannot be written
// is reported; the header goes only at the start of a file.
#include <gtest/gtest.h>

#include <functional>

#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/BackupFileName.h"
#include "repair/ExportToReg.h"

namespace lindqua::test {

namespace {

using namespace std::string_literals;

const std::string CasePath = "Software\\Case";
const std::string FileName = "C:\\Backup\\b.reg";

class RegExportTest : public ::testing::Test {
 public:
  void SetUp() override { ASSERT_TRUE(files.AddFolder("C:\\Backup")); }

  // Creates HKCU\Software\Case\<below> and returns it open.
  std::unique_ptr<RegistryKey> Key(const std::string& below = "") {
    std::unique_ptr<RegistryKey> root, key;
    EXPECT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
    EXPECT_EQ(root->CreateSubKey(below.empty() ? CasePath : CasePath + "\\" + below, RegAccess::AllAccess, key),
              RegStatus::Ok);
    return key;
  }
  void Set(const std::string& below, const std::string& name, std::uint32_t type, const Bytes& data) {
    ASSERT_EQ(Key(below)->SetValue(name, type, data), RegStatus::Ok);
  }
  void SetText(const std::string& below, const std::string& name, const std::string& text) {
    Set(below, name, RegType::String, Utf8ToUtf16LeBytes(text));
  }
  ExportResult Export(bool wholeKey, const std::string& valueName = "", const std::string& path = CasePath) {
    return ExportToReg(platform, FileName, RootKey::CurrentUser, wholeKey, valueName, path);
  }
  std::string FileText() {
    std::string text;
    return files.ReadWholeFile(FileName, text) ? text : "<no file>";
  }

  MemoryRegistry registry;
  MemoryFileSystem files;
  Windows1252CodePage ansi;
  ExportPlatform platform{registry, files, ansi};
};

struct RefusedCase {
  RefusedCase(std::string caseName, std::function<void(RegExportTest&)> arrangeCase, bool whole = true,
              std::string value = {})
      : name(std::move(caseName)), arrange(std::move(arrangeCase)), wholeKey(whole), valueName(std::move(value)) {}
  std::string name;
  std::function<void(RegExportTest&)> arrange;
  bool wholeKey;
  std::string valueName;
};

TEST_F(RegExportTest, RefusesWhatCannotComeBackExactlyAndWritesNothing) {
  // Each case has a sound first subkey, so a partial block would show.
  const std::vector<RefusedCase> cases = {
      {"value name with LF", [](auto& t) { t.SetText("B", "two\nlines", "x"); }},
      {"value name with CR", [](auto& t) { t.SetText("B", "cr\r", "x"); }},
      {"key name outside 1252", [](auto& t) { t.Key("B\\\xE4\xB8\xAD"); }},
      {"key name with LF", [](auto& t) { t.Key("B\\a\nb"); }},
      {"value name outside 1252", [](auto& t) { t.SetText("B", "\xD0\x96", "x"); }},
      {"text outside 1252", [](auto& t) { t.SetText("B\\Deep", "v", "price \xE2\x82\xB9"); }},
      {"expandable text outside 1252",
       [](auto& t) { t.Set("B", "v", RegType::ExpandString, Utf8ToUtf16LeBytes("%x%\xC4\x81")); }},
      {"multi-string outside 1252",
       [](auto& t) { t.Set("B", "v", RegType::MultiString, Utf8ToUtf16LeBytes("a\0\xCE\xA9\0"s)); }},
      {"lone surrogate", [](auto& t) { t.Set("B", "v", RegType::String, Bytes{0x61, 0, 0x00, 0xD8, 0, 0}); }},
      {"text of odd length", [](auto& t) { t.Set("B", "v", RegType::String, Bytes{0x61, 0, 0x62}); }},
      {"unreadable subkey",
       [](auto& t) {
         t.Key("B\\Locked");
         ASSERT_TRUE(t.registry.DenyAccess(RootKey::CurrentUser, CasePath + "\\B\\Locked", 0xFFFFFFFF));
       }},
      {"single value name outside 1252", [](auto& t) { t.SetText("", "\xE4\xB8\xAD", "x"); }, false,
       "\xE4\xB8\xAD"},
      {"single value that is gone", [](auto&) {}, false, "missing"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    {
      std::unique_ptr<RegistryKey> root;
      ASSERT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
      (void)root->DeleteSubKeyTree(CasePath);
    }
    SetText("A", "fine", "ok");
    c.arrange(*this);
    const auto result = Export(c.wholeKey, c.valueName);
    EXPECT_EQ(result.status, ExportStatus::CannotBeExact);
    EXPECT_FALSE(result.problem.empty());
    EXPECT_EQ(FileText(), "<no file>");
  }
  EXPECT_EQ(Export(true, "", "Software\\NoSuchKey").status, ExportStatus::CannotBeExact);
}

TEST_F(RegExportTest, ARefusalLeavesEarlierBlocksOfTheFileAlone) {
  SetText("A", "fine", "ok");
  ASSERT_EQ(Export(false, "fine", CasePath + "\\A").status, ExportStatus::Written);
  const std::string before = FileText();
  SetText("B", "bad\n", "x");
  EXPECT_EQ(Export(true).status, ExportStatus::CannotBeExact);
  EXPECT_EQ(FileText(), before);
}

TEST_F(RegExportTest, ReportsAFileThatCannotBeWritten) {
  SetText("", "v", "x");
  files.FailWritesTo(FileName);
  EXPECT_EQ(Export(true).status, ExportStatus::WriteFailed);
  files.FailWritesTo("");
  EXPECT_EQ(ExportToReg(platform, "C:\\NoFolder\\b.reg", RootKey::CurrentUser, true, "", CasePath).status,
            ExportStatus::WriteFailed);
  EXPECT_EQ(Export(true).status, ExportStatus::Written);
}

TEST_F(RegExportTest, HeaderOnlyAtTheStartOfAFile) {
  SetText("", "v", "x");
  const std::string block = "\r\n[HKEY_CURRENT_USER\\Software\\Case]\r\n\"v\"=\"x\"\r\n";
  ASSERT_EQ(Export(true).status, ExportStatus::Written);
  ASSERT_EQ(Export(false, "v").status, ExportStatus::Written);
  EXPECT_EQ(FileText(), "REGEDIT4\r\n" + block + block);

  // An empty file left behind still needs the header, or regedit imports nothing.
  ASSERT_TRUE(files.WriteWholeFile(FileName, ""));
  ASSERT_EQ(Export(true).status, ExportStatus::Written);
  EXPECT_EQ(FileText(), "REGEDIT4\r\n" + block);
}

TEST_F(RegExportTest, ValueDirectlyUnderARoot) {
  std::unique_ptr<RegistryKey> root;
  ASSERT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
  ASSERT_EQ(root->SetValue("top", RegType::Dword, Bytes{1, 0, 0, 0}), RegStatus::Ok);
  ASSERT_EQ(Export(false, "top", "").status, ExportStatus::Written);
  EXPECT_EQ(FileText(), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER]\r\n\"top\"=dword:00000001\r\n");
}

TEST(BackupFileNameTest, FolderDateAndTime) {
  EXPECT_EQ(MakeBackupFileName("C:\\Tools\\Backup", LocalTime{2026, 12, 7, 6, 55, 8}),
            "C:\\Tools\\Backup\\2026_12_07_065508.reg");
  EXPECT_EQ(MakeBackupFileName("C:\\Tools\\Backup\\", LocalTime{2027, 1, 31, 23, 5, 59}),
            "C:\\Tools\\Backup\\2027_01_31_230559.reg");
}

}  // namespace

}  // namespace lindqua::test
