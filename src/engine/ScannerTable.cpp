#include "engine/Scanners.h"

#include "engine/ScanSection.h"

namespace lindqua {

namespace {
constexpr Scanner Table[] = {
    ScanClassesRoot,    ScanCurrentUser,     ScanLocalMachine,      ScanUsers,
    ScanSharedDlls,     ScanSoftwareLocations, ScanStartMenuOrder,  ScanObsoleteSoftware,
    ScanFileExtensions, ScanFonts,           ScanHelpFiles,         ScanStartupPrograms,
    ScanAddRemovePrograms, ScanCustomControls, ScanServices,        ScanShortcuts,
    ScanSoundEvents,    ScanActiveX,         ScanInstaller,         ScanOpenWithApps,
    ScanEmptyUninstallEntries, ScanMruLists, ScanEmptyKeys,
};
static_assert(sizeof Table / sizeof Table[0] == 23);
}  // namespace

Scanner ScannerForSection(int section) noexcept {
  if (section < FirstScanSection || section > LastScanSection) return nullptr;
  return Table[section - FirstScanSection];
}

}  // namespace lindqua
