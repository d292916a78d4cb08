#pragma once
// The settings a console command works with, and what it makes of them.
#include <string>

#include "app/CliArguments.h"
#include "app/CliProgram.h"

namespace lindqua {

// The named settings file must exist and be readable: a typing error in a
// script must not silently clean with the defaults. Empty when it is fine,
// otherwise the message for the usage error.
std::string CheckSettingsFile(const CliRequest& request, CliHost& host);

TOptionsSetting LoadCliSettings(const CliRequest& request, CliHost& host);

// The backup folder of the settings; a relative one is taken relative to the
// program's folder, as the window takes it, not to the current folder.
std::string BackupFolderFor(const TOptionsSetting& settings, const CliHost& host);

}  // namespace lindqua
