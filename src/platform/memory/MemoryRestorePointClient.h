#pragma once
// A restore-point client whose answer the test sets, and that can hold the
// caller until the test releases it (a request that takes long).
#include <condition_variable>
#include <mutex>

#include "platform/RestorePointClient.h"

namespace lindqua {

class MemoryRestorePointClient : public RestorePointClient {
 public:
  explicit MemoryRestorePointClient(RestorePointResult answer = RestorePointResult::Created) : answer_(answer) {}

  RestorePointResult Create(const RestorePointRequest& request) override {
    std::unique_lock lock(mutex_);
    lastRequest_ = request;
    ++calls_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return !holding_; });
    return answer_;
  }

  void Hold() {
    std::lock_guard lock(mutex_);
    holding_ = true;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    holding_ = false;
    changed_.notify_all();
  }
  int Calls() {
    std::lock_guard lock(mutex_);
    return calls_;
  }
  RestorePointRequest LastRequest() {
    std::lock_guard lock(mutex_);
    return lastRequest_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  RestorePointResult answer_;
  bool holding_ = false;
  int calls_ = 0;
  RestorePointRequest lastRequest_{};
};

}  // namespace lindqua
