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
