// What the settings rely on from INI files, checked on every implementation;
// under Wine the system's profile functions give the expected answers.
#include <string>

#include "contract/IniUnderTest.h"

namespace lindqua::test {



TEST_P(IniContract, MissingFileReadsDefaultsAndTheFirstWriteCreatesIt) {
  const std::string path = under->ScratchFolder() + "\\new.ini";
  auto ini = under->Ini().Open(path);
  EXPECT_EQ(ini->FileName(), path);
  EXPECT_EQ(ini->ReadString("Settings", "BackupFolder", "C:\\Prog\\Backup"), "C:\\Prog\\Backup");
  EXPECT_EQ(ReadIniInteger(*ini, "Settings", "State", 1), 1);
  EXPECT_FALSE(under->Files().FileExists(path)) << "reading never creates the file";

  ASSERT_TRUE(ini->WriteString("Settings", "BackupFolder", "C:\\B"));
  ASSERT_TRUE(WriteIniBool(*ini, "Settings", "IgnoreRemovableDrive", true));
  ASSERT_TRUE(WriteIniBool(*ini, "NodeSelected", "1", false));
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, "[Settings]\r\nBackupFolder=C:\\B\r\nIgnoreRemovableDrive=1\r\n[NodeSelected]\r\n1=0\r\n");

  auto nowhere = under->Ini().Open(under->ScratchFolder() + "\\no such folder\\x.ini");
  EXPECT_FALSE(nowhere->WriteString("Settings", "State", "1")) << "a file in a missing folder cannot be written";
  EXPECT_EQ(nowhere->ReadString("Settings", "State", "d"), "d");
}

TEST_P(IniContract, EmptyFilesAndFilesWithoutAFinalLineBreak) {
  const std::string folder = under->ScratchFolder();
  ASSERT_TRUE(under->Files().WriteWholeFile(folder + "\\empty.ini", ""));
  auto empty = under->Ini().Open(folder + "\\empty.ini");
  EXPECT_EQ(empty->ReadString("S", "A", "def"), "def");
  ASSERT_TRUE(empty->WriteString("S", "A", "1"));
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(folder + "\\empty.ini", bytes));
  EXPECT_EQ(bytes, "[S]\r\nA=1\r\n");

  ASSERT_TRUE(under->Files().WriteWholeFile(folder + "\\open.ini", "[S]\nA=1\n[T]\rB=2\r\n\r\nC=3"));
  auto open = under->Ini().Open(folder + "\\open.ini");
  EXPECT_EQ(open->ReadString("S", "A", ""), "1") << "a bare LF ends a line";
  EXPECT_EQ(open->ReadString("T", "B", ""), "2") << "a bare CR ends a line";
  EXPECT_EQ(open->ReadString("T", "C", ""), "3") << "the last line needs no line break";
  ASSERT_TRUE(open->WriteString("T", "D", "4"));
  ASSERT_TRUE(under->Files().ReadWholeFile(folder + "\\open.ini", bytes));
  EXPECT_EQ(bytes, "[S]\r\nA=1\r\n[T]\r\nB=2\r\nC=3\r\nD=4\r\n") << "the rewrite drops blank lines";
}

TEST_P(IniContract, LetterCaseDuplicatesAndWhereNewEntriesGo) {
  const std::string path = under->ScratchFolder() + "\\dup.ini";
  ASSERT_TRUE(under->Files().WriteWholeFile(
      path, ";note\r\n[settings]\r\nSTATE=3\r\nstate=9\r\nlone line\r\n[Other]\r\nx=1\r\n[SETTINGS]\r\nLeft=5\r\n"));
  auto ini = under->Ini().Open(path);
  EXPECT_EQ(ini->ReadString("Settings", "State", ""), "3") << "names match in any case; the first key wins";
  EXPECT_EQ(ini->ReadString("Settings", "Left", "none"), "none") << "only the first section of a name is read";
  EXPECT_EQ(ini->ReadString("Settings", "lone line", "d"), "d") << "a line without '=' has no value";
  EXPECT_EQ(ini->ReadString("Other", "X", ""), "1");

  ASSERT_TRUE(ini->WriteString("SETTINGS", "state", "4"));
  ASSERT_TRUE(ini->WriteString("Settings", "Top", "7"));
  ASSERT_TRUE(ini->WriteString("IgnoreKey", "Count", "0"));
  ASSERT_TRUE(ini->WriteString("Other", "x", "1")) << "an unchanged value is a success";
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes,
            ";note\r\n[settings]\r\nSTATE=4\r\nstate=9\r\nlone line\r\nTop=7\r\n[Other]\r\nx=1\r\n"
            "[SETTINGS]\r\nLeft=5\r\n[IgnoreKey]\r\nCount=0\r\n");
}

