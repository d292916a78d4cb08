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
  ShowStatus(scan, 10);
  WalkKeys(scan, "HKEY_CURRENT_USER", "Software", 10);
  WalkKeys(scan, "HKEY_LOCAL_MACHINE", "Software", 10);
}

void ScanEmptyUninstallEntries(ScanContext& scan) {
  ShowStatus(scan, 23);
  // Spelled in capitals on purpose: the walk's exact-case "Software\Microsoft"
  // guard must not catch the entries below this key.
  WalkKeys(scan, "HKEY_LOCAL_MACHINE", "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall", 23);
}

void ScanEmptyKeys(ScanContext& scan) {
  ShowStatus(scan, 25);
  WalkKeys(scan, "HKEY_USERS", "", 25);
}

}  // namespace lindqua
