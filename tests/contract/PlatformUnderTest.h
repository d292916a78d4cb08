#pragma once
// What a contract test needs of a platform implementation: the service
// itself plus a scratch area that it may fill and that is removed afterwards.
// The same tests run over the in-memory implementation and, under Wine, over
// the Win32 one; a difference between them is a bug in the fake.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/RegistryBackend.h"

namespace lindqua::test {

class RegistryUnderTest {
 public:
  virtual ~RegistryUnderTest() = default;
  virtual RegistryBackend& Registry() = 0;
  // An empty key the test owns, below HKEY_CURRENT_USER.
  virtual std::string ScratchPath() = 0;
  // Makes every open of scratch\path fail with access denied.
  virtual bool DenyAllAccess(const std::string& pathBelowScratch) = 0;
};

class FilesUnderTest {
 public:
  virtual ~FilesUnderTest() = default;
  virtual FileSystem& Files() = 0;
  // An empty folder the test owns, "X:\...", without a trailing backslash.
  virtual std::string ScratchFolder() = 0;
  virtual bool MakeFile(const std::string& path, std::size_t size) = 0;
  virtual bool MakeFolder(const std::string& path) = 0;
  // Sets a variable for ExpandEnvironmentStrings.
  virtual void SetVariable(const std::string& name, const std::string& value) = 0;

  // --- Shortcuts and the Recycle Bin ---
  // Writes a shortcut file that stores target, as the shell makes them.
  virtual bool MakeShortcut(const std::string& path, const std::string& target) = 0;
  // The Recycle Bin this run fills is the test's own, never a user's.
  virtual bool RecycleBinIsPrivate() = 0;
  // The file that was at path went to the Recycle Bin.
  virtual bool InRecycleBin(const std::string& path) = 0;
};

struct RegistryFactory {
  std::string name;
  std::function<std::unique_ptr<RegistryUnderTest>()> make;
};

struct FilesFactory {
  std::string name;
  std::function<std::unique_ptr<FilesUnderTest>()> make;
};

inline void PrintTo(const RegistryFactory& factory, std::ostream* os) { *os << factory.name; }
inline void PrintTo(const FilesFactory& factory, std::ostream* os) { *os << factory.name; }

}  // namespace lindqua::test

#include <gtest/gtest.h>

namespace lindqua::test {

class RegistryContract : public ::testing::TestWithParam<RegistryFactory> {
 protected:
  void SetUp() override { under = GetParam().make(); }
  void TearDown() override { under.reset(); }
  RegistryBackend& Registry() { return under->Registry(); }
  std::unique_ptr<RegistryUnderTest> under;
};

class FilesContract : public ::testing::TestWithParam<FilesFactory> {
 protected:
  void SetUp() override { under = GetParam().make(); }
  void TearDown() override { under.reset(); }
  FileSystem& Files() { return under->Files(); }
  std::unique_ptr<FilesUnderTest> under;
};

RegistryFactory MemoryRegistryFactory();
FilesFactory MemoryFilesFactory();

}  // namespace lindqua::test
