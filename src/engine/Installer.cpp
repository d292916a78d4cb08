// Section 21: uninstall commands naming missing programs, installer folders
// that are gone, and cached program details whose uninstall entry is gone.
#include <unordered_set>

#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/ValuePathSweep.h"
#include "platform/Text.h"
#include "platform/TRegistry.h"

namespace lindqua {

namespace {

constexpr std::string_view UninstallPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
constexpr std::string_view FoldersPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders";
constexpr std::string_view CachePath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache";

void ScanInstallerFolders(ScanContext& scan, TRegistry& reg, std::string_view caption) {
  if (!reg.OpenKey("\\" + std::string(FoldersPath), false)) return;
  scan.ShowDetail(FoldersPath);
  const std::string location = "HKEY_LOCAL_MACHINE\\" + std::string(FoldersPath);
  // The value names are the folders; their data says nothing we test.
  for (const std::string& folder : reg.GetValueNames()) {
    if (scan.Terminated()) break;
    if (!IsMissingFile(scan, folder, "", true, scan.DriveLetters)) continue;
    scan.AddFinding(caption, folder, location, FixTag::NamedValue,
                    MissingFileReason(scan, folder, "", true, scan.DriveLetters));
  }
  reg.CloseKey();
}

void ScanProgramCache(ScanContext& scan, TRegistry& reg, std::string_view caption) {
  std::unordered_set<std::string> entries;
  if (reg.OpenKey("\\" + std::string(UninstallPath), false))
    for (const std::string& name : reg.GetKeyNames()) entries.insert(UpperCase(name));
  reg.CloseKey();
  if (!reg.OpenKey("\\" + std::string(CachePath), false)) return;
  scan.ShowDetail(CachePath);
  const std::string location = "HKEY_LOCAL_MACHINE\\" + std::string(CachePath);
  for (const std::string& name : reg.GetKeyNames()) {
    if (scan.Terminated()) return;
    if (entries.contains(UpperCase(name))) continue;
    scan.AddFinding(caption, name, location, FixTag::SubKey,
                    "No uninstall entry named " + name + " in HKEY_LOCAL_MACHINE\\" + std::string(UninstallPath));
  }
}

}  // namespace

void ScanInstaller(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::Installer);
  scan.SetStatusText(info->statusText);
  SweepKeyValues(scan, "HKEY_LOCAL_MACHINE", UninstallPath, info->issueCaption, ".exe", scan.DriveLetters);
  TRegistry reg(scan.Registry());
  reg.SetRootKey(RootKey::LocalMachine);
  reg.Access = RegAccess::Read;
  ScanInstallerFolders(scan, reg, info->issueCaption);
  if (scan.Terminated()) return;
  ScanProgramCache(scan, reg, info->issueCaption);
}

}  // namespace lindqua
