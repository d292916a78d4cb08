#pragma once
// The section tree of the main window as data: 25 nodes in display order, each
// with its image index (1 root, 2 "Files and Folders", 3..25 a scan section),
// level, parent and check state image (1 unchecked, 2 checked). The Win32 tree
// view only mirrors these states, so every rule is testable without a window.
#include <array>
#include <string>
#include <vector>

#include "app/OptionsSetting.h"

namespace lindqua {

inline constexpr int StateUnchecked = 1;
inline constexpr int StateChecked = 2;

struct SectionNode {
  int imageIndex = 0;
  const char* caption = "";
  int level = 0;
  int parent = 0;  // image index of the parent, 0 for the root
  int state = StateUnchecked;
};

class SectionTree {
 public:
  static constexpr int NodeCount = 25;
  SectionTree();

  const SectionNode& Node(int imageIndex) const { return nodes_.at(static_cast<std::size_t>(imageIndex - 1)); }
  int State(int imageIndex) const { return Node(imageIndex).state; }
  void SetState(int imageIndex, int state) { nodes_.at(static_cast<std::size_t>(imageIndex - 1)).state = state; }
  int FirstChild(int imageIndex) const;
  int NextSibling(int imageIndex) const;

  // Visits `start`, its following siblings and, depth first, all their
  // children. Modes: 1 or 2 set the state; 99 stores the states into
  // NodeSelected; 100 takes them from it; -1 appends the checked nodes'
  // numbers to `sectionIds`; anything else does nothing.
  void WalkSectionTree(int start, int mode, TOptionsSetting& options, std::vector<std::string>* sectionIds = nullptr);

  // A click on a node's state image: toggles it and applies the level rules.
  void ClickStateImage(int imageIndex, TOptionsSetting& options);

 private:
  // The root becomes checked when any level-1 node is checked.
  void RefreshRoot();
  bool AnyChildChecked(int imageIndex) const;
  std::array<SectionNode, NodeCount> nodes_;
};

}  // namespace lindqua
