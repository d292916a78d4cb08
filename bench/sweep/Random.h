#pragma once
// The benchmarks' one source of chance: a xorshift generator, so that a seed
// gives the same registry on every machine and compiler.
#include <cstddef>
#include <cstdint>

namespace lindqua::bench {

class Random {
 public:
  explicit Random(std::uint32_t seed) : state_(seed ? seed : 1) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  std::size_t Below(std::size_t n) { return n ? Next() % n : 0; }
  // True in `percent` cases out of a hundred.
  bool Percent(std::size_t percent) { return Below(100) < percent; }

 private:
  std::uint32_t state_;
};

}  // namespace lindqua::bench
