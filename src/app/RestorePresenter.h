#pragma once
// The window that lists backup files, restores one through the registry
// editor and deletes it, or deletes one directly.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/AnsiCodePage.h"
#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"
#include "platform/SystemFacts.h"

namespace lindqua {

struct BackupRow {
  std::string fileName;
  std::string dateText;
  std::string sizeText;
};

class RestoreView {
 public:
  virtual ~RestoreView() = default;
  virtual void SetFolderText(const std::string& folder) = 0;
  virtual void SetRows(const std::vector<BackupRow>& rows) = 0;
  virtual void SelectRow(int index) = 0;  // -1: none
  virtual void SetActionsEnabled(bool enabled) = 0;
  virtual void ShowInformation(const std::string& text) = 0;
  // The folder picker; nullopt when the user cancels.
  virtual std::optional<std::string> SelectFolder(const std::string& caption) = 0;
};

// Kilobytes rounded up, digits grouped by ",", then " KB".
std::string FormatSizeKB(std::uint64_t bytes);

class TfrmRestorePresenter {
 public:
  using ImportFunction = std::function<bool(const std::string& commandLine, const std::string& hintText)>;

  // The registry and the code page let the restore check what came back.
  TfrmRestorePresenter(RestoreView& view, FileSystem& files, SystemFacts& facts, RegistryBackend& registry,
                       const AnsiCodePage& ansi, ImportFunction runImport);

  void Show(const std::string& backupFolder);
  void ListBackupFiles(const std::string& folder);
  void OnSelect(int index);
  void Browse();
  // Also on double-click. The file is read first and never imported when
  // damaged; after the import every key and value is read back, and the file
  // is deleted only when all came back.
  void Restore();
  // Removes the selected row with its file; a file that stays keeps its row
  // and the user is told.
  void Delete();

  const std::vector<BackupRow>& Rows() const noexcept { return rows_; }
  int Selected() const noexcept { return selected_; }
  const std::string& Folder() const noexcept { return folder_; }

 private:
  std::string SelectedPath() const;
  void Publish();

  RestoreView& view_;
  FileSystem& files_;
  SystemFacts& facts_;
  RegistryBackend& registry_;
  const AnsiCodePage& ansi_;
  ImportFunction runImport_;
  std::string folder_;
  std::vector<BackupRow> rows_;
  int selected_ = -1;
};

}  // namespace lindqua
