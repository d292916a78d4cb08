#include <charconv>

#include "platform/IniFile.h"

namespace lindqua {

bool ParseIniInteger(std::string_view text, std::int32_t& value) noexcept {
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  // from_chars takes a '-' itself but would also accept "+-5" after the strip above.
  if (text.empty() || text.front() == '+' || (text.front() == '-' && text.size() == 1)) return false;
  std::int32_t parsed = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), parsed, 10);
  if (error != std::errc() || end != text.data() + text.size()) return false;
  value = parsed;
  return true;
}

std::int32_t ReadIniInteger(IniFile& file, std::string_view section, std::string_view key, std::int32_t defaultValue) {
  std::int32_t value = 0;
  return ParseIniInteger(file.ReadString(section, key, ""), value) ? value : defaultValue;
}

bool ReadIniBool(IniFile& file, std::string_view section, std::string_view key, bool defaultValue) {
  return ReadIniInteger(file, section, key, defaultValue ? 1 : 0) != 0;
}

bool WriteIniInteger(IniFile& file, std::string_view section, std::string_view key, std::int32_t value) {
  return file.WriteString(section, key, std::to_string(value));
}

bool WriteIniBool(IniFile& file, std::string_view section, std::string_view key, bool value) {
  return file.WriteString(section, key, value ? "1" : "0");
}

}  // namespace lindqua
