#include "app/FindingsOutput.h"

#include "app/JsonText.h"

namespace lindqua {

std::string FormatFindingsText(const std::vector<Finding>& rows) {
  std::string out;
  for (const Finding& row : rows) {
    out += row.caption;
    out += ReportColumnSeparator;
    out += row.shownText;
    out += ReportColumnSeparator;
    out += row.location;
    out += "\r\n";
  }
  return out;
}

std::string FormatFindingsJson(const std::vector<Finding>& rows) {
  std::string out = "{\"findings\":[";
  bool first = true;
  for (const Finding& row : rows) {
    if (!first) out += ',';
    first = false;
    out += "{\"section\":" + std::to_string(row.section) + ",\"problem\":";
    AppendJsonString(out, row.caption);
    out += ",\"data\":";
    AppendJsonString(out, row.shownText);
    out += ",\"key\":";
    AppendJsonString(out, row.location);
    out += ",\"tag\":" + std::to_string(row.tag) + ",\"reason\":";
    AppendJsonString(out, row.reason);
    out += '}';
  }
  out += "]}\r\n";
  return out;
}

}  // namespace lindqua
