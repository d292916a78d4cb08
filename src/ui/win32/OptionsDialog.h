#pragma once
// "&Settings...": the options dialog. It changes the settings record in
// memory only, and only on an OK with an existing backup folder.
#include <windows.h>

#include "app/OptionsSetting.h"
#include "platform/FileSystem.h"

namespace lindqua {

// IDOK when the settings were stored, IDCANCEL otherwise.
INT_PTR ShowOptionsDialog(HWND owner, FileSystem& files, TOptionsSetting& options);

}  // namespace lindqua
