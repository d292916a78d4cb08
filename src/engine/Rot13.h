#pragma once
// Some programs store their history value names rotated by 13 letters; the
// history rows show the plain name and the fix turns it back.
#include <string>
#include <string_view>

namespace lindqua {

// Rotates every ASCII letter by 13 places; everything else stays.
std::string Rot13(std::string_view text);

}  // namespace lindqua
