#pragma once
// The rows, status text and detail line that a scan fills and the window
// shows. One mutex guards them; the scan writes through ScanSink, the window
// reads and edits rows here. A stop is requested under the same mutex, so
// once it returns nothing more from that scan gets in.
#include <cstddef>
#include <functional>
#include <mutex>
#include <stop_token>
#include <string>
#include <vector>

#include "engine/Finding.h"

namespace lindqua {

struct ScanTexts {
  std::string status;
  bool statusVisible = false;
  std::string detail;
  bool detailVisible = false;
};

// What the window's list and reports may do with the rows: read them.
class ResultsReader {
 public:
  virtual ~ResultsReader() = default;
  virtual std::size_t Count() const = 0;
  virtual Finding Row(std::size_t index) const = 0;
  virtual std::vector<Finding> Rows() const = 0;
  // Runs `read` on the rows under the lock, without copying them.
  virtual void ReadRows(const std::function<void(const std::vector<Finding>&)>& read) const = 0;
};

class ResultsModel : public ResultsReader {
 public:
  std::size_t Count() const override;
  std::vector<Finding> Rows() const override;
  Finding Row(std::size_t index) const override;
  void ReadRows(const std::function<void(const std::vector<Finding>&)>& read) const override;
  ScanTexts Texts() const;

  // Runs `edit` on the rows under the lock (remove, check, filter).
  void EditRows(const std::function<void(std::vector<Finding>&)>& edit);
  void Clear();

  // Requests the stop of a scan under the model's lock.
  void StopScan(std::stop_source& source);

 private:
  friend class ScanSink;
  mutable std::mutex mutex_;
  std::vector<Finding> rows_;
  ScanTexts texts_;
};

// The write side of one scan: every write is dropped once that scan's stop
// has been requested.
class ScanSink {
 public:
  ScanSink(ResultsModel& model, std::stop_token stop) : model_(model), stop_(std::move(stop)) {}

  bool Stopped() const noexcept { return stop_.stop_requested(); }
  void AddFinding(std::string_view caption, std::string_view shownText, std::string_view location, int tag,
                  int section, std::string_view reason);
  void SetStatus(std::string_view text, bool visible);
  void SetDetail(std::string_view text, bool visible);
  // Runs `action` under the model's lock unless the stop was requested; the
  // notifier posts its messages this way so that no message follows a stop.
  bool RunUnlessStopped(const std::function<void()>& action);

 private:
  ResultsModel& model_;
  std::stop_token stop_;
};

}  // namespace lindqua
