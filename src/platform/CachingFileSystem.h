#pragma once
// A file system that asks the one below it each existence question at most
// once. A scan asks about the same folders and program names hundreds of
// thousands of times; within one scan the answers are taken as fixed. Writes
// through it drop what it knows. Used by one thread at a time.
//
// Besides repeating answers it knows two kinds of "not there" without asking:
// anything inside a path that is no folder, and a plain name missing from the
// complete listing of its folder (which the system then lists once). Paths
// that Windows may resolve elsewhere than their text says are always asked,
// and so is every path whose system answer was Unsure: the cache never
// answers "absent" where the system might have found something.
#include <cstdint>
#include <string>
#include <unordered_map>

#include "platform/FileSystem.h"
#include "platform/PathTable.h"
#include "platform/UpperPathKey.h"

namespace lindqua {

class CachingFileSystem : public FileSystem {
 public:
  // When more paths than maxEntries are known, the cache starts again empty.
  explicit CachingFileSystem(FileSystem& inner, std::size_t maxEntries = DefaultMaxEntries);

  static constexpr std::size_t DefaultMaxEntries = 1u << 18;

  // Forgets every answer (the end of a scan).
  void Clear();
  std::uint64_t InnerQueries() const noexcept { return innerQueries_; }

  bool FileExists(std::string_view path) override;
  bool DirectoryExists(std::string_view path) override;
  bool StemFileExists(std::string_view folder, std::string_view stem) override;
  std::size_t FirstFilePrefix(std::string_view path, std::size_t from) override;
  std::optional<std::uint64_t> FileSize(std::string_view path) override { return inner_.FileSize(path); }
  std::vector<FolderEntry> ListFolder(std::string_view folder) override { return inner_.ListFolder(folder); }
  DriveType DriveTypeOf(char letter) override { return inner_.DriveTypeOf(letter); }
  bool VolumeReady(char letter) override { return inner_.VolumeReady(letter); }
  std::string ExpandEnvironment(std::string_view text) override { return inner_.ExpandEnvironment(text); }
  bool ReadWholeFile(std::string_view path, std::string& bytes) override { return inner_.ReadWholeFile(path, bytes); }
  bool WriteWholeFile(std::string_view path, std::string_view bytes) override;
  WriteOutcome WriteWholeFileWithReason(std::string_view path, std::string_view bytes) override;
  bool AppendAndFlush(std::string_view path, std::string_view bytes) override;
  bool ForceDirectories(std::string_view path) override;
  bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) override;
  bool DeletePath(std::string_view path) override;
  std::string GetSpecialFolder(int csidl) override { return inner_.GetSpecialFolder(csidl); }
  std::optional<std::string> ShortcutTarget(std::string_view shortcutPath) override {
    return inner_.ShortcutTarget(shortcutPath);
  }
  std::unique_ptr<ShellSession> BeginShellSession() override { return inner_.BeginShellSession(); }
  [[nodiscard]] RecycleResult RecycleFile(std::string_view path) override {
    Clear();  // the file may be gone from its folder, whatever the answer says
    return inner_.RecycleFile(path);
  }

 private:
  // A path already upper-cased and hashed, looked up without hashing again.
  struct HashedPath {
    std::string_view text;
    std::uint64_t hash;
  };

  // The key's first `length` characters, for a lookup.
  HashedPath PrefixOfKey(std::size_t length) const {
    return {std::string_view(key_.Text()).substr(0, length), key_.HashOf(length)};
  }
  bool Answer(std::string_view path, bool folder);
  void DropEntries();
  std::uint8_t* Find(const HashedPath& upperPath) noexcept { return known_.Find(upperPath.text, upperPath.hash); }
  std::uint8_t* Find(std::string_view upperPath) noexcept { return known_.Find(upperPath, PathHash(upperPath)); }
  std::uint8_t& Known(const HashedPath& upperPath);
  // An entry of a listing being kept: room for the whole listing was made
  // before its first entry, so none may drop the others.
  std::uint8_t& Listing(std::string_view upperPath) { return known_.Insert(upperPath, PathHash(upperPath)); }
  // For the key, when it is a plain drive path.
  bool KnownAbsent();
  bool InKnownNoFolder();
  bool AtOrBelowAbsentBase(std::size_t slash) const;
  bool BelowAbsentBase() const;
  bool KeyIsPlainDrivePath() const;
  bool KeyIsDrivePath() const;
  // What is known of the folder a prefix of the key lies in.
  struct PrefixFolder {
    std::size_t length = 0;     // of its path in the key; 0: none
    std::size_t nameStart = 0;  // where the prefix's last name starts
    std::uint8_t bits = 0;
    bool plainDrivePath = false;   // its path is "X:\" and plain names
    bool belowAbsentBase = false;  // ... lies below the absent base by plain names
    // Where the first "/" or ":" and the first character no listing proves
    // absent stand in the name, or the key's end.
    std::size_t oddAt = 0;
    std::size_t unlistableAt = 0;
    // The name from nameStart to `end` is plain (IsPlainName).
    bool NameIsPlain(std::string_view key, std::size_t end) const noexcept;
    // ... or stays in its folder (StaysInFolder).
    bool NameStaysIn(std::string_view key, std::size_t end) const noexcept;
  };
  PrefixFolder FolderAt(std::size_t slash);
  // The key's first `length` characters name no file, by what is known already.
  bool PrefixKnownNoFile(std::size_t length, const PrefixFolder& folder);
  std::size_t KnownNoFilePrefixes(std::string_view path, std::size_t first) const;
  std::size_t FirstFilePrefixFrom(std::string_view path, std::size_t first, std::size_t knownNoFile);
  bool EnsureListed(std::string_view upperFolder, std::uint8_t& folderBits);

  FileSystem& inner_;
  std::size_t maxEntries_;
  PathTable known_;
  // Stem questions the system answered, by upper-cased "folder\stem".
  std::unordered_map<std::string, bool> stemAnswers_;
  UpperPathKey key_;  // the path of each question, upper-cased
  std::string stemKey_;  // ... and of each stem question
  // The last plain path found to be no folder: the prefix probing of one
  // string asks about many paths below it in a row.
  std::string absentBase_;
  // The last folder whose complete listing answered a question: its other
  // children are judged by one lookup.
  std::string listedBase_;
  // The path of the last prefix question, and the prefixes of it from
  // `prefixFrom_` to `prefixNoFileTo_` long, none of which names a file.
  // Texts asked in a row often share most of a missing folder's path, and
  // within a scan what was no file stays none.
  std::string prefixPath_;
  std::size_t prefixFrom_ = 0, prefixNoFileTo_ = 0;
  bool unsureSeen_ = false;  // an answer the system was unsure of was given since it was last cleared
  std::uint64_t innerQueries_ = 0;
};

}  // namespace lindqua
