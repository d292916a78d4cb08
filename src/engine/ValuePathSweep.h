#pragma once
// Walks a whole key tree read-only and reports every string value whose text
// names a missing file or folder. The engine of the four hive sections and of
// the software locations, and used by the ActiveX, installer and history sections.
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// Depth-first: the values of a key come before its subkeys, and each subkey's
// tree is done before the next. Rows carry issueText; a value name without
// "\" gives tag 1 (location ROOT\key\name), one with "\" tag 2 (name shown,
// location ROOT\key). An unknown rootName does nothing. cutAt and
// driveLetters go unchanged to IsMissingFile.
void SweepKeyValues(ScanContext& scan, std::string_view rootName, std::string_view keyPath,
                    std::string_view issueText, std::string_view cutAt, std::string_view driveLetters);

// The hive sweeps of the current user and of all users, which meet in the
// current user's key under HKEY_USERS. The first keeps what it finds in
// scan.CurrentUserSweep (only when the second is chosen too and the scan may
// keep what it learnt); the second gives that key's rows from it, in the
// order and with the texts its own walk would give, and reads only the keys
// the first passed over. Where the record cannot be trusted (none kept, the
// scan stopped, the key's facts differ, the backend cannot name the key) the
// second reads the tree itself.
void SweepCurrentUser(ScanContext& scan, std::string_view issueText, std::string_view driveLetters);
void SweepUsers(ScanContext& scan, std::string_view issueText, std::string_view driveLetters);

}  // namespace lindqua
