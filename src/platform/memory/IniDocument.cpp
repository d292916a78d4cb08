#include "platform/memory/IniDocument.h"

#include <array>

#include "platform/Text.h"

namespace lindqua {

namespace {

// The profile functions count CR, LF, tab, VT, FF, blank and ^Z (an old DOS
// end-of-file mark) as blanks; nothing beyond ASCII.
bool IsIniBlank(char16_t c) noexcept { return (c >= 0x09 && c <= 0x0D) || c == 0x1A || c == 0x20; }

std::u16string_view Trim(std::u16string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsIniBlank(text.back())) text.remove_suffix(1);
  return text;
}

std::u16string_view TrimFront(std::u16string_view text) {
  while (!text.empty() && IsIniBlank(text.front())) text.remove_prefix(1);
  return text;
}

// Stored names and values end at a NUL, as C strings do on Windows.
std::u16string UpToNul(std::u16string_view text) { return std::u16string(text.substr(0, text.find(u'\0'))); }

char16_t FoldCase(char16_t c) noexcept { return (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c; }

bool SameName(std::u16string_view a, std::u16string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

// Code points of 0x80..0x9F in Windows-1252; the five unassigned bytes map to
// the C1 control of the same number, as Windows maps them.
constexpr std::array<char16_t, 32> Cp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::u16string DecodeUtf16(std::string_view bytes, bool bigEndian) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[bigEndian ? i + 1 : i]);
    const auto hi = static_cast<unsigned char>(bytes[bigEndian ? i : i + 1]);
    out.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return out;
}

void AppendUtf16(std::string& out, std::u16string_view text, bool bigEndian) {
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF);
    const char hi = static_cast<char>(c >> 8);
    out.push_back(bigEndian ? hi : lo);
    out.push_back(bigEndian ? lo : hi);
  }
}

std::u16string Decode(std::string_view bytes, IniEncoding& encoding) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
    encoding = IniEncoding::Utf8;
    return Utf8ToUtf16(bytes.substr(3));
  }
  if (bytes.substr(0, 2) == "\xFF\xFE") {
    encoding = IniEncoding::Utf16Le;
    return DecodeUtf16(bytes.substr(2), false);
  }
  if (bytes.substr(0, 2) == "\xFE\xFF") {
    encoding = IniEncoding::Utf16Be;
    return DecodeUtf16(bytes.substr(2), true);
  }
  encoding = IniEncoding::Ansi;
  return AnsiToUtf16(bytes);
}

void ParseLine(std::u16string_view line, IniDocument& document, bool& lastNameEmpty, bool& haveLast) {
  line = Trim(line);
  if (line.empty()) return;
  if (line.front() == u'[') {
    const std::size_t close = line.rfind(u']');
    if (close != std::u16string_view::npos && close > 0) {
      document.sections.push_back({UpToNul(Trim(line.substr(1, close - 1))), {}});
      haveLast = false;
      return;
    }
  }
  std::u16string_view name = line;
  std::optional<std::u16string_view> value;
  if (const std::size_t eq = line.find(u'='); eq != std::u16string_view::npos) {
    name = Trim(line.substr(0, eq));
    value = TrimFront(line.substr(eq + 1));
  }
  // Runs of nameless lines collapse into one, as the system's reader does.
  if (name.empty() && haveLast && lastNameEmpty) return;
  IniEntry entry{UpToNul(name), std::nullopt};
  if (value) entry.value = UpToNul(*value);
  document.sections.back().entries.push_back(std::move(entry));
  haveLast = true;
  lastNameEmpty = name.empty();
}

}  // namespace

std::u16string AnsiToUtf16(std::string_view bytes) {
  std::u16string out;
  out.reserve(bytes.size());
  for (char b : bytes) {
    const auto c = static_cast<unsigned char>(b);
    out.push_back(c >= 0x80 && c < 0xA0 ? Cp1252High[c - 0x80] : static_cast<char16_t>(c));
  }
  return out;
}

