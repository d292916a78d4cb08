#pragma once
// A file system that passes every call to the one below and fails the Nth
// operation of one chosen kind, as a full disk, a pulled drive or a refused
// folder would. Counting first with no failure set tells a test how many
// operations of each kind a run makes, so that it can fail each one in turn.
#include <array>
#include <cstdint>
#include <string>

#include "platform/FileSystem.h"

namespace lindqua::test {

enum class FileFault {
  Write,         // a whole-file write: nothing changes
  Append,        // an append: nothing reaches the file
  Flush,         // an append whose bytes arrive but whose flush fails
  CreateFolder,  // a folder creation
  Delete,        // a delete or a move to the Recycle Bin
  Replace,       // a move over another file: both stay as they were
  ShortAppend,   // an append that leaves part of its bytes, ending inside a line, and
                 // fails without the file being cut back (a drive pulled mid-write)
};
inline constexpr int FileFaultKinds = 7;

class FailingFileSystem : public FileSystem {
 public:
  explicit FailingFileSystem(FileSystem& inner) : inner_(inner) {}

  // Fails the nth (1-based) operation of this kind from now on; 0 fails none.
  void FailAt(FileFault kind, std::uint64_t n) {
    failKind_ = kind;
    failAt_ = n;
  }
  std::uint64_t Count(FileFault kind) const { return counts_[static_cast<int>(kind)]; }
  bool Injected() const { return injected_; }
  // Every question about this folder or anything in it is refused, as for a
  // folder the user may not list or a locked encrypted drive: the system
  // then says neither that something is there nor that nothing is.
  void RefuseUnder(std::string folder) { refused_ = std::move(folder); }

  bool FileExists(std::string_view path) override { return Refused(path) || inner_.FileExists(path); }
  bool DirectoryExists(std::string_view path) override { return Refused(path) || inner_.DirectoryExists(path); }
  std::optional<std::uint64_t> FileSize(std::string_view path) override {
    return Refused(path) ? std::nullopt : inner_.FileSize(path);
  }
  std::vector<FolderEntry> ListFolder(std::string_view folder) override {
    return Refused(folder) ? std::vector<FolderEntry>{} : inner_.ListFolder(folder);
  }
  PathKind KindOf(std::string_view path) override { return Refused(path) ? PathKind::Unsure : inner_.KindOf(path); }
  bool ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) override {
    names.clear();
    return !Refused(folder) && inner_.ListNamesComplete(folder, names);
  }
  DriveType DriveTypeOf(char letter) override { return inner_.DriveTypeOf(letter); }
  bool VolumeReady(char letter) override { return inner_.VolumeReady(letter); }
  std::string ExpandEnvironment(std::string_view text) override { return inner_.ExpandEnvironment(text); }
  bool ReadWholeFile(std::string_view path, std::string& bytes) override { return inner_.ReadWholeFile(path, bytes); }
  std::string GetSpecialFolder(int csidl) override { return inner_.GetSpecialFolder(csidl); }
  std::optional<std::string> ShortcutTarget(std::string_view path) override { return inner_.ShortcutTarget(path); }
  std::unique_ptr<ShellSession> BeginShellSession() override { return inner_.BeginShellSession(); }

  bool WriteWholeFile(std::string_view path, std::string_view bytes) override;
  bool AppendAndFlush(std::string_view path, std::string_view bytes) override;
  bool ForceDirectories(std::string_view path) override;
  bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) override;
  bool DeletePath(std::string_view path) override;
  bool MoveFileReplacing(std::string_view from, std::string_view to) override;
  RecycleResult RecycleFile(std::string_view path) override;

 private:
  // Counts one operation of this kind; true when it is the one to fail.
  bool Fails(FileFault kind);
  bool Refused(std::string_view path) const;

  FileSystem& inner_;
  std::array<std::uint64_t, FileFaultKinds> counts_{};
  FileFault failKind_ = FileFault::Write;
  std::uint64_t failAt_ = 0;
  bool injected_ = false;
  std::string refused_;
};

}  // namespace lindqua::test
