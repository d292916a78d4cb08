#pragma once
// The folder of the running executable with a trailing backslash: where the
// settings fall back to, the seed settings file lies and backups go by default.
#include <string>

namespace lindqua {

std::string GetProgramFolder();

}  // namespace lindqua
