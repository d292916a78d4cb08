// The system list sections, rule by rule, over the in-memory platform. The
// fixture tests cover the rows themselves; these cover what they cannot see:
// the floppy rule without touching a drive, the version's font key, the
// reasons, and a stop in the middle of every list.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <stop_token>
#include <utility>

#include "engine/Scanners.h"
#include "engine/SystemListScanners.h"
#include "platform/RegTextImport.h"
#include "platform/TRegistry.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr const char* SharedDllsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls";
constexpr const char* SharedDlls = "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\n";

void Import(MemoryScan& m, const std::string& text) { ImportRegText(m.registry, "REGEDIT4\n\n" + text); }

// Records every path it is asked about, and stops the scan with the first
// file question.
class StoppingFiles : public MemoryFileSystem {
 public:
  std::function<void()> stop;
  std::vector<std::string> asked;
  bool FileExists(std::string_view path) override {
    asked.emplace_back(path);
    if (stop) std::exchange(stop, nullptr)();
    return MemoryFileSystem::FileExists(path);
  }
  bool DirectoryExists(std::string_view path) override {
    asked.emplace_back(path);
    return MemoryFileSystem::DirectoryExists(path);
  }
};

}  // namespace

TEST(SystemListScanners, FloppyRuleReportsUnreadyDrivesWithoutAskingThem) {
  struct Case {
    const char* dll;
    bool ignoreRemovable, aReady, bReady, reported;
  };
  const Case cases[] = {
      {"a:\\lib\\x.dll", false, false, true, true},   {"A:\\lib\\x.dll", false, false, false, true},
      {"b:\\lib\\x.dll", false, true, false, true},   {"a:\\lib\\x.dll", true, false, false, false},
      {"a:\\lib\\x.dll", false, true, true, true},    {"a:lib\\x.dll", false, false, false, false},
  };
  for (const Case& c : cases) {
    MemoryScan m;
    m.scan.IgnoreRemovableDrive = c.ignoreRemovable;
    m.scan.DriveAReady = c.aReady;
    m.scan.DriveBReady = c.bReady;
    if (c.ignoreRemovable) m.scan.DriveLetters = "cdefghijklmnopqrstuvwxyz";
    TRegistry reg(m.registry);
    reg.SetRootKey(RootKey::LocalMachine);
    ASSERT_TRUE(reg.OpenKey(SharedDllsKey, true));
    reg.WriteInteger(c.dll, 1);
    const auto before = m.files.QueryCount();
    ScanSharedDlls(m.scan);
    EXPECT_EQ(m.Rows().size(), c.reported ? 1u : 0u) << c.dll;
    const bool readyDriveAsked = c.aReady && c.bReady && !c.ignoreRemovable;
    if (c.reported && !readyDriveAsked) {
      EXPECT_EQ(m.files.QueryCount(), before) << c.dll << ": the drive was asked";
    }
  }
}

