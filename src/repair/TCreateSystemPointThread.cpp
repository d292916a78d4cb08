#include "repair/TCreateSystemPointThread.h"

#include <thread>

namespace lindqua {

TCreateSystemPointThread::TCreateSystemPointThread(RestorePointClient& client, RestorePointNotifier& notifyWindow)
    : client_(client), shared_(std::make_shared<Shared>()) {
  shared_->notify = &notifyWindow;
}

TCreateSystemPointThread::~TCreateSystemPointThread() { Abandon(); }

void TCreateSystemPointThread::Start() {
  if (started_) return;
  started_ = true;
  // Detached on purpose: a request that hangs inside the system must not hold
  // up the dialog or the program's exit, and the shared state outlives both.
  std::thread([client = &client_, shared = shared_] {
    int lParam = 1;
    try {
      // A missing library or function is reported as a failed request, so
      // that the dialog always ends through its question.
      if (client->Create(PackRestorePointRequest(RestorePointDescription)) == RestorePointResult::Created) lParam = 0;
    } catch (...) {
      lParam = 1;
    }
    std::lock_guard lock(shared->mutex);
    shared->finished = true;
    if (shared->notify) shared->notify->PostRestorePointDone(lParam);
  }).detach();
}

void TCreateSystemPointThread::Abandon() {
  std::lock_guard lock(shared_->mutex);
  shared_->notify = nullptr;
}

bool TCreateSystemPointThread::Finished() const {
  std::lock_guard lock(shared_->mutex);
  return shared_->finished;
}

}  // namespace lindqua
