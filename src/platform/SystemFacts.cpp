#include "platform/SystemFacts.h"

namespace lindqua {

std::uint8_t WindowsVersionCode(const OsVersion& v) noexcept {
  if (v.platformId == 2) {
    switch (v.major) {
      case 3: return 5;
      case 4: return 6;
      case 5: return v.minor == 1 ? 9 : v.minor == 2 ? 10 : 7;
      case 6: return 11;
      default: return 10;
    }
  }
  if (v.major == 4) {
    if (v.minor == 0) return 1;
    if (v.minor == 10) return 3;
    if (v.minor == 90) return 8;
  }
  return 10;
}

std::uint8_t GetWindowsVersionCode(SystemFacts& facts) { return WindowsVersionCode(facts.GetVersion()); }

bool IsWow64(SystemFacts& facts) { return facts.IsWow64Process().value_or(false); }

}  // namespace lindqua
