#include "app/SettingsReadOnly.h"

#include "app/LoadSaveSettings.h"
#include "app/SettingsFile.h"
#include "engine/ScanSection.h"

namespace lindqua {

ReadOnlySettings LoadSettingsReadOnly(FileSystem& files, IniFiles& ini, std::string_view programFolder,
                                      std::string_view settingsPath) {
  ReadOnlySettings result;
  result.path = settingsPath.empty() ? FindSettingsFileReadOnly(files, programFolder) : std::string(settingsPath);
  result.found = files.FileExists(result.path);
  const auto file = ini.Open(result.path);
  ReadSettings(*file, SettingsDefaults{AsFolder(programFolder)}, result.options);
  return result;
}

std::vector<int> CheckedSectionsInTreeOrder(const TOptionsSetting& options) {
  // The tree shows the sections in the order of their numbers.
  std::vector<int> sections;
  for (int id = FirstScanSection; id <= LastScanSection; ++id)
    if (options.NodeSelected[id]) sections.push_back(id);
  return sections;
}

}  // namespace lindqua
