// Section 9: the order Explorer keeps for start-menu folders, left behind for
// folders that are gone from both the user's and all users' programs folder.
#include <unordered_set>

#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/Text.h"
#include "platform/TRegistry.h"

namespace lindqua {

namespace {

constexpr std::string_view MenuOrderKeys[] = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu2\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\Programs",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\MenuOrder\\Start Menu\\&Programs",
};

// Adds the upper-cased names of the folder's subfolders; false when the folder
// is not there to be listed, or the listing was stopped.
bool AddSubfolderNames(ScanContext& scan, const std::string& folder, std::unordered_set<std::string>& names) {
  if (folder.empty() || !scan.Files().DirectoryExists(folder)) return false;
  for (const FolderEntry& entry : scan.Files().ListFolder(folder)) {
    if (scan.Terminated()) return false;
    if (entry.isDirectory) names.insert(UpperCase(entry.name));
  }
  return true;
}

}  // namespace

void ScanStartMenuOrder(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::StartMenu);
  scan.SetStatusText(info->statusText);
  const std::string userPrograms = scan.Files().GetSpecialFolder(SpecialFolder::Programs);
  const std::string commonPrograms = scan.Files().GetSpecialFolder(SpecialFolder::CommonPrograms);
  std::unordered_set<std::string> folders;
  // Without both listings every key would look orphaned: better to report none.
  if (!AddSubfolderNames(scan, userPrograms, folders) || !AddSubfolderNames(scan, commonPrograms, folders)) return;

  TRegistry reg(scan.Registry());
  reg.SetRootKey(RootKey::CurrentUser);
  reg.Access = RegAccess::Read;
  for (std::string_view keyPath : MenuOrderKeys) {
    if (scan.Terminated()) return;
    if (!reg.KeyExists(keyPath) || !reg.OpenKey("\\" + std::string(keyPath), false)) continue;
    const std::string location = "HKEY_CURRENT_USER\\" + std::string(keyPath);
    for (const std::string& name : reg.GetKeyNames()) {
      if (scan.Terminated()) return;
      scan.ShowDetail(std::string(keyPath) + "\\" + name);
      if (folders.contains(UpperCase(name))) continue;
      scan.AddFinding(info->issueCaption, name, location, FixTag::SubKey,
                      "No folder named " + name + " in " + userPrograms + " or " + commonPrograms);
    }
    reg.CloseKey();
  }
}

}  // namespace lindqua
