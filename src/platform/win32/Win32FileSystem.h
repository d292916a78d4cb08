#pragma once
// Files, folders, drives, environment and shell folders through the wide
// Windows and shell functions.
#include "platform/FileSystem.h"

namespace lindqua {

class Win32FileSystem : public FileSystem {
 public:
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
  bool MoveFileReplacing(std::string_view from, std::string_view to) override;
  std::string GetSpecialFolder(int csidl) override;
  std::optional<std::string> ShortcutTarget(std::string_view shortcutPath) override;

  // Shortcut walks and the Recycle Bin, in Win32ShellFiles.cpp.
  std::unique_ptr<ShellSession> BeginShellSession() override;
  [[nodiscard]] RecycleResult RecycleFile(std::string_view path) override;
};

}  // namespace lindqua
