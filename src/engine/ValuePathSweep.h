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

// The classes root and the machine's Software, which holds the machine's
// classes: the same pairing. The first keeps what it finds with its top's
// children marked, when the second is chosen after it; the second takes a
// child of its Software\Classes from there only when the user has no key of
// that name (the classes root merges the user's classes into it) and the
// child's facts are those the first saw. Every other key is read, and every
// kept row passes the second's own skip rules.
void SweepClassesRoot(ScanContext& scan, std::string_view issueText, std::string_view driveLetters);
void SweepMachineSoftware(ScanContext& scan, std::string_view issueText, std::string_view driveLetters);

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
