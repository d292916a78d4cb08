#pragma once
// A path on floppy drive A: or B: whose drive held no readable disk when the
// scan started counts as missing without asking the file system: asking would
// make Windows prompt the user to insert a disk.
#include <string>
#include <string_view>

#include "engine/ScanContext.h"
#include "platform/Text.h"

namespace lindqua {

inline bool FloppyNotReady(const ScanContext& scan, std::string_view path) noexcept {
  if (scan.IgnoreRemovableDrive) return false;
  return (StartsWithText(path, "A:\\") && !scan.DriveAReady) || (StartsWithText(path, "B:\\") && !scan.DriveBReady);
}

inline std::string FloppyNotReadyReason(std::string_view path) {
  return std::string("Drive ") + AsciiUpper(path[0]) + ": held no readable disk when the scan started";
}

}  // namespace lindqua
