#include "platform/win32/Win32FolderListing.h"

#include <optional>
#include <string>

#include <windows.h>

#include "platform/StemName.h"
#include "platform/win32/Handles.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

// Where the system takes a folder in the end, past links, short names, the
// WOW64 redirector and drive substitution: "\\?\C:\..." or "\\?\UNC\...".
std::optional<std::wstring> FinalPath(const std::wstring& folder) {
  UniqueFileHandle handle(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                        FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                        OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!handle) return std::nullopt;
  std::wstring path(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 3; ++attempt) {
    const DWORD length = ::GetFinalPathNameByHandleW(handle.get(), path.data(), static_cast<DWORD>(path.size()),
                                                     FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
    if (length == 0) return std::nullopt;
    if (length < path.size()) {
      path.resize(length);
      while (path.size() > 7 && path.back() == L'\\') path.pop_back();
      return path;
    }
    path.assign(length + 1, L'\0');
  }
  return std::nullopt;
}

bool SameTextIgnoringCase(std::wstring_view a, std::wstring_view b) {
  return ::CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(), static_cast<int>(b.size()), TRUE) ==
         CSTR_EQUAL;
}

bool IsWow64() {
  static const bool wow64 = [] {
    BOOL value = FALSE;
    return ::IsWow64Process(::GetCurrentProcess(), &value) && value;
  }();
  return wow64;
}

const std::optional<std::wstring>& WindowsFolderFinalPath() {
  static const std::optional<std::wstring> path = []() -> std::optional<std::wstring> {
    wchar_t buffer[MAX_PATH + 1] = {};
    const UINT length = ::GetSystemWindowsDirectoryW(buffer, MAX_PATH);
    if (length == 0 || length > MAX_PATH) return std::nullopt;
    return FinalPath(buffer);
  }();
  return path;
}

enum class FolderTrust { None, Plain, WindowsFolder };

// A listing of a local volume's folder holds every name a lookup there can
// find, with three exceptions it refuses or mends: a remote folder may hide
// entries from a listing (access-based enumeration) or tell cases apart;
// under WOW64 the Windows folder answers to "Sysnative", which it does not
// list; and below it the redirector swaps folders while exempting some of
// their subfolders, so no listing there can vouch for a name.
FolderTrust TrustOf(const std::wstring& folder) {
  const std::optional<std::wstring> final = FinalPath(folder);
  if (!final || final->size() < 7 || final->compare(0, 4, L"\\\\?\\") != 0 || (*final)[5] != L':') return FolderTrust::None;
  const wchar_t root[] = {(*final)[4], L':', L'\\', 0};
  const UINT type = ::GetDriveTypeW(root);
  if (type != DRIVE_FIXED && type != DRIVE_REMOVABLE && type != DRIVE_CDROM && type != DRIVE_RAMDISK)
    return FolderTrust::None;
  if (!IsWow64()) return FolderTrust::Plain;
  const std::optional<std::wstring>& windows = WindowsFolderFinalPath();
  if (!windows) return FolderTrust::None;
  if (SameTextIgnoringCase(*final, *windows)) return FolderTrust::WindowsFolder;
  if (final->size() > windows->size() && (*final)[windows->size()] == L'\\' &&
      SameTextIgnoringCase(std::wstring_view(*final).substr(0, windows->size()), *windows))
    return FolderTrust::None;
  return FolderTrust::Plain;
}

std::wstring InFolder(std::string_view folder, std::string_view name) {
  std::string path(folder);
  if (path.back() != '\\' && path.back() != '/') path += '\\';
  path += name;
  return Wide(path);
}

}  // namespace

bool ListCompleteFolder(std::string_view folder, std::vector<FileSystem::ListedName>& names) {
  names.clear();
  if (folder.empty()) return false;
  const QuietCriticalErrors quiet;
  const FolderTrust trust = TrustOf(Wide(folder));
  if (trust == FolderTrust::None) return false;
  const std::wstring pattern = InFolder(folder, "*");
  WIN32_FIND_DATAW data{};
  // The standard level also brings the short names, which lookups accept.
  UniqueFindHandle find(::FindFirstFileExW(pattern.c_str(), FindExInfoStandard, &data, FindExSearchNameMatch,
                                           nullptr, FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return false;
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    const bool isDirectory = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    names.push_back({Narrow(name), isDirectory, false});
    if (data.cAlternateFileName[0] && !SameTextIgnoringCase(name, data.cAlternateFileName))
      names.push_back({Narrow(data.cAlternateFileName), isDirectory, true});
  } while (::FindNextFileW(find.get(), &data));
  // Only a listing that ran to its end can tell that a name is not there.
  if (::GetLastError() != ERROR_NO_MORE_FILES) return false;
  if (trust == FolderTrust::WindowsFolder) names.push_back({"Sysnative", true, false});
  return true;
}

bool FindStemFile(std::string_view folder, std::string_view stem) {
  if (folder.empty() || !IsPlainStem(stem)) return false;
  const QuietCriticalErrors quiet;
  const std::wstring pattern = InFolder(folder, std::string(stem) + ".*");
  const std::wstring dotted = Wide(stem) + L'.';
  WIN32_FIND_DATAW data{};
  UniqueFindHandle find(
      ::FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch, nullptr, 0));
  if (!find) return false;
  do {
    // The pattern also takes the bare stem and matches short names; only a
    // file whose own name goes on past the dot counts.
    const std::wstring_view name(data.cFileName);
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && name.size() > dotted.size() &&
        SameTextIgnoringCase(name.substr(0, dotted.size()), dotted))
      return true;
  } while (::FindNextFileW(find.get(), &data));
  return false;
}

}  // namespace lindqua
