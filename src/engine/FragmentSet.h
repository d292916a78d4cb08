#pragma once
// A few fragments looked for in a key path, each with or without regard to
// case, in one pass over the path: the walks ask this of every key they
// enter, and searching once per fragment cost more than reading the key.
#include <array>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace lindqua {

struct Fragment {
  std::string_view text;  // never empty
  bool anyCase;
};

class FragmentSet {
 public:
  // At most 64 fragments.
  explicit FragmentSet(std::span<const Fragment> fragments);
  FragmentSet(std::initializer_list<Fragment> fragments) : FragmentSet(std::span(fragments.begin(), fragments.size())) {}

  // Some fragment occurs in `path` and ends past its first `tested`
  // characters: one ending inside them would have kept the walk out of that
  // ancestor, so only the part below is searched. 0 searches the whole path.
  bool FoundIn(std::string_view path, std::size_t tested = 0) const noexcept;

 private:
  using Mask = std::uint64_t;  // one bit per fragment

  std::vector<Fragment> fragments_;
  // The fragments a byte may be the last, or the one before the last,
  // character of. A fragment found must end in the part not yet tested, so
  // only the places there are looked at, most after two lookups.
  std::array<Mask, 256> last_{};
  std::array<Mask, 256> beforeLast_{};
};

}  // namespace lindqua
