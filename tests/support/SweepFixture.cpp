#include "support/SweepFixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/TScanTaskThread.h"
#include "platform/Text.h"
#include "support/RecordingNotifier.h"

namespace lindqua::test {

std::string SweepFixturePath(const std::string& name) {
#ifdef _WIN32
  return std::string(LINDQUA_FIXTURES) + "\\sweep\\" + name;
#else
  return std::string(LINDQUA_FIXTURES) + "/sweep/" + name;
#endif
}

std::string ReadFixtureFile(const std::string& name) {
  std::ifstream in(SweepFixturePath(name), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read fixture " + name);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

namespace {
std::vector<std::string> DataLines(const std::string& name) {
  std::istringstream in(ReadFixtureFile(name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    lines.push_back(line);
  }
  return lines;
}
}  // namespace

std::vector<std::string> SweepFixtureFiles() { return DataLines("files.txt"); }

std::vector<std::string> ExpectedSweepRows(bool underWow64) {
  std::vector<std::string> rows;
  for (const std::string& line : DataLines("expected-rows.txt")) {
    // "*|row", "wow64|row" or "plain|row".
    const std::size_t bar = line.find('|');
    const std::string when = line.substr(0, bar);
    if (when == "*" || (when == "wow64") == underWow64) rows.push_back(line.substr(bar + 1));
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
  ResultsModel model;
  RecordingNotifier notifier;
  TScanTaskThread scan(platform, model, notifier, false);
  scan.SectionList = {"3", "4", "5", "6", "8"};
  scan.Resume();
  scan.WaitFor();
  if (scan.EndedOnError() || notifier.ScansFinished() != 1) throw std::runtime_error("the scan did not finish");
  return model.Rows();
}

}  // namespace lindqua::test
