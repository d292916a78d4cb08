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

inline constexpr int FirstScanSection = 3;
inline constexpr int LastScanSection = 25;

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
