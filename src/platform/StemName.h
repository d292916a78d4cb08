#pragma once
// The stem of a file-name question ("Voice" for "Voice.apm"): it must be a
// name a folder lookup takes as written, or a pattern built from it could
// match what the stem does not name.
#include <string_view>

#include "platform/Text.h"

namespace lindqua {

inline bool IsPlainStem(std::string_view stem) noexcept {
  if (stem.empty() || stem.back() == '.' || stem.back() == ' ') return false;
  for (char c : stem) {
    if (static_cast<unsigned char>(c) < 0x20) return false;
    if (std::string_view("\\/:*?\"<>|").find(c) != std::string_view::npos) return false;
  }
  return true;
}

// `name` is `stem`, a dot and at least one more character, in ASCII case folding.
inline bool NameExtendsStem(std::string_view name, std::string_view stem) noexcept {
  if (name.size() < stem.size() + 2 || name[stem.size()] != '.') return false;
  for (std::size_t i = 0; i < stem.size(); ++i)
    if (AsciiUpper(name[i]) != AsciiUpper(stem[i])) return false;
  return true;
}

}  // namespace lindqua
