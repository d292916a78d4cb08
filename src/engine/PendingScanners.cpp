// Sections whose scanners are not built yet. Each writes its status text, as
// every scanner does when it starts, and finds nothing. A scanner leaves this
// file when its real implementation lands.
#include "engine/ScanSection.h"
#include "engine/Scanners.h"

namespace lindqua {

namespace {
void NotBuiltYet(ScanContext& scan, int section) {
  if (const ScanSectionInfo* info = FindScanSection(section); info && info->statusText)
    scan.SetStatusText(info->statusText);
}
}  // namespace

void ScanStartMenuOrder(ScanContext& scan) { NotBuiltYet(scan, 9); }
void ScanAddRemovePrograms(ScanContext& scan) { NotBuiltYet(scan, 15); }
void ScanShortcuts(ScanContext& scan) { NotBuiltYet(scan, 18); }
void ScanInstaller(ScanContext& scan) { NotBuiltYet(scan, 21); }
void ScanMruLists(ScanContext& scan) { NotBuiltYet(scan, 24); }

}  // namespace lindqua
