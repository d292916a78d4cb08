#include "repair/RegExportText.h"

#include "repair/RegEscape.h"

namespace lindqua {

namespace {

constexpr std::string_view LineEnd = "\r\n";
constexpr char HexDigits[] = "0123456789ABCDEF";

bool HoldsLineBreakOrNul(std::string_view text) {
  return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

std::u16string Utf16Units(const Bytes& data) {
  std::u16string units;
  units.reserve(data.size() / 2);
  for (std::size_t i = 0; i + 1 < data.size(); i += 2)
    units.push_back(static_cast<char16_t>(data[i] | (data[i + 1] << 8)));
  return units;
}

std::string LowerHex(std::uint32_t number) {
  std::string digits;
  do {
    digits.insert(digits.begin(), static_cast<char>(AsciiLower(HexDigits[number & 0xF])));
    number >>= 4;
  } while (number != 0);
  return digits;
}

std::string TypedHex(std::uint32_t type, std::string_view bytes) {
  return "hex(" + LowerHex(type) + "):" + HexByteList(bytes);
}

std::string_view AsChars(const Bytes& data) {
  return {reinterpret_cast<const char*>(data.data()), data.size()};
}

// Text types go through the ANSI code page both ways: regedit turns the bytes
// of hex(1), hex(2) and hex(7) back into UTF-16 with it, and adds one NUL
// when the bytes do not end with one.
std::optional<std::string> TextData(const RegValue& value, const AnsiCodePage& ansi, RenderProblem& problem) {
  if (value.data.size() % 2 != 0) {
    problem.what = "text data of odd length";
    return std::nullopt;
  }
  std::u16string units = Utf16Units(value.data);
  if (value.type == RegType::String) {
    std::u16string_view text(units);
    if (!text.empty() && text.back() == u'\0') text.remove_suffix(1);
    const std::string utf8 = Utf16ToUtf8(text);
    // The quoted form always comes back with one terminator, and it cannot
    // carry a line break, a NUL, or the absence of any data at all.
    if (!value.data.empty() && !HoldsLineBreakOrNul(utf8)) {
      const auto quoted = ansi.FromUtf8(EscapeQuotes(EscapeBackslashes(utf8)));
      if (!quoted) {
        problem.what = "text outside the ANSI code page";
        return std::nullopt;
      }
      return "\"" + *quoted + "\"";
    }
  }
  const auto bytes = ansi.FromUtf8(Utf16ToUtf8(units));
  if (!bytes) {
    problem.what = "text outside the ANSI code page";
    return std::nullopt;
  }
  return TypedHex(value.type, *bytes);
}

std::optional<std::string> NamePart(std::string_view name, const AnsiCodePage& ansi, RenderProblem& problem) {
  if (name.empty()) return std::string("@");
  if (HoldsLineBreakOrNul(name)) {
    problem.what = "value name holding a line break";
    return std::nullopt;
  }
  const auto escaped = ansi.FromUtf8(EscapeQuotes(EscapeBackslashes(name)));
  if (!escaped) {
    problem.what = "value name outside the ANSI code page";
    return std::nullopt;
  }
  return "\"" + *escaped + "\"";
}

std::optional<std::string> KeyLine(std::string_view path, RootKey root, const AnsiCodePage& ansi,
                                   RenderProblem& problem) {
  if (HoldsLineBreakOrNul(path)) {
    problem.what = "key name holding a line break";
    return std::nullopt;
  }
  if (!path.empty() && (path.front() == '\\' || path.back() == '\\' || path.find("\\\\") != std::string_view::npos)) {
    problem.what = "key path with an empty name";
    return std::nullopt;
  }
  const auto bytes = ansi.FromUtf8(path);
  if (!bytes) {
    problem.what = "key name outside the ANSI code page";
    return std::nullopt;
  }
  // A key directly under a root gets one backslash: regedit refuses two.
  std::string line = "[" + std::string(RootKeyName(root));
  if (!bytes->empty()) line += "\\" + *bytes;
  return line + "]";
}

}  // namespace

std::string HexByteList(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size() * 3 + bytes.size() / 25 * 3);
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    out.push_back(HexDigits[byte >> 4]);
    out.push_back(HexDigits[byte & 0xF]);
    if (i + 1 == bytes.size()) break;
    out.push_back(',');
    if (i > 0 && i % 25 == 0) {
      out.push_back('\\');
      out += LineEnd;
    }
  }
  return out;
}

std::optional<std::string> RenderValueData(const RegValue& value, const AnsiCodePage& ansi, RenderProblem& problem) {
  switch (value.type) {
    case RegType::String:
    case RegType::ExpandString:
    case RegType::MultiString:
      return TextData(value, ansi, problem);
    case RegType::Dword:
      if (value.data.size() == 4) {
        const std::uint32_t number = value.data[0] | (value.data[1] << 8) | (value.data[2] << 16) |
                                     (static_cast<std::uint32_t>(value.data[3]) << 24);
        std::string text = "dword:";
        for (int shift = 28; shift >= 0; shift -= 4) text.push_back(HexDigits[(number >> shift) & 0xF]);
        return text;
      }
      return TypedHex(value.type, AsChars(value.data));
    case RegType::Binary:
      return "hex:" + HexByteList(AsChars(value.data));
    default:
      return TypedHex(value.type, AsChars(value.data));
  }
}

std::optional<std::string> RenderValueLine(const RegValueEntry& entry, const AnsiCodePage& ansi,
                                           RenderProblem& problem) {
  auto name = NamePart(entry.name, ansi, problem);
  if (!name) return std::nullopt;
  auto data = RenderValueData(entry.value, ansi, problem);
  if (!data) return std::nullopt;
  return *name + "=" + *data + std::string(LineEnd);
}

bool WriteKeyBlock(const RegKeySnapshot& key, RootKey root, const AnsiCodePage& ansi, std::string& out,
                   RenderProblem& problem) {
  const auto keyLine = KeyLine(key.path, root, ansi, problem);
  if (!keyLine) {
    problem.what += ": " + key.path;
    return false;
  }
  out += LineEnd;
  out += *keyLine;
  out += LineEnd;
  for (const auto& entry : key.values) {
    const auto line = RenderValueLine(entry, ansi, problem);
    if (!line) {
      problem.what += ": " + key.path + " " + entry.name;
      return false;
    }
    out += *line;
  }
  for (const auto& sub : key.subKeys)
    if (!WriteKeyBlock(sub, root, ansi, out, problem)) return false;
  return true;
}

}  // namespace lindqua
