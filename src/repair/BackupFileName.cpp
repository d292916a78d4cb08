#include "repair/BackupFileName.h"

#include "platform/Text.h"

namespace lindqua {

std::string MakeBackupFileName(std::string_view backupFolder, const LocalTime& now) {
  std::string name(backupFolder);
  if (name.empty() || name.back() != '\\') name.push_back('\\');
  name += std::to_string(now.year) + "_" + TwoDigits(now.month) + "_" + TwoDigits(now.day) + "_" +
          TwoDigits(now.hour) + TwoDigits(now.minute) + TwoDigits(now.second) + ".reg";
  return name;
}

std::string MakeBackupFileName(std::string_view backupFolder, SystemFacts& facts) {
  return MakeBackupFileName(backupFolder, facts.Now());
}

}  // namespace lindqua
