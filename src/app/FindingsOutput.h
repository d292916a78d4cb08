#pragma once
// The two forms in which the console program hands over scan findings.
#include <string>
#include <vector>

#include "engine/Finding.h"

namespace lindqua {

inline constexpr char ReportColumnSeparator[] = "  ^^^  ";

// One line per row, as the text report writes it: problem, data and key joined
// by "  ^^^  ", each line ending in CR LF. Texts are written as they are; the
// reason is not written, so the report's line format stays as it always was.
std::string FormatFindingsText(const std::vector<Finding>& rows);

// {"findings":[{"section":5,"problem":"...","data":"...","key":"...","tag":1,"reason":"..."},...]}
// followed by CR LF; always valid UTF-8 JSON, whatever the rows hold.
std::string FormatFindingsJson(const std::vector<Finding>& rows);

}  // namespace lindqua
