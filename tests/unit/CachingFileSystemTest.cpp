// The per-scan existence cache: fewer questions to the file system below,
// never a different answer.
#include <gtest/gtest.h>

#include "engine/TScanTaskThread.h"
#include "platform/CachingFileSystem.h"
#include "platform/TRegistry.h"
#include "platform/Text.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/RecordingNotifier.h"

namespace lindqua::test {

namespace {

class CachingFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    inner.AddFile("C:\\Tools\\app.exe");
    inner.AddFolder("C:\\Tools\\Sub");
    inner.AddFile("C:\\File");
    inner.AddFile("C:\\Gr\xC3\xBC\xC3\x9F\x65\\x.txt");
  }
  MemoryFileSystem inner;
};

TEST_F(CachingFileSystemTest, EachQuestionReachesTheFileSystemOnce) {
  CachingFileSystem cache(inner);
  const auto before = inner.QueryCount();
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(cache.FileExists("C:\\Tools\\app.exe"));
    EXPECT_TRUE(cache.FileExists("c:\\TOOLS\\App.Exe"));
    EXPECT_FALSE(cache.FileExists("C:\\Tools\\gone.exe"));
    EXPECT_TRUE(cache.DirectoryExists("C:\\Tools\\"));
  }
  EXPECT_EQ(inner.QueryCount() - before, 3u);
  EXPECT_FALSE(cache.DirectoryExists("C:\\Tools\\app.exe")) << "a file is no folder";
  EXPECT_FALSE(cache.FileExists("C:\\TOOLS\\")) << "a folder is no file";
  EXPECT_EQ(inner.QueryCount() - before, 3u);
}

TEST_F(CachingFileSystemTest, AnswersAreThoseOfTheFileSystemBelow) {
  const std::vector<std::string> paths = {
      "C:\\Tools\\app.exe", "C:\\TOOLS\\APP.EXE", "C:\\Tools\\app.exe\\", "C:\\Tools\\app.exe.", "C:\\Tools\\app.exe  ",
      "C:\\Tools\\Sub", "C:\\Tools\\Sub\\", "C:\\Tools\\Sub\\..\\app.exe", "C:/Tools/app.exe", "C:\\Tools\\\\app.exe",
      "C:\\Gone", "C:\\Gone\\", "C:\\Gone\\app.exe", "C:\\Gone\\..\\Tools\\app.exe", "C:\\Gone\\.\\x",
      "C:\\Gone.\\x", "C:\\Gone \\x", "C:\\Gone\\CON", "C:\\Gone\\nul.txt", "C:\\Gone\\a:b", "C:\\File\\x",
      "C:\\File\\..\\Tools\\app.exe", "C:\\Gr\xC3\xBC\xC3\x9F\x65\\x.txt", "C:\\GR\xC3\x9C\xC3\x9F\x45\\X.TXT",
      "Q:\\x", "Q:\\", "C:", "C", "", "\\\\server\\share\\x", "C:\\Tools\\app*.exe", "Tools\\app.exe",
      "C:\\Tools\\a", "C:\\Tools\\ap", "C:\\Tools\\app", "C:\\Tools\\app.", "C:\\Tools\\app.e", "C:\\Tools\\Su",
      "C:\\Tools\\Sub\\y", "C:\\Tools\\app.exe", "C:\\Tools\\APP.EXE", "C:\\Tools\\Sub"};
  // Every order of questions must give the same answers: ask forwards, then
  // backwards, each as file and as folder; also with caches so small that
  // they start again every few questions, listings included.
  for (std::size_t size : {std::size_t{2}, std::size_t{5}, CachingFileSystem::DefaultMaxEntries}) {
    CachingFileSystem cache(inner, size);
    for (int round = 0; round < 2; ++round) {
      for (std::size_t k = 0; k < paths.size(); ++k) {
        const std::string& path = round == 0 ? paths[k] : paths[paths.size() - 1 - k];
        EXPECT_EQ(cache.FileExists(path), inner.FileExists(path)) << path << " cache of " << size;
        EXPECT_EQ(cache.DirectoryExists(path), inner.DirectoryExists(path)) << path << " cache of " << size;
      }
    }
  }
}

