#include "support/FailingFileSystem.h"

#include "platform/Text.h"

namespace lindqua::test {

bool FailingFileSystem::Fails(FileFault kind) {
  const std::uint64_t n = ++counts_[static_cast<int>(kind)];
  const bool fails = failAt_ != 0 && kind == failKind_ && n == failAt_;
  injected_ = injected_ || fails;
  return fails;
}

bool FailingFileSystem::Refused(std::string_view path) const {
  if (refused_.empty() || path.size() < refused_.size()) return false;
  return SameText(path.substr(0, refused_.size()), refused_) &&
         (path.size() == refused_.size() || path[refused_.size()] == '\\');
}

bool FailingFileSystem::WriteWholeFile(std::string_view path, std::string_view bytes) {
  return !Fails(FileFault::Write) && inner_.WriteWholeFile(path, bytes);
}

bool FailingFileSystem::AppendAndFlush(std::string_view path, std::string_view bytes) {
  // Every kind is counted on every append, so that a test can fail the
  // Nth append any way.
  const bool lost = Fails(FileFault::Append);
  const bool unflushed = Fails(FileFault::Flush);
  const bool cut = Fails(FileFault::ShortAppend);
  if (lost) return false;
  if (cut) {
    std::size_t part = bytes.size() / 2;
    while (part > 1 && (bytes[part - 1] == '\n' || bytes[part - 1] == '\r')) --part;
    (void)inner_.AppendAndFlush(path, bytes.substr(0, part));
    return false;
  }
  const bool written = inner_.AppendAndFlush(path, bytes);
  return written && !unflushed;
}

bool FailingFileSystem::ForceDirectories(std::string_view path) {
  // A folder that is already there needs no creating, so only a real
  // creation can fail.
  if (inner_.DirectoryExists(path)) return true;
  return !Fails(FileFault::CreateFolder) && inner_.ForceDirectories(path);
}

bool FailingFileSystem::CopyFileTo(std::string_view from, std::string_view to, bool failIfExists) {
  return !Fails(FileFault::Write) && inner_.CopyFileTo(from, to, failIfExists);
}

bool FailingFileSystem::DeletePath(std::string_view path) {
  return !Fails(FileFault::Delete) && inner_.DeletePath(path);
}

bool FailingFileSystem::MoveFileReplacing(std::string_view from, std::string_view to) {
  return !Fails(FileFault::Replace) && inner_.MoveFileReplacing(from, to);
}

FileSystem::RecycleResult FailingFileSystem::RecycleFile(std::string_view path) {
  return Fails(FileFault::Delete) ? RecycleResult::Refused : inner_.RecycleFile(path);
}

}  // namespace lindqua::test
