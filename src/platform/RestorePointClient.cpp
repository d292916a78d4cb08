#include "platform/RestorePointClient.h"

namespace lindqua {

namespace {
void PutLittleEndian(RestorePointRequest& out, std::size_t offset, std::uint64_t value, std::size_t size) {
  for (std::size_t i = 0; i < size; ++i) out[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
}  // namespace

RestorePointRequest PackRestorePointRequest(std::string_view description) {
  RestorePointRequest request{};
  PutLittleEndian(request, 0, BeginSystemChange, 4);
  PutLittleEndian(request, 4, ApplicationInstall, 4);
  PutLittleEndian(request, 8, 0, 8);
  // The description field holds 64 bytes including its terminating NUL.
  const std::size_t length = description.size() < 63 ? description.size() : 63;
  for (std::size_t i = 0; i < length; ++i) request[16 + i] = static_cast<std::uint8_t>(description[i]);
  return request;
}

}  // namespace lindqua
