#pragma once
// A main window without a window: records what the presenter shows and keeps
// the scan's posted messages in a queue that the test pumps, as the Win32
// message loop would.
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "app/MainPresenter.h"
#include "app/MainView.h"
#include "app/LoadSaveSettings.h"
#include "app/WindowMessages.h"

namespace lindqua::test {

class FakeMainView : public MainView {
 public:
  void SetStatusLine(const std::string& text) override { statusLine = text; }
  void SetScanButtonCaption(const std::string& text) override { scanCaption = text; }
  void SetScanTitle(const std::string& text, bool visible) override { scanTitle = {text, visible}; }
  void SetDetailLine(const std::string& text, bool visible) override { detail = {text, visible}; }
  void SetProgressVisible(bool visible) override { progressVisible = visible; }
  void SetProgressPosition(int position) override { progressPosition = position; }
  void SetProgressCaption(const std::string& text, bool visible) override {
    progressCaption = {text, visible};
    if (visible) captionsShown.push_back(text);
  }
  void SetProgressTimer(bool enabled) override { timerOn = enabled; }
  void SetNodeState(int imageIndex, int state) override { nodeStates[imageIndex] = state; }
  void SetRowCount(std::size_t count, bool) override {
    rowCount = count;
    ++rowCountUpdates;
  }
  int SelectedRow() override { return selectedRow; }
  int FocusedRow() override { return focusedRow < static_cast<int>(rowCount) ? focusedRow : -1; }
  void SetReasonLine(const std::string& text) override { reasonLine = text; }
  int ListWidth() override { return listWidth; }
  void SetColumnWidths(int problem, int data, int key) override { columnWidths = {problem, data, key}; }
  void FitColumnsToText() override { columnWidths = {-1, -1, -1}; }
  int ShowMessage(const std::string& text, unsigned flags) override {
    messages.emplace_back(text, flags);
    return messageAnswer;
  }
  void ApplyBounds(int left, int top, int width, int height) override { bounds = {left, top, width, height}; }
  void Maximize() override { maximized = true; }
  WindowPlacement Placement() override { return placement; }
  void PostCleanOnce() override { Post(MSG_CLEAN_ONCE, 0); }
  void HideForUnattended() override { hidden = true; }
  void CloseWindow() override { ++closeRequests; }
  void PostScanMessage(unsigned message, std::uint32_t scanId) override { Post(message, scanId); }

  // Delivers one queued message to the presenter; false when none came in time.
  bool PumpOne(MainPresenter& presenter, std::chrono::milliseconds timeout = std::chrono::seconds(20)) {
    std::pair<unsigned, std::uint32_t> message;
    {
      std::unique_lock lock(mutex_);
      if (!posted_.wait_for(lock, timeout, [this] { return !queue_.empty(); })) return false;
      message = queue_.front();
      queue_.pop_front();
    }
    if (message.first == MSG_SECTION_DONE) presenter.OnSectionDone(message.second);
    if (message.first == MSG_SCAN_FINISHED) presenter.OnScanFinished(message.second);
    if (message.first == MSG_CLEAN_ONCE) presenter.OnCleanOnce();
    return true;
  }
  // Pumps until the presenter is idle again.
  bool PumpUntilIdle(MainPresenter& presenter) {
    while (presenter.Scanning()) {
      if (!PumpOne(presenter)) return false;
    }
    return true;
  }
  std::size_t Queued() {
    std::lock_guard lock(mutex_);
    return queue_.size();
  }

  std::string statusLine, scanCaption;
  std::pair<std::string, bool> scanTitle, detail, progressCaption;
  std::vector<std::string> captionsShown;
  bool progressVisible = false, timerOn = false, maximized = false, hidden = false;
  int progressPosition = -1;
  std::map<int, int> nodeStates;
  std::size_t rowCount = 0;
  int rowCountUpdates = 0;
  int selectedRow = -1;
  int focusedRow = -1;  // a list loses its focus with the rows it no longer has
  std::string reasonLine;
  int listWidth = 417;
  std::vector<int> columnWidths;
  std::vector<std::pair<std::string, unsigned>> messages;
  int messageAnswer = 1;  // 6 Yes, 7 No
  std::vector<int> bounds;
  WindowPlacement placement;
  int closeRequests = 0;

 private:
  void Post(unsigned message, std::uint32_t id) {
    std::lock_guard lock(mutex_);
    queue_.emplace_back(message, id);
    posted_.notify_all();
  }
  std::mutex mutex_;
  std::condition_variable posted_;
  std::deque<std::pair<unsigned, std::uint32_t>> queue_;
};

// Settings that load what the test put in and remember what was saved.
class FakeWindowSettings : public MainWindowSettings {
 public:
  void Load(TOptionsSetting& options) override {
    ++loads;
    options = toLoad;
  }
  bool Save(const TOptionsSetting& options, const WindowPlacement& placement) override {
    ++saves;
    saved = options;
    savedPlacement = placement;
    return true;
  }
  TOptionsSetting toLoad = AllChecked();
  TOptionsSetting saved;
  WindowPlacement savedPlacement;
  int loads = 0, saves = 0;

  static TOptionsSetting AllChecked() {
    TOptionsSetting options;
    options.NodeSelected.fill(true);
    options.IgnoreRemovableDrive = true;
    return options;
  }
};

}  // namespace lindqua::test
