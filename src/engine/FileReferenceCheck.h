#pragma once
// Decides whether a registry string names a file or folder on a tested drive
// that does not exist. Everything it cannot read as a local path on a tested
// drive counts as present, so a doubtful string never becomes a finding.
#include <string>
#include <string_view>

#include "engine/ScanContext.h"
#include "engine/Wow64Places.h"

namespace lindqua {

// The characters after which a path may end inside a longer string.
inline constexpr std::string_view PathStopChars = " *,/:;<>?|";

// Expands the environment references in `reference`; answers the trimmed
// expansion when it names an existing folder, and `reference` unchanged
// otherwise (also when the expansion would not fit 1024 characters).
std::string ExpandIfFolder(ScanContext& scan, std::string_view reference);

// True when `text` names something missing. `cutAt` (may be empty) ends the
// path right after its first occurrence; `acceptFolder` lets an existing folder
// count as present while probing prefixes. Never throws: any error inside
// answers false. With Check64BitPaths under WOW64 a path is missing only when
// it is missing in every place the system could mean by it.
bool IsMissingFile(ScanContext& scan, std::string_view text, std::string_view cutAt, bool acceptFolder,
                   std::string_view driveLetters, PathOrigin origin = PathOrigin::Registry) noexcept;

// Why IsMissingFile answered true for the same arguments: the path looked for
// and the other names tried. Called only for a text IsMissingFile found
// missing: it asks the file system only what decides which names the check
// tries, and takes every other answer as the "no" that made the text
// missing. The check itself keeps no record. Where several places were
// looked in, each is named with the view it stands for.
std::string MissingFileReason(ScanContext& scan, std::string_view text, std::string_view cutAt, bool acceptFolder,
                              std::string_view driveLetters, PathOrigin origin = PathOrigin::Registry);

// `path` names an existing folder in some place the system could mean by it
// (only the path as written unless Check64BitPaths applies).
bool FolderExistsInAnyView(ScanContext& scan, std::string_view path, PathOrigin origin);

}  // namespace lindqua
