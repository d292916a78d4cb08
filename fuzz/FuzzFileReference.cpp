// The file reference check on any texts: the same answers and the same
// reasons through the caching file system as straight from the one below,
// asked one after another so that the cache's earlier answers are in play.
#include <cstdint>
#include <stop_token>

#include "FuzzInput.h"
#include "engine/FileReferenceCheck.h"
#include "engine/ResultsModel.h"
#include "platform/CachingFileSystem.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"

using namespace lindqua;

namespace {

void Seed(MemoryFileSystem& files) {
  for (const char* folder : {"C:\\Program Files\\App", "C:\\Windows\\System32", "C:\\Users\\Me\\Desktop", "D:\\Data"})
    files.AddFolder(folder);
  for (const char* file : {"C:\\Program Files\\App\\app.exe", "C:\\Windows\\notepad.exe",
                           "C:\\Windows\\System32\\shell32.dll", "C:\\a b.exe", "D:\\Data\\x.txt"})
    files.AddFile(file);
  files.SetDrive('D', DriveType::Fixed, true);
  files.SetDrive('E', DriveType::Removable, false);
  files.SetEnvironment("SystemRoot", "C:\\Windows");
  files.SetEnvironment("ProgramFiles", "C:\\Program Files");
  files.SetEnvironment("Blank", "  C:\\Windows  ");
}

struct Side {
  explicit Side(FileSystem& fs) : scan(ScanPlatform{registry, fs, facts}, ScanSink(model, stop.get_token())) {
    scan.DriveLetters = "cdez";
  }
  MemoryRegistry registry;
  MemorySystemFacts facts;
  ResultsModel model;
  std::stop_source stop;
  ScanContext scan;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::FuzzInput in(data, size);
  MemoryFileSystem plainFiles, innerFiles;
  Seed(plainFiles);
  Seed(innerFiles);
  // A tiny cache also exercises starting again when it is full.
  CachingFileSystem cached(innerFiles, 1 + in.Byte() % 64);
  Side plain(plainFiles), caching(cached);

  while (!in.Empty()) {
    const std::uint8_t flags = in.Byte();
    const std::string cutAt = flags & 1 ? in.Text(4) : std::string();
    const bool acceptFolder = flags & 2;
    const std::string text = in.Text(200);
    const bool a = IsMissingFile(plain.scan, text, cutAt, acceptFolder, plain.scan.DriveLetters);
    const bool b = IsMissingFile(caching.scan, text, cutAt, acceptFolder, caching.scan.DriveLetters);
    if (a != b) fuzz::Fail("answers differ for [" + text + "]: uncached " + std::to_string(a));
    if (a) {
      const std::string ra = MissingFileReason(plain.scan, text, cutAt, acceptFolder, plain.scan.DriveLetters);
      const std::string rb = MissingFileReason(caching.scan, text, cutAt, acceptFolder, caching.scan.DriveLetters);
      if (ra != rb) fuzz::Fail("reasons differ for [" + text + "]: [" + ra + "] / [" + rb + "]");
    }
  }
  return 0;
}