TEST_F(CachingFileSystemTest, NothingIsLookedUpInsideAPathThatIsNoFolder) {
  CachingFileSystem cache(inner);
  ASSERT_FALSE(cache.DirectoryExists("C:\\Gone\\"));
  ASSERT_FALSE(cache.DirectoryExists("C:\\File"));
  const auto before = inner.QueryCount();
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\a"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\app.exe"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\app.exe -x"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\Deeper"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\Deeper\\x.exe")) << "an inferred answer serves the next level";
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\Deeper\\More\\x. ")) << "Windows strips what ends the last name";
  EXPECT_FALSE(cache.DirectoryExists("C:\\File\\Sub"));
  // ... and so does the folder itself, when it is known to be none.
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\x."));
  EXPECT_FALSE(cache.DirectoryExists("C:\\Gone\\app.exe . "));
  EXPECT_FALSE(cache.FileExists("C:\\File\\x ."));
  EXPECT_EQ(inner.QueryCount(), before);
  // Paths that may lead elsewhere than their text are asked.
  EXPECT_TRUE(cache.FileExists("C:\\Gone\\..\\Tools\\app.exe"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\CON"));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\CON."));
  EXPECT_FALSE(cache.FileExists("C:\\Gone\\..."));
  EXPECT_FALSE(cache.FileExists("C:\\Gone. \\x."));
  EXPECT_FALSE(cache.FileExists("C:\\Gone/x"));
  EXPECT_EQ(inner.QueryCount() - before, 6u);
}

TEST_F(CachingFileSystemTest, AListingIsNotTrustedAfterTheCacheStartedAgain) {
  CachingFileSystem cache(inner, 6);
  ASSERT_TRUE(cache.DirectoryExists("C:\\Tools"));
  for (int i = 0; i < 12; ++i) {
    EXPECT_FALSE(cache.FileExists("C:\\Tools\\gone" + std::to_string(i))) << "answered from the listing";
    EXPECT_FALSE(cache.FileExists("C:\\Other" + std::to_string(i))) << "fills the cache until it starts again";
    EXPECT_TRUE(cache.FileExists("C:\\Tools\\app.exe")) << i;
    EXPECT_TRUE(cache.DirectoryExists("C:\\Tools\\Sub")) << i;
  }
}

TEST_F(CachingFileSystemTest, WritesThroughItDropWhatItKnows) {
  CachingFileSystem cache(inner);
  EXPECT_FALSE(cache.FileExists("C:\\Tools\\new.txt"));
  EXPECT_FALSE(cache.FileExists("C:\\New\\x.txt"));
  EXPECT_FALSE(cache.DirectoryExists("C:\\New"));
  EXPECT_TRUE(cache.WriteWholeFile("C:\\Tools\\new.txt", "x"));
  EXPECT_TRUE(cache.FileExists("C:\\Tools\\new.txt"));
  EXPECT_TRUE(cache.ForceDirectories("C:\\New"));
  EXPECT_TRUE(cache.DirectoryExists("C:\\New"));
  EXPECT_TRUE(cache.CopyFileTo("C:\\Tools\\new.txt", "C:\\New\\x.txt", true));
  EXPECT_TRUE(cache.FileExists("C:\\New\\x.txt"));
  EXPECT_TRUE(cache.DeletePath("C:\\New"));
  EXPECT_FALSE(cache.FileExists("C:\\New\\x.txt"));
  EXPECT_TRUE(cache.AppendAndFlush("C:\\Tools\\log.txt", "x"));
  EXPECT_TRUE(cache.FileExists("C:\\Tools\\log.txt"));
  // ... and so does the prefix question, which remembers what no prefix was.
  EXPECT_EQ(cache.FirstFilePrefix("C:\\Later\\run -x", 1), 0u);
  EXPECT_TRUE(cache.WriteWholeFile("C:\\Later", "x"));
  EXPECT_EQ(cache.FirstFilePrefix("C:\\Later\\run -x", 1), 8u);
}

