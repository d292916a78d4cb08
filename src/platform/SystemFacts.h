#pragma once
// What the program asks of the operating system itself: its version, whether
// the 32-bit process runs under WOW64, and the clock with the user's formats.
#include <cstdint>
#include <optional>
#include <string>

namespace lindqua {

struct OsVersion {
  std::uint32_t platformId = 2;  // 2 = NT family
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
};

struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};

class SystemFacts {
 public:
  virtual ~SystemFacts() = default;
  virtual OsVersion GetVersion() = 0;
  // nullopt when the system has no IsWow64Process; otherwise its answer
  // (false when the call itself fails).
  virtual std::optional<bool> IsWow64Process() = 0;
  virtual LocalTime Now() = 0;
  // A file time stamp (FILETIME ticks, UTC) in the user's local time.
  virtual LocalTime FileTimeToLocal(std::int64_t fileTime) = 0;
  // The time in the user's short date and long time formats, joined by a space.
  virtual std::string DateTimeText(const LocalTime& time) = 0;
};

// The program's codes for the Windows versions its rules depend on.
namespace VersionCode {
inline constexpr std::uint8_t Windows95 = 1;
inline constexpr std::uint8_t Windows98 = 3;
inline constexpr std::uint8_t Nt3 = 5;
inline constexpr std::uint8_t Nt4 = 6;
inline constexpr std::uint8_t Windows2000 = 7;        // NT 5.0
inline constexpr std::uint8_t WindowsMe = 8;
inline constexpr std::uint8_t WindowsXp = 9;          // NT 5.1
inline constexpr std::uint8_t WindowsServer2003 = 10;  // NT 5.2, and any NT the table does not know
inline constexpr std::uint8_t Nt6 = 11;                // NT 6.x: Vista and later
}  // namespace VersionCode

// Maps a platform id and version to the program's version code.
std::uint8_t WindowsVersionCode(const OsVersion& version) noexcept;
std::uint8_t GetWindowsVersionCode(SystemFacts& facts);
bool IsWow64(SystemFacts& facts);

}  // namespace lindqua
