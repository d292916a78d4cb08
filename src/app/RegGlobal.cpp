#include "app/RegGlobal.h"

#include "platform/TRegistry.h"

namespace lindqua {

std::string GetSettingsBaseFolder(FileSystem& files) {
  std::string folder = files.GetSpecialFolder(SpecialFolder::AppData);
  if (!folder.empty() && folder.back() != '\\') folder += '\\';
  return folder;
}

bool DeletePath(FileSystem& files, std::string_view path) { return files.DeletePath(path); }

void WriteUserRegString(RegistryBackend& registry, std::string_view keyPath, std::string_view valueName,
                        std::string_view value) noexcept {
  try {
    TRegistry reg(registry);
    reg.SetRootKey(RootKey::CurrentUser);
    if (reg.OpenKey(keyPath, true)) reg.WriteString(valueName, value);
    reg.CloseKey();
  } catch (...) {
    // A refused write changes nothing the caller could act on.
  }
}

}  // namespace lindqua
