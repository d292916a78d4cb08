#pragma once
// Keys the hive sweeps leave alone because another section examines them
// with rules of its own, or because they hold nothing but system registrations.
// Which rules apply depends on the section running, told by its status text.
#include <array>
#include <string_view>

#include "engine/ScanContext.h"

namespace lindqua {

// Compared whole, without regard to case, while HKEY_LOCAL_MACHINE is swept.
inline constexpr std::array<std::string_view, 10> MachineSkipKeys = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls",
    "Software\\Microsoft\\Windows\\CurrentVersion\\App Paths",
    "Software\\Microsoft\\Windows\\Help",
    "Software\\Microsoft\\Windows\\Html Help",
    "Software\\Classes\\Applications",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Installer\\Folders",
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Management\\ARPCache",
};

// Compared whole, without regard to case, while HKEY_CURRENT_USER is swept.
inline constexpr std::array<std::string_view, 4> UserSkipKeys = {
    "Software\\Microsoft\\Windows\\CurrentVersion\\Run",
    "Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce",
    "AppEvents\\Schemes\\Apps",
    "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSaveMRU",
};

// True when the sweep must not open keyPath (nor anything under it) while
// the section whose status text the scan shows is running. `tested` is the
// length of the path of an ancestor these rules let through in the same
// sweep (0 for none): only fragments that end past it are looked for, since
// the sweep asks this of every key it enters.
bool SweepSkipsKey(const ScanContext& scan, std::string_view keyPath, std::string_view issueText,
                   std::size_t tested = 0);

}  // namespace lindqua
