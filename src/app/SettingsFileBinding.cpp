#include "app/SettingsFileBinding.h"

namespace lindqua {

namespace {

// What the file layer asks of the window, answered from what the main window
// handed over: its placement at close and the tree states in the record.
class HandedOverWindow : public SettingsWindow {
 public:
  HandedOverWindow(WindowSize screen, const WindowPlacement* placement, const TOptionsSetting* options)
      : screen_(screen), placement_(placement), options_(options) {}

  WindowSize SizeAtLoad() override { return MainWindowDesignSize; }
  WindowSize ScreenSize() override { return screen_; }
  std::optional<std::int32_t> PlacementShowCmd() override {
    if (!placement_ || !placement_->placementRead) return std::nullopt;
    return placement_->showCmd;
  }
  WindowBounds CurrentBounds() override {
    if (!placement_) return {};
    return WindowBounds{placement_->left, placement_->top, placement_->width, placement_->height};
  }
  void ReadTreeChecks(std::array<bool, 26>& checks) override {
    if (options_) checks = options_->NodeSelected;
  }

 private:
  WindowSize screen_;
  const WindowPlacement* placement_;
  const TOptionsSetting* options_;
};

}  // namespace

SettingsFileBinding::SettingsFileBinding(FileSystem& files, IniFiles& ini, std::string programFolder,
                                         ErrorReporter& errors, std::function<WindowSize()> screenSize)
    : files_(files),
      ini_(ini),
      programFolder_(std::move(programFolder)),
      errors_(errors),
      screenSize_(std::move(screenSize)) {}

void SettingsFileBinding::Load(TOptionsSetting& options) {
  HandedOverWindow window(screenSize_ ? screenSize_() : MainWindowDesignSize, nullptr, nullptr);
  SettingsHost host{files_, ini_, programFolder_, window, errors_};
  (void)LoadSaveSettings(true, host, options);  // a load never fails; missing entries take defaults
}

void SettingsFileBinding::Save(const TOptionsSetting& options, const WindowPlacement& placement) {
  TOptionsSetting copy = options;
  HandedOverWindow window(screenSize_ ? screenSize_() : MainWindowDesignSize, &placement, &options);
  SettingsHost host{files_, ini_, programFolder_, window, errors_};
  // A refused save has already told the user through the error reporter.
  (void)LoadSaveSettings(false, host, copy);
}

}  // namespace lindqua