TEST_P(IniContract, BlanksAndQuotesAroundNamesAndValues) {
  const std::string path = under->ScratchFolder() + "\\blanks.ini";
  ASSERT_TRUE(under->Files().WriteWholeFile(path,
                                            "  [ S ]  \r\n  A  =  x  y  \r\n\tB=\"quoted\"\r\nC='single'\r\n"
                                            "D=\"open\r\nE=\"\"\r\nF=\"\r\nG= \" a \" \r\nH=\"mixed'\r\nI=\r\n"));
  auto ini = under->Ini().Open(path);
  EXPECT_EQ(ini->ReadString("S", "A", ""), "x  y");
  EXPECT_EQ(ini->ReadString(" S ", " A ", ""), "x  y") << "blanks around asked names are ignored";
  EXPECT_EQ(ini->ReadString("S", "B", ""), "quoted");
  EXPECT_EQ(ini->ReadString("S", "C", ""), "single");
  EXPECT_EQ(ini->ReadString("S", "D", ""), "\"open");
  EXPECT_EQ(ini->ReadString("S", "E", "d"), "");
  EXPECT_EQ(ini->ReadString("S", "F", ""), "\"");
  EXPECT_EQ(ini->ReadString("S", "G", ""), " a ") << "blanks inside the quotes stay";
  EXPECT_EQ(ini->ReadString("S", "H", ""), "\"mixed'");
  EXPECT_EQ(ini->ReadString("S", "I", "d"), "") << "an empty value is not a missing one";
  EXPECT_EQ(ini->ReadString("S", "Z", "\"q\""), "q") << "defaults lose their quotes too";
  EXPECT_EQ(ini->ReadString("S", "Z", "d  "), "d") << "and their trailing blanks";

  ASSERT_TRUE(ini->WriteString("S", "A", "   lead and trail   "));
  EXPECT_EQ(ini->ReadString("S", "A", ""), "lead and trail");
}

TEST_P(IniContract, IntegersAndBooleansAreDecimalTextOrTheDefault) {
  const std::string path = under->ScratchFolder() + "\\numbers.ini";
  ASSERT_TRUE(under->Files().WriteWholeFile(path,
                                            "[N]\r\nblank= 7\r\nneg=-3\r\ntail=12abc\r\nhex=0x10\r\nempty=\r\n"
                                            "plus=+5\r\nbig=2147483648\r\nmax=2147483647\r\nmin=-2147483648\r\n"
                                            "minus=-\r\ninner=1 2\r\nquoted=\"8\"\r\ntwo=2\r\nzero=0\r\nword=yes\r\n"));
  auto ini = under->Ini().Open(path);
  const struct {
    const char* key;
    std::int32_t expected;
  } cases[] = {{"blank", 7},  {"neg", -3},           {"tail", 99},           {"hex", 99},   {"empty", 99},
               {"plus", 5},   {"big", 99},           {"max", 2147483647},    {"min", INT32_MIN},
               {"minus", 99}, {"inner", 99},         {"quoted", 8},          {"missing", 99}};
  for (const auto& c : cases) EXPECT_EQ(ReadIniInteger(*ini, "N", c.key, 99), c.expected) << c.key;
  EXPECT_TRUE(ReadIniBool(*ini, "N", "two", false));
  EXPECT_TRUE(ReadIniBool(*ini, "N", "neg", false));
  EXPECT_FALSE(ReadIniBool(*ini, "N", "zero", true));
  EXPECT_TRUE(ReadIniBool(*ini, "N", "word", true));
  EXPECT_FALSE(ReadIniBool(*ini, "N", "word", false));

  ASSERT_TRUE(WriteIniInteger(*ini, "N", "neg", -42));
  ASSERT_TRUE(WriteIniBool(*ini, "N", "zero", true));
  EXPECT_EQ(ini->ReadString("N", "neg", ""), "-42");
  EXPECT_EQ(ini->ReadString("N", "zero", ""), "1");
}

TEST_P(IniContract, LongLinesAreReadUpTo2047Characters) {
  const std::string path = under->ScratchFolder() + "\\long.ini";
  const std::string x3000 = std::string(3000, 'x');
  ASSERT_TRUE(under->Files().WriteWholeFile(
      path, "[L]\r\n" + std::string(3000, 'k') + "=1\r\nlong=" + x3000 + "\r\nq2046=\"" + std::string(2046, 'x') +
                "\"\r\nq2047=\"" + std::string(2047, 'x') + "\"\r\nq2048=\"" + std::string(2048, 'x') +
                "\"\r\nafter=ok\r\n"));
  auto ini = under->Ini().Open(path);
  EXPECT_EQ(ini->ReadString("L", "long", ""), std::string(2047, 'x'));
  EXPECT_EQ(ini->ReadString("L", "after", ""), "ok");
  EXPECT_EQ(ini->ReadString("L", std::string(3000, 'k'), ""), "1");
  // The closing quote is dropped only when it fitted into the reader's buffer.
  EXPECT_EQ(ini->ReadString("L", "q2046", ""), std::string(2046, 'x'));
  EXPECT_EQ(ini->ReadString("L", "q2047", ""), std::string(2046, 'x'));
  EXPECT_EQ(ini->ReadString("L", "q2048", ""), std::string(2047, 'x'));

  ASSERT_TRUE(ini->WriteString("L", "written", x3000));
  EXPECT_EQ(ini->ReadString("L", "written", ""), std::string(2047, 'x'));
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(path, bytes));
  EXPECT_NE(bytes.find("written=" + x3000 + "\r\n"), std::string::npos) << "the file keeps the whole value";
}