std::string Utf16ToAnsi(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
      out.push_back(static_cast<char>(c));
      continue;
    }
    char mapped = '?';
    for (std::size_t k = 0; k < Cp1252High.size(); ++k)
      if (Cp1252High[k] == c) mapped = static_cast<char>(0x80 + k);
    // A surrogate pair is one character and becomes one "?".
    if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000) ++i;
    out.push_back(mapped);
  }
  return out;
}

IniDocument ParseIniDocument(std::string_view bytes) {
  IniDocument document;
  if (bytes.empty()) return document;
  const std::u16string text = Decode(bytes, document.encoding);
  document.sections.push_back({u"", {}});
  bool lastNameEmpty = false;
  bool haveLast = false;
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t end = text.find_first_of(u"\r\n", pos);
    const std::size_t lineEnd = end == std::u16string::npos ? text.size() : end;
    ParseLine(std::u16string_view(text).substr(pos, lineEnd - pos), document, lastNameEmpty, haveLast);
    pos = lineEnd;
    while (pos < text.size() && (text[pos] == u'\r' || text[pos] == u'\n')) ++pos;
  }
  return document;
}

std::string SerializeIniDocument(const IniDocument& document) {
  std::u16string text;
  for (const auto& section : document.sections) {
    if (!section.name.empty()) text += u"[" + section.name + u"]\r\n";
    for (const auto& entry : section.entries) {
      text += entry.name;
      if (entry.value) text += u"=" + *entry.value;
      text += u"\r\n";
    }
  }
  std::string out;
  switch (document.encoding) {
    case IniEncoding::Ansi:
      return Utf16ToAnsi(text);
    case IniEncoding::Utf8:
      return "\xEF\xBB\xBF" + Utf16ToUtf8(text);
    case IniEncoding::Utf16Le:
      out = "\xFF\xFE";
      AppendUtf16(out, text, false);
      return out;
    case IniEncoding::Utf16Be:
      out = "\xFE\xFF";
      AppendUtf16(out, text, true);
      return out;
  }
  return out;
}

const IniEntry* FindIniEntry(const IniDocument& document, std::u16string_view section, std::u16string_view key) {
  section = Trim(section);
  key = Trim(key);
  for (const auto& s : document.sections) {
    if (!SameName(s.name, section)) continue;
    for (const auto& entry : s.entries)
      if (SameName(entry.name, key)) return &entry;
    return nullptr;  // only the first section of a name counts
  }
  return nullptr;
}

bool SetIniEntry(IniDocument& document, std::u16string_view section, std::u16string_view key,
                 std::u16string_view value) {
  // New names keep blanks at their end, as the system's functions store them.
  const std::u16string newSection = UpToNul(TrimFront(section));
  const std::u16string newKey = UpToNul(TrimFront(key));
  const std::u16string newValue = UpToNul(TrimFront(value));
  section = Trim(section);
  key = Trim(key);
  IniEntry* target = nullptr;
  for (auto& s : document.sections) {
    if (!SameName(s.name, section)) continue;
    for (auto& entry : s.entries)
      if (SameName(entry.name, key)) {
        target = &entry;
        break;
      }
    if (!target) target = &s.entries.emplace_back(IniEntry{newKey, std::nullopt});
    break;
  }
  if (!target) {
    if (document.sections.empty()) document.sections.push_back({u"", {}});
    target = &document.sections.emplace_back(IniSection{newSection, {}}).entries.emplace_back(
        IniEntry{newKey, std::nullopt});
  }
  if (target->value == newValue) return false;
  target->value = newValue;
  return true;
}

std::u16string IniReadResult(std::u16string_view stored, std::size_t maxChars) {
  stored = stored.substr(0, stored.find(u'\0'));
  bool quoted = false;
  if (stored.size() >= 2 && (stored.front() == u'"' || stored.front() == u'\'') && stored.back() == stored.front()) {
    quoted = true;
    stored.remove_prefix(1);
  }
  std::u16string out(stored.substr(0, maxChars));
  // The closing quote goes only when it fitted into the reader's buffer.
  if (quoted && maxChars + 1 >= stored.size() && !out.empty()) out.pop_back();
  return out;
}

}  // namespace lindqua
