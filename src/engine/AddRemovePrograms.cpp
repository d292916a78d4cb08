// Section 15: uninstall entries that give no way to uninstall. Entries named
// by a product code ("{...}") belong to the installer service and are left to
// it; an entry marked as a system component is hidden on purpose.
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/TRegistry.h"

namespace lindqua {

namespace {
constexpr std::string_view UninstallPath = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

bool HasUninstallCommand(const std::vector<std::string>& valueNames) {
  for (const std::string& name : valueNames)
    if (name.find("UninstallString") != std::string::npos) return true;  // exact case, any name holding it
  return false;
}
}  // namespace

void ScanAddRemovePrograms(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::AddRemovePrograms);
  scan.SetStatusText(info->statusText);
  TRegistry reg(scan.Registry());
  reg.SetRootKey(RootKey::LocalMachine);
  // The scan only reads; asking for more would fail for a user without rights.
  reg.Access = RegAccess::Read;
  if (!reg.OpenKey(UninstallPath, false)) return;
  const std::vector<std::string> entries = reg.GetKeyNames();
  const std::string location = "HKEY_LOCAL_MACHINE\\" + std::string(UninstallPath);
  for (const std::string& name : entries) {
    if (scan.Terminated()) return;
    if (name.starts_with('{')) continue;
    const std::string path = std::string(UninstallPath) + "\\" + name;
    scan.ShowDetail(path);
    if (!reg.OpenKey("\\" + path, false)) continue;
    if (!HasUninstallCommand(reg.GetValueNames()) && !reg.ValueExists("SystemComponent"))
      scan.AddFinding(info->issueCaption, name, location, FixTag::SubKey,
                      "Entry " + name + " has no value named UninstallString and no SystemComponent value");
  }
}

}  // namespace lindqua
