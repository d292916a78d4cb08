#include "repair/BackupFiles.h"

#include <algorithm>
#include <optional>

#include "platform/Text.h"

namespace lindqua {

namespace {

bool HasRegExtension(const std::string& name) {
  const auto dot = name.rfind('.');
  return dot != std::string::npos && UpperCase(name.substr(dot)) == ".REG";
}

}  // namespace

std::string AsBackupFolder(std::string folder) {
  if (!folder.empty() && folder.back() != '\\') folder.push_back('\\');
  return folder;
}

std::vector<BackupFileEntry> ListBackupFiles(FileSystem& files, const std::string& folder) {
  std::vector<BackupFileEntry> found;
  if (folder.empty() || !files.DirectoryExists(folder)) return found;
  const std::string base = AsBackupFolder(folder);
  for (const FolderEntry& entry : files.ListFolder(base)) {
    if (entry.isDirectory || !HasRegExtension(entry.name)) continue;
    found.push_back(BackupFileEntry{entry.name, base + entry.name, entry.size, entry.writeTime});
  }
  std::stable_sort(found.begin(), found.end(), [](const BackupFileEntry& a, const BackupFileEntry& b) {
    return UpperCase(a.name) > UpperCase(b.name);
  });
  return found;
}

namespace {

// The number of the last line when the file ends inside a block: in the
// middle of a line, or after a line that says a hex list goes on. Every block
// the writer makes ends with a whole line, so such a file was cut short while
// its last block was written, and importing it would bring back part of that
// block as if it were all of it.
std::optional<std::size_t> CutShortAt(std::string_view bytes) {
  if (bytes.empty()) return std::nullopt;
  const std::size_t lines = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), '\n'));
  if (bytes.back() != '\n') return lines + 1;
  std::string_view last = bytes.substr(0, bytes.size() - 1);
  if (!last.empty() && last.back() == '\r') last.remove_suffix(1);
  last = last.substr(last.rfind('\n') == std::string_view::npos ? 0 : last.rfind('\n') + 1);
  while (!last.empty() && (last.back() == ' ' || last.back() == '\t')) last.remove_suffix(1);
  if (!last.empty() && last.back() == '\\' && last.find("=hex") != std::string_view::npos) return lines;
  if (!last.empty() && last.back() == '\\' && last.find('=') == std::string_view::npos) return lines;
  return std::nullopt;
}

}  // namespace

BackupContents ReadBackupFile(FileSystem& files, const AnsiCodePage& ansi, const std::string& path) {
  BackupContents contents;
  std::string bytes;
  if (!files.ReadWholeFile(path, bytes)) {
    contents.problem = "cannot read \"" + path + "\"";
    return contents;
  }
  if (const auto line = CutShortAt(bytes)) {
    contents.problem = "\"" + path + "\" is damaged: line " + std::to_string(*line) +
                       ": the file ends inside a block, which was cut short while it was written";
    return contents;
  }
  try {
    contents.keys = ParseRegText(bytes, &ansi);
  } catch (const RegTextError& error) {
    contents.problem = "\"" + path + "\" is damaged: " + error.what();
    return contents;
  }
  for (const RegTextKey& key : contents.keys) contents.valueCount += key.values.size();
  return contents;
}

std::optional<std::string> BackupFileInFolder(const std::string& folder, const std::string& named) {
  if (folder.empty() || !HasRegExtension(named)) return std::nullopt;
  const std::string base = AsBackupFolder(folder);
  std::string path = named.find('\\') == std::string::npos && named.find('/') == std::string::npos ? base + named
                                                                                                    : named;
  const std::string name = path.substr(base.size() <= path.size() ? base.size() : 0);
  // Only a file directly in the folder: no subfolder, no ".." climbing out.
  if (UpperCase(path.substr(0, base.size())) != UpperCase(base) || name.empty() ||
      name.find_first_of("\\/") != std::string::npos)
    return std::nullopt;
  return path;
}

}  // namespace lindqua
