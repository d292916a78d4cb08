#pragma once
// Files, folders, drives, environment and shell paths, as the program sees
// them through Windows paths ("C:\Dir\File.ext"). Every method answers and
// never throws; a path it cannot judge is reported as not existing.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/StemName.h"

namespace lindqua {

enum class DriveType : std::uint32_t {
  Unknown = 0,
  NoRootDir = 1,
  Removable = 2,
  Fixed = 3,
  Remote = 4,
  CdRom = 5,
  RamDisk = 6
};

struct FolderEntry {
  std::string name;
  bool isDirectory = false;
  std::uint64_t size = 0;
  std::int64_t writeTime = 0;  // FILETIME ticks
};

// Shell folder ids the program asks for (CSIDL values).
namespace SpecialFolder {
inline constexpr int Programs = 0x0002;
inline constexpr int Personal = 0x0005;
inline constexpr int Startup = 0x0007;
inline constexpr int Recent = 0x0008;
inline constexpr int StartMenu = 0x000B;
inline constexpr int Desktop = 0x0010;
inline constexpr int Fonts = 0x0014;
inline constexpr int AppData = 0x001A;
inline constexpr int CommonStartMenu = 0x0016;
inline constexpr int CommonPrograms = 0x0017;
inline constexpr int CommonStartup = 0x0018;
inline constexpr int CommonDesktop = 0x0019;
inline constexpr int LocalAppData = 0x001C;
inline constexpr int Windows = 0x0024;
inline constexpr int System = 0x0025;
inline constexpr int ProgramFiles = 0x0026;
inline constexpr int CommonAppData = 0x0023;
}  // namespace SpecialFolder

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // An existing file (not a folder) has this path. Also true when the system
  // will not say whether anything is there (access refused, a drive not
  // ready, a network error): only a definite "not there" answers false, so
  // that nothing is ever taken for missing on the strength of a refusal.
  virtual bool FileExists(std::string_view path) = 0;
  // An existing folder has this path; a trailing "\" is accepted. True when
  // the system will not say, as for FileExists.
  virtual bool DirectoryExists(std::string_view path) = 0;
  // The size of an existing file; nullopt for a folder or a missing path.
  virtual std::optional<std::uint64_t> FileSize(std::string_view path) = 0;
  // The entries of a folder, without "." and "..", in the file system's order.
  virtual std::vector<FolderEntry> ListFolder(std::string_view folder) = 0;

  // What the path names, in one question where the system can answer so.
  // None and File also promise that nothing can be reached below the path.
  // Unsure is a path the system would not judge that way (access refused, a
  // link): ask FileExists or DirectoryExists, and infer nothing below it.
  enum class PathKind { None, File, Folder, Unsure };
  virtual PathKind KindOf(std::string_view path) {
    if (FileExists(path)) return PathKind::File;
    return DirectoryExists(path) ? PathKind::Folder : PathKind::None;
  }
  // One name a folder listing holds. A short (8.3) name is listed beside the
  // long name it stands for, because a lookup finds the file by either.
  struct ListedName {
    std::string name;
    bool isDirectory = false;
    bool isShortName = false;
  };
  // The names in a folder, true only when the list is known to hold every
  // name a lookup in that folder can succeed with, in ASCII case folding (a
  // caller may then take a name missing from it as not existing). The
  // default cannot vouch for that and answers false.
  virtual bool ListNamesComplete(std::string_view folder, std::vector<ListedName>& names) {
    (void)folder;
    names.clear();
    return false;
  }
  // A file (not a folder) in `folder` is named `stem`, a dot and at least one
  // more character ("Voice" finds "Voice.apm"). A stem that is no plain name
  // (empty, a separator or wildcard, a trailing dot or blank) finds nothing.
  // The default reads the whole listing; a system that can ask one pattern
  // does better.
  virtual bool StemFileExists(std::string_view folder, std::string_view stem) {
    if (!IsPlainStem(stem)) return false;
    for (const FolderEntry& entry : ListFolder(folder))
      if (!entry.isDirectory && NameExtendsStem(entry.name, stem)) return true;
    return false;
  }

