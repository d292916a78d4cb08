#include "platform/win32/Win32RestorePointClient.h"

#include <windows.h>

#include <cstddef>
#include <srrestoreptapi.h>

#include "platform/win32/Handles.h"

namespace lindqua {

// The request is packed by portable code; both builds must lay it out as the
// system's own record, which is packed to single bytes on every processor.
static_assert(sizeof(RESTOREPOINTINFOA) == std::tuple_size_v<RestorePointRequest>);
static_assert(offsetof(RESTOREPOINTINFOA, dwRestorePtType) == 4);
static_assert(offsetof(RESTOREPOINTINFOA, llSequenceNumber) == 8);
static_assert(offsetof(RESTOREPOINTINFOA, szDescription) == 16);

RestorePointResult Win32RestorePointClient::Create(const RestorePointRequest& request) {
  UniqueModule library(::LoadLibraryA("SrClient.dll"));
  if (!library) return RestorePointResult::Unavailable;
  using SetRestorePointFn = BOOL(WINAPI*)(void* request, void* status);
  auto function = reinterpret_cast<SetRestorePointFn>(
      reinterpret_cast<void*>(::GetProcAddress(library.get(), "SRSetRestorePointA")));
  if (!function) return RestorePointResult::Unavailable;
  RestorePointRequest copy = request;
  STATEMGRSTATUS status{};
  return function(copy.data(), &status) ? RestorePointResult::Created : RestorePointResult::Refused;
}

}  // namespace lindqua
