#pragma once
// How the console program reports a clean, for people (one line per row) and
// for scripts (one JSON object), and the exit status it ends with.
#include <string>
#include <vector>

#include "repair/FixProcedure.h"

namespace lindqua {

// "deleted", "already gone", "refused" (nothing was deleted: no exact backup,
// an unknown root key) or "failed" (the system refused, the backup failed).
std::string FixResultWord(DeleteOutcome outcome);
// Why a row was refused or failed; empty for the others.
std::string FixResultReason(const FixRowReport& row);

// One line for a row of the real run, or of the dry run when `preview`.
std::string FixRowLine(const FixRowReport& row, bool preview);

// {"dryRun":..,"backupFile":..,"completed":..,"endReason":..,"findings":[..],"notAttempted":..}
std::string FormatFixJson(const FixReport& report, bool dryRun, std::size_t notAttempted);

}  // namespace lindqua
