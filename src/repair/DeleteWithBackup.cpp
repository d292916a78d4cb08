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

// Opens root\path for reading, from the root whether or not the path starts
// with "\". Only NotFound means the key is gone: a key that cannot be opened
// for any other reason is still there and must not count as fixed.
RegStatus OpenForBackup(RegistryBackend& registry, RootKey root, std::string_view path,
                        std::unique_ptr<RegistryKey>& key) {
  if (!path.empty() && path.front() == '\\') path.remove_prefix(1);
  std::unique_ptr<RegistryKey> rootKey;
  const RegStatus status = registry.OpenRoot(root, RegAccess::Read, rootKey);
  if (status != RegStatus::Ok) return status;
  return rootKey->OpenSubKey(path, RegAccess::Read, key);
}

// The registry would not let the key be changed: for want of rights, or for
// another reason. Nothing was deleted.
DeleteResult RefusedBy(const TRegistry& reg) {
  DeleteResult result{DeleteOutcome::Refused, {}};
  result.accessDenied = reg.LastStatus() == RegStatus::AccessDenied;
  return result;
}

DeleteResult Unreadable(std::string_view what, std::string_view path) {
  return {DeleteOutcome::NotExact, std::string(what) + " " + std::string(path) + " cannot be read; nothing was deleted"};
}

}  // namespace

DeleteResult DeleteKeyWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                 std::string_view rootName, std::string_view keyPath) {
  const auto root = RootKeyFromName(rootName);
  if (!root) return {DeleteOutcome::UnknownRoot, {}};
  std::unique_ptr<RegistryKey> key;
  const RegStatus opened = OpenForBackup(platform.registry, *root, keyPath, key);
  if (opened == RegStatus::NotFound) return {DeleteOutcome::NothingThere, {}};
  if (opened != RegStatus::Ok) return Unreadable("the key", keyPath);
  key.reset();
  TRegistry reg(platform.registry);
  reg.SetRootKey(*root);
  DeleteResult result = FromExport(ExportToReg(platform, backupFile, *root, true, {}, keyPath));
  if (result.outcome != DeleteOutcome::Deleted) return result;
  if (!reg.DeleteKey(keyPath)) return RefusedBy(reg);
  return result;
}

DeleteResult DeleteValueWithBackup(const ExportPlatform& platform, const std::string& backupFile,
                                   std::string_view rootName, std::string_view keyPath, std::string_view valueName) {
  const auto root = RootKeyFromName(rootName);
  if (!root) return {DeleteOutcome::UnknownRoot, {}};
  std::unique_ptr<RegistryKey> key;
  const RegStatus opened = OpenForBackup(platform.registry, *root, keyPath, key);
  if (opened == RegStatus::NotFound) return {DeleteOutcome::NothingThere, {}};
  if (opened != RegStatus::Ok) return Unreadable("the key", keyPath);
  RegValue value;
  const RegStatus read = key->QueryValue(valueName, value);
  if (read == RegStatus::NotFound) return {DeleteOutcome::NothingThere, {}};
  if (read != RegStatus::Ok) return Unreadable("the value in", keyPath);
  key.reset();
  TRegistry reg(platform.registry);
  reg.SetRootKey(*root);
  // The key is opened from the root whether or not the path starts with "\",
  // with the rights a deletion needs: a refusal here is a refused deletion.
  if (!reg.OpenKey(keyPath, false))
    return reg.LastStatus() == RegStatus::AccessDenied ? RefusedBy(reg) : Unreadable("the key", keyPath);
  DeleteResult result = FromExport(ExportToReg(platform, backupFile, *root, false, valueName, keyPath));
  if (result.outcome != DeleteOutcome::Deleted) return result;
  if (!reg.DeleteValue(valueName)) return RefusedBy(reg);
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
