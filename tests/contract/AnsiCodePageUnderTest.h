#pragma once
// The ANSI code page contract runs over the portable Windows-1252 table
// natively and over the system's code page under Wine.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <ostream>
#include <string>

#include "platform/AnsiCodePage.h"

namespace lindqua::test {

struct AnsiCodePageFactory {
  std::string name;
  std::function<std::unique_ptr<AnsiCodePage>()> make;
};

inline void PrintTo(const AnsiCodePageFactory& factory, std::ostream* os) { *os << factory.name; }

class AnsiCodePageContract : public ::testing::TestWithParam<AnsiCodePageFactory> {
 protected:
  void SetUp() override { ansi = GetParam().make(); }
  std::unique_ptr<AnsiCodePage> ansi;
};

}  // namespace lindqua::test
