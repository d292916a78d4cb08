#include "engine/InterfaceTypeLibCheck.h"

#include <memory>
#include <string>
#include <vector>

#include "engine/ClassKeyReads.h"
#include "engine/Finding.h"
#include "engine/NamesHoldingText.h"
#include "engine/ScanSection.h"

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
    if (!reference || typeLibs.AnyHolds(reference->typeLibId)) continue;
    const std::string reason = reference->typeLibId.empty()
                                   ? std::string("Type library reference is empty")
                                   : "Type library " + reference->typeLibId + " is not registered";
    scan.AddFinding(caption, reference->interfaceName + " - " + reference->typeLibId, "HKEY_CLASSES_ROOT\\" + path,
                    FixTag::Key, reason);
  }
}

}  // namespace lindqua
