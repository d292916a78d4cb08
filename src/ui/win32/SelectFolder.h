#pragma once
// The shell's modal folder picker, centred on the screen, with the other
// windows of the program disabled and the critical-error box of empty drives
// suppressed while it is up. Call it on a thread with COM initialised.
#include <windows.h>

#include <string>
#include <string_view>

namespace lindqua {

// True, with folder set to the chosen path, when the user picked a folder.
// A folder that does not exist when called is cleared first, even if the
// user then cancels. An empty root roots the dialog at the desktop.
bool SelectFolder(HWND owner, std::string_view caption, std::wstring_view root, std::string& folder);

}  // namespace lindqua
