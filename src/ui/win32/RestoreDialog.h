#pragma once
// "&Restore Registry...": the window that lists the backup files of a folder
// and restores or deletes them.
#include <windows.h>

#include <string>

#include "platform/FileSystem.h"
#include "platform/ProcessRunner.h"
#include "platform/SystemFacts.h"

namespace lindqua {

// Shows the restore window modally over the backup folder; the folder picker
// needs COM initialised on the calling thread.
void ShowRestoreWindow(HWND owner, FileSystem& files, SystemFacts& facts, ProcessRunner& processes,
                       const std::string& backupFolder);

}  // namespace lindqua
