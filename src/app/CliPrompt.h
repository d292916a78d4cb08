#pragma once
// A yes/no question on the console; anything but "y" or "yes" is a no, and
// so is a script with no input.
#include <string>

#include "app/CliProgram.h"

namespace lindqua {

[[nodiscard]] bool AskYesNo(CliConsole& console, const std::string& question);

}  // namespace lindqua
