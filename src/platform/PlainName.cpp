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
  // By length first: this is asked of every name on a path starting with
  // one of the letters above.
  const std::string_view port = base.substr(0, 3);
  const bool isPort = port == "COM" || port == "LPT";
  switch (base.size()) {
    case 3:
      return base == "CON" || base == "PRN" || base == "AUX" || base == "NUL";
    case 4:
      return isPort;
    case 5:
      return isPort && base[3] == '\xC2' && (base[4] == '\xB9' || base[4] == '\xB2' || base[4] == '\xB3');
    case 6:
      return base == "CONIN$" || base == "CLOCK$";
    case 7:
      return base == "CONOUT$";
    default:
      return false;
  }
}

bool IsPlainName(std::string_view upperName) noexcept {
  if (upperName.empty() || upperName.back() == '.' || upperName.back() == ' ') return false;
  for (char c : upperName)  // a plain loop: find_first_of searches its set once per character
    if (c == '/' || c == ':') return false;
  return !IsDeviceName(upperName);
}

bool StaysInFolder(std::string_view upperName) noexcept {
  while (!upperName.empty() && (upperName.back() == '.' || upperName.back() == ' ')) upperName.remove_suffix(1);
  return IsPlainName(upperName);
}

}  // namespace lindqua
