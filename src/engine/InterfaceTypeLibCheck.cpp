#include "engine/InterfaceTypeLibCheck.h"

#include <memory>
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

constexpr std::string_view InterfaceList = "Interface";

// The interface's name and the type library id it refers to, or nullopt when
// either is not text (an interface without a type library is fine).
struct TypeLibReference {
  std::string interfaceName;
  std::string typeLibId;
};

std::optional<TypeLibReference> ReadReference(RegistryKey& interfaceKey) {
  auto interfaceName = ReadTextValue(interfaceKey, "");
  if (!interfaceName) return std::nullopt;
  std::unique_ptr<RegistryKey> typeLib;
  if (interfaceKey.OpenSubKey("TypeLib", RegAccess::AllAccess, typeLib) != RegStatus::Ok || !typeLib)
    return std::nullopt;
  auto typeLibId = ReadTextValue(*typeLib, "");
  if (!typeLibId) return std::nullopt;
  return TypeLibReference{std::move(*interfaceName), std::move(*typeLibId)};
}

// The system's type-library marshalers: an interface marshaled by them needs
// its type library, so with the library gone the interface is broken.
bool IsTypeLibMarshaler(std::string_view clsid) {
  return SameText(clsid, "{00020424-0000-0000-C000-000000000046}") ||
         SameText(clsid, "{00020420-0000-0000-C000-000000000046}");
}

// An interface whose own proxy class is registered with a server file that
// exists keeps working without its type library, so deleting its key would
// break it. Also true when that class cannot be read: that is no evidence
// that anything is missing.
bool HasOwnWorkingProxy(ScanContext& scan, RegistryKey& interfaceKey) {
  std::unique_ptr<RegistryKey> proxyKey;
  const RegStatus opened = interfaceKey.OpenSubKey("ProxyStubClsid32", RegAccess::AllAccess, proxyKey);
  if (opened == RegStatus::NotFound) return false;
  if (opened != RegStatus::Ok || !proxyKey) return true;
  const auto clsid = ReadTextValue(*proxyKey, "");
  if (!clsid || clsid->empty() || IsTypeLibMarshaler(*clsid)) return false;
  std::unique_ptr<RegistryKey> server;
  const RegStatus found = OpenFromRoot(scan, RootKey::ClassesRoot, "CLSID\\" + *clsid + "\\InprocServer32", server);
  if (found == RegStatus::NotFound) return false;
  if (found != RegStatus::Ok) return true;
  const auto path = ReadTextValue(*server, "");
  return path && !path->empty() && !IsMissingFile(scan, *path, "", false, scan.DriveLetters);
}

}  // namespace

void ScanInterfaceTypeLibs(ScanContext& scan) {
  const auto typeLibNames = ReadSubKeyNames(scan, RootKey::ClassesRoot, "TypeLib");
  if (!typeLibNames) return;
  const NamesHoldingText typeLibs(*typeLibNames);
  std::unique_ptr<RegistryKey> interfaces;
  if (OpenFromRoot(scan, RootKey::ClassesRoot, InterfaceList, interfaces) != RegStatus::Ok) return;
  std::vector<std::string> ids;
  if (interfaces->EnumSubKeys(ids) != RegStatus::Ok) return;
  const std::string_view caption = FindScanSection(SectionId::CustomControls)->issueCaption;
  for (const std::string& id : ids) {
    if (scan.Terminated()) return;
    std::unique_ptr<RegistryKey> key;
    if (interfaces->OpenSubKey(id, RegAccess::AllAccess, key) != RegStatus::Ok || !key) continue;
    const std::string path = std::string(InterfaceList) + "\\" + id;
    scan.ShowDetail(path);
    const auto reference = ReadReference(*key);
    if (!reference || typeLibs.AnyHolds(reference->typeLibId) || HasOwnWorkingProxy(scan, *key)) continue;
    const std::string reason = reference->typeLibId.empty()
                                   ? std::string("Type library reference is empty")
                                   : "Type library " + reference->typeLibId + " is not registered";
    scan.AddFinding(caption, reference->interfaceName + " - " + reference->typeLibId, "HKEY_CLASSES_ROOT\\" + path,
                    FixTag::Key, reason);
  }
}

}  // namespace lindqua
