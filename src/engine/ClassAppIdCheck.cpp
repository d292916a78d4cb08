#include "engine/ClassAppIdCheck.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ClassKeyReads.h"
#include "engine/FileReferenceCheck.h"
#include "engine/Finding.h"
#include "engine/NamesHoldingText.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::string_view ClassList = "CLSID";

// A class whose AppID is gone still works when a server of it exists: the
// AppID only carries launch and security settings. Deleting such a class
// would break it, so only a class none of whose servers exists is reported:
// a stale in-process server says nothing while a local server still works.
// nullopt: a server vouches for the class or cannot be read.
std::optional<std::string> ServerReason(ScanContext& scan, RegistryKey& classKey) {
  std::string reasons;
  for (const char* kind : {"InprocServer32", "LocalServer32"}) {
    std::unique_ptr<RegistryKey> server;
    const RegStatus status = classKey.OpenSubKey(kind, RegAccess::AllAccess, server);
    if (status == RegStatus::NotFound) continue;
    if (status != RegStatus::Ok || !server) return std::nullopt;
    const auto path = ReadTextValue(*server, "");
    if (!path || ContainsText(*path, "oleacc.dll")) return std::nullopt;
    if (!IsMissingFile(scan, *path, "", false, scan.DriveLetters)) return std::nullopt;
    if (!reasons.empty()) reasons += "; ";
    reasons += std::string(kind) + ": " + MissingFileReason(scan, *path, "", false, scan.DriveLetters);
  }
  if (reasons.empty()) return std::string("no InprocServer32 or LocalServer32 key");
  return reasons;
}

}  // namespace

void ScanClsidAppIds(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(SectionId::ActiveX);
  scan.SetStatusText(info->statusText);
  const auto appIdNames = ReadSubKeyNames(scan, RootKey::ClassesRoot, "AppID");
  if (!appIdNames) return;
  const NamesHoldingText appIds(*appIdNames);
  const auto ids = ReadSubKeyNames(scan, RootKey::ClassesRoot, ClassList);
  if (!ids) return;
  for (const std::string& id : *ids) {
    if (scan.Terminated()) return;
    const std::string path = std::string(ClassList) + "\\" + id;
    scan.ShowDetail(path);
    std::unique_ptr<RegistryKey> key;
    if (OpenFromRoot(scan, RootKey::ClassesRoot, path, key) != RegStatus::Ok) continue;
    const auto appId = ReadTextValue(*key, "AppID");
    if (!appId || appId->empty()) continue;
    if (appIds.AnyHolds(*appId) || appIds.AnyHolds(id)) continue;
    const auto server = ServerReason(scan, *key);
    if (!server) continue;
    scan.AddFinding(info->issueCaption, *appId, "HKEY_CLASSES_ROOT\\" + path, FixTag::Key,
                    "AppID " + *appId + " is not registered; " + *server);
  }
}

}  // namespace lindqua
