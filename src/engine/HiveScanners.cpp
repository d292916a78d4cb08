// The four hive sections and the software locations: each shows its status
// text, which also selects the sweep's skip rules, and sweeps one tree.
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/ValuePathSweep.h"

namespace lindqua {

namespace {
void SweepSection(ScanContext& scan, int section, std::string_view rootName, std::string_view keyPath) {
  const ScanSectionInfo* info = FindScanSection(section);
  scan.SetStatusText(info->statusText);
  SweepKeyValues(scan, rootName, keyPath, info->issueCaption, "", scan.DriveLetters);
}
}  // namespace

void ScanClassesRoot(ScanContext& scan) { SweepSection(scan, 3, "HKEY_CLASSES_ROOT", ""); }
void ScanCurrentUser(ScanContext& scan) { SweepSection(scan, 4, "HKEY_CURRENT_USER", ""); }
void ScanLocalMachine(ScanContext& scan) { SweepSection(scan, 5, "HKEY_LOCAL_MACHINE", "Software"); }
void ScanUsers(ScanContext& scan) { SweepSection(scan, 6, "HKEY_USERS", ""); }
void ScanSoftwareLocations(ScanContext& scan) {
  SweepSection(scan, 8, "HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths");
}

}  // namespace lindqua
