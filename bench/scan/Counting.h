#pragma once
// Pass-through platform layers that count what a scan asks of the system:
// every registry call (opening, enumerating, reading a key) and every
// existence question (a file, a folder, a kind, a listing, a stem).
#include <cstdint>
#include <memory>

#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"

namespace lindqua::bench {

class CountingRegistry : public RegistryBackend {
 public:
  explicit CountingRegistry(RegistryBackend& inner) : inner_(inner) {}
  RegStatus OpenRoot(RootKey root, std::uint32_t access, std::unique_ptr<RegistryKey>& out) override;
  std::optional<std::string> CurrentUserKeyName() override { return inner_.CurrentUserKeyName(); }
  std::uint64_t Calls() const noexcept { return calls_; }
  void Reset() noexcept { calls_ = 0; }

 private:
  RegistryBackend& inner_;
  std::uint64_t calls_ = 0;
};

class CountingFileSystem : public FileSystem {
 public:
  explicit CountingFileSystem(FileSystem& inner) : inner_(inner) {}
  std::uint64_t Questions() const noexcept { return questions_; }
  void Reset() noexcept { questions_ = 0; }

  bool FileExists(std::string_view path) override { return ++questions_, inner_.FileExists(path); }
  bool DirectoryExists(std::string_view path) override { return ++questions_, inner_.DirectoryExists(path); }
  std::optional<std::uint64_t> FileSize(std::string_view path) override { return ++questions_, inner_.FileSize(path); }
  std::vector<FolderEntry> ListFolder(std::string_view folder) override { return ++questions_, inner_.ListFolder(folder); }
  PathKind KindOf(std::string_view path) override { return ++questions_, inner_.KindOf(path); }
  bool ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) override {
    return ++questions_, inner_.ListNamesComplete(folder, names);
  }
  bool StemFileExists(std::string_view folder, std::string_view stem) override {
    return ++questions_, inner_.StemFileExists(folder, stem);
  }
  DriveType DriveTypeOf(char letter) override { return inner_.DriveTypeOf(letter); }
  bool VolumeReady(char letter) override { return inner_.VolumeReady(letter); }
  std::string ExpandEnvironment(std::string_view text) override { return inner_.ExpandEnvironment(text); }
  bool ReadWholeFile(std::string_view path, std::string& bytes) override { return inner_.ReadWholeFile(path, bytes); }
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override { return inner_.WriteWholeFile(path, bytes); }
  bool AppendAndFlush(std::string_view path, std::string_view bytes) override { return inner_.AppendAndFlush(path, bytes); }
  bool ForceDirectories(std::string_view path) override { return inner_.ForceDirectories(path); }
  bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) override {
    return inner_.CopyFileTo(from, to, failIfExists);
  }
  bool DeletePath(std::string_view path) override { return inner_.DeletePath(path); }
  std::string GetSpecialFolder(int csidl) override { return inner_.GetSpecialFolder(csidl); }
  std::optional<std::string> ShortcutTarget(std::string_view path) override { return inner_.ShortcutTarget(path); }
  std::unique_ptr<ShellSession> BeginShellSession() override { return inner_.BeginShellSession(); }
  RecycleResult RecycleFile(std::string_view path) override { return inner_.RecycleFile(path); }

 private:
  FileSystem& inner_;
  std::uint64_t questions_ = 0;
};

}  // namespace lindqua::bench
