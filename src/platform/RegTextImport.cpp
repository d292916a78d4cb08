#include "platform/RegTextImport.h"

#include <cctype>
#include <string>
#include <vector>

namespace lindqua {

namespace {

std::string DecodeFile(std::string_view bytes) {
  if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    std::u16string units;
    for (std::size_t i = 2; i + 1 < bytes.size(); i += 2)
      units.push_back(static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) |
                                            (static_cast<unsigned char>(bytes[i + 1]) << 8)));
    return Utf16ToUtf8(units);
  }
  if (bytes.size() >= 3 && bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
  return std::string(bytes);
}

std::vector<std::string> LogicalLines(const std::string& text) {
  std::vector<std::string> lines;
  std::string current;
  std::size_t pos = 0;
  bool continuing = false;
  while (pos <= text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(pos, end - pos);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (continuing) {
      std::size_t first = line.find_first_not_of(" \t");
      line = first == std::string::npos ? std::string() : line.substr(first);
    }
    std::size_t last = line.find_last_not_of(" \t");
    // A hex list continues on the next line after a trailing backslash.
    const bool hexLine = (continuing || line.find("=hex") != std::string::npos);
    if (hexLine && last != std::string::npos && line[last] == '\\') {
      current += line.substr(0, last);
      continuing = true;
    } else {
      current += line;
      lines.push_back(std::move(current));
      current.clear();
      continuing = false;
    }
    pos = end + 1;
  }
  if (!current.empty()) lines.push_back(std::move(current));
  return lines;
}

[[noreturn]] void Fail(std::size_t lineNo, const std::string& what) {
  throw RegTextError("line " + std::to_string(lineNo) + ": " + what);
}

// Reads a quoted string starting at text[pos] == '"'; returns the position after the closing quote.
std::size_t ReadQuoted(const std::string& text, std::size_t pos, std::string& out, std::size_t lineNo) {
  out.clear();
  for (std::size_t i = pos + 1; i < text.size(); ++i) {
    char c = text[i];
    if (c == '\\' && i + 1 < text.size() && (text[i + 1] == '\\' || text[i + 1] == '"')) {
      out.push_back(text[++i]);
    } else if (c == '"') {
      return i + 1;
    } else {
      out.push_back(c);
    }
  }
  Fail(lineNo, "unterminated string");
}

Bytes ParseHexList(std::string_view list, std::size_t lineNo) {
  Bytes bytes;
  std::size_t i = 0;
  while (i < list.size()) {
    while (i < list.size() && (list[i] == ' ' || list[i] == '\t' || list[i] == ',')) ++i;
    if (i >= list.size()) break;
    std::size_t j = i;
    while (j < list.size() && std::isxdigit(static_cast<unsigned char>(list[j]))) ++j;
    if (j == i || j - i > 2) Fail(lineNo, "bad hex byte");
    bytes.push_back(static_cast<std::uint8_t>(std::stoul(std::string(list.substr(i, j - i)), nullptr, 16)));
    i = j;
  }
  return bytes;
}

class Parser {
 public:
  explicit Parser(const AnsiCodePage* ansi) : ansi_(ansi) {}

  std::vector<RegTextKey> Run(std::string_view fileBytes) {
    const auto lines = LogicalLines(Decode(fileBytes));
    std::size_t lineNo = 0;
    bool headerSeen = false;
    for (const auto& raw : lines) {
      ++lineNo;
      std::string line = raw;
      std::size_t first = line.find_first_not_of(" \t");
      if (first == std::string::npos) continue;
      line = line.substr(first);
      if (!headerSeen) {
        if (line == "REGEDIT4") unicode_ = false;
        else if (line == "Windows Registry Editor Version 5.00") unicode_ = true;
        else Fail(lineNo, "missing header");
        headerSeen = true;
        continue;
      }
      if (line[0] == ';') continue;
      if (line[0] == '[') {
        KeyLine(line, lineNo);
      } else {
        ValueLine(line, lineNo);
      }
    }
    if (!headerSeen) Fail(lineNo, "missing header");
    return std::move(keys_);
  }

 private:
  // A REGEDIT4 file in the ANSI code page becomes UTF-8 as a whole, so that
  // a trail byte of a double-byte character is never read as a "\".
  std::string Decode(std::string_view fileBytes) {
    const bool bom = fileBytes.size() >= 2 && static_cast<unsigned char>(fileBytes[0]) == 0xFF &&
                     static_cast<unsigned char>(fileBytes[1]) == 0xFE;
    if (!ansi_ || bom) return DecodeFile(fileBytes);
    auto text = ansi_->ToUtf8(fileBytes);
    if (!text) throw RegTextError("the file is not text in the ANSI code page");
    return *text;
  }

  void KeyLine(const std::string& line, std::size_t lineNo) {
    const std::size_t close = line.rfind(']');
    if (close == std::string::npos) Fail(lineNo, "unterminated key line");
    RegTextKey key;
    key.line = lineNo;
    key.path = line.substr(1, close - 1);
    key.remove = !key.path.empty() && key.path[0] == '-';
    if (key.remove) key.path.erase(0, 1);
    const std::size_t slash = key.path.find('\\');
    auto root = RootKeyFromName(key.path.substr(0, slash));
    if (!root) Fail(lineNo, "unknown root in " + key.path);
    key.root = *root;
    key.subKey = slash == std::string::npos ? std::string() : key.path.substr(slash + 1);
    keys_.push_back(std::move(key));
  }

