#include "engine/ResultsModel.h"

namespace lindqua {

std::size_t ResultsModel::Count() const {
  std::lock_guard lock(mutex_);
  return rows_.size();
}

std::vector<Finding> ResultsModel::Rows() const {
  std::lock_guard lock(mutex_);
  return rows_;
}

Finding ResultsModel::Row(std::size_t index) const {
  std::lock_guard lock(mutex_);
  return index < rows_.size() ? rows_[index] : Finding{};
}

void ResultsModel::ReadRows(const std::function<void(const std::vector<Finding>&)>& read) const {
  std::lock_guard lock(mutex_);
  read(rows_);
}

ScanTexts ResultsModel::Texts() const {
  std::lock_guard lock(mutex_);
  return texts_;
}

void ResultsModel::EditRows(const std::function<void(std::vector<Finding>&)>& edit) {
  std::lock_guard lock(mutex_);
  edit(rows_);
}

void ResultsModel::Clear() {
  std::lock_guard lock(mutex_);
  rows_.clear();
}

void ResultsModel::StopScan(std::stop_source& source) {
  std::lock_guard lock(mutex_);
  source.request_stop();
}

void ScanSink::AddFinding(std::string_view caption, std::string_view shownText, std::string_view location, int tag,
                          int section, std::string_view reason) {
  std::lock_guard lock(model_.mutex_);
  if (stop_.stop_requested()) return;
  model_.rows_.push_back(Finding{std::string(caption), std::string(shownText), std::string(location), tag, section,
                                 false, std::string(reason)});
}

void ScanSink::SetStatus(std::string_view text, bool visible) {
  std::lock_guard lock(model_.mutex_);
  if (stop_.stop_requested()) return;
  model_.texts_.status = std::string(text);
  model_.texts_.statusVisible = visible;
}

void ScanSink::SetDetail(std::string_view text, bool visible) {
  std::lock_guard lock(model_.mutex_);
  if (stop_.stop_requested()) return;
  model_.texts_.detail.assign(text);
  model_.texts_.detailVisible = visible;
}

bool ScanSink::RunUnlessStopped(const std::function<void()>& action) {
  std::lock_guard lock(model_.mutex_);
  if (stop_.stop_requested()) return false;
  action();
  return true;
}

}  // namespace lindqua
