#include "app/SettingsFile.h"

#include "app/RegGlobal.h"

namespace lindqua {

namespace {

// Without an application-data folder the settings stay beside the program
// rather than in a folder at the root of the current drive.
std::string PerUserFolder(FileSystem& files) {
  const std::string base = GetSettingsBaseFolder(files);
  return base.empty() ? std::string() : base + std::string(SettingsSubFolder);
}

}  // namespace

std::string AsFolder(std::string_view folder) {
  std::string out(folder);
  if (!out.empty() && out.back() != '\\' && out.back() != '/') out += '\\';
  return out;
}

std::string LocateSettingsFile(FileSystem& files, std::string_view programFolder) {
  std::string folder = PerUserFolder(files);
  if (folder.empty() || (!files.DirectoryExists(folder) && !files.ForceDirectories(folder)))
    folder = AsFolder(programFolder);
  const std::string file = folder + std::string(SettingsFileName);
  const std::string seed = AsFolder(programFolder) + std::string(SettingsFileName);
  if (!files.FileExists(file) && files.FileExists(seed)) {
    // A failed copy only means the defaults are read.
    (void)files.CopyFileTo(seed, file, false);
  }
  return file;
}

std::string FindSettingsFileReadOnly(FileSystem& files, std::string_view programFolder) {
  const std::string folder = PerUserFolder(files);
  const std::string seed = AsFolder(programFolder) + std::string(SettingsFileName);
  if (!folder.empty()) {
    const std::string file = folder + std::string(SettingsFileName);
    if (files.FileExists(file) || !files.FileExists(seed)) return file;
  }
  return seed;
}

}  // namespace lindqua
