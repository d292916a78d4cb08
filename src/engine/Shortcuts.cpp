// Section 18: shortcut files in the start menus, on the desktops and in the
// user's application data whose target is gone. The rows name the shortcut
// file itself, which the fix sends to the Recycle Bin.
#include <memory>

#include "engine/FileReferenceCheck.h"
#include "engine/FloppyRule.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

// Deeper than any real menu or desktop; ends a walk caught in a folder link
// that leads back to its own parent.
constexpr int MaxDepth = 32;

struct ShortcutWalk {
  ScanContext& scan;
  std::string_view caption;
  std::string driveLetters;  // upper case
};

bool IsShortcutName(std::string_view name) {
  const std::size_t dot = name.rfind('.');
  return dot != std::string_view::npos && LowerCase(name.substr(dot)) == ".lnk";
}

// Targets a 32-bit program cannot see as they are under WOW64: the file
// system redirects these folders, so a present target would look missing
// unless the check looks in every view (Check64BitPaths).
bool RedirectedUnderWow64(std::string_view upperTarget) {
  return upperTarget.find("SYSTEM32") != std::string_view::npos ||
         upperTarget.find("PROGRAMFILES") != std::string_view::npos ||
         upperTarget.find("PROGRAM FILES") != std::string_view::npos;
}

void CheckShortcut(ShortcutWalk& walk, const std::string& shortcut) {
  ScanContext& scan = walk.scan;
  scan.ShowDetail(shortcut);
  const std::string target = scan.Files().ShortcutTarget(shortcut).value_or("");
  const std::string upper = UpperCase(target);
  if (scan.UnderWow64 && !scan.Check64BitPaths && RedirectedUnderWow64(upper)) return;
  if (upper.empty() || walk.driveLetters.find(upper[0]) == std::string::npos) return;
  if (target.find(":\\") != 1) return;
  if (FloppyNotReady(scan, target)) {
    scan.AddFinding(walk.caption, target, shortcut, FixTag::File, FloppyNotReadyReason(target));
    return;
  }
  if (!IsMissingFile(scan, target, "", false, scan.DriveLetters, PathOrigin::ShellLink)) return;
  if (FolderExistsInAnyView(scan, target, PathOrigin::ShellLink)) return;
  scan.AddFinding(walk.caption, target, shortcut, FixTag::File,
                  MissingFileReason(scan, target, "", false, scan.DriveLetters, PathOrigin::ShellLink));
}

void ScanShortcutFolder(ShortcutWalk& walk, const std::string& folder, int depth) {
  if (depth > MaxDepth) return;
  const std::string prefix = folder.ends_with('\\') ? folder : folder + "\\";
  for (const FolderEntry& entry : walk.scan.Files().ListFolder(folder)) {
    if (walk.scan.Terminated()) return;
    if (entry.isDirectory) {
      ScanShortcutFolder(walk, prefix + entry.name, depth + 1);
    } else if (IsShortcutName(entry.name)) {
      CheckShortcut(walk, prefix + entry.name);
    }
  }
}

// Windows paths compare without regard to case; "inside" means the folder
// itself or below it, not a sibling whose name merely begins the same.
bool IsInside(std::string_view folder, std::string_view base) {
  if (base.empty() || !StartsWithText(folder, base)) return false;
  return folder.size() == base.size() || base.ends_with('\\') || folder[base.size()] == '\\';
}

}  // namespace

void ScanShortcuts(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::Shortcuts);
  scan.SetStatusText(info->statusText);
  // One shell session for the whole section rather than one per shortcut.
  const auto shell = scan.Files().BeginShellSession();
  ShortcutWalk walk{scan, info->issueCaption, UpperCase(scan.DriveLetters)};
  FileSystem& files = scan.Files();
  const std::string appData = files.GetSpecialFolder(SpecialFolder::AppData);
  const struct {
    int csidl;
    bool skipInsideAppData;
  } folders[] = {
      {SpecialFolder::CommonStartMenu, false}, {SpecialFolder::CommonDesktop, false},
      {SpecialFolder::AppData, false},         {SpecialFolder::Recent, true},
      {SpecialFolder::StartMenu, true},        {SpecialFolder::Desktop, false},
  };
  for (const auto& folder : folders) {
    if (scan.Terminated()) return;
    const std::string path = folder.csidl == SpecialFolder::AppData ? appData : files.GetSpecialFolder(folder.csidl);
    if (path.empty()) continue;
    if (folder.skipInsideAppData && IsInside(path, appData)) continue;  // walked with the application data
    ScanShortcutFolder(walk, path, 0);
  }
}

}  // namespace lindqua
