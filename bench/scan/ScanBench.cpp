// Times a full scan with every section checked against one read of the
// hives it touches, on a synthetic install (see InstallShape.h): natively
// over the memory platform, or with --wine over the Win32 platform of the
// Wine prefix it runs in (seeded once, reused after).
//
//   lindqua_bench_scan [--keys N] [--values N] [--rounds N] [--sections 3,4,...] [--responsiveness]
//                      [--check-rows] [--root FOLDER] [--wine [--reseed]]
//
// Each round times the enumeration and the scan; a last, untimed run with
// counting layers gives the registry calls and the existence questions.
// --responsiveness then polls the detail line through one more scan and
// cancels six more at times spread over it. --check-rows compares the rows
// of one more scan with the caches on and off. --root puts the install in
// another folder (natively only): one of the same length that is no drive
// path, such as C_\LqScan, gives the same registry with no value naming a
// file, so the scan then costs what it does without the file check and its
// rows.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <string>
#include <vector>

#include "engine/ScanSection.h"
#include "engine/Scanners.h"
#include "engine/TScanTaskThread.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "scan/Counting.h"
#include "scan/Enumeration.h"
#include "scan/InstallShape.h"
#include "scan/PeakMemory.h"
#include "scan/Responsiveness.h"
#include "sweep/Seeder.h"

#ifdef LINDQUA_BENCH_WIN32
#include <windows.h>
// after windows.h
#include <shlobj.h>

#include "platform/TRegistry.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/WinText.h"
#endif

using namespace lindqua;
using namespace lindqua::bench;

namespace {

using Clock = std::chrono::steady_clock;

class NoNotifier : public ScanNotifier {
 public:
  void PostSectionDone() override {}
  void PostScanFinished() override {}
};

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }
// Processor time of the whole process: on a shared machine it moves far less
// than the clock on the wall. Natively only (negative elsewhere): under Wine
// the registry's work is done in the server, outside the process, and the
// C runtime's clock() is the wall clock.
double ProcessorSeconds() {
#ifdef LINDQUA_BENCH_WIN32
  return -1;
#else
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
#endif
}
double Megabytes(std::uint64_t bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }
double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values.empty() ? 0 : values[values.size() / 2];
}

struct ScanRun {
  double seconds = 0, processorSeconds = 0;
  std::map<int, double> sectionSeconds;
  std::map<int, std::uint64_t> sectionCalls;  // only when the registry is counted
  std::size_t rows = 0;
  std::vector<Finding> found;  // kept only when asked for
};

// `counted`, when given, is the registry under `platform`, whose calls are
// then counted section by section.
ScanRun RunScan(ScanPlatform platform, const std::vector<std::string>& sections, bool keepRows = false,
                const CountingRegistry* counted = nullptr) {
  ScanRun run;
  ResultsModel model;
  NoNotifier notifier;
  // Each section's scanner, timed from inside the scan thread.
  auto timed = [&run, counted, lookup = DefaultScannerLookup()](int section) -> std::function<void(ScanContext&)> {
    auto scanner = lookup(section);
    if (!scanner) return nullptr;
    return [&run, counted, section, scanner](ScanContext& scan) {
      const auto start = Clock::now();
      const std::uint64_t callsBefore = counted ? counted->Calls() : 0;
      scanner(scan);
      run.sectionSeconds[section] += Seconds(start);
      if (counted) run.sectionCalls[section] += counted->Calls() - callsBefore;
    };
  };
  const auto start = Clock::now();
  const double processorStart = ProcessorSeconds();
  {
    TScanTaskThread scan(platform, model, notifier, false, timed);
    scan.SectionList = sections;
    scan.Resume();
    scan.WaitFor();
  }
  run.seconds = Seconds(start);
  run.processorSeconds = ProcessorSeconds() - processorStart;
  run.rows = model.Count();
  if (keepRows) run.found = model.Rows();
  return run;
}

bool SameRow(const Finding& a, const Finding& b) {
  return a.caption == b.caption && a.shownText == b.shownText && a.location == b.location && a.tag == b.tag &&
         a.section == b.section && a.reason == b.reason;
}

