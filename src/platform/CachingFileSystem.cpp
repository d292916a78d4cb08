#include "platform/CachingFileSystem.h"

#include "platform/Text.h"

namespace lindqua {

namespace {

enum : std::uint8_t { FileKnown = 1, IsFile = 2, FolderKnown = 4, IsFolder = 8 };

// Windows maps these names to devices in any folder, with any extension.
bool IsDeviceName(std::string_view upperName) {
  std::string_view base = upperName.substr(0, upperName.find('.'));
  while (!base.empty() && base.back() == ' ') base.remove_suffix(1);
  for (std::string_view device : {"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$", "CLOCK$"})
    if (base == device) return true;
  return base.size() == 4 && (base.substr(0, 3) == "COM" || base.substr(0, 3) == "LPT");
}

// A name that Windows looks up as written in its folder: no separators or
// streams, no trailing dots or blanks it would strip, no "." or "..", no device.
bool IsPlainName(std::string_view upperName) {
  if (upperName.empty() || upperName.back() == '.' || upperName.back() == ' ') return false;
  if (upperName.find_first_of("/:") != std::string_view::npos) return false;
  return !IsDeviceName(upperName);
}

// "X:\name\name..." where every name is plain: such a path lies inside the
// folder its text before the last "\" names.
bool IsPlainDrivePath(std::string_view upperPath) {
  if (upperPath.size() < 4 || upperPath[1] != ':' || upperPath[2] != '\\') return false;
  if (upperPath[0] < 'A' || upperPath[0] > 'Z') return false;
  std::size_t start = 3;
  while (start <= upperPath.size()) {
    std::size_t end = upperPath.find('\\', start);
    if (end == std::string_view::npos) end = upperPath.size();
    if (!IsPlainName(upperPath.substr(start, end - start))) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

CachingFileSystem::CachingFileSystem(FileSystem& inner, std::size_t maxEntries)
    : inner_(inner), maxEntries_(maxEntries == 0 ? 1 : maxEntries) {}

void CachingFileSystem::Clear() {
  known_.clear();
  Map().swap(known_);  // give the memory back, not only the entries
}

std::uint8_t& CachingFileSystem::Known(std::string_view upperPath) {
  if (known_.size() >= maxEntries_) known_.clear();
  auto it = known_.find(upperPath);
  if (it == known_.end()) it = known_.emplace(std::string(upperPath), 0).first;
  return it->second;
}

bool CachingFileSystem::IsFolderFact(std::string_view upperPath, bool& isFolder) const {
  auto it = known_.find(upperPath);
  if (it == known_.end() || !(it->second & FolderKnown)) return false;
  isFolder = (it->second & IsFolder) != 0;
  return true;
}

// Nothing exists inside a path that is no folder. Only plain drive paths are
// judged this way: "..", devices, streams and stripped trailing characters
// can lead a lookup somewhere else than the text says.
bool CachingFileSystem::ParentIsNoFolder(std::string_view upperPath) const {
  if (!IsPlainDrivePath(upperPath)) return false;
  const std::size_t slash = upperPath.rfind('\\');
  const std::string_view parent = upperPath.substr(0, slash == 2 ? 3 : slash);
  bool isFolder = true;
  if (IsFolderFact(parent, isFolder)) return !isFolder;
  if (slash == 2) return false;
  const std::string withSlash = std::string(parent) + "\\";
  return IsFolderFact(withSlash, isFolder) && !isFolder;
}

bool CachingFileSystem::FileExists(std::string_view path) {
  key_ = UpperCase(path);
  if (auto it = known_.find(key_); it != known_.end() && (it->second & FileKnown)) return it->second & IsFile;
  if (ParentIsNoFolder(key_)) {
    Known(key_) = FileKnown | FolderKnown;
    return false;
  }
  ++innerQueries_;
  const bool exists = inner_.FileExists(path);
  std::uint8_t& bits = Known(key_);
  // A path is a file or a folder, never both.
  bits |= exists ? (FileKnown | IsFile | FolderKnown) : FileKnown;
  if (exists) bits &= static_cast<std::uint8_t>(~IsFolder);
  return exists;
}

bool CachingFileSystem::DirectoryExists(std::string_view path) {
  key_ = UpperCase(path);
  if (auto it = known_.find(key_); it != known_.end() && (it->second & FolderKnown)) return it->second & IsFolder;
  if (ParentIsNoFolder(key_)) {
    Known(key_) = FileKnown | FolderKnown;
    return false;
  }
  ++innerQueries_;
  const bool exists = inner_.DirectoryExists(path);
  std::uint8_t& bits = Known(key_);
  bits |= exists ? (FolderKnown | IsFolder | FileKnown) : FolderKnown;
  if (exists) bits &= static_cast<std::uint8_t>(~IsFile);
  return exists;
}

bool CachingFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.WriteWholeFile(path, bytes);
}

bool CachingFileSystem::AppendAndFlush(std::string_view path, std::string_view bytes) {
  Clear();
  return inner_.AppendAndFlush(path, bytes);
}

bool CachingFileSystem::ForceDirectories(std::string_view path) {
  Clear();
  return inner_.ForceDirectories(path);
}

bool CachingFileSystem::CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
  Clear();
  return inner_.CopyFileTo(from, to, failIfExists);
}

bool CachingFileSystem::DeletePath(std::string_view path) {
  Clear();
  return inner_.DeletePath(path);
}

}  // namespace lindqua
