// Times a sweep of the four hives against a bare walk of the same keys and
// values, on a synthetic registry: natively over the memory platform, or with
// --wine over the Win32 platform of the Wine prefix it runs in (seeded once).
//
//   lindqua_bench_sweep [--keys N] [--values N] [--vendors N] [--rounds N] [--no-cache] [--root FOLDER]
//                       [--wine [--reseed]]
//
// --no-cache adds a third timing: the same sweep without the existence cache.
// --root puts the synthetic files in another folder (natively only). One of
// the same length that is no drive path, such as C_\LqBench, gives the same
// registry with no value naming a file: the sweep then costs what it does
// without the file check and its rows.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "engine/Scanners.h"
#include "engine/TScanTaskThread.h"
#include "platform/TRegistry.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "sweep/BareWalk.h"
#include "sweep/Seeder.h"
#include "sweep/SyntheticData.h"

#ifdef LINDQUA_BENCH_WIN32
#include <windows.h>

#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32SystemFacts.h"
#include "platform/win32/WinText.h"
#endif

using namespace lindqua;
using namespace lindqua::bench;

namespace {

class NoNotifier : public ScanNotifier {
 public:
  void PostSectionDone() override {}
  void PostScanFinished() override {}
};

double Seconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

SyntheticCounts Seed(const SyntheticShape& shape, RegistryBackend& registry, FileSystem& files,
                     const Seeder::MakeFile& makeFile) {
  Seeder seeder(registry, files, makeFile);
  return GenerateSynthetic(shape, seeder.Sink());
}

// The four hive sections straight on the platform's file system, without
// the scan's existence cache, to show what the cache is worth.
std::size_t SweepWithoutCache(ScanPlatform platform) {
  ResultsModel model;
  std::stop_source stop;
  ScanContext scan(platform, ScanSink(model, stop.get_token()));
  scan.DriveLetters = BuildDriveLetters(platform.files, false);
  for (auto scanner : {ScanClassesRoot, ScanCurrentUser, ScanLocalMachine, ScanUsers}) scanner(scan);
  return model.Count();
}

void Measure(ScanPlatform platform, int rounds, bool withoutCache) {
  NoNotifier notifier;
  for (int round = 1; round <= rounds; ++round) {
    ResultsModel walkModel;
    std::stop_source stop;
    ScanContext walkScan(platform, ScanSink(walkModel, stop.get_token()));
    auto start = std::chrono::steady_clock::now();
    const WalkCounts walked = BareWalkOfHives(walkScan);
    const double walkTime = Seconds(start);

    ResultsModel model;
    start = std::chrono::steady_clock::now();
    {
      TScanTaskThread scan(platform, model, notifier, false);
      scan.SectionList = {"3", "4", "5", "6"};
      scan.Resume();
      scan.WaitFor();
    }
    const double sweepTime = Seconds(start);
    std::printf("round %d: bare walk %.3f s (%llu keys, %llu values), sweep %.3f s (%zu rows), ratio %.2f\n", round,
                walkTime, static_cast<unsigned long long>(walked.keys),
                static_cast<unsigned long long>(walked.values), sweepTime, model.Count(), sweepTime / walkTime);
    if (withoutCache) {
      start = std::chrono::steady_clock::now();
      const std::size_t rows = SweepWithoutCache(platform);
      std::printf("round %d: sweep without the existence cache %.3f s (%zu rows)\n", round, Seconds(start), rows);
    }
    std::fflush(stdout);
  }
}

void PrintCounts(const SyntheticCounts& c, double seconds) {
  std::printf("seeded %zu keys, %zu values (%zu existing, %zu missing, %zu command lines, %zu references, %zu text), "
              "%zu files in %.1f s\n",
              c.keys, c.values, c.existing, c.missing, c.commandLines, c.references, c.text, c.files, seconds);
  std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
  SyntheticShape shape;
  bool wine = false, reseed = false, withoutCache = false;
  int rounds = 2;
  const char* root = nullptr;
  for (int i = 1; i < argc; ++i) {
    const auto number = [&](std::size_t& out) {
      if (i + 1 < argc) out = std::strtoull(argv[++i], nullptr, 10);
    };
    std::size_t value = 0;
    if (!std::strcmp(argv[i], "--keys")) number(shape.keys);
    else if (!std::strcmp(argv[i], "--values")) number(shape.values);
    else if (!std::strcmp(argv[i], "--vendors")) number(shape.vendors);
    else if (!std::strcmp(argv[i], "--rounds")) { number(value); rounds = static_cast<int>(value); }
    else if (!std::strcmp(argv[i], "--wine")) wine = true;
    else if (!std::strcmp(argv[i], "--reseed")) reseed = true;
    else if (!std::strcmp(argv[i], "--no-cache")) withoutCache = true;
    else if (!std::strcmp(argv[i], "--root") && i + 1 < argc) root = argv[++i];
    else {
      std::fprintf(stderr,
                   "usage: %s [--keys N] [--values N] [--vendors N] [--rounds N] [--no-cache] [--root FOLDER] "
                   "[--wine [--reseed]]\n",
                   argv[0]);
      return 2;
    }
  }

  if (wine && root) {
    std::fprintf(stderr, "--root is for the memory platform: the Wine prefix is seeded once, in its own folder\n");
    return 2;
  }
  if (root) shape.folderRoot = root;
  if (!wine) {
    (void)reseed;
    MemoryRegistry registry;
    MemoryFileSystem files;
    MemorySystemFacts facts;
    files.SetEnvironment(shape.variable, shape.folderRoot);
    const auto start = std::chrono::steady_clock::now();
    const SyntheticCounts counts = Seed(shape, registry, files, [&](const std::string& path) { files.AddFile(path); });
    PrintCounts(counts, Seconds(start));
    // The counts are of texts as generated: under another root they may name no path.
    if (root) std::printf("files and paths under %s\n", root);
    Measure(ScanPlatform{registry, files, facts}, rounds, withoutCache);
    return 0;
  }

#ifdef LINDQUA_BENCH_WIN32
  shape.folderRoot = "C:\\LindquaBench";
  shape.variable = "LINDQUABENCH";
  shape.keyName = "LindquaBench";
  Win32Registry registry;
  Win32FileSystem files;
  Win32SystemFacts facts;
  ::SetEnvironmentVariableW(Wide(shape.variable).c_str(), Wide(shape.folderRoot).c_str());
  TRegistry marker(registry);
  const bool seeded = marker.OpenKey("Software\\" + shape.keyName, false) && marker.ValueExists("seeded");
  if (!seeded || reseed) {
    for (const char* base : {"Software\\Classes\\", "Software\\"}) {
      TRegistry machine(registry);
      machine.SetRootKey(RootKey::LocalMachine);
      (void)machine.DeleteKey("\\" + std::string(base) + shape.keyName);  // nothing to delete on a first run
    }
    TRegistry user(registry);
    (void)user.DeleteKey("\\Software\\" + shape.keyName);
    (void)files.DeletePath(shape.folderRoot);
    const auto start = std::chrono::steady_clock::now();
    const SyntheticCounts counts =
        Seed(shape, registry, files, [&](const std::string& path) { (void)files.WriteWholeFile(path, ""); });
    PrintCounts(counts, Seconds(start));
    TRegistry done(registry);
    if (done.OpenKey("Software\\" + shape.keyName, true)) done.WriteString("seeded", "1");
  }
  Measure(ScanPlatform{registry, files, facts}, rounds, withoutCache);
  return 0;
#else
  std::fprintf(stderr, "--wine needs the Windows build\n");
  return 2;
#endif
}