  void ValueLine(const std::string& line, std::size_t lineNo) {
    if (keys_.empty() || keys_.back().remove) Fail(lineNo, "value outside a key");
    RegTextValue value;
    value.line = lineNo;
    std::size_t pos;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      pos = ReadQuoted(line, 0, value.name, lineNo);
    } else {
      Fail(lineNo, "bad value line");
    }
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size() || line[pos] != '=') Fail(lineNo, "missing '='");
    ++pos;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::string_view data = std::string_view(line).substr(pos);
    if (data == "-") {
      value.remove = true;
    } else if (!data.empty() && data[0] == '"') {
      std::string text;
      ReadQuoted(line, pos, text, lineNo);
      value.type = RegType::String;
      value.data = Utf8ToUtf16LeBytes(text);
    } else if (data.substr(0, 6) == "dword:") {
      const std::string digits(data.substr(6));
      if (digits.empty() || digits.size() > 8 ||
          digits.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
        Fail(lineNo, "bad dword");
      const auto v = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
      value.type = RegType::Dword;
      value.data = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                    static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
    } else if (data.substr(0, 4) == "hex:" || data.substr(0, 4) == "hex(") {
      value.type = RegType::Binary;
      std::size_t colon = data.find(':');
      if (data[3] == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close > colon || close == 4 || close - 4 > 8 ||
            data.substr(4, close - 4).find_first_not_of("0123456789abcdefABCDEF") != std::string_view::npos)
          Fail(lineNo, "bad hex type");
        value.type = static_cast<std::uint32_t>(std::stoul(std::string(data.substr(4, close - 4)), nullptr, 16));
      }
      value.data = ParseHexList(data.substr(colon + 1), lineNo);
      if (!unicode_ && (value.type == RegType::String || value.type == RegType::ExpandString ||
                        value.type == RegType::MultiString))
        value.data = NarrowToUtf16(value.data, lineNo);
    } else {
      Fail(lineNo, "unknown data form");
    }
    keys_.back().values.push_back(std::move(value));
  }

  Bytes NarrowToUtf16(const Bytes& narrow, std::size_t lineNo) const {
    // Every NUL separates text, so multi-strings and embedded NULs survive.
    std::string text(narrow.begin(), narrow.end());
    if (ansi_) {
      auto utf8 = ansi_->ToUtf8(text);
      if (!utf8) Fail(lineNo, "text not in the ANSI code page");
      text = *utf8;
    }
    Bytes out;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\0', start);
      const bool last = end == std::string::npos;
      if (last) end = text.size();
      Bytes part = Utf8ToUtf16LeBytes(std::string_view(text).substr(start, end - start), !last);
      out.insert(out.end(), part.begin(), part.end());
      start = end + 1;
    }
    return out;
  }

  const AnsiCodePage* ansi_;
  std::vector<RegTextKey> keys_;
  bool unicode_ = false;
};

void Apply(RegistryBackend& registry, const RegTextKey& key) {
  std::unique_ptr<RegistryKey> rootKey;
  if (registry.OpenRoot(key.root, RegAccess::AllAccess, rootKey) != RegStatus::Ok) Fail(key.line, "cannot open root");
  if (key.remove) {
    RegStatus s = rootKey->DeleteSubKeyTree(key.subKey);
    if (s != RegStatus::Ok && s != RegStatus::NotFound) Fail(key.line, "cannot delete " + key.path);
    return;
  }
  std::unique_ptr<RegistryKey> opened;
  if (!key.subKey.empty() && rootKey->CreateSubKey(key.subKey, RegAccess::AllAccess, opened) != RegStatus::Ok)
    Fail(key.line, "cannot create " + key.path);
  RegistryKey& target = key.subKey.empty() ? *rootKey : *opened;
  for (const RegTextValue& value : key.values) {
    RegStatus s = value.remove ? target.DeleteValue(value.name) : target.SetValue(value.name, value.type, value.data);
    if (value.remove && s == RegStatus::NotFound) s = RegStatus::Ok;
    if (s != RegStatus::Ok) Fail(value.line, "cannot write value " + value.name);
  }
}

}  // namespace

std::vector<RegTextKey> ParseRegText(std::string_view fileBytes, const AnsiCodePage* ansi) {
  return Parser(ansi).Run(fileBytes);
}

void ImportRegText(RegistryBackend& registry, std::string_view fileBytes) {
  for (const RegTextKey& key : ParseRegText(fileBytes)) Apply(registry, key);
}

void ImportRegText(RegistryBackend& registry, std::string_view fileBytes, const AnsiCodePage& ansi) {
  for (const RegTextKey& key : ParseRegText(fileBytes, &ansi)) Apply(registry, key);
}

}  // namespace lindqua
