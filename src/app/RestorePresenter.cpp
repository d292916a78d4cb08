#include "app/RestorePresenter.h"

#include <algorithm>

#include "platform/Text.h"
#include "repair/BackupFiles.h"
#include "repair/BackupRestore.h"
#include "repair/BackupVerification.h"

namespace lindqua {

namespace {

std::string WithBackslash(std::string folder) {
  if (folder.empty() || folder.back() != '\\') folder.push_back('\\');
  return folder;
}

// Enough lines to name the keys without a box taller than the screen.
constexpr std::size_t ShownDifferences = 12;

std::string DifferencesText(const std::vector<BackupDifference>& differences) {
  std::string text = "The backup was imported, but these keys and values did not come back as backed up:\r\n";
  for (std::size_t i = 0; i < differences.size() && i < ShownDifferences; ++i)
    text += DescribeDifference(differences[i]) + "\r\n";
  if (differences.size() > ShownDifferences)
    text += "... and " + std::to_string(differences.size() - ShownDifferences) + " more\r\n";
  return text + "The backup file was kept.";
}

}  // namespace

std::string FormatSizeKB(std::uint64_t bytes) {
  const std::uint64_t kilobytes = bytes / 1024 + (bytes % 1024 ? 1 : 0);
  std::string digits = std::to_string(kilobytes);
  std::string grouped;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) grouped.push_back(',');
    grouped.push_back(digits[i]);
  }
  return grouped + " KB";
}

TfrmRestorePresenter::TfrmRestorePresenter(RestoreView& view, FileSystem& files, SystemFacts& facts,
                                           RegistryBackend& registry, const AnsiCodePage& ansi,
                                           ImportFunction runImport)
    : view_(view), files_(files), facts_(facts), registry_(registry), ansi_(ansi), runImport_(std::move(runImport)) {}

void TfrmRestorePresenter::Show(const std::string& backupFolder) {
  folder_ = backupFolder;
  view_.SetFolderText(folder_);
  ListBackupFiles(folder_);
}

void TfrmRestorePresenter::ListBackupFiles(const std::string& folder) {
  if (!files_.DirectoryExists(folder)) {
    view_.ShowInformation("can not find the backup folder.");
    return;
  }
  for (const BackupFileEntry& entry : lindqua::ListBackupFiles(files_, folder))
    rows_.push_back(BackupRow{entry.name, facts_.DateTimeText(facts_.FileTimeToLocal(entry.writeTime)),
                              FormatSizeKB(entry.size)});
  // Backups are named after the time of the fix, so this puts the newest first.
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const BackupRow& a, const BackupRow& b) { return UpperCase(a.fileName) > UpperCase(b.fileName); });
  selected_ = -1;
  Publish();
}

void TfrmRestorePresenter::OnSelect(int index) {
  selected_ = (index >= 0 && index < static_cast<int>(rows_.size())) ? index : -1;
  view_.SetActionsEnabled(selected_ >= 0);
}

void TfrmRestorePresenter::Browse() {
  std::optional<std::string> chosen = view_.SelectFolder("Please select the directory");
  if (!chosen) return;
  folder_ = *chosen;
  view_.SetFolderText(folder_);
  rows_.clear();
  selected_ = -1;
  Publish();
  ListBackupFiles(folder_);
}

std::string TfrmRestorePresenter::SelectedPath() const {
  return WithBackslash(folder_) + rows_[static_cast<std::size_t>(selected_)].fileName;
}

void TfrmRestorePresenter::Restore() {
  if (selected_ < 0) return;
  const std::string path = SelectedPath();
  const BackupContents contents = ReadBackupFile(files_, ansi_, path);
  if (!contents.problem.empty()) {
    view_.ShowInformation(contents.problem + "\r\nThe backup was not imported.");
    return;
  }
  if (!runImport_(RegeditImportCommand(path), "Restore registry...")) return;
  const std::vector<BackupDifference> differences = VerifyRestoredKeys(registry_, contents.keys);
  if (differences.empty()) Delete();
  else view_.ShowInformation(DifferencesText(differences));
}

void TfrmRestorePresenter::Delete() {
  if (selected_ < 0) return;
  const std::string path = SelectedPath();
  // The row goes only with its file, so that the list never hides a backup
  // that is still there (a file held open by another program, a refused folder).
  if (!files_.DeletePath(path) && files_.FileExists(path)) {
    view_.ShowInformation("Unable to delete " + path);
    return;
  }
  rows_.erase(rows_.begin() + selected_);
  if (selected_ >= static_cast<int>(rows_.size())) selected_ = static_cast<int>(rows_.size()) - 1;
  Publish();
}

void TfrmRestorePresenter::Publish() {
  view_.SetRows(rows_);
  view_.SelectRow(selected_);
  view_.SetActionsEnabled(selected_ >= 0);
}

}  // namespace lindqua
