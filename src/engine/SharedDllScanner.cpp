// Section 7: every shared DLL the system counts references to must exist and
// still be referenced. A DLL whose count has dropped to 0 is reported too:
// nothing claims it any more.
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"

namespace lindqua {

namespace {

constexpr int Section = SectionId::SharedDlls;
constexpr std::string_view SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";

// A count stored in fewer than four bytes is read as far as it goes; any
// byte set makes it non-zero.
bool IsZeroCount(const RegValue& value) {
  for (std::uint8_t byte : value.data)
    if (byte != 0) return false;
  return true;
}

}  // namespace

void ScanSharedDlls(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(Section);
  scan.SetStatusText(info->statusText);
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, "HKEY_LOCAL_MACHINE", SharedDllsKey)) return;
  scan.ShowDetail(SharedDllsKey);
  const std::string location = "HKEY_LOCAL_MACHINE\\" + std::string(SharedDllsKey);
  for (const std::string& name : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    RegValue value;
    if (!reg.ReadRaw(name, value) || value.type != RegType::Dword) continue;
    std::string reason;
    if (IsMissingPath(scan, name)) {
      reason = PathReason(scan, name, false);
    } else if (IsZeroCount(value)) {
      reason = "Reference count is 0: " + name;
    } else {
      continue;
    }
    scan.AddFinding(info->issueCaption, name, location, FixTag::NamedValue, reason);
  }
}

}  // namespace lindqua
