// Section 19: the sound files of the event schemes. Only the scheme keys
// below an event (".Current", ".Default", "Utopia0") name a file; the
// application and event keys above them are walked, not checked.
#include <vector>

#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"
#include "engine/SystemListScanners.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr int Section = SectionId::SoundEvents;

bool IsSchemeKey(std::string_view name) {
  return SameText(name, ".current") || SameText(name, ".default") || SameText(name, "utopia0");
}

}  // namespace

void ScanSoundKey(ScanContext& scan, std::string_view rootName, std::string_view parentPath, std::string_view name) {
  if (scan.Terminated()) return;
  const std::string keyPath = std::string(parentPath) + std::string(name);
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, rootName, keyPath)) return;
  if (IsSchemeKey(name)) {
    if (const auto sound = ReadTextValue(reg, "")) {
      scan.ShowDetail(keyPath);
      if (IsMissingFile(scan, *sound, "", false, scan.DriveLetters))
        scan.AddFinding(FindScanSection(Section)->issueCaption, *sound, UpperCase(rootName) + "\\" + keyPath,
                        FixTag::DefaultValue, PathReason(scan, *sound, false));
    }
  }
  const std::string childParent = keyPath + "\\";
  for (const std::string& child : reg.GetKeyNames()) {
    if (scan.Terminated()) return;
    ScanSoundKey(scan, rootName, childParent, child);
  }
}

void ScanSoundEvents(ScanContext& scan) {
  scan.SetStatusText(FindScanSection(Section)->statusText);
  ScanSoundKey(scan, "HKEY_Current_User", "AppEvents\\Schemes\\Apps", "");
}

}  // namespace lindqua
