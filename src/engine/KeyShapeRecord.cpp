#include "engine/KeyShapeRecord.h"

#include "platform/Text.h"

namespace lindqua {

namespace {

// What a shape costs, roughly: the vectors' elements, each name's heap block
// and the node itself.
std::size_t BytesOf(const std::vector<std::string>& subKeys) {
  std::size_t bytes = sizeof(KeyShapeRecord::Shape);
  for (const std::string& name : subKeys)
    bytes += sizeof(std::string) + sizeof(KeyShapeRecord::Node) + (name.size() > 15 ? name.size() + 1 : 0);
  return bytes;
}

}  // namespace

KeyShapeRecord::Node KeyShapeRecord::Add(const Slot& slot, bool hasValues, const std::vector<std::string>& subKeys) {
  if (!slot.wanted || overflowed_) return None;
  Shape* parent = nullptr;
  if (slot.parent != None) {
    if (static_cast<std::size_t>(slot.parent) >= shapes_.size()) return None;
    parent = &shapes_[static_cast<std::size_t>(slot.parent)];
    if (slot.index >= parent->children.size()) return None;
  }
  bytes_ += BytesOf(subKeys) + (parent ? 0 : slot.topPath.size() + 64);
  if (bytes_ > maxBytes_ || shapes_.size() >= static_cast<std::size_t>(INT32_MAX)) {
    Clear();
    overflowed_ = true;
    return None;
  }
  const Node node = static_cast<Node>(shapes_.size());
  if (parent) {
    parent->children[slot.index] = node;
  } else {
    tops_[UpperCase(slot.topPath)] = node;
  }
  // The parent pointer is not used past here: this may move every shape.
  shapes_.push_back(Shape{hasValues, subKeys, std::vector<Node>(subKeys.size(), None)});
  return node;
}

const KeyShapeRecord::Shape* KeyShapeRecord::Find(Node node) const noexcept {
  if (node == None || static_cast<std::size_t>(node) >= shapes_.size()) return nullptr;
  return &shapes_[static_cast<std::size_t>(node)];
}

KeyShapeRecord::Node KeyShapeRecord::Top(std::string_view path) const {
  if (tops_.empty()) return None;
  const auto it = tops_.find(UpperCase(path));
  return it == tops_.end() ? None : it->second;
}

KeyShapeRecord::Node KeyShapeRecord::Link(Node parent, std::size_t index) const noexcept {
  const Shape* shape = Find(parent);
  return shape && index < shape->children.size() ? shape->children[index] : None;
}

void KeyShapeRecord::Clear() noexcept {
  std::vector<Shape>().swap(shapes_);
  std::unordered_map<std::string, Node>().swap(tops_);
  bytes_ = 0;
  overflowed_ = false;
}

}  // namespace lindqua
