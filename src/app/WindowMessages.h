#pragma once
// The program's own window messages. They form one block, 0x2410 to 0x2414:
// above WM_USER (0x0400), where a window class defines its private messages,
// and fixed for good, because a second copy of the program posts
// MSG_SHOW_INSTANCE by number to the window of a copy of another version.
// The scan's two messages sit at the end of the block and live with the
// engine's notifier (engine/ScanNotifier.h); these belong to the windows.
#include "engine/ScanNotifier.h"

namespace lindqua {

inline constexpr unsigned MSG_SHOW_INSTANCE = 0x2410;       // bring the running copy to the front
inline constexpr unsigned MSG_CLEAN_ONCE = 0x2411;          // start the unattended scan and fix
inline constexpr unsigned MSG_RESTORE_POINT_DONE = 0x2412;  // lParam 0 created, 1 failed

}  // namespace lindqua
