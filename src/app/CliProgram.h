#pragma once
// The console program without its Windows parts: parses the command line,
// runs the scan, filters and writes the findings, and decides the exit status.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/OptionsSetting.h"
#include "engine/TScanTaskThread.h"

namespace lindqua {

namespace CliExit {
inline constexpr int Ok = 0;
inline constexpr int Failure = 1;
inline constexpr int Usage = 2;
}  // namespace CliExit

// Where the console program's text goes; all text is UTF-8.
class CliConsole {
 public:
  virtual ~CliConsole() = default;
  virtual void WriteOut(std::string_view text) = 0;
  virtual void WriteErr(std::string_view text) = 0;
  // Progress is shown only to a person watching a console.
  virtual bool ErrIsTerminal() = 0;
};

struct CliHost {
  ScanPlatform platform;
  CliConsole& console;
  // Supplies the settings record for a scan; asked only when a scan runs.
  std::function<TOptionsSetting()> loadSettings;
  bool elevated = false;
  ScannerLookup scanners = DefaultScannerLookup();
};

// The warning shown once before a scan in a process without administrator
// rights; empty when there is nothing to say.
std::string ElevationNotice(bool elevated);

// `args` are the arguments after the program name; returns the exit status.
[[nodiscard]] int RunCli(const std::vector<std::string>& args, CliHost& host);

}  // namespace lindqua
