#pragma once
// What the INI contract tests need of an implementation: the INI files
// themselves, a file system to lay down and inspect raw file bytes, and a
// scratch folder. Natively the portable implementation runs over the memory
// file system; under Wine the system's profile functions are the oracle and
// the portable implementation runs again over the real file system.
#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace lindqua::test {

class IniUnderTest {
 public:
  virtual ~IniUnderTest() = default;
  virtual IniFiles& Ini() = 0;
  virtual FileSystem& Files() = 0;
  // An empty folder the test owns, "X:\...", without a trailing backslash.
  virtual std::string ScratchFolder() = 0;
  // Makes every later write to this existing file fail, as a read-only file does.
  virtual void RefuseWrites(const std::string& path) = 0;
};

struct IniFactory {
  std::string name;
  std::function<std::unique_ptr<IniUnderTest>()> make;
};

inline void PrintTo(const IniFactory& factory, std::ostream* os) { *os << factory.name; }

}  // namespace lindqua::test

#include <gtest/gtest.h>

namespace lindqua::test {

class IniContract : public ::testing::TestWithParam<IniFactory> {
 protected:
  void SetUp() override { under = GetParam().make(); }
  void TearDown() override { under.reset(); }
  std::unique_ptr<IniUnderTest> under;
};

}  // namespace lindqua::test
