#pragma once
// The system's own words for an error code, for messages that must say why.
#include <windows.h>

#include <string>

namespace lindqua {

// "error 112: There is not enough space on the disk." (UTF-8, one line).
std::string SystemErrorText(DWORD code);

}  // namespace lindqua
