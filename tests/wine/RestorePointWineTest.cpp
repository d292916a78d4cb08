// Which way Wine's System Restore client answers: it has the library and the
// function, and refuses the request, so the dialog takes its failure path.
#include <gtest/gtest.h>

#include "platform/win32/Win32RestorePointClient.h"

namespace lindqua::test {

TEST(Win32RestorePointClient, WineRefusesTheRequest) {
  Win32RestorePointClient client;
  EXPECT_EQ(client.Create(PackRestorePointRequest(RestorePointDescription)), RestorePointResult::Refused);
}

}  // namespace lindqua::test
