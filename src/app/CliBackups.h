#pragma once
// lindqua-cli backups, backups delete and restore: the backup files of the
// backup folder, for scripts.
#include "app/CliArguments.h"
#include "app/CliProgram.h"

namespace lindqua {

[[nodiscard]] int RunBackupsList(const CliRequest& request, CliHost& host);
[[nodiscard]] int RunBackupsDelete(const CliRequest& request, CliHost& host);
[[nodiscard]] int RunRestore(const CliRequest& request, CliHost& host);

}  // namespace lindqua
