#pragma once
// UTF-8 <-> UTF-16 at the Windows API boundary.
#include <string>
#include <string_view>

#include "platform/Text.h"

namespace lindqua {

inline std::wstring Wide(std::string_view utf8) {
  std::u16string u = Utf8ToUtf16(utf8);
  return std::wstring(u.begin(), u.end());
}

inline std::string Narrow(std::wstring_view wide) {
  return Utf16ToUtf8(std::u16string_view(reinterpret_cast<const char16_t*>(wide.data()), wide.size()));
}

}  // namespace lindqua
