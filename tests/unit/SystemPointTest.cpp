// The restore-point request, its worker and the dialog's decisions.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <optional>
#include <thread>

#include "app/SystemPointPresenter.h"
#include "platform/memory/MemoryRestorePointClient.h"

namespace lindqua::test {

namespace {

// Polls an atomic instead of waiting on a condition variable: the worker is
// detached, and a test must be free to destroy the notifier the moment the
// post has landed, which a mutex still being unlocked by the worker forbids.
class RecordingRestoreNotifier : public RestorePointNotifier {
 public:
  void PostRestorePointDone(int lParam) override { posted_.store(lParam); }
  // The message as the dialog's message loop would receive it.
  std::optional<int> WaitForPost(std::chrono::seconds limit = std::chrono::seconds(20)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (posted_.load() < 0 && std::chrono::steady_clock::now() < deadline)
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return Posted();
  }
  std::optional<int> Posted() {
    const int value = posted_.load();
    return value < 0 ? std::nullopt : std::optional<int>(value);
  }

 private:
  std::atomic<int> posted_{-1};
};

class FakeSystemPointView : public SystemPointView {
 public:
  void SetProgress(int position) override { progress = position; }
  bool AskContinueAfterFailure() override {
    ++questions;
    return answerYes;
  }
  void Close() override { ++closes; }
  int progress = -1;
  int questions = 0;
  int closes = 0;
  bool answerYes = true;
};

}  // namespace

TEST(RestorePointRequest, IsThePacked80ByteRecord) {
  const RestorePointRequest r = PackRestorePointRequest(RestorePointDescription);
  EXPECT_EQ(r[0], 100);
  EXPECT_EQ(r[1] | r[2] | r[3], 0);
  for (int i = 4; i < 16; ++i) EXPECT_EQ(r[i], 0) << i;
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&r[16])), "Made by Ostrelan");
  for (std::size_t i = 16 + 16; i < r.size(); ++i) EXPECT_EQ(r[i], 0) << i;
  const RestorePointRequest longOne = PackRestorePointRequest(std::string(100, 'x'));
  EXPECT_EQ(longOne[16 + 62], 'x');
  EXPECT_EQ(longOne[79], 0) << "the description always keeps its terminating NUL";
}

TEST(RestorePointProgress, StepsShrinkAsTheBarFills) {
  int position = 0;
  std::vector<int> after;
  for (int tick = 1; tick <= 45; ++tick) after.push_back(position = NextRestorePointProgress(position));
  EXPECT_EQ(after[3], 40);
  EXPECT_EQ(after[5], 50);
  EXPECT_EQ(after[8], 61);
  EXPECT_EQ(after[18], 81);
  EXPECT_EQ(after[36], 99);
  EXPECT_EQ(after[37], 100) << "full on the 38th tick";
  EXPECT_EQ(after.back(), 100);
}

TEST(SystemPointDialog, QuickSuccessClosesWithoutQuestion) {
  MemoryRestorePointClient client(RestorePointResult::Created);
  RecordingRestoreNotifier notifier;
  FakeSystemPointView view;
  TfrmSystemPointPresenter dialog(view, client, notifier);
  dialog.Show();
  auto posted = notifier.WaitForPost();
  ASSERT_TRUE(posted.has_value());
  EXPECT_EQ(*posted, 0);
  dialog.OnRestorePointDone(*posted);
  EXPECT_EQ(view.questions, 0);
  EXPECT_EQ(view.closes, 1);
  EXPECT_EQ(dialog.Result(), ModalResult::Ok);
  dialog.OnClose();
  EXPECT_EQ(dialog.Result(), ModalResult::Ok) << "closing after the answer changes nothing";
  EXPECT_EQ(client.LastRequest(), PackRestorePointRequest(RestorePointDescription));
}

TEST(SystemPointDialog, RefusedOrUnavailableRequestAsksTheUser) {
  for (auto answer : {RestorePointResult::Refused, RestorePointResult::Unavailable}) {
    for (bool yes : {true, false}) {
      MemoryRestorePointClient client(answer);
      RecordingRestoreNotifier notifier;
      FakeSystemPointView view;
      view.answerYes = yes;
      TfrmSystemPointPresenter dialog(view, client, notifier);
      dialog.Show();
      auto posted = notifier.WaitForPost();
      ASSERT_EQ(posted, 1);
      dialog.OnRestorePointDone(*posted);
      EXPECT_EQ(view.questions, 1);
      EXPECT_EQ(view.closes, 1);
      EXPECT_EQ(dialog.Result(), yes ? ModalResult::Ok : ModalResult::Cancel);
    }
  }
}

TEST(SystemPointDialog, LongRequestKeepsTheBarAtFullAndEarlyCloseCancels) {
  // The abandoned worker may still be inside the client after the test ends;
  // like the program's own client, this one lives as long as the process.
  static MemoryRestorePointClient& client = *new MemoryRestorePointClient;
  client.Hold();
  RecordingRestoreNotifier notifier;
  FakeSystemPointView view;
  {
    TfrmSystemPointPresenter dialog(view, client, notifier);
    dialog.Show();
    for (int tick = 0; tick < 50; ++tick) dialog.OnTimer();
    EXPECT_EQ(view.progress, 100);
    EXPECT_FALSE(dialog.Reported());
    dialog.OnClose();
    EXPECT_EQ(dialog.Result(), ModalResult::Cancel);
  }
  client.Release();  // the abandoned worker ends later and posts nowhere
  for (int i = 0; i < 2000 && client.Calls() == 0; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(notifier.Posted().has_value());
}

TEST(SystemPointDialog, ARequestThatNeverAnswersEndsAsAFailure) {
  // The abandoned worker may still be inside the client when the process
  // ends, so the client is never destroyed, as the program's own lives to the end.
  static MemoryRestorePointClient& client = *new MemoryRestorePointClient;
  client.Hold();
  RecordingRestoreNotifier notifier;
  FakeSystemPointView view;
  view.answerYes = false;
  {
    TfrmSystemPointPresenter dialog(view, client, notifier);
    dialog.Show();
    for (int tick = 0; tick < TfrmSystemPointPresenter::GiveUpTicks; ++tick) dialog.OnTimer();
    EXPECT_TRUE(dialog.Reported());
    EXPECT_EQ(view.questions, 1);
    EXPECT_EQ(dialog.Result(), ModalResult::Cancel);
  }
  client.Release();
}

}  // namespace lindqua::test
