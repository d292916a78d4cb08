#include "engine/FragmentSet.h"

#include <bit>
#include <stdexcept>

#include "platform/Text.h"

namespace lindqua {

FragmentSet::FragmentSet(std::span<const Fragment> fragments) : fragments_(fragments.begin(), fragments.end()) {
  if (fragments_.size() > 64) throw std::length_error("FragmentSet holds at most 64 fragments");
  for (std::size_t index = 0; index < fragments_.size(); ++index) {
    const Fragment& fragment = fragments_[index];
    const Mask bit = Mask{1} << index;
    const auto mark = [&](std::array<Mask, 256>& table, char c) {
      table[static_cast<unsigned char>(c)] |= bit;
      if (fragment.anyCase) {
        table[static_cast<unsigned char>(AsciiUpper(c))] |= bit;
        table[static_cast<unsigned char>(AsciiLower(c))] |= bit;
      }
    };
    const std::string_view text = fragment.text;
    mark(last_, text.back());
    if (text.size() > 1) {
      mark(beforeLast_, text[text.size() - 2]);
    } else {
      for (Mask& any : beforeLast_) any |= bit;  // before the path's start counts as byte 0
    }
  }
}

bool FragmentSet::FoundIn(std::string_view path, std::size_t tested) const noexcept {
  // A fragment ending at or before `tested` lies in the part tested already.
  for (std::size_t end = tested + 1; end <= path.size(); ++end) {
    Mask candidates = last_[static_cast<unsigned char>(path[end - 1])];
    if (!candidates) continue;
    candidates &= beforeLast_[end >= 2 ? static_cast<unsigned char>(path[end - 2]) : 0];
    for (; candidates; candidates &= candidates - 1) {
      const Fragment& fragment = fragments_[static_cast<std::size_t>(std::countr_zero(candidates))];
      const std::size_t size = fragment.text.size();
      if (size > end) continue;
      const std::string_view here = path.substr(end - size, size);
      if (fragment.anyCase ? SameText(here, fragment.text) : here == fragment.text) return true;
    }
  }
  return false;
}

}  // namespace lindqua
