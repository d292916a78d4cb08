// The shell session of a shortcut walk, and sending one file to the Recycle
// Bin without ever letting the shell delete it for good.
#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/win32/ComScope.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

class ComShellSession : public FileSystem::ShellSession {
  ComScope com_;
};

DWORD ReadDword(HKEY root, const wchar_t* path, const wchar_t* name) {
  DWORD data = 0, size = sizeof data;
  if (::RegGetValueW(root, path, name, RRF_RT_REG_DWORD, nullptr, &data, &size) != ERROR_SUCCESS) return 0;
  return data;
}

// The user or an administrator told Explorer to remove deleted files at once,
// for every drive or for this volume; the shell would then not recycle.
bool RecyclingSwitchedOff(const std::wstring& root) {
  constexpr const wchar_t* Policy = L"Software\\Microsoft\\Windows\\CurrentVersion\\Policies\\Explorer";
  constexpr const wchar_t* BitBucket = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\BitBucket";
  if (ReadDword(HKEY_CURRENT_USER, Policy, L"NoRecycleFiles") || ReadDword(HKEY_LOCAL_MACHINE, Policy, L"NoRecycleFiles"))
    return true;
  if (ReadDword(HKEY_LOCAL_MACHINE, BitBucket, L"NukeOnDelete")) return true;
  const std::wstring driveKey = std::wstring(BitBucket) + L"\\" + root.substr(0, 1);
  if (ReadDword(HKEY_LOCAL_MACHINE, driveKey.c_str(), L"NukeOnDelete")) return true;
  wchar_t volume[64] = {};
  if (::GetVolumeNameForVolumeMountPointW(root.c_str(), volume, 64)) {
    // "\\?\Volume{GUID}\" names the per-volume settings key by its GUID.
    std::wstring guid(volume);
    const std::size_t open = guid.find(L'{'), close = guid.find(L'}');
    if (open != std::wstring::npos && close != std::wstring::npos) {
      const std::wstring volumeKey = std::wstring(BitBucket) + L"\\Volume\\" + guid.substr(open, close - open + 1);
      if (ReadDword(HKEY_CURRENT_USER, volumeKey.c_str(), L"NukeOnDelete")) return true;
    }
  }
  return false;
}

bool HasRecycleBin(const std::wstring& root) {
  if (::GetDriveTypeW(root.c_str()) != DRIVE_FIXED) return false;  // removable, network, optical: none
  SHQUERYRBINFO info{};
  info.cbSize = sizeof info;
  if (FAILED(::SHQueryRecycleBinW(root.c_str(), &info))) return false;
  return !RecyclingSwitchedOff(root);
}

}  // namespace

std::unique_ptr<FileSystem::ShellSession> Win32FileSystem::BeginShellSession() {
  return std::make_unique<ComShellSession>();
}

FileSystem::RecycleResult Win32FileSystem::RecycleFile(std::string_view path) {
  if (path.find_first_of("*?") != std::string_view::npos) return RecycleResult::NotAFile;
  if (path.starts_with("\\\\")) return RecycleResult::NoRecycleBin;  // shares and devices keep no bin
  if (path.size() < 4 || path[1] != ':' || path[2] != '\\') return RecycleResult::NotAFile;
  const std::wstring wide = Wide(path);
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    const DWORD error = ::GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? RecycleResult::NotThere
                                                                          : RecycleResult::Refused;
  }
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return RecycleResult::NotAFile;
  if (!HasRecycleBin(wide.substr(0, 3))) return RecycleResult::NoRecycleBin;

  std::wstring from = wide;
  from.push_back(L'\0');  // the list ends with a second NUL
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  // No nuke warning: it is a question, and no run may wait on one. The bin
  // was checked above instead.
  operation.fFlags = FOF_ALLOWUNDO | FOF_FILESONLY | FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  const int status = ::SHFileOperationW(&operation);
  if (status != 0 || operation.fAnyOperationsAborted) return RecycleResult::Refused;
  return ::GetFileAttributesW(wide.c_str()) == INVALID_FILE_ATTRIBUTES ? RecycleResult::Recycled
                                                                        : RecycleResult::Refused;
}

}  // namespace lindqua
