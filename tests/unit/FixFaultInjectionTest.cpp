// The fix of a fixture with many rows, run once for every operation of each
// kind it makes with exactly that operation failing. After each run nothing
// that left the registry is missing from the backup (byte for byte, read back
// as regedit reads it), and the rows still listed are exactly the unfixed ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>

#include "platform/RegTextImport.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "platform/memory/Windows1252CodePage.h"
#include "repair/BackupFiles.h"
#include "repair/FixProcedure.h"
#include "support/FailingFileSystem.h"
#include "support/FailingRegistry.h"
#include "support/FixtureData.h"
#include "support/RegistryTree.h"

namespace lindqua::test {

namespace {

constexpr const char* Top = "Software\\Fault";
constexpr const char* BackupFolder = "C:\\Backups\\New";
constexpr const char* LinkFile = "C:\\Links\\dead.lnk";

// Each row with the registry entry (as a RegistryTree key) or file it removes.
struct Row {
  Finding finding;
  std::string target;
};

std::vector<Row> Rows() {
  const std::string hkcu = "HKEY_CURRENT_USER\\Software\\Fault";
  auto row = [](std::string location, int tag, std::string shown, std::string target) {
    return Row{Finding{"caption", std::move(shown), std::move(location), tag, 3, true, ""}, std::move(target)};
  };
  return {
      row(hkcu + "\\Tree", 0, "", "Tree"),
      row(hkcu + "\\Values\\Text", 1, "", "Values|Text"),
      row(hkcu + "\\Values\\Bin", 1, "", "Values|Bin"),
      row(hkcu + "\\Values", 2, "Named", "Values|Named"),
      row(hkcu + "\\Values", 2, "Line\nBreak", "Values|Line\nBreak"),  // refused: no backup can hold it
      row(hkcu + "\\Default", 5, "", "Default|"),
      row(hkcu + "\\Parent", 3, "Child", "Parent\\Child"),
      row(hkcu + "\\Wide", 0, "", "Wide"),  // refused: text outside the code page
      row(LinkFile, 4, "dead", LinkFile),
      row(hkcu + "\\Second", 0, "", "Second"),
  };
}

class FaultRun {
 public:
  FaultRun() {
    ImportRegText(registry, ReadFixtureData("faults", "fixture.reg"));
    std::unique_ptr<RegistryKey> root, values;
    EXPECT_EQ(registry.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root), RegStatus::Ok);
    EXPECT_EQ(root->CreateSubKey("Software\\Fault\\Values", RegAccess::AllAccess, values), RegStatus::Ok);
    const std::string text = "x";
    EXPECT_EQ(values->SetValue("Line\nBreak", RegType::String, Utf8ToUtf16LeBytes(text)), RegStatus::Ok);
    EXPECT_TRUE(memoryFiles.AddFile(LinkFile, 10));
    results.EditRows([](auto& rows) {
      for (const auto& r : Rows()) rows.push_back(r.finding);
    });
    before = ReadRegistryTree(registry, RootKey::CurrentUser, Top);
  }

  FixReport Fix() {
    // The user said yes to creating a missing backup folder.
    return DeleteCheckedFindings(FixPlatform{ExportPlatform{failingRegistry, failingFiles, ansi}, facts}, results,
                                 FixRequest{BackupFolder, true});
  }

