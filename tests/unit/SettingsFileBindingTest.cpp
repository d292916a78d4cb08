// The main window's settings go through the settings file and come back.
#include <gtest/gtest.h>

#include "app/LoadSaveSettings.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"

namespace lindqua::test {

namespace {
class RecordingErrors : public ErrorReporter {
 public:
  void ShowError(std::string_view message) override { messages.emplace_back(message); }
  std::vector<std::string> messages;
};
}  // namespace

TEST(SettingsFileBinding, WhatTheWindowSavesItLoadsAgain) {
  MemoryFileSystem files;
  files.SetSpecialFolder(SpecialFolder::AppData, "C:\\Users\\me\\AppData\\Roaming");
  files.AddFolder("C:\\Users\\me\\AppData\\Roaming");
  PortableIniFiles ini{files};
  RecordingErrors errors;
  SettingsFileStore binding(files, ini, "C:\\Prog\\", errors, [] { return WindowSize{1600, 1200}; });

  TOptionsSetting first;
  binding.Load(first);
  EXPECT_TRUE(first.IgnoreRemovableDrive) << "a first start's defaults";
  EXPECT_EQ(first.Width, 704);

  first.NodeSelected.fill(false);
  first.NodeSelected[5] = true;
  first.IgnoreKeys = {"HKEY_CURRENT_USER\\Software\\Keep"};
  first.IgnoreKeyCount = 1;
  first.LastFix = "1/2/2026 3:04:05 PM";
  EXPECT_TRUE(binding.Save(first, WindowPlacement{true, 3, 10, 20, 800, 600}));
  EXPECT_TRUE(errors.messages.empty());

  TOptionsSetting again;
  binding.Load(again);
  EXPECT_EQ(again.NodeSelected, first.NodeSelected);
  EXPECT_EQ(again.IgnoreKeys, first.IgnoreKeys);
  EXPECT_EQ(again.LastFix, first.LastFix);
  EXPECT_EQ(again.WindowState, 2) << "saved maximized, opens maximized";
  EXPECT_TRUE(binding.Save(again, WindowPlacement{true, 1, 10, 20, 800, 600}));
  TOptionsSetting normal;
  binding.Load(normal);
  EXPECT_EQ(normal.WindowState, 0);
  EXPECT_EQ(normal.Left, 10);
  EXPECT_EQ(normal.Width, 800);
  EXPECT_EQ(normal.Height, 600);
  EXPECT_TRUE(files.FileExists("C:\\Users\\me\\AppData\\Roaming\\Vantorel\\Lindqua\\Settings.ini"));
}

TEST(SettingsFileBinding, RefusedSaveIsReportedWithThePath) {
  MemoryFileSystem files;
  files.SetSpecialFolder(SpecialFolder::AppData, "C:\\AppData");
  files.AddFolder("C:\\AppData\\Vantorel\\Lindqua");
  files.FailWritesTo("C:\\AppData\\Vantorel\\Lindqua");
  PortableIniFiles ini{files};
  RecordingErrors errors;
  SettingsFileStore binding(files, ini, "C:\\Prog\\", errors, nullptr);
  EXPECT_FALSE(binding.Save(TOptionsSetting{}, WindowPlacement{}));
  ASSERT_EQ(errors.messages.size(), 1u);
  EXPECT_EQ(errors.messages[0], "Unable to write to C:\\AppData\\Vantorel\\Lindqua\\Settings.ini");
}

}  // namespace lindqua::test
