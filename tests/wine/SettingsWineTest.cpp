// The settings file through the system's profile functions: a save must give
// the same bytes as the portable implementation, and read back as meant.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/LoadSaveSettings.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32IniFile.h"
#include "platform/win32/WinText.h"
#include "support/FakeSettingsWindow.h"

namespace lindqua::test {

namespace {

// The real file system with the application-data folder moved into a scratch
// folder, so that the test never touches the prefix user's own settings.
class ScratchWin32Files : public Win32FileSystem {
 public:
  explicit ScratchWin32Files(std::string appData) : appData_(std::move(appData)) {}
  std::string GetSpecialFolder(int csidl) override {
    return csidl == SpecialFolder::AppData ? appData_ : Win32FileSystem::GetSpecialFolder(csidl);
  }

 private:
  std::string appData_;
};

class SettingsWineTest : public ::testing::Test {
 protected:
  SettingsWineTest()
      : scratch_("C:\\lindqua-settings-" + std::to_string(::GetCurrentProcessId()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name()),
        files_(scratch_ + "\\AppData") {
    files_.ForceDirectories(scratch_ + "\\AppData");
    files_.ForceDirectories(scratch_ + "\\Prog");
    memoryFiles_.AddFolder(scratch_ + "\\AppData");
    memoryFiles_.AddFolder(scratch_ + "\\Prog");
    memoryFiles_.SetSpecialFolder(SpecialFolder::AppData, scratch_ + "\\AppData");
  }
  ~SettingsWineTest() override { files_.DeletePath(scratch_); }

  std::string UserFile() const { return scratch_ + "\\AppData\\Vantorel\\Lindqua\\Settings.ini"; }

  std::string scratch_;
  ScratchWin32Files files_;
  Win32IniFiles systemIni_;
  MemoryFileSystem memoryFiles_;
  PortableIniFiles portableIni_{memoryFiles_};
  FakeSettingsWindow window_;
  RecordingErrors errors_;
};

}  // namespace

TEST_F(SettingsWineTest, TheSystemWritesWhatThePortableFilesWriteAndReadsItBack) {
  SettingsHost system{files_, systemIni_, scratch_ + "\\Prog\\", window_, errors_};
  SettingsHost portable{memoryFiles_, portableIni_, scratch_ + "\\Prog\\", window_, errors_};
  TOptionsSetting options;
  ASSERT_TRUE(LoadSaveSettings(true, system, options));
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\J\xC3\xB6rg", "\"quoted\"", "  blank"};
  options.IgnoreKeyCount = 3;
  options.LastFix = "08.12.2026 16:05:00";
  options.CreateRestore = true;
  window_.treeChecks = {{1, false}, {9, false}};
  window_.showCmd = 2;
  TOptionsSetting copy = options;
  ASSERT_TRUE(LoadSaveSettings(false, system, options));
  ASSERT_TRUE(LoadSaveSettings(false, portable, copy));
  EXPECT_TRUE(errors_.messages.empty());

  std::string systemBytes, portableBytes;
  ASSERT_TRUE(files_.ReadWholeFile(UserFile(), systemBytes));
  ASSERT_TRUE(memoryFiles_.ReadWholeFile(UserFile(), portableBytes));
  EXPECT_EQ(systemBytes, portableBytes);
  EXPECT_EQ(systemBytes.rfind("[Settings]\r\nBackupFolder=", 0), 0u);

  TOptionsSetting again;
  ASSERT_TRUE(LoadSaveSettings(true, system, again));
  EXPECT_EQ(again.IgnoreKeys, options.IgnoreKeys) << "quotes and blanks at the ends survive";
  EXPECT_EQ(again.LastFix, options.LastFix);
  EXPECT_TRUE(again.CreateRestore);
  EXPECT_FALSE(again.NodeSelected[1]);
  EXPECT_FALSE(again.NodeSelected[9]);
  EXPECT_TRUE(again.NodeSelected[10]);
  EXPECT_EQ(again.WindowState, 0);
  EXPECT_EQ(again.Left, window_.bounds.left);
}

TEST_F(SettingsWineTest, ASaveTheSystemRefusesIsReportedWithThePath) {
  SettingsHost system{files_, systemIni_, scratch_ + "\\Prog\\", window_, errors_};
  TOptionsSetting options;
  ASSERT_TRUE(LoadSaveSettings(true, system, options));
  ASSERT_TRUE(LoadSaveSettings(false, system, options));
  std::string before;
  ASSERT_TRUE(files_.ReadWholeFile(UserFile(), before));

  // Another program holding the file open for reading only keeps every writer out.
  UniqueFileHandle lock(::CreateFileW(Wide(UserFile()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  options.LastFix = "changed";
  EXPECT_FALSE(LoadSaveSettings(false, system, options));
  EXPECT_EQ(errors_.messages, std::vector<std::string>{"Unable to write to " + UserFile()});
  lock.reset();
  std::string after;
  ASSERT_TRUE(files_.ReadWholeFile(UserFile(), after));
  EXPECT_EQ(after, before);
}

}  // namespace lindqua::test
