#pragma once
// The name of the backup file of one fix: the backup folder, then the local
// date and time of the fix as "2026_12_07_065508.reg".
#include <string>
#include <string_view>

#include "platform/SystemFacts.h"

namespace lindqua {

std::string MakeBackupFileName(std::string_view backupFolder, const LocalTime& now);
// The same, with the clock of the system.
std::string MakeBackupFileName(std::string_view backupFolder, SystemFacts& facts);

}  // namespace lindqua
