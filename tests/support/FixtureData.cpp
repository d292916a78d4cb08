#include "support/FixtureData.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/TScanTaskThread.h"
#include "support/RecordingNotifier.h"

namespace lindqua::test {

std::string FixtureDataPath(const std::string& folder, const std::string& name) {
#ifdef _WIN32
  return std::string(LINDQUA_FIXTURES) + "\\" + folder + "\\" + name;
#else
  return std::string(LINDQUA_FIXTURES) + "/" + folder + "/" + name;
#endif
}

std::string ReadFixtureData(const std::string& folder, const std::string& name) {
  std::ifstream in(FixtureDataPath(folder, name), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read fixture " + folder + "/" + name);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> FixtureDataLines(const std::string& folder, const std::string& name) {
  std::istringstream in(ReadFixtureData(folder, name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line.front() == '#') continue;
    lines.push_back(line);
  }
  return lines;
}

bool RowIsFor(std::string_view when, FixtureView view) {
  // A comma list names every view the row is for.
  for (std::size_t start = 0; start <= when.size();) {
    std::size_t comma = when.find(',', start);
    if (comma == std::string_view::npos) comma = when.size();
    const std::string_view one = when.substr(start, comma - start);
    if (one == "*") return true;
    if (one == "wow64" && view == FixtureView::Wow64) return true;
    if (one == "plain" && view != FixtureView::Wow64) return true;
    if (one == "x64" && view == FixtureView::Native64) return true;
    if (one != "wow64" && one != "plain" && one != "x64")
      throw std::runtime_error("unknown \"when\" in an expected row: " + std::string(when));
    start = comma + 1;
  }
  return false;
}

std::vector<Finding> RunScanSections(ScanPlatform platform, std::vector<std::string> sections) {
  ResultsModel model;
  RecordingNotifier notifier;
  TScanTaskThread scan(platform, model, notifier, false);
  scan.SectionList = std::move(sections);
  scan.Resume();
  scan.WaitFor();
  if (scan.EndedOnError() || notifier.ScansFinished() != 1) throw std::runtime_error("the scan did not finish");
  return model.Rows();
}

}  // namespace lindqua::test
