#pragma once
// The two escaping steps of names and texts in a backup file. Backslashes
// are doubled first, so the backslashes that quote-escaping adds stay single.
// Both work on UTF-8 text, before it is turned into ANSI bytes: in a
// double-byte code page a trail byte can equal "\", and regedit unescapes
// after it has decoded the line.
#include <string>
#include <string_view>

namespace lindqua {

std::string EscapeBackslashes(std::string_view text);
std::string EscapeQuotes(std::string_view text);

}  // namespace lindqua
