// The in-memory implementations under the contract tests.
#include <gtest/gtest.h>

#include <algorithm>

#include "contract/PlatformUnderTest.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"

namespace lindqua::test {

namespace {

class MemoryRegistryUnderTest : public RegistryUnderTest {
 public:
  MemoryRegistryUnderTest() {
    std::unique_ptr<RegistryKey> root, key;
    (void)registry_.OpenRoot(RootKey::CurrentUser, RegAccess::AllAccess, root);
    (void)root->CreateSubKey(ScratchPath(), RegAccess::AllAccess, key);
  }
  RegistryBackend& Registry() override { return registry_; }
  std::string ScratchPath() override { return "Software\\LindquaContract"; }
  bool DenyAllAccess(const std::string& path) override {
    return registry_.DenyAccess(RootKey::CurrentUser, ScratchPath() + "\\" + path, 0xFFFFFFFF);
  }

 private:
  MemoryRegistry registry_;
};

class MemoryFilesUnderTest : public FilesUnderTest {
 public:
  MemoryFilesUnderTest() {
    files_.AddFolder(ScratchFolder());
    // A Windows system always has a Fonts folder; the scan relies on it.
    files_.AddFolder("C:\\windows\\Fonts");
    files_.SetSpecialFolder(SpecialFolder::Fonts, "C:\\windows\\Fonts");
  }
  FileSystem& Files() override { return files_; }
  std::string ScratchFolder() override { return "C:\\lindqua-contract"; }
  bool MakeFile(const std::string& path, std::size_t size) override { return files_.AddFile(path, size); }
  bool MakeFolder(const std::string& path) override { return files_.AddFolder(path); }
  void SetVariable(const std::string& name, const std::string& value) override { files_.SetEnvironment(name, value); }
  bool MakeShortcut(const std::string& path, const std::string& target) override {
    return files_.AddShortcut(path, target);
  }
  bool RecycleBinIsPrivate() override { return true; }
  bool InRecycleBin(const std::string& path) override {
    const auto recycled = files_.RecycledFiles();
    return std::find(recycled.begin(), recycled.end(), path) != recycled.end();
  }

 private:
  MemoryFileSystem files_;
};

}  // namespace

RegistryFactory MemoryRegistryFactory() {
  return {"Memory", [] { return std::make_unique<MemoryRegistryUnderTest>(); }};
}
FilesFactory MemoryFilesFactory() {
  return {"Memory", [] { return std::make_unique<MemoryFilesUnderTest>(); }};
}

}  // namespace lindqua::test
