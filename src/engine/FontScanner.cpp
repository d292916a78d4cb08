// Section 12: every registered font must name an existing file. A bare file
// name is looked up in the Fonts folder, listed once per run; a full path is
// checked on its own drive.
#include <algorithm>
#include <vector>

#include "engine/FileReferenceCheck.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"
#include "platform/SystemFacts.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr int Section = SectionId::Fonts;

// Windows 95, 98 and Me keep their fonts under the plain Windows key.
std::string_view FontsKey(ScanContext& scan) {
  switch (GetWindowsVersionCode(scan.Facts())) {
    case VersionCode::Windows95:
    case VersionCode::Windows98:
    case VersionCode::WindowsMe: return "Software\\Microsoft\\Windows\\CurrentVersion\\Fonts";
    default: return "Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts";
  }
}

// The file names in the Fonts folder. Without a Fonts folder the list stays
// empty: listing "\*" would read the root of the current drive instead.
std::vector<std::string> FontFolderFiles(ScanContext& scan) {
  std::vector<std::string> names;
  std::string folder = scan.Files().GetSpecialFolder(SpecialFolder::Fonts);
  if (folder.empty()) return names;
  if (folder.back() != '\\') folder += '\\';
  for (FolderEntry& entry : scan.Files().ListFolder(folder))
    if (!entry.isDirectory) names.push_back(std::move(entry.name));
  return names;
}

}  // namespace

void ScanFonts(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(Section);
  scan.SetStatusText(info->statusText);
  const std::string_view keyPath = FontsKey(scan);
  const std::vector<std::string> folderFiles = FontFolderFiles(scan);
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, "HKEY_LOCAL_MACHINE", keyPath)) return;
  scan.ShowDetail(keyPath);
  for (const std::string& name : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    const auto data = ReadTextValue(reg, name);
    if (!data) continue;
    const bool inFolder = std::any_of(folderFiles.begin(), folderFiles.end(),
                                      [&](const std::string& file) { return SameText(file, *data); });
    if (!FloppyRuleFires(scan, *data) && (inFolder || !IsMissingFile(scan, *data, "", false, scan.DriveLetters)))
      continue;
    AddValueFinding(scan, info->issueCaption, "HKEY_LOCAL_MACHINE", keyPath, name, *data,
                    PathReason(scan, *data, false));
  }
}

}  // namespace lindqua
