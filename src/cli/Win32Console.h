#pragma once
// Standard output and error of the console program. A console gets UTF-16
// through WriteConsoleW, so that every character shows as it is; a pipe or a
// file gets the UTF-8 bytes.
#include <windows.h>

#include <optional>
#include <string>

#include "app/CliProgram.h"

namespace lindqua {

class Win32Console : public CliConsole {
 public:
  Win32Console();
  void WriteOut(std::string_view text) override;
  void WriteErr(std::string_view text) override;
  bool ErrIsTerminal() override { return errIsConsole_; }
  std::optional<std::string> ReadLine() override;
  std::string OutFailure() override { return outFailure_; }

 private:
  // The standard handles belong to the process, not to this object.
  HANDLE in_;
  HANDLE out_;
  HANDLE err_;
  bool outIsConsole_;
  bool errIsConsole_;
  std::string outFailure_;
};

}  // namespace lindqua
