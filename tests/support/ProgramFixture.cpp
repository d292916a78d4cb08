#include "support/ProgramFixture.h"

#include <algorithm>
#include <stdexcept>

#include "platform/Text.h"
#include "repair/DeleteWithBackup.h"
#include "support/FixtureData.h"
#include "support/SweepFixture.h"

namespace lindqua::test {

std::string ProgramFixturePath(const std::string& name) { return FixtureDataPath("programs", name); }

std::string ReadProgramFixture(const std::string& name) { return ReadFixtureData("programs", name); }

namespace {

std::vector<std::string> DataLines(const std::string& name) { return FixtureDataLines("programs", name); }

std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t bar; (bar = line.find('|', start)) != std::string::npos; start = bar + 1)
    fields.push_back(line.substr(start, bar - start));
  fields.push_back(line.substr(start));
  return fields;
}

std::string WithShellFolders(FileSystem& files, std::string text) {
  for (std::size_t open; (open = text.find('<')) != std::string::npos;) {
    const std::size_t close = text.find('>', open);
    const int id = std::stoi(text.substr(open + 1, close - open - 1));
    text.replace(open, close - open + 1, files.GetSpecialFolder(id));
  }
  return text;
}

}  // namespace

std::vector<std::string> ProgramFixtureFiles() { return DataLines("files.txt"); }

std::vector<ShellItem> ProgramFixtureShellItems() {
  std::vector<ShellItem> items;
  for (const std::string& line : DataLines("shell.txt")) {
    const auto f = Fields(line);
    if (f.size() != 4) throw std::runtime_error("bad shell.txt line: " + line);
    items.push_back(ShellItem{f[0], std::stoi(f[1]), f[2], f[3]});
  }
  return items;
}

std::string ShellItemPath(FileSystem& files, const ShellItem& item) {
  return files.GetSpecialFolder(item.folderId) + "\\" + item.relative;
}

std::string ShellItemOwnedRoot(FileSystem& files, const ShellItem& item) {
  std::string path = files.GetSpecialFolder(item.folderId);
  std::size_t start = 0;
  while (start < item.relative.size()) {
    std::size_t slash = item.relative.find('\\', start);
    if (slash == std::string::npos) slash = item.relative.size();
    const std::string name = item.relative.substr(start, slash - start);
    path += "\\" + name;
    if (ContainsText(name, ProgramFixtureMarker)) break;
    start = slash + 1;
  }
  return path;
}

std::vector<std::string> ExpectedProgramRows(FileSystem& files, FixtureView view) {
  std::vector<std::string> rows;
  for (const std::string& line : DataLines("expected-rows.txt")) {
    const std::size_t bar = line.find('|');
    if (RowIsFor(std::string_view(line).substr(0, bar), view)) rows.push_back(WithShellFolders(files, line.substr(bar + 1)));
  }
  std::sort(rows.begin(), rows.end());
  return rows;
}

std::vector<std::string> SortedProgramRows(const std::vector<Finding>& rows) {
  std::vector<std::string> out;
  for (const Finding& row : rows) {
    if (row.reason.empty()) throw std::runtime_error("a row without a reason: " + RowText(row));
    if (ContainsText(row.location, ProgramFixtureMarker) || ContainsText(row.shownText, ProgramFixtureMarker))
      out.push_back(RowText(row));
  }
  std::sort(out.begin(), out.end());
  return out;
}

std::vector<Finding> RunProgramSections(ScanPlatform platform) {
  return RunScanSections(platform, {"9", "15", "18", "21", "24"});
}

std::vector<std::string> LostShortcutFiles(FileSystem& files, const std::vector<Finding>& rows,
                                           const std::function<bool(const std::string&)>& inRecycleBin) {
  std::vector<std::string> lost;
  for (const Finding& row : rows) {
    if (row.tag != FixTag::File || !ContainsText(row.location, ProgramFixtureMarker)) continue;
    const DeleteResult result = RecycleFileOfRow(files, row.location);
    const bool inPlace = files.FileExists(row.location);
    if (result.outcome == DeleteOutcome::Deleted ? inPlace || !inRecycleBin(row.location) : !inPlace)
      lost.push_back(row.location);
  }
  return lost;
}

}  // namespace lindqua::test
