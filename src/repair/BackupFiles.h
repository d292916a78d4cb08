#pragma once
// The backup files of a backup folder: which they are, newest first, and
// what each holds, read from its text (never by importing it).
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/RegTextImport.h"

namespace lindqua {

struct BackupFileEntry {
  std::string name;
  std::string path;
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;  // FILETIME ticks
};

// The ".reg" files of the folder (any case), newest first: backups are named
// after the time of their fix. Empty when the folder does not exist.
std::vector<BackupFileEntry> ListBackupFiles(FileSystem& files, const std::string& folder);

struct BackupContents {
  std::vector<RegTextKey> keys;  // in file order
  std::size_t valueCount = 0;
  std::string problem;  // why the file cannot be read; empty when it was
};

// Reads and parses a backup file as regedit would read it.
BackupContents ReadBackupFile(FileSystem& files, const AnsiCodePage& ansi, const std::string& path);

// The backup folder with a trailing backslash ("" stays "").
std::string AsBackupFolder(std::string folder);

// The full path of a file named on the command line when it is a ".reg" file
// directly inside the backup folder (a bare name is taken from the folder);
// nullopt for anything else.
std::optional<std::string> BackupFileInFolder(const std::string& folder, const std::string& named);

}  // namespace lindqua
