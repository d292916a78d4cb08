#include "engine/FragmentSet.h"

#include <algorithm>

#include "platform/Text.h"

namespace lindqua {

namespace {

// Where a fragment of `size` characters must start to end past `tested`.
std::size_t FirstNewStart(std::size_t tested, std::size_t size) noexcept {
  return tested + 1 > size ? tested + 1 - size : 0;
}

}  // namespace

FragmentSet::FragmentSet(std::span<const Fragment> fragments) : fragments_(fragments.begin(), fragments.end()) {
  for (const Fragment& fragment : fragments_) {
    longest_ = std::max(longest_, fragment.text.size());
    const char first = fragment.text.front();
    starts_[static_cast<unsigned char>(first)] = true;
    if (fragment.anyCase) {
      starts_[static_cast<unsigned char>(AsciiUpper(first))] = true;
      starts_[static_cast<unsigned char>(AsciiLower(first))] = true;
    }
  }
}

bool FragmentSet::FoundIn(std::string_view path, std::size_t tested) const noexcept {
  for (std::size_t at = FirstNewStart(tested, longest_); at < path.size(); ++at) {
    if (!starts_[static_cast<unsigned char>(path[at])]) continue;
    const std::string_view rest = path.substr(at);
    for (const Fragment& fragment : fragments_) {
      if (at < FirstNewStart(tested, fragment.text.size()) || rest.size() < fragment.text.size()) continue;
      const std::string_view here = rest.substr(0, fragment.text.size());
      if (fragment.anyCase ? SameText(here, fragment.text) : here == fragment.text) return true;
    }
  }
  return false;
}

}  // namespace lindqua
