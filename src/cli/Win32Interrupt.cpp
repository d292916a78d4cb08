#include "cli/Win32Interrupt.h"

#include <atomic>

namespace lindqua {

namespace {

// The console calls its handler on a thread of its own, with no context.
std::atomic<std::stop_source*> currentStop{nullptr};
std::atomic<HANDLE> currentReleased{nullptr};

// A closed console ends the process as soon as the handler returns; the
// system allows a few seconds, enough to finish one row.
constexpr DWORD CloseGrace = 4000;

}  // namespace

Win32Interrupt::Win32Interrupt() : released_(::CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

Win32Interrupt::~Win32Interrupt() {
  if (catching_) Release();
}

BOOL WINAPI Win32Interrupt::OnControl(DWORD event) {
  std::stop_source* stop = currentStop.load();
  if (!stop) return FALSE;
  stop->request_stop();
  if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) {
    if (HANDLE released = currentReleased.load()) ::WaitForSingleObject(released, CloseGrace);
  }
  return TRUE;
}

std::stop_token Win32Interrupt::Catch() {
  stop_ = std::stop_source{};
  ::ResetEvent(released_.get());
  currentStop.store(&stop_);
  currentReleased.store(released_.get());
  catching_ = ::SetConsoleCtrlHandler(&Win32Interrupt::OnControl, TRUE) != FALSE;
  return stop_.get_token();
}

void Win32Interrupt::Release() {
  if (catching_) ::SetConsoleCtrlHandler(&Win32Interrupt::OnControl, FALSE);
  catching_ = false;
  currentStop.store(nullptr);
  ::SetEvent(released_.get());
}

}  // namespace lindqua
