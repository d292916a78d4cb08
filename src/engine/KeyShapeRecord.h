#pragma once
// What the sweeps of the users' keys learnt of each key they read: whether
// it holds values and the names of its subkeys. The empty-key walk of
// HKEY_USERS later in the same scan takes those instead of asking every key
// again. It still opens each key it may offer itself, with the access a
// delete needs, so it offers only keys the fix can reach; a tree in which
// the record shows no key that could be empty is not opened at all.
//
// Keys form a tree below HKEY_USERS. A sweep records from its top (the root
// of HKEY_USERS, or the current user's key there) down through each key it
// enters; keys it passes over are not recorded and are read by the walk.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace lindqua {

class KeyShapeRecord {
 public:
  using Node = std::int32_t;
  static constexpr Node None = -1;

  struct Shape {
    bool hasValues = false;
    std::vector<std::string> subKeys;  // as the key listed them
    std::vector<Node> children;        // one per subkey; None where not recorded
  };

  // Past this many bytes everything is given up: the walk then reads every
  // key itself, as if nothing had been kept.
  static constexpr std::size_t DefaultMaxBytes = std::size_t{24} << 20;
  explicit KeyShapeRecord(std::size_t maxBytes = DefaultMaxBytes) : maxBytes_(maxBytes) {}

  // Where the next recorded key goes: a top, by its path below HKEY_USERS,
  // or the subkey at `index` in its parent's list.
  struct Slot {
    Node parent = None;
    std::size_t index = 0;
    std::string topPath;  // for a top: parent is None
    bool wanted = false;  // false: record nothing
  };
  static Slot TopSlot(std::string_view path) { return Slot{None, 0, std::string(path), true}; }
  static Slot ChildSlot(Node parent, std::size_t index) { return Slot{parent, index, {}, parent != None}; }

  // Records the key read for `slot`; None when nothing was recorded.
  Node Add(const Slot& slot, bool hasValues, const std::vector<std::string>& subKeys);

  bool Usable() const noexcept { return !shapes_.empty(); }
  const Shape* Find(Node node) const noexcept;
  // The node of a top recorded at `path` (without regard to case), or None.
  Node Top(std::string_view path) const;
  // The node of the subkey at `index` in the parent's list, or None.
  Node Link(Node parent, std::size_t index) const noexcept;
  // Nothing at or below the node can be an empty key: every key there was
  // recorded, and none is without both values and subkeys (where every empty
  // key, or chain of lone subkeys, ends). The walk then need not open any of
  // them, as it could offer none.
  bool Quiet(Node node) const;
  // Forgets everything and gives the memory back; recording may start again.
  void Clear() noexcept;

 private:
  std::vector<Shape> shapes_;
  std::unordered_map<std::string, Node> tops_;  // by upper-cased path
  // Quiet() of every node, worked out when first asked for (a parent is
  // recorded before its subkeys, so one pass from the last node up will do).
  mutable std::vector<bool> quiet_;
  std::size_t bytes_ = 0;
  std::size_t maxBytes_;
  bool overflowed_ = false;
};

}  // namespace lindqua
