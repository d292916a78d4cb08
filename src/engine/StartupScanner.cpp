// Section 14: the commands Windows starts at log-on, from the Run and RunOnce
// keys of the user and the machine and from the list of entries the system
// configuration tool has switched off.
#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/SystemListRules.h"
#include "engine/SystemListScanners.h"

namespace lindqua {

namespace {

constexpr int Section = SectionId::StartupPrograms;
constexpr std::string_view RunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr std::string_view RunOnceKey = "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";
constexpr std::string_view StartupRegKey = "Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg";

// Why a command is reported, or "" when it is not: a command that starts
// nothing is as dead as one whose program is gone.
std::string DeadCommandReason(ScanContext& scan, const std::string& command) {
  if (command.empty()) return "Empty command";
  if (command == "\"\"") return "Command is only \"\"";
  if (IsMissingFile(scan, command, "", false, scan.DriveLetters)) return PathReason(scan, command, false);
  return {};
}

// Each entry is a subkey whose "command" value holds the command line; the
// fix removes the whole entry.
void ScanStartupReg(ScanContext& scan, std::string_view caption) {
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, "HKEY_LOCAL_MACHINE", StartupRegKey)) return;
  scan.ShowDetail(StartupRegKey);
  const std::string location = "HKEY_LOCAL_MACHINE\\" + std::string(StartupRegKey) + "\\";
  for (const std::string& name : reg.GetKeyNames()) {
    if (scan.Terminated()) return;
    TRegistry entry(scan.Registry());
    if (!OpenForScan(entry, "HKEY_LOCAL_MACHINE", std::string(StartupRegKey) + "\\" + name)) continue;
    const auto command = ReadTextValue(entry, "command");
    if (!command || !IsMissingFile(scan, *command, "", false, scan.DriveLetters)) continue;
    scan.AddFinding(caption, *command, location + name, FixTag::Key, PathReason(scan, *command, false));
  }
}

}  // namespace

// Values of other types are passed over: they hold no command line to check,
// and what cannot be read as one is not offered for deletion.
void ScanRunValues(ScanContext& scan, std::string_view rootName, std::string_view keyPath) {
  TRegistry reg(scan.Registry());
  if (!OpenForScan(reg, rootName, keyPath)) return;
  scan.ShowDetail(keyPath);
  const std::string_view caption = FindScanSection(Section)->issueCaption;
  for (const std::string& name : reg.GetValueNames()) {
    if (scan.Terminated()) return;
    const auto command = ReadTextValue(reg, name);
    if (!command) continue;
    const std::string reason = DeadCommandReason(scan, *command);
    if (!reason.empty()) AddValueFinding(scan, caption, rootName, keyPath, name, *command, reason);
  }
}

void ScanStartupPrograms(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(Section);
  scan.SetStatusText(info->statusText);
  ScanRunValues(scan, "HKEY_CURRENT_USER", RunKey);
  ScanRunValues(scan, "HKEY_CURRENT_USER", RunOnceKey);
  ScanRunValues(scan, "HKEY_LOCAL_MACHINE", RunKey);
  ScanRunValues(scan, "HKEY_LOCAL_MACHINE", RunOnceKey);
  ScanStartupReg(scan, info->issueCaption);
}

}  // namespace lindqua
