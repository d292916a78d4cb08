// The shell's folder picker under Wine: a helper thread waits for the dialog
// to appear, checks that it was centred, and cancels it as a user would.
#include <windows.h>
#include <objbase.h>

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ui/win32/SelectFolder.h"

namespace lindqua::test {

namespace {

struct DialogSearch {
  DWORD processId;
  HWND found = nullptr;
};

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<DialogSearch*>(param);
  DWORD process = 0;
  ::GetWindowThreadProcessId(window, &process);
  wchar_t className[16] = {};
  ::GetClassNameW(window, className, 16);
  if (process == search->processId && ::IsWindowVisible(window) && std::wstring_view(className) == L"#32770") {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK CloseWindow(HWND window, LPARAM) { return ::PostMessageW(window, WM_CLOSE, 0, 0); }

struct CancelResult {
  bool seen = false;
  bool centred = false;
};

// Waits up to 60 s for the picker, then cancels it. Should it never show,
// the picker's thread is sent WM_CLOSE so that the test ends instead of hanging.
void CancelPickerWhenShown(DWORD pickerThread, CancelResult& result) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
  DialogSearch search{::GetCurrentProcessId()};
  while (!search.found && std::chrono::steady_clock::now() < deadline) {
    ::EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    if (!search.found) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  if (!search.found) {
    ::EnumThreadWindows(pickerThread, &CloseWindow, 0);
    return;
  }
  result.seen = true;
  RECT window{}, client{};
  if (::GetWindowRect(search.found, &window) && ::GetClientRect(search.found, &client)) {
    result.centred = window.left == (::GetSystemMetrics(SM_CXSCREEN) - client.right) / 2 &&
                     window.top == (::GetSystemMetrics(SM_CYSCREEN) - client.bottom) / 2;
  }
  ::PostMessageW(search.found, WM_COMMAND, IDCANCEL, 0);
}

bool PickAndCancel(std::string& folder, CancelResult& result) {
  const DWORD thread = ::GetCurrentThreadId();
  std::thread watcher([&] { CancelPickerWhenShown(thread, result); });
  const bool picked = SelectFolder(nullptr, "Please select the directory", L"", folder);
  watcher.join();
  return picked;
}

}  // namespace

TEST(SelectFolder, CancellingAnswersFalseAndClearsOnlyAMissingFolder) {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

  std::string missing = "C:\\lindqua no such folder";
  CancelResult first;
  EXPECT_FALSE(PickAndCancel(missing, first));
  EXPECT_TRUE(first.seen) << "the picker appeared";
  EXPECT_TRUE(first.centred) << "the picker was moved to the centre of the screen";
  EXPECT_EQ(missing, "");

  std::string existing = "C:\\windows";
  CancelResult second;
  EXPECT_FALSE(PickAndCancel(existing, second));
  EXPECT_TRUE(second.seen);
  EXPECT_EQ(existing, "C:\\windows") << "cancelling keeps a folder that exists";

  if (SUCCEEDED(com)) ::CoUninitialize();
}

}  // namespace lindqua::test
