// Section 24: the common dialogs' open/save history and Explorer's program
// usage record, where they name files that are gone.
#include <cstdint>
#include <optional>
#include <stdexcept>

#include "engine/FileReferenceCheck.h"
#include "engine/FloppyRule.h"
#include "engine/Finding.h"
#include "engine/Rot13.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/ValuePathSweep.h"
#include "platform/Text.h"
#include "platform/TRegistry.h"

namespace lindqua {

namespace {

constexpr std::string_view OpenSavePath = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU";
constexpr std::string_view UsagePath =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\UserAssist\\{75048700-EF1F-11D0-9888-006097DEACF9}\\Count";
constexpr int MaxUsageDataSize = 0x7FFF;

bool OnTestedDrive(std::string_view text, std::string_view upperDriveLetters) {
  return text.size() > 2 && text.find(":\\") == 1 && upperDriveLetters.find(AsciiUpper(text[0])) != std::string::npos;
}

// A value of the list's own key names a file without its extension; the
// subkeys name the extensions the dialog offered. The file counts as present
// when it exists as written or with one of those extensions.
void CheckOpenSaveValue(ScanContext& scan, TRegistry& reg, const std::string& name,
                        const std::vector<std::string>& extensions, std::string_view upperDriveLetters,
                        std::string_view caption) {
  const TRegDataType type = reg.GetDataType(name);
  if (type != TRegDataType::rdString && type != TRegDataType::rdExpandString) return;
  const std::string data = reg.ReadString(name);
  if (!OnTestedDrive(data, upperDriveLetters)) return;
  std::string reason;
  if (FloppyNotReady(scan, data)) {
    reason = FloppyNotReadyReason(data);
  } else {
    FileSystem& files = scan.Files();
    if (files.FileExists(data)) return;
    std::string candidate;
    for (const std::string& extension : extensions) {
      if (scan.Terminated()) return;
      if (extension == "*") continue;
      candidate.assign(data).append(".").append(extension);
      if (files.FileExists(candidate)) return;
    }
    // Only a value found missing gets its reason spelled out.
    reason = "No file found: " + data;
    for (const std::string& extension : extensions)
      if (extension != "*") reason += ", " + data + "." + extension;
  }
  const std::string keyLocation = "HKEY_CURRENT_USER\\" + std::string(OpenSavePath);
  if (name.find('\\') == std::string::npos)
    scan.AddFinding(caption, data, keyLocation + "\\" + name, FixTag::ValueInLocation, reason);
  else
    scan.AddFinding(caption, name, keyLocation, FixTag::NamedValue, reason);
}

void ScanOpenSaveList(ScanContext& scan, std::string_view caption) {
  TRegistry reg(scan.Registry());
  reg.SetRootKey(RootKey::CurrentUser);
  reg.Access = RegAccess::Read;
  if (!reg.OpenKey(OpenSavePath, false)) return;
  scan.ShowDetail(OpenSavePath);
  const std::vector<std::string> extensions = reg.GetKeyNames();
  const std::string upperDriveLetters = UpperCase(scan.DriveLetters);
  for (const std::string& name : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    CheckOpenSaveValue(scan, reg, name, extensions, upperDriveLetters, caption);
  }
  reg.CloseKey();
  for (const std::string& extension : extensions) {
    if (scan.Terminated()) return;
    SweepKeyValues(scan, "HKEY_CURRENT_USER", std::string(OpenSavePath) + "\\" + extension, caption, "",
                   scan.DriveLetters);
  }
}

// The run count: an unsigned 32-bit little-endian number at byte 4. Data too
// short to hold it has no count.
std::optional<std::uint32_t> RunCount(const Bytes& data) {
  if (data.size() < 8) return std::nullopt;
  return static_cast<std::uint32_t>(data[4]) | static_cast<std::uint32_t>(data[5]) << 8 |
         static_cast<std::uint32_t>(data[6]) << 16 | static_cast<std::uint32_t>(data[7]) << 24;
}

void ScanUsageRecord(ScanContext& scan, std::string_view caption) {
  TRegistry reg(scan.Registry());
  reg.SetRootKey(RootKey::CurrentUser);
  reg.Access = RegAccess::Read;
  if (!reg.OpenKey(UsagePath, false)) return;
  scan.ShowDetail(UsagePath);
  const std::string location = "HKEY_CURRENT_USER\\" + std::string(UsagePath);
  for (const std::string& storedName : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    const int size = reg.GetDataSize(storedName);
    if (size < 0 || size > MaxUsageDataSize) continue;
    RegValue value;
    if (!reg.ReadRaw(storedName, value)) continue;
    const std::string name = Rot13(storedName);
    // A name holding ".lnk" records a shortcut, judged by its count alone.
    bool missing = false;
    std::string path;
    if (name.find(".lnk") == std::string::npos && name.find(':') != std::string::npos) {
      path = name.substr(name.find(':') + 1);
      missing = IsMissingFile(scan, path, "", true, scan.DriveLetters);
    }
    const std::optional<std::uint32_t> count = RunCount(value.data);
    if (missing) {
      scan.AddFinding(caption, name, location, FixTag::Rot13Value,
                      MissingFileReason(scan, path, "", true, scan.DriveLetters));
    } else if (count == 0u) {
      scan.AddFinding(caption, name, location, FixTag::Rot13Value, "Run count is 0 in value " + storedName);
    }
  }
}

}  // namespace

void ScanMruLists(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::MruLists);
  scan.SetStatusText(info->statusText);
  ScanOpenSaveList(scan, info->issueCaption);
  if (scan.Terminated()) return;
  // Whatever goes wrong in the usage record ends that part only.
  try {
    ScanUsageRecord(scan, info->issueCaption);
  } catch (const std::exception&) {
  }
}

}  // namespace lindqua
