#include "platform/win32/Win32FileSystem.h"

#include <algorithm>

#include <windows.h>
#include <shlobj.h>
#include <shellapi.h>

#include "platform/win32/ComScope.h"
#include "platform/win32/Handles.h"
#include "platform/win32/SystemErrorText.h"
#include "platform/win32/Win32FolderListing.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {

// What the system answers about a path: its attributes, or that nothing is
// there, or that it will not say.
struct PathAnswer {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  bool absent = false;  // a definite "not there"
};

// Only "not found" and answers about the name itself (no file can have it)
// say that nothing is there. A refusal, a drive or volume that is not ready
// (a locked encrypted drive), a sharing violation, a network error or any
// other failure says nothing about it: the thing may well be there.
bool MeansAbsent(DWORD error) {
  switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_BAD_PATHNAME:
    case ERROR_INVALID_DRIVE:
    case ERROR_DIRECTORY:
      return true;
    default:
      return false;
  }
}

PathAnswer Ask(std::string_view path) {
  if (path.empty()) return {INVALID_FILE_ATTRIBUTES, true};
  const std::wstring wide = Wide(path);
  const QuietCriticalErrors quiet;
  const DWORD attributes = ::GetFileAttributesW(wide.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES) return {attributes, false};
  return {attributes, MeansAbsent(::GetLastError())};
}

}  // namespace

