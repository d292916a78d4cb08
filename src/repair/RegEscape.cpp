#include "repair/RegEscape.h"

namespace lindqua {

std::string EscapeBackslashes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '\\') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

std::string EscapeQuotes(std::string_view text) {
  std::string out;
  out.reserve(text.size() + 8);
  for (char c : text) {
    if (c == '"') out.push_back('\\');
    out.push_back(c);
  }
  return out;
}

}  // namespace lindqua
