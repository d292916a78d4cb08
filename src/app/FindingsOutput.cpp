#include "app/FindingsOutput.h"

#include "app/JsonText.h"

namespace lindqua {

std::string OneLineText(std::string_view text) {
  static constexpr char Digits[] = "0123456789ABCDEF";
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte != 0x7F) {
      out.push_back(c);
      continue;
    }
    out += "<0x";
    out.push_back(Digits[byte >> 4]);
    out.push_back(Digits[byte & 0xF]);
    out.push_back('>');
  }
  return out;
}

std::string FormatFindingsText(const std::vector<Finding>& rows) {
  std::string out;
  for (const Finding& row : rows) {
    out += OneLineText(row.caption);
    out += ReportColumnSeparator;
    out += OneLineText(row.shownText);
    out += ReportColumnSeparator;
    out += OneLineText(row.location);
    out += "\r\n";
  }
  return out;
}

void AppendFindingJsonFields(std::string& out, const Finding& row) {
  out += "\"section\":" + std::to_string(row.section) + ",\"problem\":";
  AppendJsonString(out, row.caption);
  out += ",\"data\":";
  AppendJsonString(out, row.shownText);
  out += ",\"key\":";
  AppendJsonString(out, row.location);
  out += ",\"tag\":" + std::to_string(row.tag) + ",\"reason\":";
  AppendJsonString(out, row.reason);
}

std::string FormatFindingsJson(const std::vector<Finding>& rows) {
  std::string out = "{\"findings\":[";
  bool first = true;
  for (const Finding& row : rows) {
    if (!first) out += ',';
    first = false;
    out += '{';
    AppendFindingJsonFields(out, row);
    out += '}';
  }
  out += "]}\r\n";
  return out;
}

}  // namespace lindqua
