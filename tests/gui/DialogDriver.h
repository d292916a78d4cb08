#pragma once
// Drives modal dialogs from a second thread while the test's own thread sits
// in the dialog's modal loop. Every wait polls for a condition against a
// deadline; clicks are posted so that a click which opens a further modal
// loop never blocks the driver.
#include <windows.h>

#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "gui/GuiDriver.h"

namespace lindqua::test {

inline constexpr auto DialogWaitLimit = std::chrono::seconds(60);

// Polls another thread's windows: there is nothing to wait on but time.
inline bool WaitFor(const std::function<bool()>& condition, std::chrono::seconds limit = DialogWaitLimit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    ::Sleep(5);
  }
  return true;
}

inline std::string ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  std::string text;
  for (int i = 0; name[i]; ++i) text.push_back(static_cast<char>(name[i]));
  return text;
}

struct DialogSearch {
  const std::function<bool(HWND)>* match;
  HWND found = nullptr;
};

inline BOOL CALLBACK MatchDialog(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<DialogSearch*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  if (process != ::GetCurrentProcessId() || !::IsWindowVisible(window) || ClassOf(window) != "#32770") return TRUE;
  if (!(*search.match)(window)) return TRUE;
  search.found = window;
  return FALSE;
}

// A visible dialog of this process for which `match` holds; nullptr when none.
inline HWND FindDialog(const std::function<bool(HWND)>& match) {
  DialogSearch search{&match};
  ::EnumWindows(MatchDialog, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

inline HWND WaitForDialog(const std::function<bool(HWND)>& match, std::chrono::seconds limit = DialogWaitLimit) {
  HWND found = nullptr;
  WaitFor([&] { return (found = FindDialog(match)) != nullptr; }, limit);
  return found;
}

// A dialog that holds a control with this id.
inline std::function<bool(HWND)> WithControl(int id) {
  return [id](HWND window) { return ::GetDlgItem(window, id) != nullptr; };
}

// A message box: its text sits in the static control 0xFFFF.
inline std::function<bool(HWND)> MessageBoxWith(const std::string& text) {
  return [text](HWND window) {
    HWND label = ::GetDlgItem(window, 0xFFFF);
    return label && TextOf(label) == text;
  };
}

// The button that Enter presses: it carries the default push-button style.
inline bool IsDefaultButton(HWND dialog, int id) {
  HWND button = ::GetDlgItem(dialog, id);
  return button && (::GetWindowLongW(button, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON;
}

inline void Click(HWND dialog, int id) {
  ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(::GetDlgItem(dialog, id)));
}

// The driver thread: runs a script and keeps what went wrong, for the test's
// own thread to report once the modal call has returned.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(DialogScript&)> script)
      : worker_([this, script = std::move(script)] { script(*this); }) {}
  ~DialogScript() { Join(); }

  void Check(bool condition, const std::string& what) {
    if (condition) return;
    std::lock_guard lock(mutex_);
    failures_.push_back(what);
  }
  // Joins the driver and returns its failures, joined by newlines.
  std::string Failures() {
    Join();
    std::string all;
    for (const std::string& failure : failures_) all += failure + "\n";
    return all;
  }

 private:
  void Join() {
    if (worker_.joinable()) worker_.join();
  }
  std::mutex mutex_;
  std::vector<std::string> failures_;
  std::thread worker_;
};

}  // namespace lindqua::test
