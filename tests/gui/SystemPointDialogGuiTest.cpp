// The restore-point dialog under Wine: Wine's System Restore client refuses
// the request, so the dialog asks whether the fix goes on; fake clients give
// the quick success and the request that never answers.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <mutex>

#include "gui/DialogDriver.h"
#include "platform/win32/Win32RestorePointClient.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/SystemPointDialog.h"

namespace lindqua::test {

namespace {

constexpr char FailureQuestion[] = "Restore Point creation Failed! Contiue to fix?";

class AnsweringClient : public RestorePointClient {
 public:
  RestorePointResult Create(const RestorePointRequest&) override { return RestorePointResult::Created; }
};

// Holds the request until released, like a System Restore that takes its time.
class HoldingClient : public RestorePointClient {
 public:
  RestorePointResult Create(const RestorePointRequest&) override {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return released_; });
    return RestorePointResult::Created;
  }
  void Release() {
    std::lock_guard lock(mutex_);
    released_ = true;
    changed_.notify_all();
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool released_ = false;
};

HWND WaitForSystemPointDialog() { return WaitForDialog(WithControl(IDC_SYSTEMPOINT_PROGRESS)); }

int ProgressOf(HWND dialog) {
  return static_cast<int>(::SendMessageW(::GetDlgItem(dialog, IDC_SYSTEMPOINT_PROGRESS), PBM_GETPOS, 0, 0));
}

// Watches for the failure question until stopped; it must not appear.
class QuestionWatch {
 public:
  QuestionWatch()
      : worker_([this] {
          while (!stop_) {
            if (FindDialog(MessageBoxWith(FailureQuestion))) seen_ = true;
            ::Sleep(5);
          }
        }) {}
  bool Seen() {
    stop_ = true;
    if (worker_.joinable()) worker_.join();
    return seen_;
  }
  ~QuestionWatch() { Seen(); }

 private:
  std::atomic<bool> stop_{false};
  std::atomic<bool> seen_{false};
  std::thread worker_;
};

}  // namespace

TEST(SystemPointDialogGui, RefusedRequestAsksAndTheAnswerDecides) {
  // The client outlives any worker it serves.
  static Win32RestorePointClient client;
  for (const int answer : {IDYES, IDNO}) {
    DialogScript script([answer](DialogScript& s) {
      HWND dialog = WaitForSystemPointDialog();
      s.Check(dialog != nullptr, "the restore-point dialog appeared");
      if (dialog) {
        s.Check(TextOf(dialog) == "Create System Point", "caption: " + TextOf(dialog));
        s.Check(!(::GetWindowLongW(dialog, GWL_STYLE) & WS_SYSMENU), "no title-bar buttons");
        s.Check(TextOf(::GetDlgItem(dialog, IDC_SYSTEMPOINT_TITLE)) == "Creating Restore Point", "bold title");
      }
      HWND box = WaitForDialog(MessageBoxWith(FailureQuestion));
      s.Check(box != nullptr, "the failure question appeared");
      if (!box) return;
      s.Check(TextOf(box) == "Vantorel Lindqua", "question caption: " + TextOf(box));
      s.Check(::GetDlgItem(box, IDYES) && ::GetDlgItem(box, IDNO), "Yes and No buttons");
      s.Check(IsDefaultButton(box, IDNO) && !IsDefaultButton(box, IDYES), "No is the default button");
      Click(box, answer);
    });
    const bool goOn = RunSystemPointDialog(nullptr, client);
    EXPECT_EQ(script.Failures(), "");
    EXPECT_EQ(goOn, answer == IDYES) << (answer == IDYES ? "Yes" : "No");
    EXPECT_EQ(FindDialog(WithControl(IDC_SYSTEMPOINT_PROGRESS)), nullptr) << "the dialog is gone";
  }
}

TEST(SystemPointDialogGui, CreatedPointClosesWithoutAQuestion) {
  static AnsweringClient client;
  QuestionWatch watch;
  EXPECT_TRUE(RunSystemPointDialog(nullptr, client));
  EXPECT_FALSE(watch.Seen());
}

TEST(SystemPointDialogGui, ClosedBeforeTheAnswerAbandonsTheFix) {
  static HoldingClient client;  // released only at the end; its worker is abandoned, not killed
  HWND owner = ::CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP | WS_VISIBLE, 100, 80, 600, 400, nullptr, nullptr,
                                 nullptr, nullptr);
  ASSERT_NE(owner, nullptr);
  QuestionWatch watch;
  DialogScript script([owner](DialogScript& s) {
    HWND dialog = WaitForSystemPointDialog();
    s.Check(dialog != nullptr, "the restore-point dialog appeared");
    if (!dialog) return;
    s.Check(!::IsWindowEnabled(owner), "the owner is disabled while the dialog is up");
    RECT ownerRect{}, dialogRect{};
    ::GetWindowRect(owner, &ownerRect);
    ::GetWindowRect(dialog, &dialogRect);
    s.Check(std::abs((ownerRect.left + ownerRect.right) - (dialogRect.left + dialogRect.right)) <= 2 &&
                std::abs((ownerRect.top + ownerRect.bottom) - (dialogRect.top + dialogRect.bottom)) <= 2,
            "centred on its owner");
    // The first tick of the 1000 ms timer moves the bar from 0 to 10.
    s.Check(WaitFor([&] { return ProgressOf(dialog) >= 10; }), "the bar advances on the timer");
    ::PostMessageW(dialog, WM_CLOSE, 0, 0);
  });
  const bool goOn = RunSystemPointDialog(owner, client);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_FALSE(goOn);
  EXPECT_FALSE(watch.Seen());
  client.Release();
  ::DestroyWindow(owner);
}

}  // namespace lindqua::test