  // The length of the shortest prefix of `path`, `from` characters or
  // longer, that names an existing file as FileExists answers; 0 when none
  // does. A check asks this of a text whose folder is missing, where any
  // prefix may name a program run with the rest as its arguments.
  virtual std::size_t FirstFilePrefix(std::string_view path, std::size_t from) {
    for (std::size_t length = from == 0 ? 1 : from; length <= path.size(); ++length)
      if (FileExists(path.substr(0, length))) return length;
    return 0;
  }

  // Type of the drive whose root is letter + ":\".
  virtual DriveType DriveTypeOf(char letter) = 0;
  // The drive holds a readable volume; asked with the critical-error box off.
  virtual bool VolumeReady(char letter) = 0;

  // %NAME% references replaced by their values; unknown names stay as written.
  virtual std::string ExpandEnvironment(std::string_view text) = 0;

  // The whole content of a file; false when it cannot be read.
  virtual bool ReadWholeFile(std::string_view path, std::string& bytes) = 0;
  // Replaces (or creates) a file with these bytes; true only when all were written.
  [[nodiscard]] virtual bool WriteWholeFile(std::string_view path, std::string_view bytes) = 0;
  // A write that can say why it failed: `error` holds the system's words for
  // the failure (one line, UTF-8), empty when `ok`.
  struct WriteOutcome {
    bool ok = false;
    std::string error;
  };
  // WriteWholeFile with the reason of a failure. The default cannot ask the
  // system and names no cause; a real file system gives the system's message.
  [[nodiscard]] virtual WriteOutcome WriteWholeFileWithReason(std::string_view path, std::string_view bytes) {
    if (WriteWholeFile(path, bytes)) return {true, {}};
    return {false, "the file could not be written"};
  }
  // Appends to a file (created when missing) and flushes it to the disk before
  // returning true: the backup writer deletes nothing until this said so.
  // All of the bytes reach the disk, or the call fails and the file is cut
  // back to what it held before (a file the call made is taken away), as far
  // as the system still lets it be changed.
  [[nodiscard]] virtual bool AppendAndFlush(std::string_view path, std::string_view bytes) = 0;

  // Creates the folder and every missing parent; true when it exists afterwards.
  [[nodiscard]] virtual bool ForceDirectories(std::string_view path) = 0;
  [[nodiscard]] virtual bool CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) = 0;
  // Deletes a file or a folder with its contents, permanently and silently.
  [[nodiscard]] virtual bool DeletePath(std::string_view path) = 0;
  // Flushes the file `from` to the disk, then puts it in the place of `to` in
  // one step, replacing a file there, so that a reader finds either the old
  // file or the whole new one. On false `to` is as it was. The default
  // refuses: a file system that cannot replace in one step replaces nothing.
  [[nodiscard]] virtual bool MoveFileReplacing(std::string_view from, std::string_view to) {
    (void)from;
    (void)to;
    return false;
  }
  // A shell folder by CSIDL; empty when the system has none.
  virtual std::string GetSpecialFolder(int csidl) = 0;
  // The target path stored in a shortcut file; nullopt when it cannot be read.
  virtual std::optional<std::string> ShortcutTarget(std::string_view shortcutPath) = 0;

  // --- Shortcut walks and the Recycle Bin ---
  // Keeps the shell's objects ready on the calling thread while the returned
  // holder lives, so that a walk resolving many shortcuts sets them up once.
  // Every call works without one; nullptr where nothing needs keeping.
  class ShellSession {
   public:
    virtual ~ShellSession() = default;
  };
  virtual std::unique_ptr<ShellSession> BeginShellSession() { return nullptr; }

  enum class RecycleResult {
    Recycled,      // the file is in the Recycle Bin
    NotThere,      // no file has this path
    NotAFile,      // a folder, a pattern with "*" or "?", or no full local path
    NoRecycleBin,  // the file's drive has none: it would be deleted for good
    Refused,       // the system did not move it; it is still in place
  };
  // Moves exactly the one file named to the Recycle Bin, with no question
  // shown. It never deletes for good: where the system would, the file stays.
  // The default answers Refused: a file system that cannot recycle keeps files.
  [[nodiscard]] virtual RecycleResult RecycleFile(std::string_view path) {
    (void)path;
    return RecycleResult::Refused;
  }
};

}  // namespace lindqua
