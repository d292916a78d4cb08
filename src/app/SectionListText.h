#pragma once
// The section list a user types on the command line: numbers and ranges of
// scan sections separated by commas, such as "3-6,8".
#include <string>
#include <string_view>
#include <vector>

namespace lindqua {

// Fills `sections` in the order written, each section once (the first time it
// is named). False, with a one-line reason in `error`, for an empty list, an
// empty item, anything that is not a number or a range, a reversed range or a
// number outside 3..25; `sections` is then left empty.
[[nodiscard]] bool ParseSectionList(std::string_view text, std::vector<int>& sections, std::string& error);

}  // namespace lindqua
