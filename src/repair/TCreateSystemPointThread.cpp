#include "repair/TCreateSystemPointThread.h"

#include <thread>

namespace lindqua {

TCreateSystemPointThread::TCreateSystemPointThread(RestorePointClient& client, RestorePointNotifier& notifyWindow)
    : client_(client), shared_(std::make_shared<Shared>()) {
  shared_->notify = &notifyWindow;
}

TCreateSystemPointThread::~TCreateSystemPointThread() {
  Abandon();
  if (!thread_.joinable()) return;
  // A worker that has answered is about to end and is waited for. One still
  // inside the system's request is let go: it must not hold up the dialog or
  // the program's exit, and the shared state outlives it.
  if (Finished()) thread_.join();
  else thread_.detach();
}

void TCreateSystemPointThread::Start() {
  if (thread_.joinable()) return;
  thread_ = std::thread([client = &client_, shared = shared_] {
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
  });
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
