#pragma once
// A fix host that says yes to every question and shows nothing, for tests
// that run a whole fix and check only what it left behind.
#include <string>

#include "repair/FixProcedure.h"

namespace lindqua::test {

class QuietFixHost : public FixHost {
 public:
  bool AskYesNo(const std::string&) override { return true; }
  bool RunRestorePointDialog() override { return true; }
  void UpdateStatusLine() override {}
  void SetStatusBarText(const std::string&) override {}
  void FitColumns() override {}
};

}  // namespace lindqua::test
