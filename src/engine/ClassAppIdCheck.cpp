#include "engine/ClassAppIdCheck.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/ClassKeyReads.h"
#include "engine/Finding.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr std::string_view ClassList = "CLSID";

// What the class's in-process server says about it: nullopt when it vouches
// for the class or cannot be read, otherwise the reason to report it.
std::optional<std::string> ServerReason(RegistryKey& classKey) {
  std::unique_ptr<RegistryKey> server;
  const RegStatus status = classKey.OpenSubKey("InprocServer32", RegAccess::AllAccess, server);
  if (status == RegStatus::NotFound) return std::string("no InprocServer32 key");
  if (status != RegStatus::Ok || !server) return std::nullopt;
  const auto path = ReadTextValue(*server, "");
  if (!path || ContainsText(*path, "oleacc.dll")) return std::nullopt;
  return "in-process server " + *path;
}

}  // namespace

void ScanClsidAppIds(ScanContext& scan) {
  const ScanSectionInfo* info = FindScanSection(20);
  scan.SetStatusText(info->statusText);
  const auto appIds = ReadSubKeyNames(scan, RootKey::ClassesRoot, "AppID");
  if (!appIds) return;
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
    if (FindNameContaining(*appIds, *appId) || FindNameContaining(*appIds, id)) continue;
    const auto server = ServerReason(*key);
    if (!server) continue;
    scan.AddFinding(info->issueCaption, *appId, "HKEY_CLASSES_ROOT\\" + path, FixTag::Key,
                    "AppID " + *appId + " is not registered; " + *server);
  }
}

}  // namespace lindqua
