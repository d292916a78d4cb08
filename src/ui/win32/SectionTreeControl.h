#pragma once
// The section tree view: 25 nodes with check-box state images, always fully
// expanded. A mouse press on a node's state image is reported to the owner
// and goes no further, so the tree never changes a state on its own.
#include <windows.h>

#include <array>
#include <functional>

#include "app/SectionTree.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

class SectionTreeControl {
 public:
  SectionTreeControl() = default;
  ~SectionTreeControl();
  SectionTreeControl(const SectionTreeControl&) = delete;
  SectionTreeControl& operator=(const SectionTreeControl&) = delete;

  // `dpi` sizes the check box pictures.
  bool Create(HWND parent, int id, const SectionTree& tree, std::function<void(int imageIndex)> onStateClick,
              int dpi);
  // Redraws the check box pictures for a window that moved to another DPI.
  void SetDpi(int dpi);
  HWND Handle() const noexcept { return hwnd_; }
  void SetNodeState(int imageIndex, int state);
  int NodeState(int imageIndex) const;
  HTREEITEM Item(int imageIndex) const { return items_.at(static_cast<std::size_t>(imageIndex)); }
  // The node whose state image lies under a client point; 0 when none.
  int StateImageHit(POINT point) const;

 private:
  int NodeOf(HTREEITEM handle) const;  // the node's image index; 0 for none
  int SelectedNode() const;
  static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM, UINT_PTR, DWORD_PTR);
  void BuildStateImages(int dpi);

  HWND hwnd_ = nullptr;
  UniqueImageList stateImages_;
  std::array<HTREEITEM, SectionTree::NodeCount + 1> items_{};
  std::function<void(int)> onStateClick_;
};

}  // namespace lindqua
