#include "wine/ShellLinkFile.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdint>

#include "platform/win32/ComScope.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/WinText.h"

namespace lindqua::test {

bool MakeShellLink(const std::string& path, const std::string& target) {
  ComScope com;
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
    return false;
  if (FAILED(link->SetPath(Wide(target).c_str()))) return false;
  ComPtr<IPersistFile> file;
  if (FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put())))) return false;
  return SUCCEEDED(file->Save(Wide(path).c_str(), TRUE));
}

}  // namespace lindqua::test

namespace lindqua::test {

namespace {
void PutDword(std::string& bytes, std::uint32_t value) {
  for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}
}  // namespace

bool WriteRawShellLink(const std::string& path, const std::string& storedPath) {
  std::string bytes;
  PutDword(bytes, 0x4C);  // header size, then the shell link class id
  const unsigned char classId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                     0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
  bytes.append(reinterpret_cast<const char*>(classId), sizeof classId);
  PutDword(bytes, 0x2);  // flags: a link info block follows
  bytes.append(0x4C - bytes.size(), '\0');  // attributes, times, size, icon, show command, hot key
  // Link info: its size, header size, flags, volume id (none), local base
  // path, network part (none), common path suffix.
  const std::uint32_t headerSize = 0x1C;
  const std::uint32_t pathOffset = headerSize;
  const std::uint32_t suffixOffset = pathOffset + static_cast<std::uint32_t>(storedPath.size()) + 1;
  PutDword(bytes, suffixOffset + 1);
  PutDword(bytes, headerSize);
  PutDword(bytes, 0x1);
  PutDword(bytes, 0);
  PutDword(bytes, pathOffset);
  PutDword(bytes, 0);
  PutDword(bytes, suffixOffset);
  bytes.append(storedPath);
  bytes.push_back('\0');
  bytes.push_back('\0');
  PutDword(bytes, 0);  // no extra data blocks
  Win32FileSystem files;
  return files.WriteWholeFile(path, bytes);
}

}  // namespace lindqua::test
