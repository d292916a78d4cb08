#include "wine/WineTrash.h"

#include <windows.h>

#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"

namespace lindqua::test {

namespace {

// Wine's own mapping of a Windows path to the Linux one, which is what a
// trash entry records.
std::string UnixPath(const std::string& windowsPath) {
  using Convert = char*(CDECL*)(const WCHAR*);
  const auto convert = reinterpret_cast<Convert>(
      reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!convert) return {};
  char* unix = convert(Wide(windowsPath).c_str());
  if (!unix) return {};
  std::string out(unix);
  ::HeapFree(::GetProcessHeap(), 0, unix);
  return out;
}

// The escaping of the trash's "Path=" lines.
std::string Encoded(const std::string& path) {
  static const std::string escaped = "^&`{}|[]'<>\\#%\"+";
  static const char hex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : path) {
    if (c <= 0x20 || c >= 0x7f || escaped.find(static_cast<char>(c)) != std::string::npos) {
      out += '%';
      out += hex[c / 16];
      out += hex[c % 16];
    } else {
      out += static_cast<char>(c);
    }
  }
  return out;
}

}  // namespace

std::string WineTrashFolder() {
  wchar_t buffer[1024] = {};
  const DWORD length = ::GetEnvironmentVariableW(L"XDG_DATA_HOME", buffer, 1024);
  if (length == 0 || length >= 1024 || buffer[0] != L'/') return {};
  std::string folder = "Z:" + Narrow(buffer) + "/Trash";
  for (char& c : folder)
    if (c == '/') c = '\\';
  return folder;
}

bool InWineTrash(const std::string& windowsPath) {
  const std::string trash = WineTrashFolder();
  const std::string unixPath = UnixPath(windowsPath);
  if (trash.empty() || unixPath.empty()) return false;
  const std::string wanted = "Path=" + Encoded(unixPath);
  Win32FileSystem files;
  for (const FolderEntry& entry : files.ListFolder(trash + "\\info")) {
    const std::string suffix = ".trashinfo";
    if (entry.isDirectory || !entry.name.ends_with(suffix)) continue;
    std::string text;
    if (!files.ReadWholeFile(trash + "\\info\\" + entry.name, text)) continue;
    if (text.find(wanted + "\n") == std::string::npos) continue;
    const std::string stored = entry.name.substr(0, entry.name.size() - suffix.size());
    if (files.FileExists(trash + "\\files\\" + stored)) return true;
  }
  return false;
}

}  // namespace lindqua::test
