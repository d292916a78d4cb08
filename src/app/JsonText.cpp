#include "app/JsonText.h"

namespace lindqua {

namespace {

constexpr char Replacement[] = "\xEF\xBF\xBD";  // U+FFFD in UTF-8

bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }

// Length of the well-formed UTF-8 sequence at text[i], or 0. Overlong forms,
// encoded surrogates and code points above U+10FFFF are not well-formed.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
  const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
  const unsigned char c = byte(i);
  const std::size_t left = text.size() - i;
  if (c >= 0xC2 && c <= 0xDF) return left >= 2 && IsContinuation(byte(i + 1)) ? 2 : 0;
  if (c >= 0xE0 && c <= 0xEF) {
    if (left < 3 || !IsContinuation(byte(i + 1)) || !IsContinuation(byte(i + 2))) return 0;
    if (c == 0xE0 && byte(i + 1) < 0xA0) return 0;   // overlong
    if (c == 0xED && byte(i + 1) >= 0xA0) return 0;  // surrogate
    return 3;
  }
  if (c >= 0xF0 && c <= 0xF4) {
    if (left < 4 || !IsContinuation(byte(i + 1)) || !IsContinuation(byte(i + 2)) || !IsContinuation(byte(i + 3)))
      return 0;
    if (c == 0xF0 && byte(i + 1) < 0x90) return 0;   // overlong
    if (c == 0xF4 && byte(i + 1) >= 0x90) return 0;  // above U+10FFFF
    return 4;
  }
  return 0;
}

}  // namespace

void AppendJsonString(std::string& out, std::string_view text) {
  static constexpr char Hex[] = "0123456789abcdef";
  out.push_back('"');
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x80) {
      switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        default:
          if (c < 0x20) {
            out += "\\u00";
            out.push_back(Hex[c >> 4]);
            out.push_back(Hex[c & 0xF]);
          } else {
            out.push_back(static_cast<char>(c));
          }
      }
      ++i;
      continue;
    }
    if (const std::size_t length = Utf8SequenceLength(text, i)) {
      out.append(text.substr(i, length));
      i += length;
    } else {
      out += Replacement;
      ++i;
    }
  }
  out.push_back('"');
}

}  // namespace lindqua
