#pragma once
// "Create System Point": waits for the restore-point worker with a progress
// bar, and asks whether to go on when the request failed.
#include <windows.h>

#include "platform/RestorePointClient.h"

namespace lindqua {

// True when the fix may go on: the point was made, or the user chose to
// continue without it. The client must live as long as the process.
bool RunSystemPointDialog(HWND owner, RestorePointClient& client);

}  // namespace lindqua
