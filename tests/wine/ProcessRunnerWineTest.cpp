// Starting hidden processes under Wine: one that ends by itself, one that is
// ended by force, one that cannot start.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "platform/win32/Win32ProcessRunner.h"

namespace lindqua::test {

namespace {
bool EndsWithin(RunningProcess& process, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < deadline) {
    if (process.HasEnded()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}
}  // namespace

TEST(Win32ProcessRunner, StartsPollsAndEndsProcesses) {
  Win32ProcessRunner runner;
  auto quick = runner.StartHidden("cmd.exe /c exit 3");
  ASSERT_NE(quick, nullptr);
  EXPECT_TRUE(EndsWithin(*quick, std::chrono::seconds(30)));

  auto slow = runner.StartHidden("ping.exe -n 60 127.0.0.1");
  ASSERT_NE(slow, nullptr);
  EXPECT_FALSE(slow->HasEnded());
  slow->Terminate();
  EXPECT_TRUE(EndsWithin(*slow, std::chrono::seconds(10)));

  EXPECT_EQ(runner.StartHidden("no-such-program-lindqua.exe"), nullptr);
}

}  // namespace lindqua::test
