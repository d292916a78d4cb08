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
  quiet_.clear();
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

bool KeyShapeRecord::Quiet(Node node) const {
  if (!Find(node)) return false;
  if (quiet_.size() != shapes_.size()) {
    quiet_.assign(shapes_.size(), false);
    for (std::size_t index = shapes_.size(); index-- > 0;) {
      const Shape& shape = shapes_[index];
      // Every empty key ends in a key without values or subkeys: the walk
      // offers a key that has none, or a chain of lone subkeys down to one.
      bool quiet = shape.hasValues || !shape.subKeys.empty();
      // Every subkey was recorded after its parent, so its answer is known here.
      for (std::size_t child = 0; quiet && child < shape.children.size(); ++child)
        quiet = shape.children[child] != None && quiet_[static_cast<std::size_t>(shape.children[child])];
      quiet_[index] = quiet;
    }
  }
  return quiet_[static_cast<std::size_t>(node)];
}

void KeyShapeRecord::Clear() noexcept {
  std::vector<bool>().swap(quiet_);
  std::vector<Shape>().swap(shapes_);
  std::unordered_map<std::string, Node>().swap(tops_);
  bytes_ = 0;
  overflowed_ = false;
}

}  // namespace lindqua
