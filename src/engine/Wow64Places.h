#pragma once
// Where a 32-bit program under WOW64 has to look for what a registry path
// names. The file system redirects parts of the Windows folder to the 32-bit
// system folder, and "%ProgramFiles%" expands to the 32-bit program folder in
// a 32-bit program only, so a path written by a 64-bit program may name a file
// this program reaches only through another path. The rules live here, in one
// table, and nowhere else.
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileSystem.h"

namespace lindqua {

// The folders the rules need, measured once per scan, without a trailing
// "\"; empty when the system has none.
struct Wow64Folders {
  std::string windows;         // the Windows folder
  std::string programFiles64;  // %ProgramW6432%
  std::string programFiles32;  // %ProgramFiles(x86)%
  std::string commonFiles64;   // %CommonProgramW6432%
  std::string commonFiles32;   // %CommonProgramFiles(x86)%
};
Wow64Folders MeasureWow64Folders(FileSystem& files);

struct Wow64Place {
  std::string path;
  std::string_view view;  // which program's view of the file system it stands for
};

struct Wow64Places {
  // False when one place the system could mean has no path that reaches it
  // from a 32-bit program: then nothing there can be proven missing.
  bool judged = true;
  // Every place to look; empty when the path as written is the only one.
  std::vector<Wow64Place> places;
};

// How a path reached the check: a shortcut's target has already been expanded
// by the shell in this 32-bit program, so a "%ProgramFiles%" it was stored
// with now reads as the 32-bit program folder.
enum class PathOrigin { Registry, ShellLink };

// `name` is the path as the check reads it, after a leading environment
// reference was expanded; `reference` is that reference's variable name
// ("ProgramFiles"), empty when there was none, and `afterReference` the text
// of `name` that followed it.
Wow64Places PlacesUnderWow64(const Wow64Folders& folders, std::string_view name, std::string_view reference,
                             std::string_view afterReference, PathOrigin origin = PathOrigin::Registry);

}  // namespace lindqua