// The prefix question a check asks of a text whose folder is missing must
// say what asking every prefix of it below would say, whatever the cache
// learnt before: listings, paths that are no folder, names it must not judge.
TEST_F(CachingFileSystemTest, FirstFilePrefixIsThatOfAskingEveryPrefix) {
  inner.AddFile("C:\\Program");
  inner.AddFile("C:\\Program Files\\Vendor\\Go");
  inner.AddFolder("C:\\Program Files\\Vendor\\Gone.d");
  inner.AddFile("C:\\Tools\\app");
  inner.AddFile("C:\\Tools\\Sub\\x~1");
  inner.AddFile("C:\\Gr\xC3\xBC\xC3\x9F\x65\\y");
  const std::vector<std::string> texts = {
      "C:\\Program Files\\Vendor\\Gone\\app.exe -x", "C:\\Program Files\\Vendor\\Golf\\a.dll",
      "C:\\Program Files\\Vendor\\Gone.d\\x", "C:\\Program Files\\Vendor\\Gone.d.\\x",
      "C:\\Program Files\\Other\\b.exe", "c:\\tools\\APPLE\\x", "C:\\Tools\\app.exe\\y",
      "C:\\Tools\\app\\y", "C:\\Tools\\Sub\\x~1\\z", "C:\\Tools\\Sub\\X~1 \\z", "C:\\Tools\\Sub\\x~2\\z",
      "C:\\Tools\\CON\\z", "C:\\Tools\\..\\Program\\z", "C:\\File\\x\\y", "C:\\File\\..\\Tools\\app",
      "C:\\GR\xC3\x9C\xC3\x9F\x45\\Y\\z", "C:\\Gr\xC3\xBC\xC3\x9F\x65\\y\\z", "C:/Tools/app/y",
      "\\\\server\\share\\x\\y", "Q:\\x\\y", "C:\\Gone\\.\\x", "C:\\Gone \\x", "C:\\Gone\\a:b",
      "C:\\Gone\\..\\Tools\\app", "C:\\Gone\\x\\..\\..\\Program Files\\Vendor\\Go",
      "C:\\Tools\\x/../app -y", "C:\\Gone\\x/../../Tools\\app", "C:\\Tools\\Gone\\file9.txt",
      "C:\\Tools\\app. \\y", "C:\\Tools\\Sub\\x~1..\\z", "C:\\Gone\\.. \\Tools\\app"};
  for (std::size_t size : {std::size_t{2}, std::size_t{5}, CachingFileSystem::DefaultMaxEntries}) {
    CachingFileSystem cache(inner, size);
    for (int round = 0; round < 2; ++round) {
      for (std::size_t k = 0; k < texts.size(); ++k) {
        const std::string& text = round == 0 ? texts[k] : texts[texts.size() - 1 - k];
        // Questions a check asks around it, so that listings and absent
        // paths are learnt in between.
        (void)cache.DirectoryExists(text.substr(0, text.rfind('\\') + 1));
        (void)cache.FileExists(text);
        for (std::size_t from = 1; from <= text.size(); ++from)
          EXPECT_EQ(cache.FirstFilePrefix(text, from), inner.FileSystem::FirstFilePrefix(text, from))
              << text << " from " << from << ", cache of " << size;
      }
    }
  }
}

TEST_F(CachingFileSystemTest, AFullCacheStartsAgainAndStaysRight) {
  CachingFileSystem cache(inner, 2);
  for (int i = 0; i < 3; ++i) {
    EXPECT_TRUE(cache.FileExists("C:\\Tools\\app.exe"));
    EXPECT_FALSE(cache.FileExists("C:\\Tools\\a" + std::to_string(i)));
    EXPECT_TRUE(cache.DirectoryExists("C:\\Tools\\Sub"));
  }
  cache.Clear();
  const auto before = inner.QueryCount();
  EXPECT_TRUE(cache.FileExists("C:\\Tools\\app.exe"));
  EXPECT_EQ(inner.QueryCount() - before, 1u) << "a cleared cache asks again";
}

