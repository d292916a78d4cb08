#pragma once
// A scan owner without a window: counts what the scan posts and wakes the
// thread that waits for it.
#include <chrono>
#include <condition_variable>
#include <mutex>

#include "engine/ScanNotifier.h"

namespace lindqua {

class ScanWaiter : public ScanNotifier {
 public:
  struct Progress {
    int sectionsDone = 0;
    bool finished = false;
  };

  void PostSectionDone() override;
  void PostScanFinished() override;

  // Returns as soon as something new has been posted since `seen`, or when
  // `timeout` has passed (a scan that ends on an error posts nothing more).
  Progress WaitForChange(const Progress& seen, std::chrono::milliseconds timeout);
  Progress Current();

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  Progress progress_;
};

}  // namespace lindqua
