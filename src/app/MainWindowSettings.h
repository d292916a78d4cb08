#pragma once
// How the main window reaches the settings file: once at creation (Load) and
// once at close (Save, with the window's placement; the tree's check states
// are already in NodeSelected by then). The settings layer implements it.
#include "app/MainView.h"
#include "app/OptionsSetting.h"

namespace lindqua {

class MainWindowSettings {
 public:
  virtual ~MainWindowSettings() = default;
  virtual void Load(TOptionsSetting& options) = 0;
  virtual void Save(const TOptionsSetting& options, const WindowPlacement& placement) = 0;
};

}  // namespace lindqua
