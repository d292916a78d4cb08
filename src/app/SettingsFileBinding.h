#pragma once
// Connects the main window's settings interface to the settings file: the
// window hands over its placement at close, the file layer asks for it
// through its own small window interface.
#include <functional>

#include "app/LoadSaveSettings.h"
#include "app/MainWindowSettings.h"

namespace lindqua {

class SettingsFileBinding : public MainWindowSettings {
 public:
  SettingsFileBinding(FileSystem& files, IniFiles& ini, std::string programFolder, ErrorReporter& errors,
                      std::function<WindowSize()> screenSize);

  void Load(TOptionsSetting& options) override;
  void Save(const TOptionsSetting& options, const WindowPlacement& placement) override;

 private:
  FileSystem& files_;
  IniFiles& ini_;
  std::string programFolder_;
  ErrorReporter& errors_;
  std::function<WindowSize()> screenSize_;
};

}  // namespace lindqua
