#include "platform/SystemFacts.h"

namespace lindqua {

std::uint8_t WindowsVersionCode(const OsVersion& v) noexcept {
  if (v.platformId == 2) {
    switch (v.major) {
      case 3: return VersionCode::Nt3;
      case 4: return VersionCode::Nt4;
      case 5:
        return v.minor == 1 ? VersionCode::WindowsXp
               : v.minor == 2 ? VersionCode::WindowsServer2003
                              : VersionCode::Windows2000;
      case 6: return VersionCode::Nt6;
      default: return VersionCode::WindowsServer2003;
    }
  }
  if (v.major == 4) {
    if (v.minor == 0) return VersionCode::Windows95;
    if (v.minor == 10) return VersionCode::Windows98;
    if (v.minor == 90) return VersionCode::WindowsMe;
  }
  return VersionCode::WindowsServer2003;
}

std::uint8_t GetWindowsVersionCode(SystemFacts& facts) { return WindowsVersionCode(facts.GetVersion()); }

bool IsWow64(SystemFacts& facts) { return facts.IsWow64Process().value_or(false); }

}  // namespace lindqua
