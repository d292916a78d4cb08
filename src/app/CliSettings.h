#pragma once
// What the console program takes from the settings record: the checked
// sections, the user's ignore list and the removable-drive option. Until the
// settings file is read here, the program runs on the defaults of a first start.
#include <string_view>
#include <vector>

#include "app/OptionsSetting.h"

namespace lindqua {

// The record of a first start: every section checked, removable drives
// ignored, no ignore list, backups in "Backup" beside the program.
// `programFolder` ends with "\".
TOptionsSetting DefaultCliSettings(std::string_view programFolder);

// The section numbers 3..25 whose nodes are checked, in ascending order.
std::vector<int> CheckedSections(const TOptionsSetting& settings);

}  // namespace lindqua
