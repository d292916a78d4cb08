#pragma once
// "&About...": the about box with the program's version and its mail and web
// links, opened through the shell.
#include <windows.h>

#include "platform/ProcessRunner.h"

namespace lindqua {

void ShowAboutBox(HWND owner, ProcessRunner& shell);

}  // namespace lindqua
