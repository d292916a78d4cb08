// lindqua.exe started twice: the second start only brings the first forward.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "gui/GuiDriver.h"
#include "platform/win32/Handles.h"

namespace lindqua::test {

namespace {

constexpr wchar_t ClassName[] = L"Quorvane Made by Vantorel Software";

struct Started {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
};

bool Start(const std::wstring& arguments, Started& started) {
  std::wstring commandLine = L"\"" LINDQUA_BUILD_DIR L"\\lindqua.exe\" " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return false;
  }
  started.process.reset(info.hProcess);
  started.thread.reset(info.hThread);
  return true;
}

BOOL CALLBACK CountOfClass(HWND window, LPARAM param) {
  wchar_t name[128] = {};
  ::GetClassNameW(window, name, 128);
  if (std::wstring(name) == ClassName) ++*reinterpret_cast<int*>(param);
  return TRUE;
}

int WindowsOfClass() {
  int count = 0;
  ::EnumWindows(CountOfClass, reinterpret_cast<LPARAM>(&count));
  return count;
}

TEST(SingleInstanceGuiTest, SecondStartRestoresTheFirstAndEnds) {
  ASSERT_EQ(::FindWindowW(ClassName, nullptr), nullptr) << "another instance is already running";
  Started first;
  ASSERT_TRUE(Start(L"", first)) << ::GetLastError();
  HWND running = nullptr;
  ASSERT_TRUE(PumpUntil([&] { return (running = ::FindWindowW(ClassName, nullptr)) != nullptr; }));
  ::ShowWindow(running, SW_MINIMIZE);
  ASSERT_TRUE(PumpUntil([&] { return ::IsIconic(running) != FALSE; }));

  Started second;
  ASSERT_TRUE(Start(L"-cleanonce", second));
  ASSERT_EQ(::WaitForSingleObject(second.process.get(), 60000), WAIT_OBJECT_0);
  DWORD exitCode = 1;
  ::GetExitCodeProcess(second.process.get(), &exitCode);
  EXPECT_EQ(exitCode, 0u);
  EXPECT_TRUE(PumpUntil([&] { return !::IsIconic(running); }, std::chrono::seconds(30)));
  EXPECT_TRUE(::IsWindowVisible(running));
  EXPECT_EQ(WindowsOfClass(), 1);

  ::PostMessageW(running, WM_CLOSE, 0, 0);
  ASSERT_EQ(::WaitForSingleObject(first.process.get(), 60000), WAIT_OBJECT_0);
  EXPECT_EQ(::FindWindowW(ClassName, nullptr), nullptr);
}

}  // namespace
}  // namespace lindqua::test
