#pragma once
// Takes a fuzzer's bytes apart into the small decisions and strings a target
// needs, so that every byte string maps to one defined case.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace lindqua::fuzz {

class FuzzInput {
 public:
  FuzzInput(const std::uint8_t* data, std::size_t size) : rest_(reinterpret_cast<const char*>(data), size) {}

  bool Empty() const { return rest_.empty(); }
  std::uint8_t Byte() {
    if (rest_.empty()) return 0;
    const auto b = static_cast<std::uint8_t>(rest_.front());
    rest_.remove_prefix(1);
    return b;
  }
  // A string of at most maxSize bytes, its length taken from the input.
  std::string Text(std::size_t maxSize) {
    const std::size_t size = std::min<std::size_t>(Byte() % (maxSize + 1), rest_.size());
    std::string out(rest_.substr(0, size));
    rest_.remove_prefix(size);
    return out;
  }
  std::string_view Rest() const { return rest_; }

 private:
  std::string_view rest_;
};

// A broken invariant: print what differs and stop, so libFuzzer records the input.
[[noreturn]] inline void Fail(const std::string& what) {
  std::fprintf(stderr, "invariant broken: %s\n", what.c_str());
  std::abort();
}

}  // namespace lindqua::fuzz
