#pragma once
// The worker that asks for a restore point while the dialog shows progress.
// It reports once, by a posted message. The dialog may close before that (the
// program is shutting down): the worker is then abandoned, never killed, and
// its late answer goes nowhere.
#include <memory>
#include <mutex>
#include <thread>

#include "platform/RestorePointClient.h"

namespace lindqua {

class RestorePointNotifier {
 public:
  virtual ~RestorePointNotifier() = default;
  // lParam 0: the restore point was created; 1: the request failed.
  virtual void PostRestorePointDone(int lParam) = 0;
};

class TCreateSystemPointThread {
 public:
  // The client must live as long as the process (the platform objects do).
  TCreateSystemPointThread(RestorePointClient& client, RestorePointNotifier& notifyWindow);
  ~TCreateSystemPointThread();  // abandons a worker that still runs
  TCreateSystemPointThread(const TCreateSystemPointThread&) = delete;
  TCreateSystemPointThread& operator=(const TCreateSystemPointThread&) = delete;

  void Start();
  // After this the worker's answer is dropped; it returns at once.
  void Abandon();
  bool Finished() const;

 private:
  struct Shared {
    std::mutex mutex;
    RestorePointNotifier* notify = nullptr;
    bool finished = false;
  };
  RestorePointClient& client_;
  std::shared_ptr<Shared> shared_;
  std::thread thread_;
};

}  // namespace lindqua
