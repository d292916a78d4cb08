#pragma once
// Reads "Settings.ini" into the settings record and writes it back: once
// while the main window is created, once while it closes.
#include <string>

#include "app/ErrorReporter.h"
#include "app/MainLayout.h"
#include "app/OptionsSetting.h"
#include "app/SettingsWindow.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace lindqua {

// The main window's design size, the size a first start opens it at.
inline constexpr WindowSize MainWindowDesignSize{MainDesignWidth, MainDesignHeight};

// A "Count" beyond this is read as this many entries: a damaged file must not
// make the start-up read (and the close write) billions of entries.
inline constexpr std::int32_t MaxIgnoreKeys = 1000;

// What the defaults of a missing entry depend on.
struct SettingsDefaults {
  std::string programFolder;  // with a trailing backslash
  WindowSize windowSize = MainWindowDesignSize;
  WindowSize screenSize = MainWindowDesignSize;
};

struct SettingsHost {
  FileSystem& files;
  IniFiles& ini;
  std::string programFolder;  // the running program's folder (a missing trailing backslash is added)
  SettingsWindow& window;
  ErrorReporter& errors;
};

// Every entry of the record from the file; a missing or unreadable entry
// takes its default. Never writes.
void ReadSettings(IniFile& ini, const SettingsDefaults& defaults, TOptionsSetting& options);

// Writes the record, with the window's placement and tree checks, entry by
// entry. A refused write stops the save there, reports "Unable to write to
// <path>" and answers false; what was written stays, the rest keeps its old value.
[[nodiscard]] bool WriteSettings(IniFile& ini, SettingsWindow& window, TOptionsSetting& options, ErrorReporter& errors);

// Load = true reads the settings file into options, Load = false writes options
// to it; the file is located afresh each time (see SettingsFile.h). Answers
// false only when a save was refused.
[[nodiscard]] bool LoadSaveSettings(bool Load, SettingsHost& host, TOptionsSetting& options = OptionsSetting);

}  // namespace lindqua
