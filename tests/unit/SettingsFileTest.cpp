// Loading and saving "Settings.ini" over the in-memory file system with the
// portable INI files, which the contract suite holds to the system's answers.
#include <gtest/gtest.h>

#include "app/LoadSaveSettings.h"
#include "app/SettingsFile.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/Windows1252CodePage.h"
#include "support/FakeSettingsWindow.h"

namespace lindqua::test {

namespace {

constexpr const char* AppData = "C:\\Users\\Ann\\AppData\\Roaming";
constexpr const char* UserFolder = "C:\\Users\\Ann\\AppData\\Roaming\\Vantorel\\Lindqua";
constexpr const char* UserFile = "C:\\Users\\Ann\\AppData\\Roaming\\Vantorel\\Lindqua\\Settings.ini";
constexpr const char* ProgramFolder = "C:\\Prog\\";
constexpr const char* SeedFile = "C:\\Prog\\Settings.ini";

class SettingsFileTest : public ::testing::Test {
 protected:
  SettingsFileTest() {
    files.AddFolder(AppData);
    files.AddFolder(ProgramFolder);
    files.SetSpecialFolder(SpecialFolder::AppData, AppData);
  }

  TOptionsSetting Load() {
    TOptionsSetting options;
    store.Load(options);
    return options;
  }
  // As the main window closes: the tree's checks go into the record first.
  bool Save(TOptionsSetting& options) {
    window.ReadTreeChecks(options.NodeSelected);
    return store.Save(options, window.Placement());
  }
  void Put(const std::string& path, const std::string& text) {
    ASSERT_TRUE(files.ForceDirectories(path.substr(0, path.rfind('\\'))));
    ASSERT_TRUE(files.WriteWholeFile(path, text));
  }
  std::string Text(const std::string& path) {
    std::string bytes;
    return files.ReadWholeFile(path, bytes) ? bytes : "<missing>";
  }

  MemoryFileSystem files;
  PortableIniFiles ini{files};
  FakeSettingsWindow window;
  RecordingErrors errors;
  SettingsFileStore store{files, ini, ProgramFolder, errors, [this] { return window.screen; }};
};

}  // namespace

TEST_F(SettingsFileTest, FirstStartWithNoFileAnywhereGivesTheDefaults) {
  const TOptionsSetting options = Load();
  EXPECT_TRUE(files.DirectoryExists(UserFolder));
  EXPECT_FALSE(files.FileExists(UserFile)) << "loading writes nothing";
  EXPECT_EQ(options.BackupFolder, "C:\\Prog\\Backup");
  EXPECT_TRUE(options.IgnoreRemovableDrive);
  for (int i = 1; i <= 25; ++i) EXPECT_TRUE(options.NodeSelected[i]) << i;
  EXPECT_EQ(options.IgnoreKeyCount, 0);
  EXPECT_TRUE(options.IgnoreKeys.empty());
  EXPECT_EQ(options.WindowState, 0);
  EXPECT_EQ(options.Width, 704);
  EXPECT_EQ(options.Height, 507);
  EXPECT_EQ(options.Left, 160);
  EXPECT_EQ(options.Top, 130) << "(768 - 507) / 2 truncates";
  EXPECT_FALSE(options.CreateRestore);
  EXPECT_EQ(options.LastFix, "");
  EXPECT_FALSE(options.Check64BitPaths);

  window.screen = {640, 480};
  const TOptionsSetting small = Load();
  EXPECT_EQ(small.Left, -32);
  EXPECT_EQ(small.Top, -13) << "halving truncates toward zero";
}

TEST_F(SettingsFileTest, FirstSaveWritesEveryEntryInOrder) {
  TOptionsSetting options = Load();
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\Old", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept"};
  options.IgnoreKeyCount = 2;
  options.LastFix = "08/12/2026 16:05:00";
  options.Check64BitPaths = true;
  window.treeChecks = {{7, false}, {2, false}};
  window.showCmd = 3;
  window.bounds = {-4, -4, 1032, 748};
  ASSERT_TRUE(Save(options));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_FALSE(options.NodeSelected[7]) << "the record takes the tree's checks";
  std::string nodes;
  for (int i = 1; i <= 25; ++i) nodes += std::to_string(i) + (i == 2 || i == 7 ? "=0\r\n" : "=1\r\n");
  EXPECT_EQ(Text(UserFile),
            "[Settings]\r\nBackupFolder=C:\\Prog\\Backup\r\nIgnoreRemovableDrive=1\r\nState=3\r\nLeft=-4\r\n"
            "Top=-4\r\nWidth=1032\r\nHeight=748\r\nCreateRestore=0\r\nLast Fix=08/12/2026 16:05:00\r\nCheck64BitPaths=1\r\n"
            "[NodeSelected]\r\n" +
                nodes +
                "[IgnoreKey]\r\nCount=2\r\nKey1=HKEY_CURRENT_USER\\Software\\Old\r\n"
                "Key2=HKEY_LOCAL_MACHINE\\SOFTWARE\\Kept\r\n");

