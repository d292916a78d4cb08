#pragma once
// The main window as the settings see it when it closes, and an error sink:
// the window answers what the test set, and both remember how they were asked.
#include <array>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ErrorReporter.h"
#include "app/LoadSaveSettings.h"

namespace lindqua::test {

class FakeSettingsWindow {
 public:
  struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
  };
  WindowSize screen{1024, 768};
  std::optional<int> showCmd = 1;  // nullopt: the placement cannot be read
  Bounds bounds{160, 130, 704, 507};
  // Tree check states by image index; unset nodes leave the record as it is.
  std::vector<std::pair<int, bool>> treeChecks;

  // What the window hands over at close.
  WindowPlacement Placement() const {
    return WindowPlacement{showCmd.has_value(), showCmd.value_or(1), bounds.left, bounds.top, bounds.width,
                           bounds.height};
  }
  // What the window does to the record before it saves: the tree's checks go in.
  void ReadTreeChecks(std::array<bool, 26>& checks) {
    for (const auto& [index, checked] : treeChecks) checks[index] = checked;
  }
};

class RecordingErrors : public ErrorReporter {
 public:
  std::vector<std::string> messages;
  void ShowError(std::string_view message) override { messages.emplace_back(message); }
};

}  // namespace lindqua::test
