#pragma once
// Where "Settings.ini" lives: "Vantorel\Lindqua\" under the user's
// application-data folder, or the program's folder when that cannot be made.
// A "Settings.ini" beside the program seeds the per-user file on first use.
#include <string>
#include <string_view>

#include "platform/FileSystem.h"

namespace lindqua {

inline constexpr std::string_view SettingsFileName = "Settings.ini";
inline constexpr std::string_view SettingsSubFolder = "Vantorel\\Lindqua\\";
// A save writes the new file under the file's name with this added, beside it.
inline constexpr std::string_view SettingsSavingSuffix = ".saving";

// The program's folder as the settings code uses it: with one trailing backslash.
std::string AsFolder(std::string_view folder);

// The settings file for loading and saving, found afresh on every call:
// creates the per-user folder when missing and copies the seed file into it
// when the per-user file is missing.
std::string LocateSettingsFile(FileSystem& files, std::string_view programFolder);

// The same file for a reader that must change nothing: the per-user file when
// it exists, else the seed beside the program when that exists, else the
// per-user path (which then reads as all defaults). Creates and copies nothing.
std::string FindSettingsFileReadOnly(FileSystem& files, std::string_view programFolder);

}  // namespace lindqua
