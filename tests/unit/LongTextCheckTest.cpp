// A registry string longer than any Windows path: the check asks nothing
// about a path of more UTF-16 units than Windows allows, so a huge value with
// a stop character every other byte costs a bounded number of questions,
// while a prefix right at the limit is still looked for.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "engine/FileReferenceCheck.h"
#include "platform/CachingFileSystem.h"
#include "platform/Text.h"
#include "support/MemoryScan.h"

namespace lindqua::test {

namespace {

constexpr std::size_t MaxUnits = 32767;

// Keeps the length, in UTF-16 units, of the longest path it was asked about.
class LongestQuestion : public MemoryFileSystem {
 public:
  bool FileExists(std::string_view path) override { return Note(path), MemoryFileSystem::FileExists(path); }
  bool DirectoryExists(std::string_view path) override { return Note(path), MemoryFileSystem::DirectoryExists(path); }
  PathKind KindOf(std::string_view path) override { return Note(path), MemoryFileSystem::KindOf(path); }
  bool StemFileExists(std::string_view folder, std::string_view stem) override {
    Note(std::string(folder).append(stem));
    return MemoryFileSystem::StemFileExists(folder, stem);
  }
  std::size_t longest = 0;

 private:
  void Note(std::string_view path) { longest = std::max(longest, Utf16Length(path)); }
};

// "C:\Tools\" and then `fill` repeated up to `units` UTF-16 units in all.
std::string ToolsPath(std::size_t units, std::string_view fill, std::size_t fillUnits) {
  std::string path = "C:\\Tools\\";
  for (std::size_t used = 9; used + fillUnits <= units; used += fillUnits) path.append(fill);
  return path;
}

std::string Repeated(std::string_view head, std::string_view part, std::size_t times) {
  std::string text(head);
  for (std::size_t i = 0; i < times; ++i) text.append(part);
  return text;
}

}  // namespace

TEST(LongTextCheck, NoPathLongerThanWindowsAllowsIsAskedAbout) {
  const std::string atLimit = ToolsPath(MaxUnits, "a", 1);
  const std::string accentsAtLimit = ToolsPath(MaxUnits, "\xC3\xA9", 1);  // two bytes, one unit
  const std::string pairsAtLimit = ToolsPath(MaxUnits, "\xF0\x9F\x98\x80", 2);  // four bytes, two units
  const std::string programAtLimit = ToolsPath(MaxUnits - 4, "a", 1);
  ASSERT_EQ(Utf16Length(atLimit), MaxUnits);
  ASSERT_EQ(Utf16Length(accentsAtLimit), MaxUnits);
  ASSERT_EQ(Utf16Length(pairsAtLimit), MaxUnits);
  struct Case {
    std::string text;
    bool missing;
    const char* why;
    // Straight on the file system as well as through the scan's cache: without
    // the cache every prefix up to the limit is asked about, one by one.
    bool uncachedToo = true;
  };
  const Case cases[] = {
      {atLimit + " -x", false, "a file right at the limit is found"},
      {accentsAtLimit + " -x", false, "units, not bytes, are counted"},
      {pairsAtLimit + " -x", false, "a surrogate pair counts twice"},
      {programAtLimit + " -x", false, "a program whose name with its extension is right at the limit"},
      {atLimit + "b -x", true, "one unit more is never asked about"},
      {accentsAtLimit + "\xC3\xA9 -x", true, "one accent more"},
      {Repeated("C:\\Tools\\", "abcdefghijklmno ", 5000), true, "stop characters all along, in a folder that exists"},
      {Repeated("C:\\Gone\\", "abcdefghijklmno ", 5000), true, "... and below one that does not", false},
      {Repeated("C:\\Gone\\", "abcdefghijklmno;", 5000), true, "... ending in a stop character", false},
  };
  for (bool cached : {false, true}) {
    for (const Case& c : cases) {
      if (!cached && !c.uncachedToo) continue;
      SCOPED_TRACE(std::string(c.why) + (cached ? ", cached" : ""));
      MemoryScan m;
      LongestQuestion files;
      files.AddFile(atLimit);
      files.AddFile(accentsAtLimit);
      files.AddFile(pairsAtLimit);
      files.AddFile(programAtLimit + ".exe");
      files.AddFile("C:\\Tools\\b.txt");
      CachingFileSystem cache(files);
      ScanContext scan(ScanPlatform{m.registry, cached ? static_cast<FileSystem&>(cache) : files, m.facts},
                       ScanSink(m.model, m.stop.get_token()));
      EXPECT_EQ(IsMissingFile(scan, c.text, "", false, "C"), c.missing);
      if (c.missing) {
        EXPECT_TRUE(MissingFileReason(scan, c.text, "", false, "C").starts_with("Not found: C:\\"));
      }
      EXPECT_LE(files.longest, MaxUnits);
    }
  }
}

}  // namespace lindqua::test