// The rows of a scan with the caches on and with them off, compared field by
// field: what the scan keeps to go faster must change none of them.
void CheckRows(ScanPlatform platform, const std::vector<std::string>& sections) {
  putenv(const_cast<char*>("LINDQUA_SCAN_CACHES=on"));
  const std::vector<Finding> with = RunScan(platform, sections, true).found;
  putenv(const_cast<char*>("LINDQUA_SCAN_CACHES=off"));
  const std::vector<Finding> without = RunScan(platform, sections, true).found;
  putenv(const_cast<char*>("LINDQUA_SCAN_CACHES=on"));
  std::size_t same = 0;
  while (same < with.size() && same < without.size() && SameRow(with[same], without[same])) ++same;
  if (same == with.size() && same == without.size()) {
    std::printf("rows with the caches on and off: %zu and %zu, identical\n", with.size(), without.size());
  } else {
    std::printf("rows with the caches on and off: %zu and %zu, DIFFERENT from row %zu on\n", with.size(),
                without.size(), same + 1);
  }
  std::fflush(stdout);
}

// Returns the median time of the full scan.
double Measure(ScanPlatform platform, int rounds, const std::vector<std::string>& sections) {
  std::vector<double> enumerations, scans, ratios, processorRatios;
  std::map<int, std::vector<double>> perSection;
  std::size_t rows = 0;
  WalkCounts counts;
  std::uint64_t peakDuring = 0, before = 0;
  bool peakReset = false;
  for (int round = 1; round <= rounds; ++round) {
    auto start = Clock::now();
    const double processorStart = ProcessorSeconds();
    counts = EnumerateHives(platform.registry);
    const double enumeration = Seconds(start);
    const double enumerationProcessor = ProcessorSeconds() - processorStart;
    // The first scan's peak: later ones find the memory of the earlier ones
    // still held by the allocator.
    if (round == 1) {
      before = WorkingSet();
      peakReset = ResetPeakWorkingSet();
    }
    const ScanRun scan = RunScan(platform, sections);
    if (round == 1) peakDuring = PeakWorkingSet();
    rows = scan.rows;
    enumerations.push_back(enumeration);
    scans.push_back(scan.seconds);
    ratios.push_back(scan.seconds / enumeration);
    processorRatios.push_back(scan.processorSeconds / enumerationProcessor);
    for (const auto& [section, seconds] : scan.sectionSeconds) perSection[section].push_back(seconds);
    std::printf("round %d: enumeration %.3f s (%llu keys, %llu values), full scan %.3f s (%zu rows), ratio %.2f",
                round, enumeration, static_cast<unsigned long long>(counts.keys),
                static_cast<unsigned long long>(counts.values), scan.seconds, scan.rows, scan.seconds / enumeration);
    if (ProcessorSeconds() >= 0)
      std::printf("; processor time %.3f s / %.3f s, ratio %.2f", enumerationProcessor, scan.processorSeconds,
                  processorRatios.back());
    std::printf("\n");
    std::fflush(stdout);
  }
  std::printf("median of %d: enumeration %.3f s, full scan %.3f s, ratio %.2f", rounds, Median(enumerations),
              Median(scans), Median(ratios));
  if (ProcessorSeconds() >= 0) std::printf(", processor time ratio %.2f", Median(processorRatios));
  std::printf(" (medians of the rounds' ratios)\n");
  std::printf("sections (median s):");
  for (const auto& [section, times] : perSection) std::printf(" %d=%.3f", section, Median(times));
  std::printf("\n");
  std::printf("working set: %.1f MB before the scan, peak %.1f MB %s (%.1f MB above the start), %zu rows\n",
              Megabytes(before), Megabytes(peakDuring), peakReset ? "during the first scan" : "of the whole run",
              Megabytes(peakDuring > before ? peakDuring - before : 0), rows);
  std::fflush(stdout);

  CountingRegistry registry(platform.registry);
  CountingFileSystem files(platform.files);
  const ScanPlatform counted{registry, files, platform.facts};
  (void)EnumerateHives(registry);
  const std::uint64_t enumerationCalls = registry.Calls();
  registry.Reset();
  const ScanRun scan = RunScan(counted, sections, false, &registry);
  std::printf("registry calls: enumeration %llu, full scan %llu (ratio %.2f); existence questions asked of the "
              "system: %llu; rows %zu\n",
              static_cast<unsigned long long>(enumerationCalls), static_cast<unsigned long long>(registry.Calls()),
              static_cast<double>(registry.Calls()) / static_cast<double>(enumerationCalls ? enumerationCalls : 1),
              static_cast<unsigned long long>(files.Questions()), scan.rows);
  std::printf("registry calls by section:");
  for (const auto& [section, calls] : scan.sectionCalls)
    std::printf(" %d=%llu", section, static_cast<unsigned long long>(calls));
  std::printf("\n");
  return Median(scans);
}