TEST(SystemListScanners, FontKeyFollowsTheWindowsFamily) {
  // Each key holds one missing font; the row shows which key was read.
  const std::pair<OsVersion, const char*> cases[] = {
      {{1, 4, 0}, "Windows\\CurrentVersion\\Fonts\\Old"},  {{1, 4, 10}, "Windows\\CurrentVersion\\Fonts\\Old"},
      {{1, 4, 90}, "Windows\\CurrentVersion\\Fonts\\Old"}, {{1, 4, 20}, "Windows NT\\CurrentVersion\\Fonts\\New"},
      {{2, 6, 1}, "Windows NT\\CurrentVersion\\Fonts\\New"},
  };
  for (const auto& [version, key] : cases) {
    MemoryScan m;
    m.facts.version = version;
    Import(m, "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Fonts]\n\"Old\"=\"C:\\\\F\\\\old.fon\"\n"
              "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\n\"New\"=\"C:\\\\F\\\\new.ttf\"\n");
    ScanFonts(m.scan);
    ASSERT_EQ(m.Rows().size(), 1u) << key;
    EXPECT_EQ(m.Rows()[0].location, "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\" + std::string(key));
  }
}

TEST(SystemListScanners, EveryRowSaysWhatWasFound) {
  MemoryScan m;
  ASSERT_TRUE(m.files.AddFile("C:\\Lib\\idle.dll"));
  Import(m, std::string(SharedDlls) +
                "\"C:\\\\Lib\\\\idle.dll\"=dword:00000000\n\"C:\\\\Gone\\\\x.dll\"=dword:00000001\n"
                "\"a:\\\\x.dll\"=dword:00000001\n"
                "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n\"E\"=\"\"\n\"Q\"=\"\\\"\\\"\"\n");
  ScanSharedDlls(m.scan);
  ScanStartupPrograms(m.scan);
  const char* expected[] = {"Reference count is 0: C:\\Lib\\idle.dll", "Not found: C:\\Gone\\x.dll",
                            "Drive not ready: a:\\x.dll", "Empty command", "Command is only \"\""};
  ASSERT_EQ(m.Rows().size(), std::size(expected));
  for (std::size_t i = 0; i < std::size(expected); ++i)
    EXPECT_EQ(m.Rows()[i].reason.rfind(expected[i], 0), 0u) << m.Rows()[i].reason;
}

TEST(SystemListScanners, AStopEndsEachListAfterItsCurrentEntry) {
  // Two entries per list that both need a file check; the stop comes with
  // the first file question, so the second entry must never be asked about.
  struct Case {
    void (*scanner)(ScanContext&);
    const char* reg;
  };
  const Case cases[] = {
      {ScanSharedDlls, "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\SharedDlls]\n"
                       "\"C:\\\\G\\\\first.dll\"=dword:00000001\n\"C:\\\\G\\\\second.dll\"=dword:00000001\n"},
      {ScanFonts, "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows NT\\CurrentVersion\\Fonts]\n"
                  "\"1\"=\"C:\\\\G\\\\first.ttf\"\n\"2\"=\"C:\\\\G\\\\second.ttf\"\n"},
      {ScanHelpFiles, "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Help]\n\"first.hlp\"=\"C:\\\\G\"\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\Html Help]\n\"second.chm\"=\"C:\\\\G\"\n"},
      {ScanStartupPrograms, "[HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Run]\n"
                            "\"1\"=\"C:\\\\G\\\\first.exe\"\n"
                            "[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Shared Tools\\MSConfig\\startupreg\\x]\n"
                            "\"command\"=\"C:\\\\G\\\\second.exe\"\n"},
      {ScanServices, "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\A]\n\"ImagePath\"=\"C:\\\\G\\\\first.sys\"\n"
                     "[HKEY_LOCAL_MACHINE\\SYSTEM\\CurrentControlSet\\Services\\B]\n\"ImagePath\"=\"C:\\\\G\\\\second.sys\"\n"},
      {ScanSoundEvents, "[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\A\\E\\.Current]\n@=\"C:\\\\G\\\\first.wav\"\n"
                        "[HKEY_CURRENT_USER\\AppEvents\\Schemes\\Apps\\B\\E\\.Current]\n@=\"C:\\\\G\\\\second.wav\"\n"},
  };
  for (const Case& c : cases) {
    MemoryRegistry registry;
    StoppingFiles files;
    MemorySystemFacts facts;
    ResultsModel model;
    std::stop_source stop;
    ScanContext scan(ScanPlatform{registry, files, facts}, ScanSink(model, stop.get_token()));
    scan.DriveLetters = AllDriveLetters;
    ImportRegText(registry, std::string("REGEDIT4\n\n") + c.reg);
    files.stop = [&] { stop.request_stop(); };
    c.scanner(scan);
    const bool firstAsked = std::any_of(files.asked.begin(), files.asked.end(),
                                        [](const std::string& p) { return p.find("first") != std::string::npos; });
    const bool secondAsked = std::any_of(files.asked.begin(), files.asked.end(),
                                         [](const std::string& p) { return p.find("second") != std::string::npos; });
    EXPECT_TRUE(firstAsked) << c.reg;
    EXPECT_FALSE(secondAsked) << c.reg;
  }
}

}  // namespace lindqua::test
