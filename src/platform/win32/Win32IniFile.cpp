#include "platform/win32/Win32IniFile.h"

#include <windows.h>

#include "platform/win32/WinText.h"

namespace lindqua {

std::string Win32IniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) {
  wchar_t buffer[MaxReadChars + 1] = {};
  const std::wstring wideSection = Wide(section);
  const std::wstring wideKey = Wide(key);
  const std::wstring wideDefault = Wide(defaultValue);
  const std::wstring widePath = Wide(path_);
  ::GetPrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideDefault.c_str(), buffer, MaxReadChars + 1,
                             widePath.c_str());
  buffer[MaxReadChars] = L'\0';
  return Narrow(std::wstring_view(buffer));
}

bool Win32IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  const std::wstring wideSection = Wide(section);
  const std::wstring wideKey = Wide(key);
  const std::wstring wideValue = Wide(value);
  const std::wstring widePath = Wide(path_);
  return ::WritePrivateProfileStringW(wideSection.c_str(), wideKey.c_str(), wideValue.c_str(), widePath.c_str()) !=
         FALSE;
}

std::unique_ptr<IniFile> Win32IniFiles::Open(std::string_view path) { return std::make_unique<Win32IniFile>(std::string(path)); }

}  // namespace lindqua
