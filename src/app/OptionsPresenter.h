#pragma once
// The options dialog: the restore-point, removable-drive and 64-bit path options, the
// backup folder and the user's ignore list. Edits live here until "&OK";
// only an OK with an existing backup folder writes the settings record, so
// Cancel and closing the window discard everything.
#include <optional>
#include <string>
#include <vector>

#include "app/OptionsSetting.h"
#include "platform/FileSystem.h"

namespace lindqua {

class OptionsView {
 public:
  virtual ~OptionsView() = default;
  virtual void SetCreateRestore(bool checked) = 0;
  virtual void SetIgnoreRemoveMedia(bool checked) = 0;
  virtual void SetCheck64BitPaths(bool checked) = 0;
  virtual void SetOutputFolder(const std::string& folder) = 0;
  virtual bool CreateRestore() = 0;
  virtual bool IgnoreRemoveMedia() = 0;
  virtual bool Check64BitPaths() = 0;
  virtual std::string OutputFolder() = 0;
  // The list shows these rows with `selected` selected (-1: none).
  virtual void SetKeyRows(const std::vector<std::string>& rows, int selected) = 0;
  virtual void SetEditRemoveEnabled(bool enabled) = 0;
  // The entry dialog with `text` in its field; nullopt when cancelled.
  virtual std::optional<std::string> EnterRegistryKey(const std::string& text) = 0;
  // The folder picker; nullopt when the user cancels.
  virtual std::optional<std::string> SelectFolder(const std::string& caption) = 0;
  virtual void ShowError(const std::string& text) = 0;
  virtual void FocusOutputFolder() = 0;
};

class TfrmOptionsPresenter {
 public:
  TfrmOptionsPresenter(OptionsView& view, FileSystem& files, TOptionsSetting& options);

  void FormShow();
  void lvKeysSelect(int index);  // -1: no row selected
  void bAddClick();
  void aEditExecute();  // also a double-click on the list
  void aRemoveExecute();
  void bBrowseClick();
  // True when the settings were stored and the dialog may close with OK.
  [[nodiscard]] bool bOKClick();

  const std::vector<std::string>& Rows() const noexcept { return rows_; }
  int Selected() const noexcept { return selected_; }

 private:
  void Publish();

  OptionsView& view_;
  FileSystem& files_;
  TOptionsSetting& options_;
  std::vector<std::string> rows_;
  int selected_ = -1;
};

}  // namespace lindqua