// A path the system will not judge counts as there, as a file and as a
// folder alike: nothing may be reported missing, and so deleted, on the
// strength of a question the system did not answer.
bool Win32FileSystem::FileExists(std::string_view path) {
  const PathAnswer answer = Ask(path);
  if (answer.attributes == INVALID_FILE_ATTRIBUTES) return !answer.absent;
  return !(answer.attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::DirectoryExists(std::string_view path) {
  const PathAnswer answer = Ask(path);
  if (answer.attributes == INVALID_FILE_ATTRIBUTES) return !answer.absent;
  return (answer.attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::optional<std::uint64_t> Win32FileSystem::FileSize(std::string_view path) {
  if (path.empty()) return std::nullopt;
  const std::wstring wide = Wide(path);
  WIN32_FILE_ATTRIBUTE_DATA data{};
  const QuietCriticalErrors quiet;
  if (!::GetFileAttributesExW(wide.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
  if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::vector<FolderEntry> Win32FileSystem::ListFolder(std::string_view folder) {
  std::vector<FolderEntry> out;
  std::string pattern(folder);
  if (pattern.empty()) return out;
  if (pattern.back() != '\\' && pattern.back() != '/') pattern += '\\';
  pattern += '*';
  const std::wstring wide = Wide(pattern);
  WIN32_FIND_DATAW data{};
  const QuietCriticalErrors quiet;
  UniqueFindHandle find(::FindFirstFileW(wide.c_str(), &data));
  if (!find) return out;
  do {
    const std::wstring_view name(data.cFileName);
    if (name == L"." || name == L"..") continue;
    out.push_back(FolderEntry{Narrow(name), (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                              (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow,
                              (static_cast<std::int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32) |
                                  data.ftLastWriteTime.dwLowDateTime});
  } while (::FindNextFileW(find.get(), &data));
  return out;
}

FileSystem::PathKind Win32FileSystem::KindOf(std::string_view path) {
  const PathAnswer answer = Ask(path);
  const DWORD attributes = answer.attributes;
  if (attributes == INVALID_FILE_ATTRIBUTES) return answer.absent ? PathKind::None : PathKind::Unsure;
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::Folder;
  // A file that is a link may lead to a folder when a path goes on below it.
  return (attributes & FILE_ATTRIBUTE_REPARSE_POINT) ? PathKind::Unsure : PathKind::File;
}

bool Win32FileSystem::ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) {
  return ListCompleteFolder(folder, names);
}

bool Win32FileSystem::StemFileExists(std::string_view folder, std::string_view stem) {
  return FindStemFile(folder, stem);
}

DriveType Win32FileSystem::DriveTypeOf(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
  return static_cast<DriveType>(::GetDriveTypeW(root));
}

bool Win32FileSystem::VolumeReady(char letter) {
  const wchar_t root[] = {static_cast<wchar_t>(letter), L':', L'\\', 0};
  // Without this an empty floppy or card drive asks the user to insert a disk.
  const QuietCriticalErrors quiet;
  DWORD serial = 0, maxLength = 0, flags = 0;
  return ::GetVolumeInformationW(root, nullptr, 0, &serial, &maxLength, &flags, nullptr, 0) != FALSE;
}

std::string Win32FileSystem::ExpandEnvironment(std::string_view text) {
  const std::wstring wide = Wide(text);
  std::wstring buffer(wide.size() + 256, L'\0');
  for (int attempt = 0; attempt < 4; ++attempt) {
    DWORD needed = ::ExpandEnvironmentStringsW(wide.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (needed == 0) return std::string(text);
    if (needed <= buffer.size()) return Narrow(std::wstring_view(buffer.data(), needed - 1));
    buffer.resize(needed);
  }
  return std::string(text);
}

bool Win32FileSystem::ReadWholeFile(std::string_view path, std::string& bytes) {
  const std::wstring wide = Wide(path);
  UniqueFileHandle file(::CreateFileW(wide.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart > (1LL << 30)) return false;
  bytes.resize(static_cast<std::size_t>(size.QuadPart));
  DWORD got = 0;
  if (!bytes.empty() && !::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr))
    return false;
  bytes.resize(got);
  return true;
}

namespace {
bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 24));
    if (!::WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}
}  // namespace

bool Win32FileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  return WriteWholeFileWithReason(path, bytes).ok;
}

FileSystem::WriteOutcome Win32FileSystem::WriteWholeFileWithReason(std::string_view path, std::string_view bytes) {
  const std::wstring wide = Wide(path);
  UniqueFileHandle file(
      ::CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  // The code is read at once: closing the handle may change it.
  if (file && WriteAll(file.get(), bytes)) return {true, {}};
  const DWORD code = ::GetLastError();
  // A write that took no byte without an error code still failed.
  return {false, SystemErrorText(code != ERROR_SUCCESS ? code : ERROR_WRITE_FAULT)};
}

bool Win32FileSystem::AppendAndFlush(std::string_view path, std::string_view bytes) {
  const std::wstring wide = Wide(path);
  UniqueFileHandle file(::CreateFileW(wide.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return false;
  const bool created = ::GetLastError() != ERROR_ALREADY_EXISTS;
  LARGE_INTEGER end{};
  if (!::SetFilePointerEx(file.get(), LARGE_INTEGER{}, &end, FILE_END)) return false;
  if (WriteAll(file.get(), bytes) && ::FlushFileBuffers(file.get())) return true;
  // A disk that fills or a drive that goes away mid-write leaves part of the
  // bytes, which a reader would take for a whole block: cut the file back to
  // where it ended, and take away a file this call made.
  const bool cut = ::SetFilePointerEx(file.get(), end, nullptr, FILE_BEGIN) && ::SetEndOfFile(file.get()) &&
                   ::FlushFileBuffers(file.get());
  file.reset();
  if (cut && created) ::DeleteFileW(wide.c_str());
  return false;
}

bool Win32FileSystem::ForceDirectories(std::string_view path) {
  std::string current;
  std::string_view rest = path;
  while (!rest.empty()) {
    const std::size_t slash = rest.find_first_of("\\/");
    current.append(rest.substr(0, slash));
    if (!current.empty() && current.back() != ':' && !DirectoryExists(current)) {
      const std::wstring wide = Wide(current);
      ::CreateDirectoryW(wide.c_str(), nullptr);
    }
    if (slash == std::string_view::npos) break;
    current.push_back('\\');
    rest.remove_prefix(slash + 1);
  }
  return DirectoryExists(path);
}

bool Win32FileSystem::CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
  const std::wstring source = Wide(from);
  const std::wstring target = Wide(to);
  return ::CopyFileW(source.c_str(), target.c_str(), failIfExists) != FALSE;
}

bool Win32FileSystem::MoveFileReplacing(std::string_view from, std::string_view to) {
  const std::wstring source = Wide(from);
  const std::wstring target = Wide(to);
  {
    // The bytes must be on the disk before the name points at them, or a
    // crash right after the move could leave an empty file in the old one's place.
    UniqueFileHandle file(::CreateFileW(source.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file || !::FlushFileBuffers(file.get())) return false;
  }
  return ::MoveFileExW(source.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE;
}

bool Win32FileSystem::DeletePath(std::string_view path) {
  if (path.empty()) return false;
  std::wstring from = Wide(path);
  from.push_back(L'\0');  // the list ends with a second NUL
  SHFILEOPSTRUCTW operation{};
  operation.wFunc = FO_DELETE;
  operation.pFrom = from.c_str();
  operation.fFlags = FOF_NOCONFIRMATION | FOF_SILENT | FOF_NOERRORUI;
  return ::SHFileOperationW(&operation) == 0 && !operation.fAnyOperationsAborted;
}

std::string Win32FileSystem::GetSpecialFolder(int csidl) {
  UniqueCoTaskMem<ITEMIDLIST> list;
  if (FAILED(::SHGetSpecialFolderLocation(nullptr, csidl, list.put())) || !list) return {};
  wchar_t buffer[MAX_PATH + 1] = {};
  return ::SHGetPathFromIDListW(list.get(), buffer) ? Narrow(buffer) : std::string();
}

std::optional<std::string> Win32FileSystem::ShortcutTarget(std::string_view shortcutPath) {
  // Keeps COM initialised on this thread for the length of the call.
  const UniqueComInit com = InitializeCom();
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
    return std::nullopt;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return std::nullopt;
  const std::wstring wide = Wide(shortcutPath);
  const QuietCriticalErrors quiet;
  if (FAILED(file->Load(wide.c_str(), STGM_READ))) return std::nullopt;
  wchar_t target[MAX_PATH + 1] = {};
  WIN32_FIND_DATAW data{};
  // A share reached through a mapped drive comes back as its network path.
  if (FAILED(link->GetPath(target, MAX_PATH + 1, &data, SLGP_UNCPRIORITY))) return std::nullopt;
  return Narrow(target);
}

}  // namespace lindqua
