#pragma once
// "Settings.ini" and the main window's settings: read once while the window
// is created, written once while it closes. The entries are read in
// ReadSettings and written in WriteSettings, one line each.
#include <cstdint>
#include <functional>
#include <string>

#include "app/ErrorReporter.h"
#include "app/MainLayout.h"
#include "app/MainView.h"
#include "app/OptionsSetting.h"
#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace lindqua {

struct WindowSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

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

// Every entry of the record from the file; a missing or unreadable entry
// takes its default. Never writes.
void ReadSettings(IniFile& ini, const SettingsDefaults& defaults, TOptionsSetting& options);

// Writes every entry of the record, with the window's placement at close
// ("State" only when the placement was read), entry by entry into `ini`.
// False at the first refused write, which ends it.
[[nodiscard]] bool WriteSettings(IniFile& ini, const TOptionsSetting& options, const WindowPlacement& placement);

// How the main window reaches its settings: once at creation (Load) and once
// at close (Save, with the window's placement; the tree's check states are in
// NodeSelected by then). Save answers false when the file was left as it was.
class MainWindowSettings {
 public:
  virtual ~MainWindowSettings() = default;
  virtual void Load(TOptionsSetting& options) = 0;
  [[nodiscard]] virtual bool Save(const TOptionsSetting& options, const WindowPlacement& placement) = 0;
};

// The settings file, located afresh on every call (see SettingsFile.h).
class SettingsFileStore final : public MainWindowSettings {
 public:
  // `screenSize` gives the primary screen's size for the defaults of a first
  // start; without it the design size stands in.
  // With `ansi`, a save whose texts the ANSI code page cannot hold writes the
  // file in UTF-16, so that no character is changed; without it the file
  // keeps its encoding.
  SettingsFileStore(FileSystem& files, IniFiles& ini, std::string programFolder, ErrorReporter& errors,
                    std::function<WindowSize()> screenSize, const AnsiCodePage* ansi = nullptr);

  // Missing entries take their defaults; a load never fails.
  void Load(TOptionsSetting& options) override;
  // Writes the whole new file beside the old one and then puts it in the old
  // one's place in one step, so the file holds either the old settings or the
  // new ones. Entries the program does not own stay. A refused save reports
  // "Unable to write to <path>" and leaves no other file behind.
  [[nodiscard]] bool Save(const TOptionsSetting& options, const WindowPlacement& placement) override;

 private:
  FileSystem& files_;
  IniFiles& ini_;
  std::string programFolder_;
  ErrorReporter& errors_;
  std::function<WindowSize()> screenSize_;
  const AnsiCodePage* ansi_;
};

}  // namespace lindqua
