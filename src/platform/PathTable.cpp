#include "platform/PathTable.h"

#include <cstring>
#include <stdexcept>

namespace lindqua {

namespace {

constexpr int InitialShift = 64 - 10;  // 1,024 slots

}  // namespace

// Fibonacci hashing: the top bits of the product depend on every bit of the
// hash, whatever its own low bits look like.
std::size_t PathTable::IndexOf(std::uint64_t hash) const noexcept {
  return static_cast<std::size_t>((hash * 0x9E3779B97F4A7C15ULL) >> shift_);
}

bool PathTable::Holds(const Slot& slot, std::string_view text, std::uint64_t hash) const noexcept {
  return slot.hash == hash && slot.length == text.size() &&
         std::memcmp(text_.data() + slot.offset, text.data(), text.size()) == 0;
}

std::uint8_t* PathTable::Find(std::string_view text, std::uint64_t hash) noexcept {
  if (size_ == 0) return nullptr;
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = IndexOf(hash);; i = (i + 1) & mask) {
    Slot& slot = slots_[i];
    if (slot.length == Empty) return nullptr;
    if (Holds(slot, text, hash)) return &slot.bits;
  }
}

std::uint8_t& PathTable::Insert(std::string_view text, std::uint64_t hash) {
  if (std::uint8_t* known = Find(text, hash)) return *known;
  if (text.size() >= Empty || text_.size() + text.size() >= Empty)
    throw std::length_error("path table text");
  if (2 * (size_ + 1) > slots_.size()) Grow();
  const std::size_t mask = slots_.size() - 1;
  std::size_t i = IndexOf(hash);
  while (slots_[i].length != Empty) i = (i + 1) & mask;
  slots_[i] = Slot{hash, static_cast<std::uint32_t>(text_.size()), static_cast<std::uint32_t>(text.size()), 0};
  text_.append(text);
  ++size_;
  return slots_[i].bits;
}

void PathTable::Grow() {
  std::vector<Slot> old;
  old.swap(slots_);
  shift_ = old.empty() ? InitialShift : shift_ - 1;
  slots_.assign(std::size_t{1} << (64 - shift_), Slot{0, 0, Empty, 0});
  const std::size_t mask = slots_.size() - 1;
  for (const Slot& slot : old) {
    if (slot.length == Empty) continue;
    std::size_t i = IndexOf(slot.hash);
    while (slots_[i].length != Empty) i = (i + 1) & mask;
    slots_[i] = slot;
  }
}

void PathTable::Clear() noexcept {
  for (Slot& slot : slots_) slot.length = Empty;
  text_.clear();
  size_ = 0;
}

void PathTable::Release() noexcept {
  std::vector<Slot>().swap(slots_);
  std::string().swap(text_);
  size_ = 0;
  shift_ = 64;
}

}  // namespace lindqua
