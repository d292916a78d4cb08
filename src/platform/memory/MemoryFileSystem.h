#pragma once
// Files, folders, drives and environment held in memory, with the Windows
// path rules the program can observe: case-insensitive names that keep their
// stored case, "\" or "/" separators, "." and "..", trailing dots and blanks
// dropped from the last name, invalid characters never found.
#include <map>
#include <memory>
#include <mutex>

#include "platform/FileSystem.h"

namespace lindqua {

class MemoryFileSystem : public FileSystem {
 public:
  // Starts with drive C: as a ready fixed disk holding only its root folder.
  MemoryFileSystem();
  ~MemoryFileSystem() override;

  // Test set-up; parents are created as needed. False for an unusable path.
  bool AddFile(std::string_view path, std::uint64_t size = 0);
  bool AddFolder(std::string_view path);
  bool AddShortcut(std::string_view path, std::string_view target);
  // Adds or changes a drive; a ready drive gets its root folder.
  void SetDrive(char letter, DriveType type, bool ready);
  void SetEnvironment(std::string_view name, std::string_view value);
  void SetSpecialFolder(int csidl, std::string_view path);
  void SetCurrentFolder(std::string_view path);
  // Makes every later write or append to this path fail, as a full disk or a
  // read-only folder does (path "" lifts it).
  void FailWritesTo(std::string_view path);
  // How many existence questions reached this file system (for cache tests).
  std::uint64_t QueryCount() const;

  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  std::optional<std::uint64_t> FileSize(std::string_view path) override;
  std::vector<FolderEntry> ListFolder(std::string_view folder) override;
  PathKind KindOf(std::string_view path) override;
  bool ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) override;
  bool StemFileExists(std::string_view folder, std::string_view stem) override;
  DriveType DriveTypeOf(char letter) override;
  bool VolumeReady(char letter) override;
  std::string ExpandEnvironment(std::string_view text) override;
  bool ReadWholeFile(std::string_view path, std::string& bytes) override;
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override;
  WriteOutcome WriteWholeFileWithReason(std::string_view path, std::string_view bytes) override;
  bool AppendAndFlush(std::string_view path, std::string_view bytes) override;
  bool ForceDirectories(std::string_view path) override;
  bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) override;
  bool DeletePath(std::string_view path) override;
  [[nodiscard]] bool MoveFileReplacing(std::string_view from, std::string_view to) override;
  std::string GetSpecialFolder(int csidl) override;
  std::optional<std::string> ShortcutTarget(std::string_view shortcutPath) override;

  // The Recycle Bin: fixed drives have one unless a test takes it away; a
  // recycled file leaves the tree and is listed by its former path.
  [[nodiscard]] RecycleResult RecycleFile(std::string_view path) override;
  void SetRecycleBin(char letter, bool present);
  std::vector<std::string> RecycledFiles() const;

  struct State;

 private:
  std::unique_ptr<State> state_;
};

}  // namespace lindqua
