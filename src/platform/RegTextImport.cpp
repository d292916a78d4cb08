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

// A number of 1 to 8 hex digits and nothing else; anything else is an error of
// the line rather than an exception of the library's own.
std::uint32_t HexNumber(std::string_view digits, std::size_t lineNo, const char* what) {
  if (digits.empty() || digits.size() > 8) Fail(lineNo, what);
  std::uint32_t value = 0;
  for (const char c : digits) {
    if (!std::isxdigit(static_cast<unsigned char>(c))) Fail(lineNo, what);
    value = value * 16 + static_cast<std::uint32_t>(std::isdigit(static_cast<unsigned char>(c)) ? c - '0' : (c | 0x20) - 'a' + 10);
  }
  return value;
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
    bytes.push_back(static_cast<std::uint8_t>(HexNumber(list.substr(i, j - i), lineNo, "bad hex byte")));
    i = j;
  }
  return bytes;
}

class Importer {
 public:
  Importer(RegistryBackend& registry, const AnsiCodePage* ansi) : registry_(registry), ansi_(ansi) {}

  void Run(std::string_view fileBytes) {
    const std::string text = Narrow(fileBytes) ? FromAnsi(fileBytes, 0) : DecodeFile(fileBytes);
    const auto lines = LogicalLines(text);
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
  }

 private:
  void KeyLine(const std::string& line, std::size_t lineNo) {
    const std::size_t close = line.rfind(']');
    if (close == std::string::npos) Fail(lineNo, "unterminated key line");
    std::string path = line.substr(1, close - 1);
    const bool remove = !path.empty() && path[0] == '-';
    if (remove) path.erase(0, 1);
    const std::size_t slash = path.find('\\');
    auto root = RootKeyFromName(path.substr(0, slash));
    if (!root) Fail(lineNo, "unknown root in " + path);
    const std::string sub = slash == std::string::npos ? std::string() : path.substr(slash + 1);
    key_.reset();
    std::unique_ptr<RegistryKey> rootKey;
    if (registry_.OpenRoot(*root, RegAccess::AllAccess, rootKey) != RegStatus::Ok) Fail(lineNo, "cannot open root");
    if (remove) {
      RegStatus s = rootKey->DeleteSubKeyTree(sub);
      if (s != RegStatus::Ok && s != RegStatus::NotFound) Fail(lineNo, "cannot delete " + path);
      return;
    }
    if (sub.empty()) {
      key_ = std::move(rootKey);
    } else if (rootKey->CreateSubKey(sub, RegAccess::AllAccess, key_) != RegStatus::Ok) {
      Fail(lineNo, "cannot create " + path);
    }
  }

  void ValueLine(const std::string& line, std::size_t lineNo) {
    if (!key_) Fail(lineNo, "value outside a key");
    std::string name;
    std::size_t pos;
    if (line[0] == '@') {
      pos = 1;
    } else if (line[0] == '"') {
      pos = ReadQuoted(line, 0, name, lineNo);
    } else {
      Fail(lineNo, "bad value line");
    }
    while (pos < line.size() && line[pos] == ' ') ++pos;
    if (pos >= line.size() || line[pos] != '=') Fail(lineNo, "missing '='");
    ++pos;
    while (pos < line.size() && line[pos] == ' ') ++pos;
    std::string_view data = std::string_view(line).substr(pos);
    RegStatus s = RegStatus::Ok;
    if (data == "-") {
      s = key_->DeleteValue(name);
      if (s == RegStatus::NotFound) s = RegStatus::Ok;
    } else if (!data.empty() && data[0] == '"') {
      std::string value;
      ReadQuoted(line, pos, value, lineNo);
      const Bytes bytes = Utf8ToUtf16LeBytes(value);
      s = key_->SetValue(name, RegType::String, bytes);
    } else if (data.substr(0, 6) == "dword:") {
      const std::uint32_t v = HexNumber(data.substr(6), lineNo, "bad dword");
      const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(v), static_cast<std::uint8_t>(v >> 8),
                                     static_cast<std::uint8_t>(v >> 16), static_cast<std::uint8_t>(v >> 24)};
      s = key_->SetValue(name, RegType::Dword, bytes);
    } else if (data.substr(0, 4) == "hex:" || data.substr(0, 4) == "hex(") {
      std::uint32_t type = RegType::Binary;
      std::size_t colon = data.find(':');
      if (data[3] == '(') {
        const std::size_t close = data.find(')');
        if (close == std::string_view::npos || close > colon) Fail(lineNo, "bad hex type");
        type = HexNumber(data.substr(4, close - 4), lineNo, "bad hex type");
      }
      Bytes bytes = ParseHexList(data.substr(colon + 1), lineNo);
      if (!unicode_ && (type == RegType::String || type == RegType::ExpandString || type == RegType::MultiString))
        bytes = NarrowToUtf16(bytes, lineNo);
      s = key_->SetValue(name, type, bytes);
    } else {
      Fail(lineNo, "unknown data form");
    }
    if (s != RegStatus::Ok) Fail(lineNo, "cannot write value " + name);
  }

  // A file without a byte-order mark is ANSI text when a code page was given.
  bool Narrow(std::string_view bytes) const {
    return ansi_ && !(bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
                      static_cast<unsigned char>(bytes[1]) == 0xFE) &&
           bytes.substr(0, 3) != "\xEF\xBB\xBF";
  }
  std::string FromAnsi(std::string_view bytes, std::size_t lineNo) const {
    if (!ansi_) return std::string(bytes);
    auto text = ansi_->ToUtf8(bytes);
    if (!text) Fail(lineNo, "bytes outside the ANSI code page");
    return *text;
  }

  Bytes NarrowToUtf16(const Bytes& narrow, std::size_t lineNo) const {
    // Every NUL separates text, so multi-strings and embedded NULs survive.
    std::string text(narrow.begin(), narrow.end());
    Bytes out;
    std::size_t start = 0;
    while (start <= text.size()) {
      std::size_t end = text.find('\0', start);
      const bool last = end == std::string::npos;
      if (last) end = text.size();
      Bytes part = Utf8ToUtf16LeBytes(FromAnsi(std::string_view(text).substr(start, end - start), lineNo), !last);
      out.insert(out.end(), part.begin(), part.end());
      start = end + 1;
    }
    return out;
  }

  RegistryBackend& registry_;
  const AnsiCodePage* ansi_;
  std::unique_ptr<RegistryKey> key_;
  bool unicode_ = false;
};

}  // namespace

void ImportRegText(RegistryBackend& registry, std::string_view fileBytes) { Importer(registry, nullptr).Run(fileBytes); }

void ImportRegText(RegistryBackend& registry, std::string_view fileBytes, const AnsiCodePage& ansi) {
  Importer(registry, &ansi).Run(fileBytes);
}

}  // namespace lindqua