  // What was saved is what the next start reads.
  const TOptionsSetting again = Load();
  EXPECT_EQ(again.WindowState, 2);
  EXPECT_EQ(again.IgnoreKeys, options.IgnoreKeys);
  EXPECT_FALSE(again.NodeSelected[2]);
  EXPECT_TRUE(again.NodeSelected[3]);
  EXPECT_EQ(again.LastFix, options.LastFix);
  EXPECT_TRUE(again.Check64BitPaths);
}

TEST_F(SettingsFileTest, ASeedBesideTheProgramIsCopiedOnceAndThenOnlyTheUserCopyIsRead) {
  Put(SeedFile, "[Settings]\r\nCreateRestore=1\r\n[NodeSelected]\r\n5=0\r\n");
  TOptionsSetting options = Load();
  EXPECT_TRUE(options.CreateRestore);
  EXPECT_FALSE(options.NodeSelected[5]);
  EXPECT_EQ(Text(UserFile), Text(SeedFile));

  Put(SeedFile, "[Settings]\r\nCreateRestore=0\r\n");
  EXPECT_TRUE(Load().CreateRestore) << "later starts read the user's copy";
  ASSERT_TRUE(Save(options));
  EXPECT_EQ(Text(SeedFile), "[Settings]\r\nCreateRestore=0\r\n") << "the seed is never written";
}

TEST_F(SettingsFileTest, WithoutAUsableDataFolderTheFileLivesBesideTheProgram) {
  files.SetSpecialFolder(SpecialFolder::AppData, "Q:\\NoDrive");
  Put(SeedFile, "[Settings]\r\nLast Fix=yesterday\r\n");
  TOptionsSetting options = Load();
  EXPECT_EQ(options.LastFix, "yesterday");
  options.LastFix = "today";
  ASSERT_TRUE(Save(options));
  EXPECT_NE(Text(SeedFile).find("Last Fix=today"), std::string::npos);

  files.SetSpecialFolder(SpecialFolder::AppData, "");
  EXPECT_EQ(LocateSettingsFile(files, ProgramFolder), SeedFile) << "no data folder at all";
}

TEST_F(SettingsFileTest, IgnoreListCounts) {
  struct Case {
    const char* section;
    std::int32_t count;
    std::vector<std::string> keys;
  } cases[] = {
      {"Count=0\r\nKey1=a\r\n", 0, {}},
      {"Count=-4\r\nKey1=a\r\n", -4, {}},
      {"Count=3\r\nKey1=a\r\n", 3, {"a", "", ""}},
      {"Count=2\r\nKey2=b\r\nKey1=\"q\"\r\n", 2, {"q", "b"}},
      {"Count=abc\r\nKey1=a\r\n", 0, {}},
  };
  for (const auto& c : cases) {
    Put(UserFile, std::string("[IgnoreKey]\r\n") + c.section);
    const TOptionsSetting options = Load();
    EXPECT_EQ(options.IgnoreKeyCount, c.count) << c.section;
    EXPECT_EQ(options.IgnoreKeys, c.keys) << c.section;
  }

  // A negative count goes back to the file as it was, with no entries.
  Put(UserFile, "[IgnoreKey]\r\nCount=-4\r\nKey1=a\r\n");
  TOptionsSetting negative = Load();
  ASSERT_TRUE(Save(negative));
  EXPECT_NE(Text(UserFile).find("[IgnoreKey]\r\nCount=-4\r\nKey1=a\r\n"), std::string::npos);

  // A damaged count does not make the program read (and later write) billions of entries.
  Put(UserFile, "[IgnoreKey]\r\nCount=2000000000\r\n");
  const TOptionsSetting huge = Load();
  EXPECT_EQ(huge.IgnoreKeyCount, MaxIgnoreKeys);
  EXPECT_EQ(huge.IgnoreKeys.size(), static_cast<std::size_t>(MaxIgnoreKeys));
}

