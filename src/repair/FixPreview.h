#pragma once
// What the fix would do with one row, found without writing or deleting
// anything: the console's dry run and its confirmation count on it, so that
// they promise exactly what the real run does.
#include "repair/DeleteWithBackup.h"
#include "repair/FixProcedure.h"

namespace lindqua {

// Deleted here means "would be deleted"; Refused is never predicted, since
// only the deletion itself can tell.
[[nodiscard]] FixRowReport PreviewFixRow(const ExportPlatform& platform, const Finding& row);

}  // namespace lindqua