TEST_P(IniContract, BinaryGarbageReadsAsDefaultsAndCanBeWrittenOver) {
  std::string garbage;
  std::uint32_t seed = 12345;
  for (int i = 0; i < 4096; ++i) {
    seed = seed * 1103515245u + 12345u;
    garbage.push_back(static_cast<char>((seed >> 16) & 0xFF));
  }
  for (const std::string& bytes : {garbage, "\xFF\xFE" + garbage + "z", std::string("\0\0\0[S]\0A=1\r\n", 13)}) {
    const std::string path = under->ScratchFolder() + "\\garbage" + std::to_string(bytes.size()) + ".ini";
    ASSERT_TRUE(under->Files().WriteWholeFile(path, bytes));
    auto ini = under->Ini().Open(path);
    EXPECT_EQ(ini->ReadString("Settings", "State", "1"), "1");
    EXPECT_EQ(ReadIniInteger(*ini, "IgnoreKey", "Count", 0), 0);
    ASSERT_TRUE(ini->WriteString("Settings", "State", "3"));
    EXPECT_EQ(ini->ReadString("Settings", "State", "1"), "3");
  }
}

TEST_P(IniContract, NonAsciiTextFollowsTheFileEncoding) {
  const std::string folder = under->ScratchFolder();
  // A new file is in the ANSI code page: what it can hold survives, the rest becomes "?".
  auto ansi = under->Ini().Open(folder + "\\ansi.ini");
  ASSERT_TRUE(ansi->WriteString("S", "A", "C:\\J\xC3\xB6rg \xE2\x82\xAC"));  // "C:\Jörg €"
  ASSERT_TRUE(ansi->WriteString("S", "B", "\xE4\xB8\xAD"));                // a CJK ideograph
  EXPECT_EQ(ansi->ReadString("S", "A", ""), "C:\\J\xC3\xB6rg \xE2\x82\xAC");
  EXPECT_EQ(ansi->ReadString("S", "B", ""), "?");
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(folder + "\\ansi.ini", bytes));
  EXPECT_EQ(bytes, "[S]\r\nA=C:\\J\xF6rg \x80\r\nB=?\r\n");

  // A file that starts with a UTF-16 byte-order mark stays UTF-16 and holds anything.
  const std::u16string text = u"[S]\r\nA=\u4E2D\r\n";
  std::string utf16 = "\xFF\xFE";
  for (char16_t c : text) utf16 += {static_cast<char>(c & 0xFF), static_cast<char>(c >> 8)};
  ASSERT_TRUE(under->Files().WriteWholeFile(folder + "\\wide.ini", utf16));
  auto wide = under->Ini().Open(folder + "\\wide.ini");
  EXPECT_EQ(wide->ReadString("S", "A", ""), "\xE4\xB8\xAD");
  ASSERT_TRUE(wide->WriteString("S", "B", "\xCE\xA9"));  // Omega
  EXPECT_EQ(wide->ReadString("S", "B", ""), "\xCE\xA9");
  ASSERT_TRUE(under->Files().ReadWholeFile(folder + "\\wide.ini", bytes));
  EXPECT_EQ(bytes, utf16 + std::string("B\0=\0\xA9\x03\r\0\n\0", 10));

  ASSERT_TRUE(under->Files().WriteWholeFile(folder + "\\utf8.ini", "\xEF\xBB\xBF[S]\r\nA=\xC3\xBC\r\n"));
  auto utf8 = under->Ini().Open(folder + "\\utf8.ini");
  EXPECT_EQ(utf8->ReadString("S", "A", ""), "\xC3\xBC");
}

TEST_P(IniContract, ARefusedWriteReportsFailureAndLeavesTheFile) {
  const std::string path = under->ScratchFolder() + "\\locked.ini";
  const std::string before = "[Settings]\r\nState=1\r\n";
  ASSERT_TRUE(under->Files().WriteWholeFile(path, before));
  under->RefuseWrites(path);
  auto ini = under->Ini().Open(path);
  EXPECT_EQ(ini->ReadString("Settings", "State", ""), "1") << "a file that cannot be written can still be read";
  EXPECT_FALSE(ini->WriteString("Settings", "State", "3"));
  EXPECT_FALSE(ini->WriteString("Settings", "Left", "3"));
  std::string bytes;
  ASSERT_TRUE(under->Files().ReadWholeFile(path, bytes));
  EXPECT_EQ(bytes, before);
}

}  // namespace lindqua::test