TEST_F(SettingsFileTest, AShrunkListLeavesItsOldEntriesUnread) {
  Put(UserFile, "[IgnoreKey]\r\nCount=5\r\nKey1=a\r\nKey2=b\r\nKey3=c\r\nKey4=d\r\nKey5=e\r\n");
  TOptionsSetting options = Load();
  options.IgnoreKeys = {"x", "b"};
  options.IgnoreKeyCount = 2;
  ASSERT_TRUE(Save(options));
  EXPECT_NE(Text(UserFile).find("[IgnoreKey]\r\nCount=2\r\nKey1=x\r\nKey2=b\r\nKey3=c\r\nKey4=d\r\nKey5=e\r\n"),
            std::string::npos);
  EXPECT_EQ(Load().IgnoreKeys, (std::vector<std::string>{"x", "b"}));
}

TEST_F(SettingsFileTest, StateThreeOpensMaximizedOverTheStoredNormalBounds) {
  for (const char* state : {"3", " 3", "\"3\""}) {
    Put(UserFile, std::string("[Settings]\r\nState=") + state + "\r\nLeft=11\r\nTop=12\r\nWidth=13\r\nHeight=14\r\n");
    const TOptionsSetting options = Load();
    EXPECT_EQ(options.WindowState, 2) << state;
    EXPECT_EQ(options.Left, 11) << "a restore gives back the size it had before";
    EXPECT_EQ(options.Width, 13);
  }
  for (const char* state : {"1", "2", "0", "7", "x"}) {
    Put(UserFile, std::string("[Settings]\r\nState=") + state + "\r\nLeft=11\r\nTop=12\r\nWidth=13\r\nHeight=14\r\n");
    const TOptionsSetting options = Load();
    EXPECT_EQ(options.WindowState, 0) << state;
    EXPECT_EQ(options.Left, 11);
    EXPECT_EQ(options.Top, 12);
    EXPECT_EQ(options.Width, 13);
    EXPECT_EQ(options.Height, 14);
  }

  // An unreadable placement keeps the stored state.
  Put(UserFile, "[Settings]\r\nState=3\r\n");
  TOptionsSetting options = Load();
  window.showCmd.reset();
  ASSERT_TRUE(Save(options));
  EXPECT_NE(Text(UserFile).find("State=3\r\n"), std::string::npos);
}

TEST_F(SettingsFileTest, AnUnreadableFileGivesTheDefaults) {
  std::string garbage;
  for (int i = 0; i < 3000; ++i) garbage.push_back(static_cast<char>((i * 7919) % 251));
  Put(UserFile, garbage);
  const TOptionsSetting options = Load();
  EXPECT_EQ(options.BackupFolder, "C:\\Prog\\Backup");
  EXPECT_TRUE(options.IgnoreRemovableDrive);
  EXPECT_TRUE(options.NodeSelected[25]);
  EXPECT_EQ(options.Width, 704);

  Put(UserFile, "[Settings]\r\nIgnoreRemovableDrive=yes\r\nCreateRestore=0x1\r\nWidth=12abc\r\n[NodeSelected]\r\n4=\r\n");
  const TOptionsSetting odd = Load();
  EXPECT_TRUE(odd.IgnoreRemovableDrive);
  EXPECT_FALSE(odd.CreateRestore);
  EXPECT_EQ(odd.Width, 704);
  EXPECT_TRUE(odd.NodeSelected[4]);
}

TEST_F(SettingsFileTest, ARefusedSaveStopsWhereItWasRefusedAndSaysSo) {
  TOptionsSetting options = Load();
  ASSERT_TRUE(Save(options));
  Put(UserFile, Text(UserFile) + "[Other]\r\nmine=kept\r\n");
  const std::string before = Text(UserFile);

  // Unchanged entries need no write, so the save gets as far as the first change.
  options.IgnoreKeys = {"new"};
  options.IgnoreKeyCount = 1;
  options.LastFix = "now";
  files.FailWritesTo(UserFile);
  EXPECT_FALSE(Save(options));
  EXPECT_EQ(errors.messages, (std::vector<std::string>{std::string("Unable to write to ") + UserFile}));
  EXPECT_EQ(Text(UserFile), before) << "nothing in the file is damaged";

  files.FailWritesTo("");
  errors.messages.clear();
  ASSERT_TRUE(Save(options));
  EXPECT_TRUE(errors.messages.empty());
  EXPECT_NE(Text(UserFile).find("[Other]\r\nmine=kept\r\n"), std::string::npos) << "foreign entries stay";
  EXPECT_EQ(Load().LastFix, "now");
}

