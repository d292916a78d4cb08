#pragma once
// What the six system list sections share: the floppy pre-check, the way a
// reported value becomes a row, and reading a value as text only when it is
// stored as text.
#include <optional>
#include <string>
#include <string_view>

#include "engine/ScanContext.h"
#include "platform/TRegistry.h"

namespace lindqua {

// A path on drive A: or B: that held no volume when the scan started counts
// as missing at once, so that no drive is asked for a disk. Never fires when
// removable drives are ignored.
bool FloppyRuleFires(const ScanContext& scan, std::string_view text) noexcept;

// Why a path was reported: the drive that was not ready, or what the file
// check looked for. Called only once the row is certain.
std::string PathReason(ScanContext& scan, std::string_view text, bool acceptFolder);

// The floppy rule, then the file check with this scan's drive letters.
bool IsMissingPath(ScanContext& scan, std::string_view text);

// A reported value of rootName\keyPath: shown as its data and located by its
// name (tag 1) unless the name holds "\", which the fix would take for a
// path; then shown by name and located by its key (tag 2).
void AddValueFinding(ScanContext& scan, std::string_view caption, std::string_view rootName, std::string_view keyPath,
                     std::string_view valueName, std::string_view data, std::string_view reason);

// The data of a string or expandable-string value up to its first NUL, not
// expanded; nullopt for a value of any other type or one that cannot be read.
std::optional<std::string> ReadTextValue(TRegistry& reg, std::string_view name);

// A read-only accessor on rootName with keyPath open; false when the root
// name is unknown or the key cannot be opened. The scan never writes, and a
// user without rights to write a machine key must still see its problems.
[[nodiscard]] bool OpenForScan(TRegistry& reg, std::string_view rootName, std::string_view keyPath);

}  // namespace lindqua
