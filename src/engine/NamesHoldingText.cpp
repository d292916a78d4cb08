#include "engine/NamesHoldingText.h"

#include <algorithm>

#include "platform/Text.h"

namespace lindqua {

NamesHoldingText::NamesHoldingText(const std::vector<std::string>& names) : longestFirst_(names) {
  upper_.reserve(names.size());
  for (const std::string& name : names) upper_.insert(UpperCase(name));
  std::stable_sort(longestFirst_.begin(), longestFirst_.end(),
                   [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
}

bool NamesHoldingText::AnyHolds(std::string_view needle) const {
  if (needle.empty()) return false;
  // A name as long as the needle holds it only by being equal to it.
  if (upper_.contains(UpperCase(needle))) return true;
  for (const std::string& name : longestFirst_) {
    if (name.size() <= needle.size()) break;
    if (ContainsText(name, needle)) return true;
  }
  return false;
}

}  // namespace lindqua
