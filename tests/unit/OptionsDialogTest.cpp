// The options dialog's edits, its OK check of the backup folder, and that
// nothing but a successful OK reaches the settings record.
#include <gtest/gtest.h>

#include <deque>

#include "app/OptionsPresenter.h"
#include "platform/memory/MemoryFileSystem.h"

namespace lindqua::test {

namespace {

class FakeOptionsView : public OptionsView {
 public:
  void SetCreateRestore(bool checked) override { createRestore = checked; }
  void SetIgnoreRemoveMedia(bool checked) override { ignoreRemoveMedia = checked; }
  void SetCheck64BitPaths(bool checked) override { check64BitPaths = checked; }
  void SetOutputFolder(const std::string& text) override { folder = text; }
  bool CreateRestore() override { return createRestore; }
  bool IgnoreRemoveMedia() override { return ignoreRemoveMedia; }
  bool Check64BitPaths() override { return check64BitPaths; }
  std::string OutputFolder() override { return folder; }
  void SetKeyRows(const std::vector<std::string>& r, int s) override {
    rows = r;
    selected = s;
  }
  void SetEditRemoveEnabled(bool enabled) override { editRemoveEnabled = enabled; }
  std::optional<std::string> EnterRegistryKey(const std::string& text) override {
    entryShownWith.push_back(text);
    if (entries.empty()) return std::nullopt;
    auto entry = entries.front();
    entries.pop_front();
    return entry;
  }
  std::optional<std::string> SelectFolder(const std::string& caption) override {
    pickerCaption = caption;
    return pick;
  }
  void ShowError(const std::string& text) override { errors.push_back(text); }
  void FocusOutputFolder() override { ++focusRequests; }

  bool createRestore = false, ignoreRemoveMedia = false, check64BitPaths = true, editRemoveEnabled = true;
  std::string folder, pickerCaption;
  std::vector<std::string> rows, entryShownWith, errors;
  int selected = -2, focusRequests = 0;
  std::deque<std::optional<std::string>> entries;  // answers of the entry dialog, in turn
  std::optional<std::string> pick;
};

class OptionsDialogTest : public ::testing::Test {
 protected:
  OptionsDialogTest() {
    EXPECT_TRUE(files.ForceDirectories("C:\\Backups"));
    options.BackupFolder = "C:\\Backups";
    options.IgnoreRemovableDrive = true;
    options.CreateRestore = false;
    options.IgnoreKeyCount = 2;
    options.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\A", "HKEY_CURRENT_USER\\Software\\B"};
    presenter.FormShow();
  }

