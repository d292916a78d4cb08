#pragma once
// Records what a scan posted to its owner, and lets a test wait for it.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/ScanNotifier.h"

namespace lindqua::test {

class RecordingNotifier : public ScanNotifier {
 public:
  void PostSectionDone() override {
    std::lock_guard lock(mutex_);
    ++sectionsDone;
    changed_.notify_all();
  }
  void PostScanFinished() override {
    std::lock_guard lock(mutex_);
    ++scansFinished;
    changed_.notify_all();
  }
  int SectionsDone() {
    std::lock_guard lock(mutex_);
    return sectionsDone;
  }
  int ScansFinished() {
    std::lock_guard lock(mutex_);
    return scansFinished;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int sectionsDone = 0;
  int scansFinished = 0;
};

}  // namespace lindqua::test
