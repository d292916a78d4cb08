#pragma once
// The texts the main window's presenter shows. The Win32 window fills them
// from its string table; the values here are the same texts for the tests.
#include <string>

namespace lindqua {

struct MainTexts {
  std::string scan = "Scan";
  std::string cancel = "Cancel";
  std::string selectSections = "Please select the sections which you want to scan from the left list.";
  std::string preparing = "Prepairing...";
  std::string finished = "Finished!";
  std::string lastFixAt = "Last fix at: ";
  std::string errorsFound = " Errors Found, ";
  std::string errorsSelected = " Errors Selected.";
  std::string fixFinished = "Fix errors finished!";
  std::string alreadyGone = " Already gone, so neither deleted nor backed up: ";
  std::string backupFailed = "The backup could not be written, so nothing more was deleted:\r\n";
  std::string noBackupFolder = "No backup folder is set, so nothing was fixed.\r\nChoose one in the settings.";
};

}  // namespace lindqua
