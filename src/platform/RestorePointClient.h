#pragma once
// The System Restore client: asks Windows to make a restore point before a fix.
#include <array>
#include <cstdint>
#include <string_view>

namespace lindqua {

enum class RestorePointResult {
  Created,      // the call returned non-zero
  Refused,      // the call returned zero
  Unavailable,  // the library or its function is missing
};

// The packed 80-byte request: event type, restore point type, sequence
// number and a NUL-padded description of at most 63 characters.
using RestorePointRequest = std::array<std::uint8_t, 80>;
inline constexpr std::uint32_t BeginSystemChange = 100;
inline constexpr std::uint32_t ApplicationInstall = 0;
inline constexpr std::string_view RestorePointDescription = "Made by Ostrelan";

RestorePointRequest PackRestorePointRequest(std::string_view description);

class RestorePointClient {
 public:
  virtual ~RestorePointClient() = default;
  // Blocks for as long as the system takes; may be called on any thread.
  virtual RestorePointResult Create(const RestorePointRequest& request) = 0;
};

}  // namespace lindqua