void MeasureResponsiveness(ScanPlatform platform, const std::vector<std::string>& sections) {
  const ProgressFigures progress = MeasureProgress(platform, sections);
  std::printf("progress: scan %.3f s, detail line changed %d times (polled every 5 ms), longest still %.3f s "
              "(in \"%s\"), longest step %.3f s\n",
              progress.scanSeconds, progress.detailChanges, progress.longestDetailPause, progress.pausedIn.c_str(),
              progress.longestStep);
  std::vector<double> times;
  for (int i = 1; i <= 6; ++i) times.push_back(progress.scanSeconds * i / 7);
  double longest = 0;
  for (const CancelFigure& figure : MeasureCancel(platform, sections, times)) {
    std::printf("cancel after %.2f s (in \"%s\"): the scan ended %.3f s later\n", figure.after,
                figure.during.c_str(), figure.seconds);
    longest = std::max(longest, figure.seconds);
  }
  std::printf("cancel: longest %.3f s\n", longest);
  std::fflush(stdout);
}

void PrintCounts(const InstallCounts& c, double seconds) {
  std::printf("seeded %zu keys, %zu values, %zu files, %zu shortcuts; %zu applications (%zu removed); "
              "%zu paths in values, %zu missing; in %.1f s\n",
              c.keys, c.values, c.files, c.shortcuts, c.applications, c.removed, c.paths, c.missingPaths, seconds);
  std::fflush(stdout);
}

std::vector<std::string> AllSections() {
  std::vector<std::string> sections;
  for (int section = FirstScanSection; section <= LastScanSection; ++section)
    sections.push_back(std::to_string(section));
  return sections;
}

std::vector<std::string> SplitSections(const char* text) {
  std::vector<std::string> sections;
  std::string current;
  for (const char* c = text;; ++c) {
    if (*c == ',' || !*c) {
      if (!current.empty()) sections.push_back(current);
      current.clear();
      if (!*c) break;
    } else {
      current += *c;
    }
  }
  return sections;
}

#ifdef LINDQUA_BENCH_WIN32
// A shortcut as an installer makes one: through the shell's link object.
void MakeShortcut(const std::string& path, const std::string& target) {
  const UniqueComInit com = InitializeCom();
  ComPtr<IShellLinkW> link;
  if (FAILED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(link.put()))))
    return;
  ComPtr<IPersistFile> file;
  if (FAILED(link->SetPath(Wide(target).c_str())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(file.put()))))
    return;
  (void)file->Save(Wide(path).c_str(), TRUE);
}

// The system's own export of a hive to a file, timed: the second yardstick.
double TimeRegExport(const char* hive, const std::wstring& file) {
  std::wstring command = L"reg.exe export " + Wide(hive) + L" \"" + file + L"\" /y";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  const auto start = Clock::now();
  if (!::CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &process))
    return -1;
  const UniqueKernelHandle processHandle(process.hProcess), threadHandle(process.hThread);
  ::WaitForSingleObject(processHandle.get(), INFINITE);
  const double seconds = Seconds(start);
  ::DeleteFileW(file.c_str());
  return seconds;
}

int RunUnderWine(InstallShape shape, int rounds, bool reseed, bool responsiveness, bool checkRows,
                 const std::vector<std::string>& sections) {
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  shape.fontsFolder = files.GetSpecialFolder(SpecialFolder::Fonts);
  shape.programsFolder = files.GetSpecialFolder(SpecialFolder::Programs);
  shape.desktopFolder = files.GetSpecialFolder(SpecialFolder::Desktop);
  TRegistry marker(registry);
  const bool seeded = marker.OpenKey("Software\\LqScanBench", false) && marker.ValueExists("seeded");
  if (seeded && reseed) {
    std::fprintf(stderr, "--reseed needs a new prefix: the seed is spread over the whole registry\n");
    return 2;
  }
  if (!seeded) {
    const auto start = Clock::now();
    Seeder seeder(registry, files, [&](const std::string& path) { (void)files.WriteWholeFile(path, ""); },
                  MakeShortcut);
    const InstallCounts counts = GenerateInstall(shape, seeder.Sink());
    PrintCounts(counts, Seconds(start));
    TRegistry done(registry);
    if (done.OpenKey("Software\\LqScanBench", true)) done.WriteString("seeded", "1");
  }
  const double scanSeconds = Measure(ScanPlatform{registry, files, facts}, rounds, sections);
  if (responsiveness) MeasureResponsiveness(ScanPlatform{registry, files, facts}, sections);
  if (checkRows) CheckRows(ScanPlatform{registry, files, facts}, sections);
  std::vector<double> exports;
  for (int round = 0; round < rounds; ++round) {
    const double machine = TimeRegExport("HKEY_LOCAL_MACHINE", L"C:\\lqscan-export.reg");
    const double users = TimeRegExport("HKEY_USERS", L"C:\\lqscan-export.reg");
    if (machine < 0 || users < 0) {
      std::printf("reg export could not be started\n");
      return 0;
    }
    exports.push_back(machine + users);
  }
  std::printf("reg export of HKLM and HKU: median %.3f s; full scan / reg export %.2f\n", Median(exports),
              scanSeconds / Median(exports));
  return 0;
}
#endif

}  // namespace

