#pragma once
// "&RegEdit...": the registry editor opened at the key of the selected row.
#include <string>

#include "engine/Finding.h"
#include "platform/ProcessRunner.h"
#include "platform/RegistryBackend.h"

namespace lindqua {

// What "LastKey" receives for a row: the key that holds the problem or is it.
std::string LastKeyFor(const Finding& row);

inline constexpr char RegeditAppletKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Applets\\Regedit";

// Stores the row's key where the registry editor looks for its last key, then
// starts a further editor window.
void aOpenRegeditExecute(const Finding& row, RegistryBackend& registry, ProcessRunner& shell);

}  // namespace lindqua
