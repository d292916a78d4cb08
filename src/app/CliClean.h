#pragma once
// lindqua-cli clean: scan, drop ignored rows, then fix every finding through
// the same procedure and backups as the window's "Fix Errors".
#include "app/CliArguments.h"
#include "app/CliProgram.h"

namespace lindqua {

[[nodiscard]] int RunClean(const CliRequest& request, CliHost& host);

}  // namespace lindqua