  MemoryFileSystem files;
  TOptionsSetting options;
  FakeOptionsView view;
  TfrmOptionsPresenter presenter{view, files, options};
};

TEST_F(OptionsDialogTest, ShowsTheRecordAndEnablesEditRemoveOnlyWithASelection) {
  EXPECT_TRUE(view.ignoreRemoveMedia);
  EXPECT_FALSE(view.createRestore);
  EXPECT_FALSE(view.check64BitPaths);
  EXPECT_EQ(view.folder, "C:\\Backups");
  EXPECT_EQ(view.rows, options.IgnoreKeys);
  EXPECT_FALSE(view.editRemoveEnabled);
  presenter.lvKeysSelect(1);
  EXPECT_TRUE(view.editRemoveEnabled);
  presenter.lvKeysSelect(-1);
  EXPECT_FALSE(view.editRemoveEnabled);
  presenter.lvKeysSelect(7);  // past the rows: treated as none
  EXPECT_FALSE(view.editRemoveEnabled);
  presenter.aEditExecute();
  presenter.aRemoveExecute();
  EXPECT_TRUE(view.entryShownWith.empty());
  EXPECT_EQ(presenter.Rows().size(), 2u);
}

TEST_F(OptionsDialogTest, CountsThatDisagreeWithTheListShowOnlyWhatExists) {
  for (std::int32_t count : {-3, 0, 5}) {
    options.IgnoreKeyCount = count;
    presenter.FormShow();
    EXPECT_EQ(view.rows.size(), count == 5 ? 2u : 0u) << count;
  }
}

TEST_F(OptionsDialogTest, AddEditRemoveChangeOnlyTheRowsUntilOk) {
  view.entries = {"HKEY_CURRENT_USER\\Software\\Test", "HKEY_CURRENT_USER\\Software\\Test", std::nullopt, ""};
  presenter.bAddClick();
  presenter.bAddClick();  // a duplicate is kept
  presenter.bAddClick();  // cancelled: nothing added
  presenter.bAddClick();  // an empty entry is kept as typed
  EXPECT_EQ(view.entryShownWith, (std::vector<std::string>{"", "", "", ""}));
  presenter.lvKeysSelect(0);
  view.entries = {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited"};
  presenter.aEditExecute();
  EXPECT_EQ(view.entryShownWith.back(), "HKEY_CURRENT_USER\\Software\\A");
  presenter.lvKeysSelect(1);
  presenter.aRemoveExecute();  // at once, without asking
  EXPECT_FALSE(view.editRemoveEnabled);
  const std::vector<std::string> expected{"HKEY_LOCAL_MACHINE\\SOFTWARE\\Edited", "HKEY_CURRENT_USER\\Software\\Test",
                                          "HKEY_CURRENT_USER\\Software\\Test", ""};
  EXPECT_EQ(view.rows, expected);
  EXPECT_EQ(options.IgnoreKeyCount, 2) << "nothing is stored before OK";
  EXPECT_EQ(options.IgnoreKeys.size(), 2u);

  ASSERT_TRUE(presenter.bOKClick());
  EXPECT_EQ(options.IgnoreKeyCount, 4);
  EXPECT_EQ(options.IgnoreKeys, expected);
}

TEST_F(OptionsDialogTest, OkChecksTheFolderFirstAndThenStoresEverything) {
  struct Case {
    std::string folder;
    bool stored;
  };
  for (const Case& c : {Case{"D:\\Old", false}, Case{"", false}, Case{"C:\\Backups\\", true}}) {
    SCOPED_TRACE(c.folder);
    view.errors.clear();
    view.folder = c.folder;
    view.createRestore = true;
    view.ignoreRemoveMedia = false;
    view.check64BitPaths = true;
    presenter.lvKeysSelect(0);
    presenter.aRemoveExecute();
    EXPECT_EQ(presenter.bOKClick(), c.stored);
    if (!c.stored) {
      EXPECT_EQ(view.errors, std::vector<std::string>{c.folder + ",can not find the backup folder."});
      EXPECT_EQ(options.BackupFolder, "C:\\Backups");
      EXPECT_TRUE(options.IgnoreRemovableDrive);
      EXPECT_FALSE(options.CreateRestore);
      EXPECT_FALSE(options.Check64BitPaths);
      EXPECT_EQ(options.IgnoreKeyCount, 2);
      EXPECT_FALSE(files.DirectoryExists("D:\\Old")) << "the folder is not created";
    } else {
      EXPECT_TRUE(view.errors.empty());
      EXPECT_EQ(options.BackupFolder, "C:\\Backups\\") << "stored as typed";
      EXPECT_FALSE(options.IgnoreRemovableDrive);
      EXPECT_TRUE(options.CreateRestore);
      EXPECT_TRUE(options.Check64BitPaths);
      EXPECT_EQ(options.IgnoreKeyCount, 0) << "every row was removed";
      EXPECT_TRUE(options.IgnoreKeys.empty());
    }
  }
  EXPECT_EQ(view.focusRequests, 2);
}

TEST_F(OptionsDialogTest, BrowseFillsTheFolderOnlyWhenOneIsPicked) {
  presenter.bBrowseClick();
  EXPECT_EQ(view.pickerCaption, "Please select the directory");
  EXPECT_EQ(view.folder, "C:\\Backups");
  view.pick = "E:\\Elsewhere";
  presenter.bBrowseClick();
  EXPECT_EQ(view.folder, "E:\\Elsewhere");
  EXPECT_EQ(options.BackupFolder, "C:\\Backups");
}

}  // namespace

}  // namespace lindqua::test
