#include "platform/win32/Win32RestorePointClient.h"

#include <windows.h>

#include "platform/win32/Handles.h"

namespace lindqua {

RestorePointResult Win32RestorePointClient::Create(const RestorePointRequest& request) {
  UniqueModule library(::LoadLibraryA("SrClient.dll"));
  if (!library) return RestorePointResult::Unavailable;
  using SetRestorePointFn = BOOL(WINAPI*)(void* request, void* status);
  auto function = reinterpret_cast<SetRestorePointFn>(
      reinterpret_cast<void*>(::GetProcAddress(library.get(), "SRSetRestorePointA")));
  if (!function) return RestorePointResult::Unavailable;
  RestorePointRequest copy = request;
  // STATEMGRSTATUS: a 32-bit status and a 64-bit sequence number, packed.
  alignas(8) std::uint8_t status[16] = {};
  return function(copy.data(), status) ? RestorePointResult::Created : RestorePointResult::Refused;
}

}  // namespace lindqua
