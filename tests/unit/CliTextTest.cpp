// The console program's texts: its command line, section lists and the two
// output forms of the findings.
#include <gtest/gtest.h>

#include <tuple>

#include "app/CliArguments.h"
#include "app/FindingsOutput.h"
#include "app/JsonText.h"
#include "app/SectionListText.h"
#include "support/JsonCheck.h"

namespace lindqua::test {

namespace {

std::vector<int> Sections(std::string_view text) {
  std::vector<int> sections;
  std::string error;
  EXPECT_TRUE(ParseSectionList(text, sections, error)) << text << ": " << error;
  return sections;
}

TEST(SectionListText, NumbersAndRangesInTheOrderWritten) {
  EXPECT_EQ(Sections("3-6,8"), (std::vector<int>{3, 4, 5, 6, 8}));
  EXPECT_EQ(Sections("25,7, 3 - 4"), (std::vector<int>{25, 7, 3, 4}));
  EXPECT_EQ(Sections("5-5"), (std::vector<int>{5}));
  EXPECT_EQ(Sections("3-6,5,4-8"), (std::vector<int>{3, 4, 5, 6, 7, 8})) << "each section runs once";
  EXPECT_EQ(Sections("3-25").size(), 23u);
}

TEST(SectionListText, RejectsWhatIsNoSectionList) {
  for (const char* bad : {"", " ", "2", "26", "0", "1-3", "24-26", "6-3", "3,,5", "3,", ",3", "x", "3x", "0x5", "-3",
                          "+3", "3-", "-", "3--5", "3-5-7", "99999999999", "3;5", "3 5"}) {
    std::vector<int> sections{42};
    std::string error;
    EXPECT_FALSE(ParseSectionList(bad, sections, error)) << '"' << bad << '"';
    EXPECT_TRUE(sections.empty()) << bad;
    EXPECT_FALSE(error.empty()) << bad;
    EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
  }
}

CliRequest Parsed(std::vector<std::string> args) {
  CliRequest request;
  std::string error;
  EXPECT_TRUE(ParseCliArguments(args, request, error)) << error;
  return request;
}

TEST(CliArguments, ScanOptionsInEitherSpelling) {
  const CliRequest plain = Parsed({"scan"});
  EXPECT_EQ(plain.action, CliAction::Scan);
  EXPECT_FALSE(plain.sections.has_value()) << "the settings decide";
  EXPECT_EQ(plain.format, OutputFormat::Text);
  EXPECT_TRUE(plain.outputPath.empty());
  EXPECT_TRUE(plain.applyIgnoreList);

  const CliRequest full =
      Parsed({"scan", "--no-ignore", "--output", "C:\\r\xC3\xA9port.json", "--format=json", "--sections", "3-4,25"});
  EXPECT_EQ(full.format, OutputFormat::Json);
  EXPECT_EQ(full.outputPath, "C:\\r\xC3\xA9port.json");
  EXPECT_FALSE(full.applyIgnoreList);
  EXPECT_EQ(full.sections, (std::vector<int>{3, 4, 25}));
  EXPECT_EQ(Parsed({"scan", "--sections=7", "--output=out.txt"}).outputPath, "out.txt");
  EXPECT_FALSE(plain.check64BitPaths);
  EXPECT_TRUE(Parsed({"scan", "--check-64bit-paths"}).check64BitPaths);
  EXPECT_TRUE(Parsed({"clean", "--dry-run", "--check-64bit-paths"}).check64BitPaths);
}

TEST(CliArguments, HelpAndVersion) {
  EXPECT_EQ(Parsed({"--help"}).action, CliAction::Help);
  EXPECT_EQ(Parsed({"/?"}).action, CliAction::Help);
  EXPECT_EQ(Parsed({"scan", "--format", "json", "--help"}).action, CliAction::Help);
  EXPECT_EQ(Parsed({"--version"}).action, CliAction::Version);
  const std::string usage = CliUsageText();
  EXPECT_NE(usage.find("lindqua-cli scan [--sections LIST] [--format text|json] [--output FILE] [--no-ignore]"),
            std::string::npos);
  EXPECT_NE(usage.find("25  Empty Registry Keys"), std::string::npos) << "lists the sections";
}

TEST(CliArguments, BackupCommandsAndHelpForEach) {
  const CliRequest list = Parsed({"backups", "--format=json"});
  EXPECT_EQ(list.action, CliAction::Backups);
  EXPECT_EQ(list.format, OutputFormat::Json);
  const CliRequest remove = Parsed({"backups", "delete", "a.reg", "C:\\B\\b.reg"});
  EXPECT_EQ(remove.action, CliAction::BackupsDelete);
  EXPECT_EQ(remove.files, (std::vector<std::string>{"a.reg", "C:\\B\\b.reg"}));
  const CliRequest restore = Parsed({"restore", "--latest", "--keep", "--yes"});
  EXPECT_EQ(restore.action, CliAction::Restore);
  EXPECT_TRUE(restore.latest && restore.keep && restore.assumeYes);
  EXPECT_EQ(Parsed({"restore", "x.reg"}).files, std::vector<std::string>{"x.reg"});
  EXPECT_EQ(Parsed({"clean", "--format", "json"}).format, OutputFormat::Json);
  for (const auto& [command, topic, words] :
       {std::tuple{"scan", CliAction::Scan, "--output FILE"}, std::tuple{"clean", CliAction::Clean, "Ctrl+C"},
        std::tuple{"backups", CliAction::Backups, "backups delete FILE"},
        std::tuple{"restore", CliAction::Restore, "--latest"}}) {
    const CliRequest help = Parsed({command, "--help"});
    EXPECT_EQ(help.action, CliAction::Help) << command;
    EXPECT_EQ(help.helpTopic, topic) << command;
    EXPECT_NE(CliUsageText(topic).find(words), std::string::npos) << command;
  }
}

TEST(CliArguments, UsageErrors) {
  const std::vector<std::vector<std::string>> bad = {
      {},
      {"purge"},
      {"clean", "--output", "x.txt"},
      {"clean", "--dry-run", "--dry-run"},
      {"--verbose"},
      {"--version", "scan"},
      {"scan", "extra"},
      {"scan", "--sections"},
      {"scan", "--sections", "--no-ignore"},
      {"scan", "--sections", "2"},
      {"scan", "--format", "xml"},
      {"scan", "--format", "JSON"},
      {"scan", "--format="},
      {"scan", "--output", ""},
      {"scan", "--output="},
      {"scan", "--format", "text", "--format", "json"},
      {"scan", "--no-ignore", "--no-ignore"},
      {"scan", "--sectionsX=3"},
      {"SCAN"},
      {"backups", "--sections", "3"},
      {"backups", "--check-64bit-paths"},
      {"restore", "--latest", "--check-64bit-paths"},
      {"backups", "delete"},
      {"backups", "delete", "--yes", "a.reg"},
      {"restore"},
      {"restore", "a.reg", "--latest"},
      {"restore", "a.reg", "b.reg"},
      {"restore", "--keep", "--keep", "a.reg"},
  };
  for (const auto& args : bad) {
    CliRequest request;
    request.outputPath = "stale";
    std::string error;
    std::string joined;
    for (const auto& a : args) joined += a + " ";
    EXPECT_FALSE(ParseCliArguments(args, request, error)) << joined;
    EXPECT_FALSE(error.empty()) << joined;
    EXPECT_TRUE(request.outputPath.empty()) << "a refused line leaves no half-filled request";
  }
}

Finding Row(std::string caption, std::string shown, std::string location, int tag = 1, int section = 5,
            std::string reason = "") {
  return Finding{std::move(caption), std::move(shown), std::move(location), tag, section, false, std::move(reason)};
}

TEST(FindingsOutput, TextLinesAreTheReportLines) {
  EXPECT_EQ(FormatFindingsText({Row("Obsolete Software Entry", "", "HKEY_CURRENT_USER\\Software\\Old")}),
            "Obsolete Software Entry  ^^^    ^^^  HKEY_CURRENT_USER\\Software\\Old\r\n");
  EXPECT_EQ(FormatFindingsText({Row("a", "b", "c", 1, 5, "Not found: c"), Row("d", "e  ^^^  f", "g\nh")}),
            "a  ^^^  b  ^^^  c\r\nd  ^^^  e  ^^^  f  ^^^  g<0x0A>h\r\n")
      << "a line break stays on its line, and the reason is not written";
  EXPECT_EQ(FormatFindingsText({}), "");
}

TEST(FindingsOutput, JsonHoldsEveryFieldInOrder) {
  EXPECT_EQ(FormatFindingsJson({}), "{\"findings\":[]}\r\n");
  EXPECT_EQ(FormatFindingsJson({Row("Empty Registry Keys", "Foo", "HKEY_USERS\\S-1-5-18\\Software\\Foo", 3, 25,
                                    "No values and no subkeys"),
                                Row("P", "D", "K", 0, 3, "Not found: C:\\a \"b\"\n")}),
            "{\"findings\":[{\"section\":25,\"problem\":\"Empty Registry Keys\",\"data\":\"Foo\","
            "\"key\":\"HKEY_USERS\\\\S-1-5-18\\\\Software\\\\Foo\",\"tag\":3,\"reason\":\"No values and no subkeys\"},"
            "{\"section\":3,\"problem\":\"P\",\"data\":\"D\",\"key\":\"K\",\"tag\":0,"
            "\"reason\":\"Not found: C:\\\\a \\\"b\\\"\\n\"}]}\r\n");
}

std::string Json(std::string_view text) {
  std::string out;
  AppendJsonString(out, text);
  return out;
}

TEST(JsonText, EscapesQuotesBackslashesAndEveryControlCharacter) {
  EXPECT_EQ(Json("a\"b\\c/d"), "\"a\\\"b\\\\c/d\"");
  EXPECT_EQ(Json("\b\f\n\r\t"), "\"\\b\\f\\n\\r\\t\"");
  EXPECT_EQ(Json(std::string("\0\x01\x1f\x7f", 4)), "\"\\u0000\\u0001\\u001f\x7f\"");
  EXPECT_EQ(Json("\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"), "\"\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80\"")
      << "valid UTF-8 passes through";
}

TEST(JsonText, BytesThatAreNotUtf8BecomeReplacementCharacters) {
  const std::string r = "\xEF\xBF\xBD";
  EXPECT_EQ(Json("a\xE9z"), "\"a" + r + "z\"") << "an ANSI byte";
  EXPECT_EQ(Json("\xC0\xAF"), "\"" + r + r + "\"") << "overlong slash";
  EXPECT_EQ(Json("\xED\xA0\x80"), "\"" + r + r + r + "\"") << "an encoded lone surrogate";
  EXPECT_EQ(Json("\xF4\x90\x80\x80"), "\"" + r + r + r + r + "\"") << "above U+10FFFF";
  EXPECT_EQ(Json("\xE2\x82"), "\"" + r + r + "\"") << "cut short at the end";
  EXPECT_EQ(Json("\xE2\x82\""), "\"" + r + r + "\\\"\"") << "cut short before a quote";
}

TEST(JsonText, AnyBytesGiveJsonThatReadsBackToTheValidText) {
  // Every single byte and every pair of bytes, as a registry name might hold them.
  JsonCheck check;
  for (int a = 0; a < 256; ++a) {
    for (int b = 0; b < 256; b += (a < 0x80 ? 17 : 1)) {
      const std::string text{static_cast<char>(a), static_cast<char>(b), '\\', '"'};
      std::string row = "{\"k\":" + Json(text) + "}";
      ASSERT_TRUE(check.Parse(row)) << a << "," << b;
    }
  }
  ASSERT_TRUE(check.Parse(FormatFindingsJson({Row("c\x01", "\xFF\xFE", "HKEY_USERS\\\"q\"\t\xC3\xA9")})));
  EXPECT_EQ(check.strings[5], "\xEF\xBF\xBD\xEF\xBF\xBD");
  EXPECT_EQ(check.strings[7], "HKEY_USERS\\\"q\"\t\xC3\xA9");
}

}  // namespace
}  // namespace lindqua::test
