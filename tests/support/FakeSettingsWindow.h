#pragma once
// A main window and an error sink for the settings tests: the window answers
// what the test set, and both remember how they were asked.
#include <string>
#include <vector>

#include "app/ErrorReporter.h"
#include "app/SettingsWindow.h"

namespace lindqua::test {

class FakeSettingsWindow : public SettingsWindow {
 public:
  WindowSize size{704, 507};
  WindowSize screen{1024, 768};
  std::optional<std::int32_t> showCmd = 1;
  WindowBounds bounds{160, 130, 704, 507};
  // Tree check states by image index; unset nodes leave the record as it is.
  std::vector<std::pair<int, bool>> treeChecks;
  int treeReads = 0;

  WindowSize SizeAtLoad() override { return size; }
  WindowSize ScreenSize() override { return screen; }
  std::optional<std::int32_t> PlacementShowCmd() override { return showCmd; }
  WindowBounds CurrentBounds() override { return bounds; }
  void ReadTreeChecks(std::array<bool, 26>& checks) override {
    ++treeReads;
    for (const auto& [index, checked] : treeChecks) checks[index] = checked;
  }
};

class RecordingErrors : public ErrorReporter {
 public:
  std::vector<std::string> messages;
  void ShowError(std::string_view message) override { messages.emplace_back(message); }
};

}  // namespace lindqua::test
