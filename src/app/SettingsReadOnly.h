#pragma once
// The settings for a reader that must never change them (the console
// program): the same file and the same entries as the main window reads,
// without creating a folder, copying the seed file or writing anything.
#include <string>
#include <string_view>
#include <vector>

#include "app/OptionsSetting.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace lindqua {

struct ReadOnlySettings {
  TOptionsSetting options;
  std::string path;   // the file that was read
  bool found = false; // false: the file does not exist and options are the defaults
};

// Reads settingsPath, or when it is empty the file the main window would use.
ReadOnlySettings LoadSettingsReadOnly(FileSystem& files, IniFiles& ini, std::string_view programFolder,
                                      std::string_view settingsPath = {});

// The scan sections (3..25) whose tree node is checked, in the tree's order.
std::vector<int> CheckedSectionsInTreeOrder(const TOptionsSetting& options);

}  // namespace lindqua
