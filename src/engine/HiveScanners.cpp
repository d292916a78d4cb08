// The four hive sections and the software locations: each shows its status
// text, which also selects the sweep's skip rules, and sweeps one tree.
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/ValuePathSweep.h"

namespace lindqua {

namespace {
const ScanSectionInfo& ShowSection(ScanContext& scan, int section) {
  const ScanSectionInfo* info = FindScanSection(section);
  scan.SetStatusText(info->statusText);
  return *info;
}

void SweepSection(ScanContext& scan, int section, std::string_view rootName, std::string_view keyPath) {
  SweepKeyValues(scan, rootName, keyPath, ShowSection(scan, section).issueCaption, "", scan.DriveLetters);
}
}  // namespace

void ScanClassesRoot(ScanContext& scan) {
  SweepClassesRoot(scan, ShowSection(scan, SectionId::ClassesRoot).issueCaption, scan.DriveLetters);
}
void ScanCurrentUser(ScanContext& scan) {
  SweepCurrentUser(scan, ShowSection(scan, SectionId::CurrentUser).issueCaption, scan.DriveLetters);
}
void ScanLocalMachine(ScanContext& scan) {
  SweepMachineSoftware(scan, ShowSection(scan, SectionId::LocalMachine).issueCaption, scan.DriveLetters);
}
void ScanUsers(ScanContext& scan) { SweepUsers(scan, ShowSection(scan, SectionId::Users).issueCaption, scan.DriveLetters); }
void ScanSoftwareLocations(ScanContext& scan) {
  SweepSection(scan, 8, "HKEY_LOCAL_MACHINE", "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths");
}

}  // namespace lindqua
