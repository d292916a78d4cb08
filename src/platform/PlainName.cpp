#include "platform/PlainName.h"

namespace lindqua {

// The serial and printer ports also count with a superscript digit (UTF-8
// C2 B9, C2 B2, C2 B3).
bool IsDeviceName(std::string_view upperName) noexcept {
  if (upperName.size() < 3) return false;
  const char first = upperName[0];
  if (first != 'C' && first != 'P' && first != 'A' && first != 'N' && first != 'L') return false;
  std::string_view base = upperName.substr(0, upperName.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  // Views with their lengths known when compiled: this is asked of every
  // name on a path starting with one of the letters above.
  static constexpr std::string_view Devices[] = {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"};
  for (std::string_view device : Devices)
    if (base == device) return true;
  if (base.substr(0, 3) != "COM" && base.substr(0, 3) != "LPT") return false;
  return base.size() == 4 || (base.size() == 5 && base[3] == '\xC2' &&
                              (base[4] == '\xB9' || base[4] == '\xB2' || base[4] == '\xB3'));
}

bool IsPlainName(std::string_view upperName) noexcept {
  if (upperName.empty() || upperName.back() == '.' || upperName.back() == ' ') return false;
  for (char c : upperName)  // a plain loop: find_first_of searches its set once per character
    if (c == '/' || c == ':') return false;
  return !IsDeviceName(upperName);
}

}  // namespace lindqua
