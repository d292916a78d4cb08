#include "repair/BackupFileName.h"

namespace lindqua {

namespace {

std::string TwoDigitText(int number) {
  std::string text = std::to_string(number);
  return number >= 0 && number < 10 ? "0" + text : text;
}

}  // namespace

std::string MakeBackupFileName(std::string_view backupFolder, const LocalTime& now) {
  std::string name(backupFolder);
  if (name.empty() || name.back() != '\\') name.push_back('\\');
  name += std::to_string(now.year) + "_" + TwoDigitText(now.month) + "_" + TwoDigitText(now.day) + "_" +
          TwoDigitText(now.hour) + TwoDigitText(now.minute) + TwoDigitText(now.second) + ".reg";
  return name;
}

std::string MakeBackupFileName(std::string_view backupFolder, SystemFacts& facts) {
  return MakeBackupFileName(backupFolder, facts.Now());
}

}  // namespace lindqua
