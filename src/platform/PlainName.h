#pragma once
// Names that Windows looks up exactly as written in their folder, so that a
// path made of them lies inside the folders its text names.
#include <string_view>

namespace lindqua {

// Windows maps these names to devices in any folder, with any extension.
// Takes the name upper-cased.
bool IsDeviceName(std::string_view upperName) noexcept;

// No separators or streams, no trailing dots or blanks it would strip, no
// "." or "..", no device. Takes the name upper-cased.
bool IsPlainName(std::string_view upperName) noexcept;

// Windows looks the name up in its folder, perhaps without the trailing dots
// and blanks it strips: the name is plain once they are gone (so "." and
// ".." are not). Whatever it resolves to, it lies in that folder.
bool StaysInFolder(std::string_view upperName) noexcept;

}  // namespace lindqua
