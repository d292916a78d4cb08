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

void ScanSharedDlls(ScanContext& scan) { NotBuiltYet(scan, 7); }
void ScanFileExtensions(ScanContext& scan) { NotBuiltYet(scan, 11); }
void ScanFonts(ScanContext& scan) { NotBuiltYet(scan, 12); }
void ScanHelpFiles(ScanContext& scan) { NotBuiltYet(scan, 13); }
void ScanStartupPrograms(ScanContext& scan) { NotBuiltYet(scan, 14); }
void ScanCustomControls(ScanContext& scan) { NotBuiltYet(scan, 16); }
void ScanServices(ScanContext& scan) { NotBuiltYet(scan, 17); }
void ScanSoundEvents(ScanContext& scan) { NotBuiltYet(scan, 19); }
void ScanActiveX(ScanContext& scan) { NotBuiltYet(scan, 20); }
void ScanOpenWithApps(ScanContext&) {}

}  // namespace lindqua
