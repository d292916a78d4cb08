// The scan thread: section order, messages, stops and escaped errors.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <chrono>
#include <stdexcept>
#include <thread>

#include "engine/ScanSection.h"
#include "engine/TScanTaskThread.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/RecordingNotifier.h"
#include "support/ScanCachesSetting.h"

namespace lindqua::test {

namespace {

// Polls instead of std::latch: the atomic waits under the mingw runtime can
// miss a wake-up and hang.
void WaitUntil(const std::atomic<bool>& flag) {
  while (!flag) std::this_thread::yield();
}

class ScanThreadTest : public ::testing::Test {
 protected:
  ScanPlatform Platform() { return ScanPlatform{registry, files, facts}; }

  std::unique_ptr<TScanTaskThread> MakeScan(std::vector<std::string> sections, ScannerLookup lookup) {
    auto scan = std::make_unique<TScanTaskThread>(Platform(), model, notifier, false, std::move(lookup));
    scan->SectionList = std::move(sections);
    return scan;
  }

  // A scanner table that records the order of the sections it ran.
  ScannerLookup Recording() {
    return [this](int section) -> std::function<void(ScanContext&)> {
      if (!FindScanSection(section)) return nullptr;
      return [this, section](ScanContext& scan) {
        ran.push_back(section);
        scan.AddFinding("caption", "shown " + std::to_string(section), "HKEY_USERS\\x", 1, "r");
      };
    };
  }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ResultsModel model;
  RecordingNotifier notifier;
  std::vector<int> ran;
};

TEST_F(ScanThreadTest, RunsSectionsInListOrderAndPostsAfterEach) {
  auto scan = MakeScan({"5", "3", "25", "3"}, Recording());
  scan->Resume();
  scan->WaitFor();
  EXPECT_EQ(ran, (std::vector<int>{5, 3, 25, 3}));
  EXPECT_EQ(notifier.SectionsDone(), 4);
  EXPECT_EQ(notifier.ScansFinished(), 1);
  const auto rows = model.Rows();
  ASSERT_EQ(rows.size(), 4u) << "the same section twice gives its rows twice";
  EXPECT_EQ(rows[0].section, 5);
  EXPECT_EQ(rows[2].shownText, "shown 25");
  const ScanTexts texts = model.Texts();
  EXPECT_EQ(texts.status, "Optimizing...Do not close the dialog.");
  EXPECT_EQ(texts.detail, "Please wait...");
  EXPECT_TRUE(texts.statusVisible);
  EXPECT_TRUE(texts.detailVisible);
  EXPECT_TRUE(scan->Finished());
  EXPECT_FALSE(scan->EndedOnError());
}

TEST_F(ScanThreadTest, EntriesThatAreNoSectionRunNothingButCountAsSections) {
  auto scan = MakeScan({"2", "x", "30", "1", "", "-4", "4 ", "0x5"}, Recording());
  scan->Resume();
  scan->WaitFor();
  EXPECT_TRUE(ran.empty());
  EXPECT_EQ(notifier.SectionsDone(), 8);
  EXPECT_EQ(notifier.ScansFinished(), 1);
}

TEST_F(ScanThreadTest, EmptyListOnlyFinishes) {
  auto scan = MakeScan({}, Recording());
  scan->Resume();
  scan->WaitFor();
  EXPECT_EQ(notifier.SectionsDone(), 0);
  EXPECT_EQ(notifier.ScansFinished(), 1);
  EXPECT_EQ(model.Texts().status, "Optimizing...Do not close the dialog.");
}

TEST_F(ScanThreadTest, StopDuringSectionEndsWithoutRowsOrMessages) {
  std::atomic<bool> inSection{false};
  std::atomic<bool> release{false};
  auto lookup = [&](int section) -> std::function<void(ScanContext&)> {
    if (section != 5) return [](ScanContext& scan) { scan.AddFinding("c", "before", "HKEY_USERS\\a", 1, "r"); };
    return [&](ScanContext& scan) {
      scan.AddFinding("c", "first of 5", "HKEY_USERS\\b", 1, "r");
      inSection = true;
      while (!release) std::this_thread::yield();
      // A scanner that ignores the flag for a moment still cannot add rows or texts.
      scan.AddFinding("c", "after stop", "HKEY_USERS\\c", 1, "r");
      scan.SetStatusText("late status");
      scan.ShowDetail("late detail");
    };
  };
  auto scan = MakeScan({"3", "5", "6"}, lookup);
  scan->Resume();
  WaitUntil(inSection);
  scan->Terminate();
  release = true;
  scan->WaitFor();
  EXPECT_TRUE(scan->Finished());
  EXPECT_EQ(notifier.SectionsDone(), 1) << "only section 3 was done";
  EXPECT_EQ(notifier.ScansFinished(), 0);
  const auto rows = model.Rows();
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[1].shownText, "first of 5");
  EXPECT_NE(model.Texts().status, "late status");
  EXPECT_NE(model.Texts().detail, "late detail");
}

TEST_F(ScanThreadTest, ErrorEscapingAScannerEndsTheScanQuietly) {
  auto lookup = [&](int section) -> std::function<void(ScanContext&)> {
    return [section](ScanContext& scan) {
      scan.AddFinding("c", "row", "HKEY_USERS\\a", 1, "r");
      if (section == 4) throw std::runtime_error("registry went away");
    };
  };
  auto scan = MakeScan({"3", "4", "5"}, lookup);
  scan->Resume();
  scan->WaitFor();
  EXPECT_TRUE(scan->Finished());
  EXPECT_TRUE(scan->EndedOnError());
  EXPECT_EQ(model.Count(), 2u) << "section 5 never ran";
  EXPECT_EQ(notifier.SectionsDone(), 1);
  EXPECT_EQ(notifier.ScansFinished(), 0);
}

TEST_F(ScanThreadTest, DestroyingARunningScanStopsAndJoinsIt) {
  std::atomic<bool> started{false};
  auto lookup = [&](int) -> std::function<void(ScanContext&)> {
    return [&](ScanContext& scan) {
      started = true;
      while (!scan.Terminated()) std::this_thread::yield();
    };
  };
  auto scan = MakeScan({"3", "4"}, lookup);
  scan->Resume();
  WaitUntil(started);
  scan.reset();
  EXPECT_EQ(notifier.ScansFinished(), 0);
}

TEST_F(ScanThreadTest, RealTableRunsEveryScannerAndWritesStatusTexts) {
  std::vector<std::string> all;
  for (int i = 3; i <= 25; ++i) all.push_back(std::to_string(i));
  auto scan = std::make_unique<TScanTaskThread>(Platform(), model, notifier, false);
  scan->SectionList = all;
  scan->Resume();
  scan->WaitFor();
  EXPECT_FALSE(scan->EndedOnError());
  EXPECT_EQ(notifier.SectionsDone(), 23);
  EXPECT_EQ(notifier.ScansFinished(), 1);
}

TEST_F(ScanThreadTest, DriveLettersFollowTheRemovableDriveSetting) {
  EXPECT_EQ(BuildDriveLetters(files, false), "abcdefghijklmnopqrstuvwxyz");
  files.SetDrive('D', DriveType::Fixed, true);
  files.SetDrive('E', DriveType::CdRom, true);
  files.SetDrive('F', DriveType::Removable, true);
  files.SetDrive('G', DriveType::Remote, true);
  files.SetDrive('H', DriveType::RamDisk, true);
  EXPECT_EQ(BuildDriveLetters(files, true), "cd");
  EXPECT_EQ(BuildDriveLetters(files, false), "abcdefghijklmnopqrstuvwxyz");
}

TEST_F(ScanThreadTest, SystemFactsAreMeasuredAtCreation) {
  facts.version = OsVersion{2, 6, 3};
  facts.wow64 = true;
  TScanTaskThread nt6(Platform(), model, notifier, true);
  EXPECT_TRUE(nt6.IsNT6());
  EXPECT_TRUE(nt6.UnderWow64());
  EXPECT_EQ(nt6.DriveLetters(), "c");
  facts.version = OsVersion{2, 10, 0};
  facts.wow64 = std::nullopt;
  TScanTaskThread win10(Platform(), model, notifier, false);
  EXPECT_FALSE(win10.IsNT6()) << "Windows 10 reports 10.0, code 10";
  EXPECT_FALSE(win10.UnderWow64()) << "no IsWow64Process means no WOW64";
}

}  // namespace

// The row-comparison tests run once more with the caches off: the switch must
// really hand every question to the platform, and only "off" may do so.
TEST_F(ScanThreadTest, CachesSettingDecidesWhetherQuestionsReachThePlatform) {
  const struct {
    const char* setting;
    bool direct;
  } cases[] = {{nullptr, false}, {"on", false}, {"off", true}, {"", false}};
  for (const auto& c : cases) {
    SetScanCachesSetting(c.setting);
    bool direct = false;
    auto scan = MakeScan({"3"}, [&](int) -> std::function<void(ScanContext&)> {
      return [&](ScanContext& context) { direct = &context.Files() == &files; };
    });
    scan->Resume();
    scan->WaitFor();
    EXPECT_EQ(direct, c.direct) << (c.setting ? c.setting : "(unset)");
  }
  SetScanCachesSetting(nullptr);
}

}  // namespace lindqua::test
