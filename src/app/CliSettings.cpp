#include "app/CliSettings.h"

#include "engine/ScanSection.h"

namespace lindqua {

TOptionsSetting DefaultCliSettings(std::string_view programFolder) {
  TOptionsSetting settings;
  settings.BackupFolder = std::string(programFolder) + "Backup";
  settings.IgnoreRemovableDrive = true;
  settings.NodeSelected.fill(true);
  settings.NodeSelected[0] = false;
  return settings;
}

std::vector<int> CheckedSections(const TOptionsSetting& settings) {
  std::vector<int> sections;
  for (int section = FirstScanSection; section <= LastScanSection; ++section)
    if (settings.NodeSelected[static_cast<std::size_t>(section)]) sections.push_back(section);
  return sections;
}

}  // namespace lindqua
