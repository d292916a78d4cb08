#include "platform/win32/Win32SystemFacts.h"

#include <windows.h>

#include "platform/win32/WinText.h"

namespace lindqua {

OsVersion Win32SystemFacts::GetVersion() {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;  // 148 bytes
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExA(&info)) return OsVersion{0, 0, 0};
#pragma GCC diagnostic pop
  return OsVersion{info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion};
}

std::optional<bool> Win32SystemFacts::IsWow64Process() {
  using IsWow64ProcessFn = BOOL(WINAPI*)(HANDLE, PBOOL);
  HMODULE kernel = ::GetModuleHandleA("kernel32");
  auto function = kernel ? reinterpret_cast<IsWow64ProcessFn>(
                               reinterpret_cast<void*>(::GetProcAddress(kernel, "IsWow64Process")))
                         : nullptr;
  if (!function) return std::nullopt;
  BOOL wow64 = FALSE;
  if (!function(::GetCurrentProcess(), &wow64)) return false;
  return wow64 != FALSE;
}

LocalTime Win32SystemFacts::Now() {
  SYSTEMTIME st{};
  ::GetLocalTime(&st);
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

LocalTime Win32SystemFacts::FileTimeToLocal(std::int64_t fileTime) {
  FILETIME utc{static_cast<DWORD>(fileTime), static_cast<DWORD>(static_cast<std::uint64_t>(fileTime) >> 32)};
  FILETIME local{};
  SYSTEMTIME st{};
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &st)) return LocalTime{};
  return LocalTime{st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string Win32SystemFacts::DateTimeText(const LocalTime& t) {
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(t.year);
  st.wMonth = static_cast<WORD>(t.month);
  st.wDay = static_cast<WORD>(t.day);
  st.wHour = static_cast<WORD>(t.hour);
  st.wMinute = static_cast<WORD>(t.minute);
  st.wSecond = static_cast<WORD>(t.second);
  wchar_t date[128] = {};
  wchar_t time[128] = {};
  ::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 128);
  ::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 128);
  return Narrow(date) + " " + Narrow(time);
}

}  // namespace lindqua
