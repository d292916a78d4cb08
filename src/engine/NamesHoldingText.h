#pragma once
// A list of key names asked, many times over, whether any of them holds a
// text without regard to case: each interface asks it of every type library,
// each class of every AppID. Asked name by name that is the list's length per
// question; most texts are ids as long as the names, which only an equal name
// can hold.
#include <string>
#include <string_view>
#include <unordered_set>
#include <vector>

namespace lindqua {

class NamesHoldingText {
 public:
  explicit NamesHoldingText(const std::vector<std::string>& names);

  // True when some name holds needle, ASCII letters matched in either case;
  // an empty needle matches nothing.
  [[nodiscard]] bool AnyHolds(std::string_view needle) const;

 private:
  // Every name in upper case, for a needle as long as the name.
  std::unordered_set<std::string> upper_;
  // The names longest first, for a needle shorter than the name.
  std::vector<std::string> longestFirst_;
};

}  // namespace lindqua
