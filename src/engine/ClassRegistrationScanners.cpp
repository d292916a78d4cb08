// Sections 16, 20 and 22: class servers and interfaces, ActiveX type
// libraries and AppIDs, and the commands of the applications offered in
// "Open with". Where the machine's software sweep is also chosen, it already
// tests the class and type library trees, so they are not walked twice.
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ClassAppIdCheck.h"
#include "engine/ClassKeyReads.h"
#include "engine/ClassServerWalk.h"
#include "engine/CommandKeySearch.h"
#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/InterfaceTypeLibCheck.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/ValuePathSweep.h"

namespace lindqua {

namespace {

constexpr std::string_view Applications = "Software\\Classes\\Applications";

// An empty command is a dangling verb only when its key holds nothing else:
// a verb run through a handler such as DelegateExecute has no command line.
bool CommandKeyHoldsOtherValues(ScanContext& scan, const std::string& commandPath) {
  std::unique_ptr<RegistryKey> key;
  if (OpenFromRoot(scan, RootKey::LocalMachine, commandPath, key) != RegStatus::Ok) return true;
  std::vector<std::string> names;
  if (key->EnumValues(names) != RegStatus::Ok) return true;
  for (const std::string& name : names)
    if (!name.empty()) return true;
  return false;
}

// The reason for reporting an application's command, or nullopt to keep it.
std::optional<std::string> CommandReason(ScanContext& scan, const std::string& command, const std::string& commandPath) {
  if (command.empty()) {
    if (CommandKeyHoldsOtherValues(scan, commandPath)) return std::nullopt;
    return std::string("Command is empty");
  }
  if (!IsMissingFile(scan, command, "", false, scan.DriveLetters)) return std::nullopt;
  return MissingFileReason(scan, command, "", false, scan.DriveLetters);
}

// Each application starts its search afresh, so that a search cut short in
// one application cannot hide the commands of the next. A command that reads
// "Not Found" cannot be told from the end of the search and ends it.
void ScanApplicationCommands(ScanContext& scan, const std::string& appPath, std::string_view caption) {
  std::string lastFound, result;
  FindNextCommandKey(scan, RootKey::LocalMachine, lastFound, result, "", "command", appPath);
  while (result != CommandNotFound) {
    const std::string commandPath = lastFound + "\\command";
    if (const auto reason = CommandReason(scan, result, commandPath))
      scan.AddFinding(caption, result, "HKEY_LOCAL_MACHINE\\" + commandPath, FixTag::Key, *reason);
    FindNextCommandKey(scan, RootKey::LocalMachine, lastFound, result, "", "command", appPath);
  }
}

}  // namespace

void ScanCustomControls(ScanContext& scan) {
  scan.SetStatusText(FindScanSection(SectionId::CustomControls)->statusText);
  if (!IsSoftwareSweepSelected(scan)) ScanClsidKey(scan, "HKEY_CLASSES_ROOT", "CLSID", "");
  ScanInterfaceTypeLibs(scan);
}

void ScanActiveX(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::ActiveX);
  scan.SetStatusText(info->statusText);
  if (!IsSoftwareSweepSelected(scan))
    SweepKeyValues(scan, "HKEY_CLASSES_ROOT", "TypeLib", info->issueCaption, ".dll", scan.DriveLetters);
  ScanClsidAppIds(scan);
}

// Keeps the status text of the section before it. An error inside ends this
// section only; the scan goes on with the next.
void ScanOpenWithApps(ScanContext& scan) {
  try {
    const auto names = ReadSubKeyNames(scan, RootKey::LocalMachine, Applications);
    if (!names) return;
    const std::string_view caption = FindScanSection(SectionId::OpenWithApps)->issueCaption;
    for (const std::string& name : *names) {
      if (scan.Terminated()) return;
      const std::string appPath = std::string(Applications) + "\\" + name;
      scan.ShowDetail(appPath);
      ScanApplicationCommands(scan, appPath, caption);
    }
  } catch (const std::exception&) {
  }
}

}  // namespace lindqua
