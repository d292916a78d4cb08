#pragma once
// What the main window's presenter asks of its window. The Win32 window
// implements it with real controls; tests implement it with a recording fake.
#include <cstddef>
#include <cstdint>
#include <string>

namespace lindqua {

struct WindowPlacement {
  bool placementRead = false;  // false when the placement could not be read
  int showCmd = 1;             // 1 normal, 2 minimized, 3 maximized
  int left = 0, top = 0, width = 0, height = 0;
};

class MainView {
 public:
  virtual ~MainView() = default;

  virtual void SetStatusLine(const std::string& text) = 0;
  virtual void SetScanButtonCaption(const std::string& text) = 0;
  virtual void SetScanTitle(const std::string& text, bool visible) = 0;
  virtual void SetDetailLine(const std::string& text, bool visible) = 0;
  virtual void SetProgressVisible(bool visible) = 0;
  virtual void SetProgressPosition(int position) = 0;
  virtual void SetProgressCaption(const std::string& text, bool visible) = 0;
  virtual void SetProgressTimer(bool enabled) = 0;
  // The tree shows this check state image (1 or 2) at the node.
  virtual void SetNodeState(int imageIndex, int state) = 0;

  // The results list shows `count` rows of the model; `redrawAll` when rows
  // already shown may have changed (filtered, checked, removed).
  virtual void SetRowCount(std::size_t count, bool redrawAll) = 0;
  virtual int SelectedRow() = 0;  // -1 when none
  virtual int FocusedRow() = 0;   // -1 when none
  // The one-line details area under the list; empty clears it.
  virtual void SetReasonLine(const std::string& text) = 0;
  virtual int ListWidth() = 0;
  virtual void SetColumnWidths(int problem, int data, int registryKey) = 0;
  virtual void FitColumnsToText() = 0;

  // A message box with the program's caption; answers the pressed button.
  virtual int ShowMessage(const std::string& text, unsigned flags) = 0;
  virtual void ApplyBounds(int left, int top, int width, int height) = 0;
  virtual void Maximize() = 0;
  virtual WindowPlacement Placement() = 0;
  virtual void PostCleanOnce() = 0;
  virtual void HideForUnattended() = 0;
  virtual void CloseWindow() = 0;
  // Posts a scan's message to the window; `scanId` tells the scans apart, so
  // that a message of an earlier scan never finishes a later one.
  virtual void PostScanMessage(unsigned message, std::uint32_t scanId) = 0;
};

}  // namespace lindqua
