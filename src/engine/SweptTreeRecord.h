#pragma once
// What the sweep of HKEY_CURRENT_USER found, kept for the sweep of
// HKEY_USERS later in the same scan: the current user's key there is the
// same tree, so that sweep gives its rows for it from here instead of
// reading every key and checking every value a second time. Only the keys
// the first sweep passed over by its own rules are read again.
#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/RegistryBackend.h"

namespace lindqua {

class SweptTreeRecord {
 public:
  struct Entry {
    std::string keyPath;  // below the tree's top; "" for the top itself
    std::string name;     // the value's name (unused for a key passed over)
    std::string text;     // the value's text
    std::string reason;   // why it was judged missing
    bool passedOver = false;  // a key the recording sweep did not enter
  };

  // Past this many bytes of text the record is given up: the later sweep
  // then reads the tree itself, as if nothing had been kept.
  static constexpr std::size_t DefaultMaxBytes = std::size_t{48} << 20;
  explicit SweptTreeRecord(std::size_t maxBytes = DefaultMaxBytes) : maxBytes_(maxBytes) {}

  // Starts a recording of the tree whose top key said `top` when it began.
  void Begin(const RegKeyInfo& top);
  void AddValue(std::string_view keyPath, std::string_view name, std::string_view text, std::string_view reason);
  void AddPassedOver(std::string_view keyPath);
  // Marks the entries added until EndSubtree as the tree of the top's child
  // `name`, whose facts were `facts` when it was entered.
  void BeginSubtree(std::string_view name, const RegKeyInfo& facts);
  void EndSubtree();
  // The recording sweep reached the end of the tree.
  void Finish() noexcept { complete_ = recording_; }
  // Forgets everything and gives the memory back.
  void Clear() noexcept;

  bool Recording() const noexcept { return recording_; }
  bool Complete() const noexcept { return complete_; }
  // Usable for a tree whose top key says `top` now: a sweep that stopped
  // early, outgrew the bound or saw another key keeps nothing usable.
  bool Matches(const RegKeyInfo& top) const noexcept { return complete_ && top == top_; }
  const std::vector<Entry>& Entries() const noexcept { return entries_; }

  struct Subtree {
    RegKeyInfo facts;
    std::size_t begin = 0, end = 0;  // its entries
  };
  // The marked child of that name (without regard to case), or null.
  const Subtree* FindSubtree(std::string_view name) const;

 private:
  void Add(Entry entry);
  // Counts bytes kept; past the bound everything is given up (false).
  bool Charge(std::size_t bytes);

  std::vector<Entry> entries_;
  std::unordered_map<std::string, Subtree> subtrees_;  // by upper-cased name
  std::string open_;  // the subtree being recorded
  RegKeyInfo top_;
  std::size_t bytes_ = 0;
  std::size_t maxBytes_;
  bool recording_ = false;
  bool complete_ = false;
};

}  // namespace lindqua
