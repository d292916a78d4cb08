// A save that fails at any file operation leaves "Settings.ini" holding the
// old settings or the new ones, whole, and nothing beside it.
#include <gtest/gtest.h>

#include <tuple>

#include "app/LoadSaveSettings.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/PortableIniFile.h"
#include "support/FailingFileSystem.h"
#include "support/FakeSettingsWindow.h"

namespace lindqua::test {

namespace {

constexpr const char* AppData = "C:\\AppData";
constexpr const char* Folder = "C:\\AppData\\Vantorel\\Lindqua";
constexpr const char* UserFile = "C:\\AppData\\Vantorel\\Lindqua\\Settings.ini";
constexpr const char* OldFile =
    "[Settings]\r\nBackupFolder=D:\\Old\r\nState=3\r\nLast Fix=yesterday\r\n[Other]\r\nmine=kept\r\n"
    "[IgnoreKey]\r\nCount=3\r\nKey1=a\r\nKey2=b\r\nKey3=c\r\n";

auto Fields(const TOptionsSetting& o) {
  return std::tie(o.BackupFolder, o.IgnoreRemovableDrive, o.NodeSelected, o.IgnoreKeyCount, o.IgnoreKeys,
                  o.WindowState, o.Left, o.Top, o.Width, o.Height, o.CreateRestore, o.LastFix);
}

// One save over a fresh copy of the old file, failing what `faults` says.
struct SaveRun {
  MemoryFileSystem files;
  FailingFileSystem faults{files};
  PortableIniFiles ini{faults};
  RecordingErrors errors;
  SettingsFileStore store{faults, ini, "C:\\Prog\\", errors, nullptr};

  SaveRun() {
    files.SetSpecialFolder(SpecialFolder::AppData, AppData);
    EXPECT_TRUE(files.AddFolder(Folder));
    EXPECT_TRUE(files.WriteWholeFile(UserFile, OldFile));
  }
  TOptionsSetting LoadFromDisk() {
    PortableIniFiles plain{files};
    TOptionsSetting options;
    SettingsFileStore(files, plain, "C:\\Prog\\", errors, nullptr).Load(options);
    return options;
  }
};

}  // namespace

TEST(SettingsSaveFaults, EveryFailedOperationLeavesTheOldOrTheNewSettingsWhole) {
  TOptionsSetting changed = SaveRun().LoadFromDisk();
  changed.BackupFolder = "E:\\New Backups ";
  changed.IgnoreKeys = {"x", "\"y\"", "z", "w"};
  changed.IgnoreKeyCount = 4;
  changed.NodeSelected[4] = false;
  changed.CreateRestore = true;
  changed.LastFix = "today";
  const WindowPlacement placement{true, 1, 5, 6, 700, 500};

  SaveRun clean;
  const TOptionsSetting old = clean.LoadFromDisk();
  ASSERT_TRUE(clean.store.Save(changed, placement));
  const TOptionsSetting saved = clean.LoadFromDisk();
  ASSERT_NE(Fields(old), Fields(saved));

  const std::pair<const char*, FileFault> kinds[] = {{"write", FileFault::Write},
                                                     {"folder creation", FileFault::CreateFolder},
                                                     {"delete", FileFault::Delete},
                                                     {"replace", FileFault::Replace}};
  int injected = 0;
  for (const auto& [name, kind] : kinds) {
    for (std::uint64_t n = 1; n <= clean.faults.Count(kind); ++n) {
      SaveRun run;
      run.faults.FailAt(kind, n);
      const bool ok = run.store.Save(changed, placement);
      const std::string where = std::string(name) + " #" + std::to_string(n);
      ASSERT_TRUE(run.faults.Injected()) << where;
      ++injected;
      EXPECT_FALSE(ok) << where;
      EXPECT_EQ(run.errors.messages, std::vector<std::string>{std::string("Unable to write to ") + UserFile}) << where;
      std::string text;
      ASSERT_TRUE(run.files.ReadWholeFile(UserFile, text)) << where;
      EXPECT_EQ(text, OldFile) << where << ": the old file is untouched";
      EXPECT_EQ(Fields(run.LoadFromDisk()), Fields(old)) << where;
      EXPECT_EQ(run.files.ListFolder(Folder).size(), 1u) << where << ": nothing is left beside the file";
    }
  }
  EXPECT_GE(injected, 40) << "every entry write and the replace were failed once";
}

}  // namespace lindqua::test