  // Checks the invariant after a run; `what` names the run in failures.
  void Check(const std::string& what) {
    const RegistryTree after = ReadRegistryTree(registry, RootKey::CurrentUser, Top);
    ASSERT_FALSE(after.empty()) << what;
    MemoryRegistry restored;
    for (const auto& entry : memoryFiles.ListFolder(BackupFolder)) {
      const std::string path = std::string(BackupFolder) + "\\" + entry.name;
      std::string text;
      ASSERT_TRUE(memoryFiles.ReadWholeFile(path, text)) << what;
      // A file that ends inside a block is never imported by the program; its
      // whole lines still hold every deletion made before the cut.
      const BackupContents contents = ReadBackupFile(memoryFiles, ansi, path);
      if (text.empty() || text.back() != '\n') {
        EXPECT_NE(contents.problem.find("ends inside a block"), std::string::npos) << what << ": " << contents.problem;
        text.erase(text.rfind('\n') + 1);
      } else {
        EXPECT_EQ(contents.problem, "") << what;
      }
      try {
        ImportRegText(restored, text, ansi);
      } catch (const RegTextError& e) {
        FAIL() << what << ": a backup does not import: " << e.what() << "\n" << text;
      }
    }
    const RegistryTree backedUp = ReadRegistryTree(restored, RootKey::CurrentUser, Top);
    for (const auto& [entry, data] : before) {
      if (after.count(entry)) continue;
      const auto saved = backedUp.find(entry);
      EXPECT_TRUE(saved != backedUp.end() && saved->second == data) << what << ": lost without backup: " << entry;
    }
    const std::vector<Finding> left = results.Rows();
    for (const auto& r : Rows()) {
      const bool present = r.target == LinkFile ? memoryFiles.FileExists(LinkFile) : after.count(r.target) > 0;
      const bool listed = std::any_of(left.begin(), left.end(), [&](const Finding& f) {
        return f.location == r.finding.location && f.tag == r.finding.tag && f.shownText == r.finding.shownText;
      });
      EXPECT_EQ(listed, present) << what << ": row " << r.finding.location << " [" << r.finding.shownText << "]";
    }
  }

  MemoryRegistry registry;
  MemoryFileSystem memoryFiles;
  FailingRegistry failingRegistry{registry};
  FailingFileSystem failingFiles{memoryFiles};
  MemorySystemFacts facts;
  Windows1252CodePage ansi;
  ResultsModel results;
  RegistryTree before;
};

}  // namespace

TEST(FixFaultInjection, EveryFailedOperationKeepsEveryDeletionBackedUpAndTheListTrue) {
  const std::pair<const char*, FileFault> fileKinds[] = {{"write", FileFault::Write},
                                                         {"append", FileFault::Append},
                                                         {"flush", FileFault::Flush},
                                                         {"short append", FileFault::ShortAppend},
                                                         {"folder creation", FileFault::CreateFolder},
                                                         {"file delete", FileFault::Delete}};
  const std::pair<const char*, RegFault> regKinds[] = {{"key open", RegFault::Open},
                                                       {"enumeration", RegFault::Enumerate},
                                                       {"value read", RegFault::Read},
                                                       {"registry write", RegFault::Write},
                                                       {"registry delete", RegFault::Delete}};
  FaultRun clean;
  clean.Fix();
  clean.Check("the run without faults");
  ASSERT_FALSE(clean.results.Rows().empty()) << "the refused rows stay";
  ASSERT_LT(clean.results.Rows().size(), Rows().size()) << "the others are fixed";

  std::uint64_t injected = 0;
  auto runEach = [&](const char* name, std::uint64_t count, auto arm) {
    for (std::uint64_t n = 1; n <= count; ++n) {
      FaultRun run;
      arm(run, n);
      run.Fix();
      run.Check(std::string(name) + " " + std::to_string(n) + " of " + std::to_string(count) + " failing");
      injected += run.failingFiles.Injected() || run.failingRegistry.Injected();
      if (::testing::Test::HasFailure()) return;
    }
  };
  for (const auto& [name, kind] : fileKinds)
    runEach(name, clean.failingFiles.Count(kind),
            [k = kind](FaultRun& run, std::uint64_t n) { run.failingFiles.FailAt(k, n); });
  for (const auto& [name, kind] : regKinds)
    runEach(name, clean.failingRegistry.Count(kind),
            [k = kind](FaultRun& run, std::uint64_t n) { run.failingRegistry.FailAt(k, n); });
  RecordProperty("injectedFaults", static_cast<int>(injected));
  if (!HasFailure())
    std::printf("[ faults   ] %llu injected, the invariant held after each\n", static_cast<unsigned long long>(injected));
  EXPECT_GT(injected, 20u);
}

}  // namespace lindqua::test
