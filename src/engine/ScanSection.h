#pragma once
// The scan sections, numbered 3 to 25. The number is also the image index of
// the section's node in the main window's tree (1 is the root, 2 the group
// "Files and Folders"), so the numbers are part of the settings file too.
#include <span>
#include <string_view>

namespace lindqua {

struct ScanSectionInfo {
  int id;
  const char* treeCaption;
  const char* statusText;  // nullptr: the section leaves the status label as it is
  const char* issueCaption;
};

// Every section by name; the numbers are fixed by the tree and the settings file.
namespace SectionId {
inline constexpr int ClassesRoot = 3;
inline constexpr int CurrentUser = 4;
inline constexpr int LocalMachine = 5;
inline constexpr int Users = 6;
inline constexpr int SharedDlls = 7;
inline constexpr int SoftwareLocations = 8;
inline constexpr int StartMenu = 9;
inline constexpr int ObsoleteSoftware = 10;
inline constexpr int FileExtensions = 11;
inline constexpr int Fonts = 12;
inline constexpr int HelpFiles = 13;
inline constexpr int StartupPrograms = 14;
inline constexpr int AddRemovePrograms = 15;
inline constexpr int CustomControls = 16;
inline constexpr int Services = 17;
inline constexpr int Shortcuts = 18;
inline constexpr int SoundEvents = 19;
inline constexpr int ActiveX = 20;
inline constexpr int Installer = 21;
inline constexpr int OpenWithApps = 22;
inline constexpr int UninstallEntries = 23;
inline constexpr int MruLists = 24;
inline constexpr int EmptyKeys = 25;
}  // namespace SectionId

inline constexpr int FirstScanSection = SectionId::ClassesRoot;
inline constexpr int LastScanSection = SectionId::EmptyKeys;

std::span<const ScanSectionInfo> ScanSections() noexcept;
// nullptr for numbers outside 3..25.
const ScanSectionInfo* FindScanSection(int id) noexcept;

// The hive sweeps decide their skip rules by these exact texts.
inline constexpr std::string_view IssueMissingFileOrFolder = "Non-existent File or Folder";
inline constexpr std::string_view StatusScanningLocalMachine = "Scanning: HKEY_LOCAL_MACHINE";
inline constexpr std::string_view StatusScanningCurrentUser = "Scanning: HKEY_CURRENT_USER";
inline constexpr std::string_view StatusScanEnding = "Optimizing...Do not close the dialog.";
inline constexpr std::string_view DetailScanEnding = "Please wait...";

}  // namespace lindqua
