#include "support/SweepFixture.h"

#include "platform/Text.h"
#include "support/FixtureData.h"

namespace lindqua::test {

std::string SweepFixturePath(const std::string& name) { return FixtureDataPath("sweep", name); }

std::string ReadFixtureFile(const std::string& name) { return ReadFixtureData("sweep", name); }

namespace {
std::vector<std::string> DataLines(const std::string& name) { return FixtureDataLines("sweep", name); }
}  // namespace

std::vector<std::string> SweepFixtureFiles() { return DataLines("files.txt"); }

std::vector<std::string> ExpectedSweepRows(FixtureView view) {
  std::vector<std::string> rows;
  for (const std::string& line : DataLines("expected-rows.txt")) {
    // "when|row"
    const std::size_t bar = line.find('|');
    if (RowIsFor(std::string_view(line).substr(0, bar), view)) rows.push_back(line.substr(bar + 1));
  }
  return rows;
}

std::string RowText(const Finding& row) {
  return std::to_string(row.section) + "|" + std::to_string(row.tag) + "|" + row.location + "|" + row.shownText +
         "|" + row.caption;
}

std::vector<std::string> FixtureRowTexts(const std::vector<Finding>& rows) {
  std::vector<std::string> out;
  for (const Finding& row : rows) {
    if (ContainsText(row.location, SweepFixtureMarker) || ContainsText(row.shownText, SweepFixtureMarker))
      out.push_back(RowText(row));
  }
  return out;
}

std::vector<Finding> RunSweepSections(ScanPlatform platform) {
  return RunScanSections(platform, {"3", "4", "5", "6", "8"});
}

}  // namespace lindqua::test
