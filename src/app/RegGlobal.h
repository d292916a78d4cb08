#pragma once
// Small helpers that every part of the program calls. The folder picker is
// a Win32 dialog and lives with the windows (ui/win32/SelectFolder.h).
#include <string>
#include <string_view>

#include "engine/Rot13.h"
#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"
#include "platform/Text.h"

namespace lindqua {

// The user's application-data folder with a trailing backslash; "" when the
// system has none.
std::string GetSettingsBaseFolder(FileSystem& files);

// TwoDigits is with the text helpers (platform/Text.h): the backup file name uses it too.

// Deletes a file, or a folder with everything in it, permanently and
// without asking; true on success.
bool DeletePath(FileSystem& files, std::string_view path);

// Writes one string value under HKEY_CURRENT_USER, creating missing keys.
// Failures are silent: the callers have nothing better to do.
void WriteUserRegString(RegistryBackend& registry, std::string_view keyPath, std::string_view valueName,
                        std::string_view value) noexcept;

}  // namespace lindqua
