#pragma once
// What the settings file needs from the main window, and nothing more: the
// sizes behind the defaults of a first start, and, when saving, the window's
// placement and the check states of its section tree. The main window
// implements it; tests plug in a fake.
#include <array>
#include <cstdint>
#include <optional>

namespace lindqua {

struct WindowSize {
  std::int32_t width = 0;
  std::int32_t height = 0;
};

struct WindowBounds {
  std::int32_t left = 0;
  std::int32_t top = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

class SettingsWindow {
 public:
  virtual ~SettingsWindow() = default;
  // The window's size while it is being created (its design size) and the
  // size of the primary screen; a first start centres the window with them.
  virtual WindowSize SizeAtLoad() = 0;
  virtual WindowSize ScreenSize() = 0;
  // The show command of the window's placement (1 normal, 2 minimized,
  // 3 maximized); nullopt when the placement cannot be read.
  virtual std::optional<std::int32_t> PlacementShowCmd() = 0;
  // The window's current bounds (while maximized, the maximized bounds).
  virtual WindowBounds CurrentBounds() = 0;
  // Sets entry i of checks, for every node of the section tree by image
  // index, to whether the node shows the checked state; other entries stay.
  virtual void ReadTreeChecks(std::array<bool, 26>& checks) = 0;
};

}  // namespace lindqua
