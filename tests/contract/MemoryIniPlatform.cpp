// The portable INI files over the in-memory file system.
#include "contract/IniUnderTest.h"
#include "platform/memory/PortableIniFile.h"
#include "platform/memory/MemoryFileSystem.h"

namespace lindqua::test {

namespace {

class MemoryIniUnderTest : public IniUnderTest {
 public:
  MemoryIniUnderTest() { files_.AddFolder(ScratchFolder()); }
  IniFiles& Ini() override { return ini_; }
  FileSystem& Files() override { return files_; }
  std::string ScratchFolder() override { return "C:\\lindqua-ini"; }
  void RefuseWrites(const std::string& path) override { files_.FailWritesTo(path); }

 private:
  MemoryFileSystem files_;
  PortableIniFiles ini_{files_};
};

}  // namespace

INSTANTIATE_TEST_SUITE_P(Memory, IniContract,
                         ::testing::Values(IniFactory{"Portable",
                                                      [] { return std::make_unique<MemoryIniUnderTest>(); }}),
                         [](const auto& info) { return info.param.name; });

}  // namespace lindqua::test
