#pragma once
// The existence cache's store: upper-cased paths, each with a byte of what
// is known about it, looked up by a hash the caller has already worked out.
// One flat array of slots and one block of text instead of a node and a
// string allocation per path: a scan looks paths up hundreds of thousands of
// times, and each lookup then touches a slot and, when the hash matches, the
// text it compares.
//
// A pointer or reference to an entry's byte is good until the next insert.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lindqua {

class PathTable {
 public:
  // The byte kept for `text`, or null when it is not in the table. `hash`
  // must be PathHash(text).
  std::uint8_t* Find(std::string_view text, std::uint64_t hash) noexcept;
  // The byte kept for `text`, added as 0 when it is not in the table.
  std::uint8_t& Insert(std::string_view text, std::uint64_t hash);

  std::size_t Size() const noexcept { return size_; }
  // Characters of text held: the table's other bound besides its size.
  std::size_t TextBytes() const noexcept { return text_.size(); }
  // Empties the table and keeps its memory for the entries to come.
  void Clear() noexcept;
  // Empties the table and gives its memory back.
  void Release() noexcept;

 private:
  struct Slot {
    std::uint64_t hash;
    std::uint32_t offset;  // into text_
    std::uint32_t length;  // Empty for a free slot
    std::uint8_t bits;
  };
  static constexpr std::uint32_t Empty = 0xFFFFFFFFu;

  std::size_t IndexOf(std::uint64_t hash) const noexcept;
  bool Holds(const Slot& slot, std::string_view text, std::uint64_t hash) const noexcept;
  void Grow();

  std::vector<Slot> slots_;  // a power of two long, at most half full
  std::string text_;
  std::size_t size_ = 0;
  int shift_ = 64;
};

}  // namespace lindqua
