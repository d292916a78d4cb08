#pragma once
// A finding's reason as one line of text. Reasons quote registry data, which
// may hold line breaks and other control characters; shown on one line (the
// details area, an info tip, a line of console output) such a character would
// break the line or start a new one that looks like the program's own.
#include <string>
#include <string_view>

namespace lindqua {

// Every control character (below U+0020, and DEL) becomes a blank; all other
// bytes are kept as they are.
std::string ReasonLine(std::string_view reason);

}  // namespace lindqua
