#include "support/SystemListFixture.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "engine/TScanTaskThread.h"
#include "platform/Text.h"
#include "support/RecordingNotifier.h"
#include "support/SweepFixture.h"

namespace lindqua::test {

namespace {

constexpr std::string_view FontsPlaceholder = "<Fonts>";

std::vector<std::string> DataLines(const std::string& name) {
  std::istringstream in(ReadSystemListFixture(name));
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && line.front() != '#') lines.push_back(line);
  }
  return lines;
}

}  // namespace

std::string SystemListFixturePath(const std::string& name) {
#ifdef _WIN32
  return std::string(LINDQUA_FIXTURES) + "\\systemlists\\" + name;
#else
  return std::string(LINDQUA_FIXTURES) + "/systemlists/" + name;
#endif
}

std::string ReadSystemListFixture(const std::string& name) {
  std::ifstream in(SystemListFixturePath(name), std::ios::binary);
  if (!in) throw std::runtime_error("cannot read fixture " + name);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

std::vector<std::string> SystemListFiles(const std::string& fontsFolder) {
  std::vector<std::string> paths = DataLines("files.txt");
  for (std::string& path : paths)
    if (path.starts_with(FontsPlaceholder)) path.replace(0, FontsPlaceholder.size(), fontsFolder);
  return paths;
}

std::string CreateSystemListFiles(FileSystem& files) {
  const std::string fonts = files.GetSpecialFolder(SpecialFolder::Fonts);
  if (fonts.empty()) return "the Fonts folder";
  for (const std::string& path : SystemListFiles(fonts)) {
    const bool folder = path.back() == '\\';
    const std::string parent = folder ? path : path.substr(0, path.rfind('\\'));
    if (!files.ForceDirectories(parent) || (!folder && !files.WriteWholeFile(path, "x"))) return path;
  }
  return {};
}

// Clean-up only: a file that is already gone is what we want.
void DeleteSystemListFiles(FileSystem& files) {
  const std::string fonts = files.GetSpecialFolder(SpecialFolder::Fonts);
  for (const std::string& path : SystemListFiles(fonts))
    if (!StartsWithText(path, SystemListFolder)) (void)files.DeletePath(path);
  (void)files.DeletePath(SystemListFolder);
}

std::vector<std::string> ExpectedSystemListRows() { return DataLines("expected-rows.txt"); }

std::vector<std::string> SystemListRowTexts(const std::vector<Finding>& rows) {
  std::vector<std::string> out;
  for (const Finding& row : rows) {
    if (ContainsText(row.location, SystemListMarker) || ContainsText(row.shownText, SystemListMarker))
      out.push_back(RowText(row));
  }
  return out;
}

std::vector<Finding> RunSystemListSections(ScanPlatform platform) {
  ResultsModel model;
  RecordingNotifier notifier;
  TScanTaskThread scan(platform, model, notifier, false);
  scan.SectionList = {"7", "12", "13", "14", "17", "19"};
  scan.Resume();
  scan.WaitFor();
  if (scan.EndedOnError() || notifier.ScansFinished() != 1) throw std::runtime_error("the scan did not finish");
  return model.Rows();
}

}  // namespace lindqua::test
