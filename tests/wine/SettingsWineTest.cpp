// The settings file through the system's profile functions: a save must give
// the same bytes as the portable implementation, and read back as meant.
#include <windows.h>

#include <gtest/gtest.h>

#include "app/LoadSaveSettings.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/Windows1252CodePage.h"
#include "platform/win32/Win32AnsiCodePage.h"
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
  SettingsFileStore Store(FileSystem& files, IniFiles& ini) {
    return SettingsFileStore(files, ini, scratch_ + "\\Prog\\", errors_, [this] { return window_.screen; });
  }
  // As the main window closes: the tree's checks go into the record first.
  bool Save(SettingsFileStore& store, TOptionsSetting& options) {
    window_.ReadTreeChecks(options.NodeSelected);
    return store.Save(options, window_.Placement());
  }

  // Saves the same record through both stores; the system's file must hold
  // the bytes the portable one writes. Returns the system's bytes.
  std::string SaveThroughBoth(SettingsFileStore& system, SettingsFileStore& portable, TOptionsSetting options) {
    TOptionsSetting copy = options;
    EXPECT_TRUE(Save(system, options));
    EXPECT_TRUE(Save(portable, copy));
    std::string systemBytes, portableBytes;
    EXPECT_TRUE(files_.ReadWholeFile(UserFile(), systemBytes));
    EXPECT_TRUE(memoryFiles_.ReadWholeFile(UserFile(), portableBytes));
    EXPECT_EQ(systemBytes, portableBytes);
    return systemBytes;
  }

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
  SettingsFileStore system = Store(files_, systemIni_);
  SettingsFileStore portable = Store(memoryFiles_, portableIni_);
  TOptionsSetting options;
  system.Load(options);
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\J\xC3\xB6rg", "\"quoted\"", "  blank"};
  options.IgnoreKeyCount = 3;
  options.LastFix = "08.12.2026 16:05:00";
  options.CreateRestore = true;
  window_.treeChecks = {{1, false}, {9, false}};
  window_.showCmd = 2;
  const std::string systemBytes = SaveThroughBoth(system, portable, options);
  EXPECT_TRUE(errors_.messages.empty());
  EXPECT_EQ(systemBytes.rfind("[Settings]\r\nBackupFolder=", 0), 0u);

  TOptionsSetting again;
  system.Load(again);
  EXPECT_EQ(again.IgnoreKeys, options.IgnoreKeys) << "quotes and blanks at the ends survive";
  EXPECT_EQ(again.LastFix, options.LastFix);
  EXPECT_TRUE(again.CreateRestore);
  EXPECT_FALSE(again.NodeSelected[1]);
  EXPECT_FALSE(again.NodeSelected[9]);
  EXPECT_TRUE(again.NodeSelected[10]);
  EXPECT_EQ(again.WindowState, 0);
  EXPECT_EQ(again.Left, window_.bounds.left);
}

TEST_F(SettingsWineTest, TextTheAnsiCodePageCannotHoldSurvivesTheSystemsProfileFunctions) {
  Win32AnsiCodePage systemAnsi;
  Windows1252CodePage portableAnsi;
  ASSERT_EQ(systemAnsi.CodePage(), 1252u) << "the portable side models code page 1252";
  SettingsFileStore system(files_, systemIni_, scratch_ + "\\Prog\\", errors_, [this] { return window_.screen; },
                           &systemAnsi);
  SettingsFileStore portable(memoryFiles_, portableIni_, scratch_ + "\\Prog\\", errors_,
                             [this] { return window_.screen; }, &portableAnsi);
  TOptionsSetting options;
  system.Load(options);
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\\xE4\xB8\xAD\xE6\x96\x87", "HKEY_CURRENT_USER\\Software\\J\xC3\xB6rg"};
  options.IgnoreKeyCount = 2;
  options.BackupFolder = "C:\\\xCE\xA9mega";
  EXPECT_EQ(SaveThroughBoth(system, portable, options).rfind("\xFF\xFE", 0), 0u);
  TOptionsSetting again;
  system.Load(again);
  EXPECT_EQ(again.IgnoreKeys, options.IgnoreKeys);
  EXPECT_EQ(again.BackupFolder, options.BackupFolder);
}

