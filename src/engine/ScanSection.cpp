#include "engine/ScanSection.h"

namespace lindqua {

namespace {
constexpr ScanSectionInfo Sections[] = {
    {3, "HKEY_CLASSES_ROOT", "Scanning: HKEY_CLASSES_ROOT", "Non-existent File or Folder"},
    {4, "HKEY_CURRENT_USER", "Scanning: HKEY_CURRENT_USER", "Non-existent File or Folder"},
    {5, "HKEY_LOCAL_MACHINE", "Scanning: HKEY_LOCAL_MACHINE", "Non-existent File or Folder"},
    {6, "HKEY_USERS", "Scanning: HKEY_USERS", "Non-existent File or Folder"},
    {7, "Shared DLLs", "Scanning: Shared DLLs", "Non-existent Shared Dlls"},
    {8, "Software Locations", "Scanning: Software Locations", "Software Locations Issue"},
    {9, "Start Menu Section", "Scanning: Start Menu", "Old Start Menu Key"},
    {10, "Obsolete Software", "Scanning: Software Locations", "Obsolete Software Entry"},
    {11, "File Extensions", "Scanning: File Extensions", "Useless File Extension"},
    {12, "Fonts Section", "Scanning: Fonts Sections", "Invalid Windows Fonts"},
    {13, "Help File Paths", "Scanning: Invalid Help Files", "Invalid Help Files Item"},
    {14, "Startup Programs", "Scanning: Startup Programs", "Non-existent Startup Programs"},
    {15, "Add/Remove Programs", "Scanning: Add/Remove Programs", "Invalid Add/Remove Programs"},
    {16, "Custom Controls", "Scanning: Custom Controls", "Custom Controls Issue"},
    {17, "Windows Services", "Scanning: Windows Services", "Windows Service Issue"},
    {18, "Shortcuts", "Scanning: Shortcuts", "Missing ShortCut reference"},
    {19, "Sound and Appevents", "Scanning: Sound and Appevents", "Non-existent Sound File"},
    {20, "Invalid ActiveX", "Scanning: Invalid ActiveX", "ActiveX Issue"},
    {21, "Installer", "Scanning: Installer", "Installer Refrence Issue"},
    {22, "Applications", nullptr, "Open with Application Issue"},
    {23, "Uninstaller Entry", "Scanning: Empty Uninstaller Entry", "Empty Uninstall Entries"},
    {24, "MRU History Lists", "Scanning: MRU and History Lists", "Non-existent MRU and History Lists file"},
    {25, "Empty Registry Keys", "Scanning: Empty Registry Keys", "Empty Registry Keys"},
};
}  // namespace

std::span<const ScanSectionInfo> ScanSections() noexcept { return Sections; }

const ScanSectionInfo* FindScanSection(int id) noexcept {
  if (id < FirstScanSection || id > LastScanSection) return nullptr;
  return &Sections[id - FirstScanSection];
}

}  // namespace lindqua
