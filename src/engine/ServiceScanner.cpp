// Section 17: every service's program must exist. Only the "ImagePath" value
// is ever reported, never a service key itself.
#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"
#include "platform/Text.h"

namespace lindqua {

namespace {
constexpr int Section = SectionId::Services;
constexpr std::string_view ServicesKey = "SYSTEM\\CurrentControlSet\\Services";
}  // namespace

void ScanServices(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(Section);
  scan.SetStatusText(info->statusText);
  TRegistry services(scan.Registry());
  if (!OpenForScan(services, "HKEY_LOCAL_MACHINE", ServicesKey)) return;
  for (const std::string& name : services.GetKeyNames()) {
    if (scan.Terminated()) return;
    // The licensing service's entries are left alone whatever they say.
    if (ContainsText(name, "SLSVC")) continue;
    const std::string keyPath = std::string(ServicesKey) + "\\" + name;
    TRegistry service(scan.Registry());
    if (!OpenForScan(service, "HKEY_LOCAL_MACHINE", keyPath)) continue;
    scan.ShowDetail(keyPath);
    const auto image = ReadTextValue(service, "ImagePath");
    // A driver's image path may name its folder; an existing one counts as present.
    if (!image || !IsMissingFile(scan, *image, "", true, scan.DriveLetters)) continue;
    scan.AddFinding(info->issueCaption, *image, "HKEY_LOCAL_MACHINE\\" + keyPath + "\\ImagePath",
                    FixTag::ValueInLocation, PathReason(scan, *image, true));
  }
}

}  // namespace lindqua
