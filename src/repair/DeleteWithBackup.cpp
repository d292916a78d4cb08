#include "repair/DeleteWithBackup.h"

#include "platform/TRegistry.h"

namespace lindqua {

namespace {

DeleteResult FromExport(const ExportResult& exported) {
  if (exported.status == ExportStatus::CannotBeExact) return {DeleteOutcome::NotExact, exported.problem};
  if (exported.status == ExportStatus::WriteFailed)
    return {DeleteOutcome::BackupFailed, exported.problem.empty() ? "the backup file cannot be written"
                                                                   : exported.problem};
  return {DeleteOutcome::Deleted, {}};
}

}  // namespace

DeleteResult DeleteKeyWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                 std::string_view rootName, std::string_view keyPath) {
  const auto root = RootKeyFromName(rootName);
  if (!root) return {DeleteOutcome::UnknownRoot, {}};
  TRegistry reg(platform.registry);
  reg.SetRootKey(*root);
  if (!reg.KeyExists(keyPath)) return {DeleteOutcome::NothingThere, {}};
  DeleteResult result = FromExport(ExportToReg(platform, backupFile, *root, true, {}, keyPath));
  if (result.outcome != DeleteOutcome::Deleted) return result;
  if (!reg.DeleteKey(keyPath)) result.outcome = DeleteOutcome::Refused;
  return result;
}

DeleteResult DeleteValueWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                   std::string_view rootName, std::string_view keyPath, std::string_view valueName) {
  const auto root = RootKeyFromName(rootName);
  if (!root) return {DeleteOutcome::UnknownRoot, {}};
  TRegistry reg(platform.registry);
  reg.SetRootKey(*root);
  // The key is opened from the root whether or not the path starts with "\".
  if (!reg.OpenKey(keyPath, false) || !reg.ValueExists(valueName)) return {DeleteOutcome::NothingThere, {}};
  DeleteResult result = FromExport(ExportToReg(platform, backupFile, *root, false, valueName, keyPath));
  if (result.outcome != DeleteOutcome::Deleted) return result;
  if (!reg.DeleteValue(valueName)) result.outcome = DeleteOutcome::Refused;
  return result;
}

DeleteResult RecycleFileOfRow(FileSystem& files, std::string_view filePath) {
  const std::string path(filePath);
  switch (files.RecycleFile(filePath)) {
    case FileSystem::RecycleResult::Recycled:
      return {DeleteOutcome::Deleted, {}};
    case FileSystem::RecycleResult::NotThere:
      return {DeleteOutcome::NothingThere, {}};
    case FileSystem::RecycleResult::NotAFile:
      return {DeleteOutcome::NotExact, path + " is not one file; nothing was deleted"};
    case FileSystem::RecycleResult::NoRecycleBin:
      return {DeleteOutcome::NotExact, "the drive of " + path + " has no Recycle Bin; the file was left in place"};
    case FileSystem::RecycleResult::Refused:
      break;
  }
  return {DeleteOutcome::NotExact, "the Recycle Bin did not take " + path + "; the file was left in place"};
}

}  // namespace lindqua
