#pragma once
// The folder questions behind the existence cache: a listing that may stand
// for every name a lookup in the folder can find, and the one-pattern stem
// question.
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace lindqua {

// Lists the folder; true only when no lookup in it can succeed with a name
// the listing lacks (in ASCII case folding).
bool ListCompleteFolder(std::string_view folder, std::vector<FileSystem::ListedName>& names);

// One FindFirstFileW on "folder\stem.*", checked name by name.
bool FindStemFile(std::string_view folder, std::string_view stem);

}  // namespace lindqua
