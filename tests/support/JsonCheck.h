#pragma once
// A strict JSON reader for tests: says whether a text is one valid JSON value
// (RFC 8259, UTF-8) and gives back the strings it holds, decoded, so a test
// can compare what a consumer of the output would see.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace lindqua::test {

class JsonCheck {
 public:
  // True when `text` is exactly one JSON value, blanks around it allowed.
  bool Parse(std::string_view text) {
    text_ = text;
    pos_ = 0;
    strings.clear();
    SkipBlanks();
    if (!Value()) return false;
    SkipBlanks();
    return pos_ == text_.size();
  }

  std::vector<std::string> strings;  // every string literal, keys included, in order

 private:
  bool Value() {
    if (pos_ >= text_.size()) return false;
    switch (text_[pos_]) {
      case '{': return Object();
      case '[': return Array();
      case '"': return String();
      case 't': return Word("true");
      case 'f': return Word("false");
      case 'n': return Word("null");
      default: return Number();
    }
  }
  bool Object() {
    ++pos_;
    SkipBlanks();
    if (Take('}')) return true;
    do {
      SkipBlanks();
      if (!String()) return false;
      SkipBlanks();
      if (!Take(':')) return false;
      SkipBlanks();
      if (!Value()) return false;
      SkipBlanks();
    } while (Take(','));
    return Take('}');
  }
  bool Array() {
    ++pos_;
    SkipBlanks();
    if (Take(']')) return true;
    do {
      SkipBlanks();
      if (!Value()) return false;
      SkipBlanks();
    } while (Take(','));
    return Take(']');
  }
  bool String() {
    if (!Take('"')) return false;
    std::string decoded;
    while (pos_ < text_.size()) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_]);
      if (c == '"') {
        ++pos_;
        strings.push_back(decoded);
        return true;
      }
      if (c < 0x20) return false;
      if (c == '\\') {
        if (++pos_ >= text_.size()) return false;
        const char e = text_[pos_++];
        switch (e) {
          case '"': decoded += '"'; break;
          case '\\': decoded += '\\'; break;
          case '/': decoded += '/'; break;
          case 'b': decoded += '\b'; break;
          case 'f': decoded += '\f'; break;
          case 'n': decoded += '\n'; break;
          case 'r': decoded += '\r'; break;
          case 't': decoded += '\t'; break;
          case 'u': {
            unsigned value = 0;
            for (int k = 0; k < 4; ++k, ++pos_) {
              if (pos_ >= text_.size()) return false;
              const char h = text_[pos_];
              value <<= 4;
              if (h >= '0' && h <= '9') value |= static_cast<unsigned>(h - '0');
              else if (h >= 'a' && h <= 'f') value |= static_cast<unsigned>(h - 'a' + 10);
              else if (h >= 'A' && h <= 'F') value |= static_cast<unsigned>(h - 'A' + 10);
              else return false;
            }
            if (value >= 0x80) return false;  // our writer escapes only ASCII controls
            decoded += static_cast<char>(value);
            break;
          }
          default: return false;
        }
        continue;
      }
      const std::size_t length = Utf8Length();
      if (length == 0) return false;
      decoded.append(text_.substr(pos_, length));
      pos_ += length;
    }
    return false;
  }
  // Length of a well-formed UTF-8 sequence at pos_ (Unicode table 3-7), or 0.
  std::size_t Utf8Length() const {
    const auto at = [&](std::size_t k) -> unsigned { return pos_ + k < text_.size() ? static_cast<unsigned char>(text_[pos_ + k]) : 0u; };
    const auto in = [](unsigned v, unsigned lo, unsigned hi) { return v >= lo && v <= hi; };
    const unsigned c = at(0);
    if (c < 0x80) return 1;
    if (in(c, 0xC2, 0xDF)) return in(at(1), 0x80, 0xBF) ? 2 : 0;
    if (c == 0xE0) return in(at(1), 0xA0, 0xBF) && in(at(2), 0x80, 0xBF) ? 3 : 0;
    if (in(c, 0xE1, 0xEC) || in(c, 0xEE, 0xEF)) return in(at(1), 0x80, 0xBF) && in(at(2), 0x80, 0xBF) ? 3 : 0;
    if (c == 0xED) return in(at(1), 0x80, 0x9F) && in(at(2), 0x80, 0xBF) ? 3 : 0;
    if (c == 0xF0) return in(at(1), 0x90, 0xBF) && in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF) ? 4 : 0;
    if (in(c, 0xF1, 0xF3)) return in(at(1), 0x80, 0xBF) && in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF) ? 4 : 0;
    if (c == 0xF4) return in(at(1), 0x80, 0x8F) && in(at(2), 0x80, 0xBF) && in(at(3), 0x80, 0xBF) ? 4 : 0;
    return 0;
  }
  bool Number() {
    const std::size_t start = pos_;
    Take('-');
    if (Take('0')) {
    } else if (!Digits()) {
      return false;
    }
    if (Take('.') && !Digits()) return false;
    if (Take('e') || Take('E')) {
      if (!Take('+')) Take('-');
      if (!Digits()) return false;
    }
    return pos_ > start;
  }
  bool Digits() {
    const std::size_t start = pos_;
    while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
    return pos_ > start;
  }
  bool Word(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return false;
    pos_ += word.size();
    return true;
  }
  bool Take(char c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }
  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' || text_[pos_] == '\n' || text_[pos_] == '\r'))
      ++pos_;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace lindqua::test
