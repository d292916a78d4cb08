#pragma once
// The two forms in which the console program hands over scan findings.
#include <string>
#include <string_view>
#include <vector>

#include "engine/Finding.h"

namespace lindqua {

inline constexpr char ReportColumnSeparator[] = "  ^^^  ";

// Registry text on one line of console output: every control character
// (below U+0020, and DEL) is written as <0xNN>, so that data holding a line
// break can neither split its line nor start one that reads like another.
std::string OneLineText(std::string_view text);

// One line per row, as the text report writes it: problem, data and key joined
// by "  ^^^  ", each line ending in CR LF, control characters as OneLineText
// writes them. The reason is not written, so the line format stays the report's.
std::string FormatFindingsText(const std::vector<Finding>& rows);

// "section":5,"problem":"...","data":"...","key":"...","tag":1,"reason":"..."
// without braces, for the objects that describe one finding.
void AppendFindingJsonFields(std::string& out, const Finding& row);

// {"findings":[{"section":5,"problem":"...","data":"...","key":"...","tag":1,"reason":"..."},...]}
// followed by CR LF; always valid UTF-8 JSON, whatever the rows hold.
std::string FormatFindingsJson(const std::vector<Finding>& rows);

}  // namespace lindqua
