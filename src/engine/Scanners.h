#pragma once
// The scanner of every section and the table that picks it by number.
#include "engine/ScanContext.h"

namespace lindqua {

using Scanner = void (*)(ScanContext&);

// The scanner of a section, nullptr for numbers outside 3..25.
Scanner ScannerForSection(int section) noexcept;

void ScanClassesRoot(ScanContext& scan);            // 3
void ScanCurrentUser(ScanContext& scan);            // 4
void ScanLocalMachine(ScanContext& scan);           // 5
void ScanUsers(ScanContext& scan);                  // 6
void ScanSharedDlls(ScanContext& scan);             // 7
void ScanSoftwareLocations(ScanContext& scan);      // 8
void ScanStartMenuOrder(ScanContext& scan);         // 9
void ScanObsoleteSoftware(ScanContext& scan);       // 10
void ScanFileExtensions(ScanContext& scan);         // 11
void ScanFonts(ScanContext& scan);                  // 12
void ScanHelpFiles(ScanContext& scan);              // 13
void ScanStartupPrograms(ScanContext& scan);        // 14
void ScanAddRemovePrograms(ScanContext& scan);      // 15
void ScanCustomControls(ScanContext& scan);         // 16
void ScanServices(ScanContext& scan);               // 17
void ScanShortcuts(ScanContext& scan);              // 18
void ScanSoundEvents(ScanContext& scan);            // 19
void ScanActiveX(ScanContext& scan);                // 20
void ScanInstaller(ScanContext& scan);              // 21
void ScanOpenWithApps(ScanContext& scan);           // 22
void ScanEmptyUninstallEntries(ScanContext& scan);  // 23
void ScanMruLists(ScanContext& scan);               // 24
void ScanEmptyKeys(ScanContext& scan);              // 25

}  // namespace lindqua