TEST_F(CachingFileSystemTest, StemQuestionsAreAnsweredFromTheFolderListing) {
  inner.AddFile("C:\\Voices\\M1.APM");
  inner.AddFile("C:\\Voices\\M2");
  inner.AddFolder("C:\\Voices\\Sub.d");
  inner.AddFile("C:\\Intl\\Gr\xC3\xBC\xC3\x9F\x65.ini");
  inner.AddFile("C:\\Root.txt");
  struct Case {
    const char* folder;
    const char* stem;
  };
  const std::initializer_list<Case> cases = {
      {"C:\\Voices", "M1"}, {"c:\\voices\\", "m1"}, {"C:\\Voices", "M"}, {"C:\\Voices", "M1.APM"},
      {"C:\\Voices", "M2"}, {"C:\\Voices", "Sub"}, {"C:\\Voices", "M*"}, {"C:\\Voices", "M1."},
      {"C:\\Voices", ""}, {"C:\\", "Root"}, {"C:\\Gone", "M1"}, {"C:\\Voices\\M2", "x"},
      {"C:\\Intl", "Gr\xC3\xBC\xC3\x9F\x65"}, {"C:\\Intl", "GR\xC3\x9C\xC3\x9F\x45"}, {"C:\\Intl", "Gr"}, {"C:\\Voices\\..\\Voices", "M1"}};
  CachingFileSystem cache(inner);
  for (int round = 0; round < 2; ++round) {
    for (const Case& c : cases)
      EXPECT_EQ(cache.StemFileExists(c.folder, c.stem), inner.StemFileExists(c.folder, c.stem))
          << c.folder << " " << c.stem;
  }
  const auto before = inner.QueryCount();
  for (const char* stem : {"M1", "M2", "M3", "Sub", "Root", "A", "B"})
    (void)cache.StemFileExists("C:\\Voices", stem);
  EXPECT_EQ(inner.QueryCount(), before) << "the listing answers every plain stem";
}

// A file system that, like Windows for a locked or refused path, would not
// say what one folder is, though a path below it can be opened.
class RefusingFileSystem : public MemoryFileSystem {
 public:
  PathKind KindOf(std::string_view path) override {
    return IsRefused(path) ? PathKind::Unsure : MemoryFileSystem::KindOf(path);
  }
  bool DirectoryExists(std::string_view path) override {
    return !IsRefused(path) && MemoryFileSystem::DirectoryExists(path);
  }

 private:
  static bool IsRefused(std::string_view path) { return UpperCase(path) == "C:\\LOCKED"; }
};

TEST(CachingFileSystemUnsure, NothingIsInferredBelowAPathTheSystemWouldNotJudge) {
  RefusingFileSystem inner;
  inner.AddFile("C:\\Locked\\x.txt");
  CachingFileSystem cache(inner);
  for (int round = 0; round < 2; ++round) {
    EXPECT_FALSE(cache.DirectoryExists("C:\\Locked"));
    EXPECT_FALSE(cache.FileExists("C:\\Locked"));
    EXPECT_TRUE(cache.FileExists("C:\\Locked\\x.txt")) << "round " << round;
    EXPECT_FALSE(cache.FileExists("C:\\Locked\\y.txt"));
  }
}

TEST(ScanFileCache, EachScanAsksItsOwnQuestionsOnce) {
  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  ResultsModel model;
  RecordingNotifier notifier;
  TRegistry reg(registry);
  ASSERT_TRUE(reg.OpenKey("Software\\Vendor", true));
  for (int i = 0; i < 50; ++i) reg.WriteString("v" + std::to_string(i), "C:\\Gone\\same.exe");
  std::uint64_t perScan[2] = {};
  for (auto& queries : perScan) {
    model.Clear();
    const auto before = files.QueryCount();
    TScanTaskThread scan(ScanPlatform{registry, files, facts}, model, notifier, true);
    scan.SectionList = {"4"};
    scan.Resume();
    scan.WaitFor();
    queries = files.QueryCount() - before;
    EXPECT_EQ(model.Count(), 50u) << "every value is still reported";
  }
  EXPECT_LT(perScan[0], 20u) << "one value's questions, not fifty";
  EXPECT_EQ(perScan[1], perScan[0]) << "the next scan starts without the last one's answers";
}

}  // namespace
}  // namespace lindqua::test