TEST_F(SettingsFileTest, ARefusedFirstWriteLeavesNoFileBehind) {
  Load();
  files.FailWritesTo(UserFile);
  TOptionsSetting options = Load();
  EXPECT_FALSE(store.Save(options, window.Placement()));
  EXPECT_EQ(errors.messages.size(), 1u);
  EXPECT_EQ(Text(UserFile), "<missing>");
  EXPECT_FALSE(files.FileExists(std::string(UserFile) + ".saving")) << "the half-made copy is removed";
}

TEST_F(SettingsFileTest, TextTheAnsiCodePageCannotHoldSurvivesASave) {
  Windows1252CodePage ansi;
  SettingsFileStore wide{files, ini, ProgramFolder, errors, [this] { return window.screen; }, &ansi};
  const std::string cjk = "HKEY_CURRENT_USER\\Software\\\xE4\xB8\xAD\xE6\x96\x87";  // two CJK ideographs
  const std::string jorg = "HKEY_CURRENT_USER\\Software\\J\xC3\xB6rg";                 // held by 1252
  const struct {
    const char* what;
    std::string oldFile;
    std::vector<std::string> keys;
    bool unicode;
  } cases[] = {
      {"texts the code page holds keep an ANSI file", "", {jorg}, false},
      {"a new file", "", {cjk, jorg}, true},
      {"an older ANSI file, with an entry of another program", "[Other]\r\nName=Caf\xE9\r\n", {cjk, jorg}, true},
      {"a UTF-8 file", "\xEF\xBB\xBF[Other]\r\nName=Caf\xC3\xA9\r\n", {cjk}, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    (void)files.DeletePath(UserFile);
    if (!c.oldFile.empty()) Put(UserFile, c.oldFile);
    TOptionsSetting options;
    wide.Load(options);
    options.IgnoreKeys = c.keys;
    options.IgnoreKeyCount = static_cast<std::int32_t>(c.keys.size());
    window.ReadTreeChecks(options.NodeSelected);
    ASSERT_TRUE(wide.Save(options, window.Placement()));
    EXPECT_EQ(Text(UserFile).starts_with("\xFF\xFE"), c.unicode);
    TOptionsSetting again;
    wide.Load(again);
    EXPECT_EQ(again.IgnoreKeys, c.keys) << "no character changed";
    if (!c.oldFile.empty()) {
      EXPECT_EQ(ini.Open(UserFile)->ReadString("Other", "Name", ""), "Caf\xC3\xA9") << "the other entry stays";
    }
  }
}

TEST_F(SettingsFileTest, QuotesAndBlanksAtTheEndsOfValuesSurvive) {
  TOptionsSetting options = Load();
  options.IgnoreKeys = {"\"quoted\"", "'single'", "  lead", "trail\t", "\"open", "mid \"q\" dle", "\"", ""};
  options.IgnoreKeyCount = 8;
  options.BackupFolder = "D:\\Backups ";
  ASSERT_TRUE(Save(options));
  EXPECT_NE(Text(UserFile).find("Key1=\"\"quoted\"\"\r\nKey2=\"'single'\"\r\nKey3=\"  lead\"\r\n"), std::string::npos);
  EXPECT_NE(Text(UserFile).find("Key5=\"open\r\nKey6=mid \"q\" dle\r\nKey7=\"\r\nKey8=\r\n"), std::string::npos)
      << "other values are written as they are";
  const TOptionsSetting again = Load();
  EXPECT_EQ(again.IgnoreKeys, options.IgnoreKeys);
  EXPECT_EQ(again.BackupFolder, options.BackupFolder);
}

TEST_F(SettingsFileTest, LineBreaksInValuesCannotForgeEntries) {
  TOptionsSetting options = Load();
  options.IgnoreKeys = {"HKEY_CURRENT_USER\\a\r\n[Settings]\r\nState=3"};
  options.IgnoreKeyCount = 1;
  options.LastFix = "x\nCreateRestore=1";
  window.showCmd = 1;
  ASSERT_TRUE(Save(options));
  const TOptionsSetting again = Load();
  EXPECT_EQ(again.WindowState, 0);
  EXPECT_FALSE(again.CreateRestore);
  EXPECT_EQ(again.IgnoreKeys, (std::vector<std::string>{"HKEY_CURRENT_USER\\a  [Settings]  State=3"}));
  EXPECT_EQ(again.LastFix, "x CreateRestore=1");
}

}  // namespace lindqua::test
