// The three sections that look for empty keys: each shows its status text and
// walks its start keys.
#include "engine/KeyWalk.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"

namespace lindqua {

namespace {
void ShowStatus(ScanContext& scan, int section) { scan.SetStatusText(FindScanSection(section)->statusText); }
}  // namespace

void ScanObsoleteSoftware(ScanContext& scan) {
  ShowStatus(scan, SectionId::ObsoleteSoftware);
  WalkKeys(scan, "HKEY_CURRENT_USER", "Software", SectionId::ObsoleteSoftware);
  WalkKeys(scan, "HKEY_LOCAL_MACHINE", "Software", SectionId::ObsoleteSoftware);
}

void ScanEmptyUninstallEntries(ScanContext& scan) {
  ShowStatus(scan, SectionId::UninstallEntries);
  // Spelled in capitals on purpose: the walk's exact-case "Software\Microsoft"
  // guard must not catch the entries below this key.
  WalkKeys(scan, "HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
           SectionId::UninstallEntries);
}

void ScanEmptyKeys(ScanContext& scan) {
  ShowStatus(scan, SectionId::EmptyKeys);
  WalkKeys(scan, "HKEY_USERS", "", SectionId::EmptyKeys);
  scan.UsersKeyShapes.Clear();
}

}  // namespace lindqua
