// Section 13: every registered help file must exist. A value's name is the
// help file and its data the folder that holds it.
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"

namespace lindqua {

namespace {

constexpr int Section = SectionId::HelpFiles;
constexpr std::string_view HelpKeys[] = {"Software\\Microsoft\\Windows\\Help",
                                         "Software\\Microsoft\\Windows\\Html Help"};

// Empty data leaves the name alone, so a value named by a full path is
// checked as that path.
std::string HelpFilePath(std::string folder, std::string_view fileName) {
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder + std::string(fileName);
}

// Each key on its own: a missing first key does not spare the second.
void ScanHelpKey(ScanContext& scan, std::string_view caption, std::string_view keyPath) {
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, "HKEY_LOCAL_MACHINE", keyPath)) return;
  scan.ShowDetail(keyPath);
  for (const std::string& name : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    auto folder = ReadTextValue(reg, name);
    if (!folder) continue;
    const std::string path = HelpFilePath(std::move(*folder), name);
    if (!IsMissingPath(scan, path)) continue;
    AddValueFinding(scan, caption, "HKEY_LOCAL_MACHINE", keyPath, name, path, PathReason(scan, path, false));
  }
}

}  // namespace

void ScanHelpFiles(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(Section);
  scan.SetStatusText(info->statusText);
  for (std::string_view keyPath : HelpKeys) ScanHelpKey(scan, info->issueCaption, keyPath);
}

}  // namespace lindqua
