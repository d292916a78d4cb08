#include "app/SectionTree.h"

#include "engine/ScanSection.h"

namespace lindqua {

SectionTree::SectionTree() {
  nodes_[0] = SectionNode{1, "My Computers", 0, 0, StateUnchecked};
  nodes_[1] = SectionNode{2, "Files and Folders", 1, 1, StateUnchecked};
  for (const ScanSectionInfo& section : ScanSections()) {
    const bool underFiles = section.id <= 6;
    nodes_[static_cast<std::size_t>(section.id - 1)] =
        SectionNode{section.id, section.treeCaption, underFiles ? 2 : 1, underFiles ? 2 : 1, StateUnchecked};
  }
}

int SectionTree::FirstChild(int imageIndex) const {
  // Children follow their parent directly in display order.
  if (imageIndex < NodeCount && Node(imageIndex + 1).parent == imageIndex) return imageIndex + 1;
  return 0;
}

int SectionTree::NextSibling(int imageIndex) const {
  const int parent = Node(imageIndex).parent;
  for (int next = imageIndex + 1; next <= NodeCount; ++next) {
    if (Node(next).parent == parent) return next;
    if (Node(next).level < Node(imageIndex).level) return 0;
  }
  return 0;
}

void SectionTree::WalkSectionTree(int start, int mode, TOptionsSetting& options,
                                  std::vector<std::string>* sectionIds) {
  for (int node = start; node != 0; node = NextSibling(node)) {
    SectionNode& n = nodes_[static_cast<std::size_t>(node - 1)];
    switch (mode) {
      case 1:
      case 2:
        n.state = mode;
        break;
      case 99:
        options.NodeSelected[static_cast<std::size_t>(n.imageIndex)] = n.state == StateChecked;
        break;
      case 100:
        n.state = options.NodeSelected[static_cast<std::size_t>(n.imageIndex)] ? StateChecked : StateUnchecked;
        break;
      case -1:
        if (n.state == StateChecked && sectionIds) sectionIds->push_back(std::to_string(n.imageIndex));
        break;
      default:
        break;
    }
    if (const int child = FirstChild(node)) WalkSectionTree(child, mode, options, sectionIds);
  }
}

bool SectionTree::AnyChildChecked(int imageIndex) const {
  for (int child = FirstChild(imageIndex); child != 0; child = NextSibling(child)) {
    if (State(child) == StateChecked) return true;
  }
  return false;
}

void SectionTree::RefreshRoot() { SetState(1, AnyChildChecked(1) ? StateChecked : StateUnchecked); }

void SectionTree::ClickStateImage(int imageIndex, TOptionsSetting& options) {
  if (imageIndex < 1 || imageIndex > NodeCount) return;
  SectionNode& node = nodes_[static_cast<std::size_t>(imageIndex - 1)];
  if (node.state == StateUnchecked) {
    node.state = StateChecked;
  } else if (node.state == StateChecked) {
    node.state = StateUnchecked;
  }
  const int state = node.state;
  switch (node.level) {
    case 0:
      WalkSectionTree(1, state, options);
      break;
    case 1:
      for (int child = FirstChild(imageIndex); child != 0; child = NextSibling(child)) SetState(child, state);
      RefreshRoot();
      break;
    default:
      SetState(node.parent, AnyChildChecked(node.parent) ? StateChecked : StateUnchecked);
      RefreshRoot();
      break;
  }
}

}  // namespace lindqua
