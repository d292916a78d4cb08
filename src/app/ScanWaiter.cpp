#include "app/ScanWaiter.h"

namespace lindqua {

void ScanWaiter::PostSectionDone() {
  {
    std::lock_guard lock(mutex_);
    ++progress_.sectionsDone;
  }
  changed_.notify_all();
}

void ScanWaiter::PostScanFinished() {
  {
    std::lock_guard lock(mutex_);
    progress_.finished = true;
  }
  changed_.notify_all();
}

ScanWaiter::Progress ScanWaiter::WaitForChange(const Progress& seen, std::chrono::milliseconds timeout) {
  std::unique_lock lock(mutex_);
  changed_.wait_for(lock, timeout, [&] {
    return progress_.sectionsDone != seen.sectionsDone || progress_.finished != seen.finished;
  });
  return progress_;
}

ScanWaiter::Progress ScanWaiter::Current() {
  std::lock_guard lock(mutex_);
  return progress_;
}

}  // namespace lindqua
