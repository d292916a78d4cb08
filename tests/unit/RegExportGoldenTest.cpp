// Backup files compared byte for byte with golden files: header, blank lines,
// key lines, escaping, every data form and the hex line wrap.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "platform/RegTextImport.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "repair/ExportToReg.h"

namespace lindqua::test {

namespace {

struct ExportCall {
  RootKey root;
  bool wholeKey;
  std::string valueName;
  std::string keyPath;
};

struct GoldenCase {
  std::string golden;  // file name under fixtures/export
  std::vector<ExportCall> calls;
};

std::string ReadFixture(const std::string& name) {
  std::ifstream in(std::string(LINDQUA_FIXTURES) + "/export/" + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    std::size_t end = text.find('\n', start);
    end = end == std::string::npos ? text.size() : end + 1;
    lines.push_back(text.substr(start, end - start));
    start = end;
  }
  return lines;
}

// Names the case and the first line that differs, line ends included.
::testing::AssertionResult SameBytes(const std::string& caseName, const std::string& actual,
                                     const std::string& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  const auto a = SplitLines(actual), e = SplitLines(expected);
  std::size_t line = 0;
  while (line < a.size() && line < e.size() && a[line] == e[line]) ++line;
  const auto show = [](const std::vector<std::string>& lines, std::size_t i) {
    return i < lines.size() ? ::testing::PrintToString(lines[i]) : std::string("<end of file>");
  };
  return ::testing::AssertionFailure() << caseName << ": line " << line + 1 << " differs\n  written:  "
                                       << show(a, line) << "\n  expected: " << show(e, line);
}

void PrintTo(const GoldenCase& c, std::ostream* os) { *os << c.golden; }

class RegExportGolden : public ::testing::TestWithParam<GoldenCase> {};

TEST_P(RegExportGolden, WritesTheGoldenFile) {
  MemoryRegistry registry;
  ImportRegText(registry, ReadFixture("registry.reg"));
  MemoryFileSystem files;
  Windows1252CodePage ansi;
  const ExportPlatform platform{registry, files, ansi};
  const std::string fileName = "C:\\Backup\\2026_01_02_150405.reg";
  ASSERT_TRUE(files.AddFolder("C:\\Backup"));

  for (const auto& call : GetParam().calls) {
    const auto result = ExportToReg(platform, fileName, call.root, call.wholeKey, call.valueName, call.keyPath);
    ASSERT_EQ(result.status, ExportStatus::Written) << GetParam().golden << ": " << call.keyPath << " "
                                                    << call.valueName << ": " << result.problem;
  }
  std::string written;
  ASSERT_TRUE(files.ReadWholeFile(fileName, written));
  EXPECT_TRUE(SameBytes(GetParam().golden, written, ReadFixture(GetParam().golden)));
}

const RootKey HKCU = RootKey::CurrentUser;

INSTANTIATE_TEST_SUITE_P(
    Backups, RegExportGolden,
    ::testing::Values(
        // A key with a subkey, then one value of another key, into one file.
        GoldenCase{"example.reg",
                   {{HKCU, true, "", "Software\\Test"}, {RootKey::LocalMachine, false, "Run", "Software\\Other"}}},
        GoldenCase{"wrap.reg", {{HKCU, true, "", "Software\\Wrap"}}},
        GoldenCase{"escape.reg", {{HKCU, true, "", "Software\\Escape"}}},
        GoldenCase{"types.reg", {{HKCU, true, "", "Software\\Types"}}},
        // Trailing and leading backslashes, single values, the default value
        // and a value named "@".
        GoldenCase{"order.reg",
                   {{HKCU, true, "", "Software\\Order\\"},
                    {RootKey::Users, true, "", "\\S-1-5-21-X"},
                    {HKCU, false, "in-c", "Software\\Order\\A\\C"},
                    {HKCU, false, "", "Software\\Escape"},
                    {HKCU, false, "@", "Software\\Escape"}}}),
    [](const auto& info) {
      std::string name = info.param.golden;
      return name.substr(0, name.find('.'));
    });

}  // namespace

}  // namespace lindqua::test
