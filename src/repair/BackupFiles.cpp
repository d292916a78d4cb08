#include "repair/BackupFiles.h"

#include <algorithm>

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

BackupContents ReadBackupFile(FileSystem& files, const AnsiCodePage& ansi, const std::string& path) {
  BackupContents contents;
  std::string bytes;
  if (!files.ReadWholeFile(path, bytes)) {
    contents.problem = "cannot read \"" + path + "\"";
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
