// Section 11: file type registrations that hold nothing. The machine's class
// keys are judged by their own counts; the user's Explorer extension keys by
// the key walk's rule, which follows a chain of lone subkeys.
#include <optional>

#include "engine/ClassKeyReads.h"
#include "engine/Finding.h"
#include "engine/KeyWalk.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"

namespace lindqua {

namespace {

constexpr std::string_view MachineClasses = "Software\\Classes";
constexpr std::string_view ExplorerFileExts = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts";

// Why a class key holds nothing worth keeping, or nullopt when it holds
// something, has a default value of the integer or binary type, or cannot be
// read. A default value of any type other than text counts as data, even one
// that reading as text would refuse.
std::optional<std::string> EmptyClassReason(RegistryKey& key) {
  RegKeyInfo info;
  if (key.QueryInfo(info) != RegStatus::Ok) return std::nullopt;
  RegValue byDefault;
  const RegStatus defaultStatus = key.QueryValue("", byDefault);
  if (defaultStatus != RegStatus::Ok && defaultStatus != RegStatus::NotFound) return std::nullopt;
  if (info.subKeyCount != 0) return std::nullopt;
  if (info.valueCount == 0) return "No subkeys and no values";
  if (info.valueCount != 1 || defaultStatus != RegStatus::Ok) return std::nullopt;
  const std::optional<std::string> text = ReadTextValue(key, "");
  if (!text || !text->empty()) return std::nullopt;
  return "No subkeys; only an empty default value";
}

void ScanMachineClasses(ScanContext& scan, std::string_view caption) {
  std::unique_ptr<RegistryKey> classes;
  if (OpenFromRoot(scan, RootKey::LocalMachine, MachineClasses, classes) != RegStatus::Ok) return;
  std::vector<std::string> names;
  if (classes->EnumSubKeys(names) != RegStatus::Ok) return;
  const std::string location = std::string("HKEY_LOCAL_MACHINE\\") + std::string(MachineClasses);
  for (const std::string& name : names) {
    if (scan.Terminated()) return;
    scan.ShowDetail(std::string(MachineClasses) + "\\" + name);
    std::unique_ptr<RegistryKey> key;
    if (classes->OpenSubKey(name, RegAccess::AllAccess, key) != RegStatus::Ok || !key) continue;
    if (const auto reason = EmptyClassReason(*key)) scan.AddFinding(caption, name, location, FixTag::SubKey, *reason);
  }
}

void ScanExplorerExtensions(ScanContext& scan, std::string_view caption) {
  const auto names = ReadSubKeyNames(scan, RootKey::CurrentUser, ExplorerFileExts);
  if (!names) return;
  const std::string location = std::string("HKEY_CURRENT_USER\\") + std::string(ExplorerFileExts);
  for (const std::string& name : *names) {
    if (scan.Terminated()) return;
    const std::string path = std::string(ExplorerFileExts) + "\\" + name;
    scan.ShowDetail(path);
    // Only a key known to be empty: one whose content could not be read is
    // left alone, since the fix would delete what its backup could not hold.
    if (ClassifyKeyContent(scan, RootKey::CurrentUser, path) != KeyContent::Empty) continue;
    scan.AddFinding(caption, name, location, FixTag::SubKey, DescribeEmptyKey(scan, RootKey::CurrentUser, path));
  }
}

}  // namespace

void ScanFileExtensions(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::FileExtensions);
  scan.SetStatusText(info->statusText);
  ScanMachineClasses(scan, info->issueCaption);
  ScanExplorerExtensions(scan, info->issueCaption);
}

}  // namespace lindqua
