#include "engine/FragmentSet.h"

#include <algorithm>
#include <bit>
#include <stdexcept>

#include "platform/Text.h"

namespace lindqua {

namespace {

// Where a fragment of `size` characters must start to end past `tested`.
std::size_t FirstNewStart(std::size_t tested, std::size_t size) noexcept {
  return tested + 1 > size ? tested + 1 - size : 0;
}

}  // namespace

FragmentSet::FragmentSet(std::span<const Fragment> fragments) : fragments_(fragments.begin(), fragments.end()) {
  if (fragments_.size() > 64) throw std::length_error("FragmentSet holds at most 64 fragments");
  for (std::size_t index = 0; index < fragments_.size(); ++index) {
    const Fragment& fragment = fragments_[index];
    const Mask bit = Mask{1} << index;
    longest_ = std::max(longest_, fragment.text.size());
    const auto mark = [&](std::array<Mask, 256>& table, char c) {
      table[static_cast<unsigned char>(c)] |= bit;
      if (fragment.anyCase) {
        table[static_cast<unsigned char>(AsciiUpper(c))] |= bit;
        table[static_cast<unsigned char>(AsciiLower(c))] |= bit;
      }
    };
    mark(first_, fragment.text[0]);
    if (fragment.text.size() > 1) {
      mark(second_, fragment.text[1]);
    } else {
      for (Mask& any : second_) any |= bit;  // past the path's end counts as byte 0
    }
  }
}

bool FragmentSet::FoundIn(std::string_view path, std::size_t tested) const noexcept {
  const auto byte = [&](std::size_t at) { return at < path.size() ? static_cast<unsigned char>(path[at]) : 0; };
  for (std::size_t at = FirstNewStart(tested, longest_); at < path.size(); ++at) {
    Mask candidates = first_[byte(at)];
    if (!candidates) continue;
    candidates &= second_[byte(at + 1)];
    const std::string_view rest = path.substr(at);
    for (; candidates; candidates &= candidates - 1) {
      const Fragment& fragment = fragments_[static_cast<std::size_t>(std::countr_zero(candidates))];
      if (at < FirstNewStart(tested, fragment.text.size()) || rest.size() < fragment.text.size()) continue;
      const std::string_view here = rest.substr(0, fragment.text.size());
      if (fragment.anyCase ? SameText(here, fragment.text) : here == fragment.text) return true;
    }
  }
  return false;
}

}  // namespace lindqua
