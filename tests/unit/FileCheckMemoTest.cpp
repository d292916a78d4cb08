// The scan's memory of file check verdicts: a question asked again gets the
// answer asking afresh would give.
#include <gtest/gtest.h>

#include "engine/FileCheckMemo.h"
#include "engine/FileReferenceCheck.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

// Like Windows for a path it will not judge: the one file's kind is never
// told, and whether it exists may change between two questions.
class FlakyFileSystem : public MemoryFileSystem {
 public:
  PathKind KindOf(std::string_view path) override {
    return IsFlaky(path) ? PathKind::Unsure : MemoryFileSystem::KindOf(path);
  }
  bool FileExists(std::string_view path) override {
    return IsFlaky(path) ? there : MemoryFileSystem::FileExists(path);
  }
  bool there = false;

 private:
  static bool IsFlaky(std::string_view path) { return path == "C:\\Locked\\app.exe"; }
};

struct Remembering {
  explicit Remembering(std::size_t maxBytes = FileCheckMemo::DefaultMaxBytes)
      : cache(files), memo(cache, maxBytes), scan(ScanPlatform{registry, cache, facts}, ScanSink(model, stop.get_token())) {
    scan.DriveLetters = AllDriveLetters;
    scan.FileChecks = &memo;
  }
  bool Missing(std::string_view text, std::string_view driveLetters = AllDriveLetters) {
    return IsMissingFile(scan, text, "", false, driveLetters);
  }

  MemoryRegistry registry;
  FlakyFileSystem files;
  MemorySystemFacts facts;
  ResultsModel model;
  std::stop_source stop;
  CachingFileSystem cache;
  FileCheckMemo memo;
  ScanContext scan;
};

TEST(FileCheckMemo, AnswersAsAskingAfresh) {
  Remembering r;
  r.files.AddFile("C:\\Locked\\app.exe");
  r.files.AddFolder("C:\\Tools");
  // What the check is told besides the text is part of the question.
  EXPECT_TRUE(r.Missing("D:\\Gone\\x.exe", "cd"));
  EXPECT_FALSE(r.Missing("D:\\Gone\\x.exe", "c")) << "a drive not tested";
  EXPECT_TRUE(r.Missing("D:\\Gone\\x.exe", "cd"));

  // A verdict resting on an answer the system was unsure of is not kept.
  for (const bool there : {false, true, false}) {
    r.files.there = there;
    EXPECT_EQ(r.Missing("C:\\Locked\\app.exe"), !there) << there;
  }
  const std::size_t kept = r.memo.Size();
  // Nor one drawn before the cache forgot what it knew.
  EXPECT_TRUE(r.Missing("C:\\Tools\\new.exe"));
  ASSERT_TRUE(r.cache.WriteWholeFile("C:\\Tools\\new.exe", ""));
  EXPECT_FALSE(r.Missing("C:\\Tools\\new.exe"));
  EXPECT_LE(r.memo.Size(), kept) << "the write dropped every verdict";

  // Full, it starts again: the answers stay right.
  Remembering small(1024);
  small.files.AddFile("C:\\Here\\a.exe");
  for (int round = 0; round < 3; ++round) {
    for (int i = 0; i < 20; ++i) {
      EXPECT_TRUE(small.Missing("C:\\Here\\gone" + std::to_string(i) + ".exe"));
      EXPECT_FALSE(small.Missing("C:\\Here\\a.exe"));
    }
  }
  EXPECT_LT(small.memo.Size(), 20u);
  EXPECT_GT(small.memo.Size(), 1u);
}

}  // namespace

}  // namespace lindqua::test
