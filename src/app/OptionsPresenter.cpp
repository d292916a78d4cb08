#include "app/OptionsPresenter.h"

#include <algorithm>

namespace lindqua {

namespace {
constexpr char BrowseCaption[] = "Please select the directory";
constexpr char MissingFolderText[] = ",can not find the backup folder.";
}  // namespace

TfrmOptionsPresenter::TfrmOptionsPresenter(OptionsView& view, FileSystem& files, TOptionsSetting& options)
    : view_(view), files_(files), options_(options) {}

void TfrmOptionsPresenter::FormShow() {
  view_.SetIgnoreRemoveMedia(options_.IgnoreRemovableDrive);
  view_.SetCreateRestore(options_.CreateRestore);
  view_.SetCheck64BitPaths(options_.Check64BitPaths);
  view_.SetOutputFolder(options_.BackupFolder);
  // A count read from a damaged settings file may disagree with the list
  // itself; neither a negative count nor one past the list reads beyond it.
  const auto count = static_cast<std::size_t>(std::max<std::int32_t>(options_.IgnoreKeyCount, 0));
  const auto shown = std::min(count, options_.IgnoreKeys.size());
  rows_.assign(options_.IgnoreKeys.begin(), options_.IgnoreKeys.begin() + static_cast<std::ptrdiff_t>(shown));
  selected_ = -1;
  Publish();
}

void TfrmOptionsPresenter::lvKeysSelect(int index) {
  selected_ = index >= 0 && static_cast<std::size_t>(index) < rows_.size() ? index : -1;
  view_.SetEditRemoveEnabled(selected_ >= 0);
}

void TfrmOptionsPresenter::bAddClick() {
  const std::optional<std::string> entry = view_.EnterRegistryKey("");
  if (!entry) return;
  rows_.push_back(*entry);
  Publish();
}

void TfrmOptionsPresenter::aEditExecute() {
  if (selected_ < 0) return;
  const std::optional<std::string> entry = view_.EnterRegistryKey(rows_[static_cast<std::size_t>(selected_)]);
  if (!entry) return;
  rows_[static_cast<std::size_t>(selected_)] = *entry;
  Publish();
}

void TfrmOptionsPresenter::aRemoveExecute() {
  if (selected_ < 0) return;
  rows_.erase(rows_.begin() + selected_);
  selected_ = -1;
  Publish();
}

void TfrmOptionsPresenter::bBrowseClick() {
  if (const std::optional<std::string> folder = view_.SelectFolder(BrowseCaption)) view_.SetOutputFolder(*folder);
}

bool TfrmOptionsPresenter::bOKClick() {
  const std::string folder = view_.OutputFolder();
  if (!files_.DirectoryExists(folder)) {
    view_.ShowError(folder + MissingFolderText);
    view_.FocusOutputFolder();
    return false;
  }
  options_.BackupFolder = folder;
  options_.IgnoreRemovableDrive = view_.IgnoreRemoveMedia();
  options_.CreateRestore = view_.CreateRestore();
  options_.Check64BitPaths = view_.Check64BitPaths();
  options_.IgnoreKeyCount = static_cast<std::int32_t>(rows_.size());
  options_.IgnoreKeys = rows_;
  return true;
}

void TfrmOptionsPresenter::Publish() {
  view_.SetKeyRows(rows_, selected_);
  view_.SetEditRemoveEnabled(selected_ >= 0);
}

}  // namespace lindqua
