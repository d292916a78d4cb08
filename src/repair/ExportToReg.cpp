#include "repair/ExportToReg.h"

#include "platform/Text.h"
#include "repair/RegExportText.h"
#include "repair/RegKeySnapshot.h"

namespace lindqua {

namespace {

constexpr std::string_view Header = "REGEDIT4\r\n";

std::string_view NormalizedKeyPath(std::string_view path) {
  if (!path.empty() && path.back() == '\\') path.remove_suffix(1);
  // The fix names a key directly under a root as "\Name"; the key is the same
  // and its key line must not show two backslashes.
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  return path;
}

// A file that exists but holds nothing (left by a failed first write) still
// needs the header, or regedit would import nothing from it.
// A missing or empty file gets the header; regedit imports nothing without it.
bool NeedsHeader(FileSystem& files, std::string_view fileName) {
  const auto size = files.FileSize(fileName);
  return !size || *size == 0;
}

}  // namespace

ExportResult RenderBackupBlock(RegistryBackend& registry, const AnsiCodePage& ansi, RootKey rootKey, bool wholeKey,
                               std::string_view valueName, std::string_view keyPath, std::string& block) {
  const std::string_view path = NormalizedKeyPath(keyPath);
  RegKeySnapshot snapshot;
  if (ReadKeySnapshot(registry, rootKey, path, wholeKey, valueName, snapshot) != SnapshotStatus::Ok)
    return {ExportStatus::CannotBeExact, "cannot read " + std::string(RootKeyName(rootKey)) + "\\" + std::string(path)};
  RenderProblem problem;
  if (!WriteKeyBlock(snapshot, rootKey, ansi, block, problem)) return {ExportStatus::CannotBeExact, problem.what};
  return {ExportStatus::Written, {}};
}

ExportResult ExportToReg(const ExportPlatform& platform, std::string_view fileName, RootKey rootKey, bool wholeKey,
                         std::string_view valueName, std::string_view keyPath) {
  std::string block;
  const ExportResult rendered =
      RenderBackupBlock(platform.registry, platform.ansi, rootKey, wholeKey, valueName, keyPath, block);
  if (rendered.status != ExportStatus::Written) return rendered;

  if (NeedsHeader(platform.files, fileName)) block.insert(0, Header);
  if (!platform.files.AppendAndFlush(fileName, block)) return {ExportStatus::WriteFailed, {}};
  return {ExportStatus::Written, {}};
}

}  // namespace lindqua