int main(int argc, char** argv) {
  InstallShape shape;
  bool wine = false, reseed = false, responsiveness = false, checkRows = false, rootGiven = false;
  int rounds = 3;
  std::vector<std::string> sections = AllSections();
  for (int i = 1; i < argc; ++i) {
    const bool hasValue = i + 1 < argc;
    if (!std::strcmp(argv[i], "--keys") && hasValue) shape.keys = std::strtoull(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--values") && hasValue) shape.values = std::strtoull(argv[++i], nullptr, 10);
    else if (!std::strcmp(argv[i], "--rounds") && hasValue) rounds = std::max(1, std::atoi(argv[++i]));
    else if (!std::strcmp(argv[i], "--sections") && hasValue) sections = SplitSections(argv[++i]);
    else if (!std::strcmp(argv[i], "--wine")) wine = true;
    else if (!std::strcmp(argv[i], "--reseed")) reseed = true;
    else if (!std::strcmp(argv[i], "--responsiveness")) responsiveness = true;
    else if (!std::strcmp(argv[i], "--check-rows")) checkRows = true;
    else if (!std::strcmp(argv[i], "--root") && hasValue) shape.root = argv[++i], rootGiven = true;
    else {
      std::fprintf(stderr, "usage: %s [--keys N] [--values N] [--rounds N] [--sections 3,4,...] [--responsiveness] [--check-rows] [--root FOLDER] [--wine [--reseed]]\n",
                   argv[0]);
      return 2;
    }
  }

  if (wine && rootGiven) {
    std::fprintf(stderr, "--root is for the memory platform: the Wine prefix is seeded once, in its own folder\n");
    return 2;
  }
  if (wine) {
#ifdef LINDQUA_BENCH_WIN32
    return RunUnderWine(shape, rounds, reseed, responsiveness, checkRows, sections);
#else
    std::fprintf(stderr, "--wine needs the Windows build\n");
    return 2;
#endif
  }
  (void)reseed;  // the memory platform is seeded on every run

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  shape.programsFolder = "C:\\ProgramData\\Microsoft\\Windows\\Start Menu\\Programs";
  shape.desktopFolder = "C:\\Users\\Bench\\Desktop";
  files.SetSpecialFolder(SpecialFolder::Fonts, shape.fontsFolder);
  files.SetSpecialFolder(SpecialFolder::CommonPrograms, shape.programsFolder);
  files.SetSpecialFolder(SpecialFolder::CommonStartMenu, "C:\\ProgramData\\Microsoft\\Windows\\Start Menu");
  files.SetSpecialFolder(SpecialFolder::Desktop, shape.desktopFolder);
  (void)files.ForceDirectories(shape.fontsFolder);
  (void)files.ForceDirectories(shape.desktopFolder);
  const auto start = Clock::now();
  Seeder seeder(registry, files, [&](const std::string& path) { files.AddFile(path); },
                [&](const std::string& path, const std::string& target) { files.AddShortcut(path, target); });
  const InstallCounts counts = GenerateInstall(shape, seeder.Sink());
  PrintCounts(counts, Seconds(start));
  // The counts are of texts as generated: under another root they may name no path.
  if (rootGiven) std::printf("files and paths under %s\n", shape.root.c_str());
  (void)Measure(ScanPlatform{registry, files, facts}, rounds, sections);
  if (responsiveness) MeasureResponsiveness(ScanPlatform{registry, files, facts}, sections);
  if (checkRows) CheckRows(ScanPlatform{registry, files, facts}, sections);
  return 0;
}
