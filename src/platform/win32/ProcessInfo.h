#pragma once
// What the programs ask about their own process.
#include <string>
#include <vector>

namespace lindqua {

// The arguments after the program name, as UTF-8, split by the system's rules.
std::vector<std::string> CommandLineArguments();
// The token is elevated; false also when the system cannot say.
bool IsProcessElevated();

}  // namespace lindqua