TEST_F(SettingsWineTest, ASaveTheSystemRefusesIsReportedWithThePath) {
  SettingsFileStore system = Store(files_, systemIni_);
  TOptionsSetting options;
  system.Load(options);
  ASSERT_TRUE(Save(system, options));
  std::string before;
  ASSERT_TRUE(files_.ReadWholeFile(UserFile(), before));

  // Another program holding the file open for reading only keeps every writer out.
  UniqueFileHandle lock(::CreateFileW(Wide(UserFile()).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  options.LastFix = "changed";
  EXPECT_FALSE(Save(system, options));
  EXPECT_EQ(errors_.messages, std::vector<std::string>{"Unable to write to " + UserFile()});
  lock.reset();
  std::string after;
  ASSERT_TRUE(files_.ReadWholeFile(UserFile(), after));
  EXPECT_EQ(after, before);
}

namespace {

std::string ProfileString(const std::string& file, const char* section, const char* key) {
  wchar_t buffer[IniFile::MaxReadChars + 1] = {};
  ::GetPrivateProfileStringW(Wide(section).c_str(), Wide(key).c_str(), L"<missing>", buffer, IniFile::MaxReadChars + 1,
                             Wide(file).c_str());
  return Narrow(std::wstring_view(buffer));
}

}  // namespace

TEST_F(SettingsWineTest, ASaveReplacesTheFileWholeKeepingWhatItDoesNotOwnAndLeavesNothingBeside) {
  SettingsFileStore system = Store(files_, systemIni_);
  TOptionsSetting options;
  system.Load(options);
  ASSERT_TRUE(files_.WriteWholeFile(UserFile(), "[Other]\r\nmine=kept\r\n[IgnoreKey]\r\nCount=5\r\nKey5=old\r\n"));
  system.Load(options);
  options.IgnoreKeys = {"\"q\"", " edge ", "HKEY_CURRENT_USER\\A"};
  options.IgnoreKeyCount = 3;
  options.LastFix = "line\r\nbreak";
  ASSERT_TRUE(Save(system, options));

  // The system's own reader is the judge of what was written.
  const std::string file = UserFile();
  EXPECT_EQ(ProfileString(file, "Other", "mine"), "kept");
  EXPECT_EQ(ProfileString(file, "IgnoreKey", "Count"), "3");
  EXPECT_EQ(ProfileString(file, "IgnoreKey", "Key1"), "\"q\"");
  EXPECT_EQ(ProfileString(file, "IgnoreKey", "Key2"), " edge ");
  EXPECT_EQ(ProfileString(file, "IgnoreKey", "Key3"), "HKEY_CURRENT_USER\\A");
  EXPECT_EQ(ProfileString(file, "IgnoreKey", "Key5"), "old");
  EXPECT_EQ(ProfileString(file, "Settings", "Last Fix"), "line  break");
  const std::string folder = scratch_ + "\\AppData\\Vantorel\\Lindqua";
  ASSERT_EQ(files_.ListFolder(folder).size(), 1u);

  // A refused replace takes its new file away again.
  std::string before;
  ASSERT_TRUE(files_.ReadWholeFile(file, before));
  UniqueFileHandle lock(::CreateFileW(Wide(file).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(lock);
  options.LastFix = "refused";
  EXPECT_FALSE(Save(system, options));
  lock.reset();
  EXPECT_EQ(files_.ListFolder(folder).size(), 1u);
  std::string after;
  ASSERT_TRUE(files_.ReadWholeFile(file, after));
  EXPECT_EQ(after, before);
}

}  // namespace lindqua::test
