#pragma once
// JSON string literals from registry text, which may hold any character,
// control characters and bytes that are not UTF-8 included.
#include <string>
#include <string_view>

namespace lindqua {

// Appends `text` as a quoted JSON string. Quotes, backslashes and control
// characters are escaped; a byte that does not start a well-formed UTF-8
// sequence becomes U+FFFD, so the result is valid UTF-8 and valid JSON.
void AppendJsonString(std::string& out, std::string_view text);

}  // namespace lindqua
