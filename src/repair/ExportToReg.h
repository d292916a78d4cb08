#pragma once
// Appends the backup block of one registry key (with its whole tree) or of
// one value to a REGEDIT4 backup file, before the fix deletes it. The block
// is built completely in memory and appended with one flushed write, so the
// answer says whether everything the deletion would remove is on the disk.
#include <string>
#include <string_view>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"

namespace lindqua {

enum class ExportStatus {
  Written,       // the whole block (and the header of a new file) is flushed to the file
  CannotBeExact, // nothing written: the key or value could not be read, or a backup
                 // would not restore it exactly; it must not be deleted
  WriteFailed,   // the file could not be created or written; the block may be partly there
};

struct ExportResult {
  ExportStatus status = ExportStatus::WriteFailed;
  std::string problem;  // what made a key or value impossible to back up exactly
};

struct ExportPlatform {
  RegistryBackend& registry;
  FileSystem& files;
  const AnsiCodePage& ansi;
};

// The block ExportToReg would append, without touching the file: Written
// with the text in `block`, or CannotBeExact with the reason.
[[nodiscard]] ExportResult RenderBackupBlock(RegistryBackend& registry, const AnsiCodePage& ansi, RootKey rootKey,
                                             bool wholeKey, std::string_view valueName, std::string_view keyPath,
                                             std::string& block);

// wholeKey: the key at keyPath with all its values and subkeys; otherwise the
// key line and the one value valueName ("" = the default value). One leading
// and one trailing "\" of keyPath are dropped; "" is the root key itself.
[[nodiscard]] ExportResult ExportToReg(const ExportPlatform& platform, std::string_view fileName, RootKey rootKey,
                                       bool wholeKey, std::string_view valueName, std::string_view keyPath);

}  // namespace lindqua
