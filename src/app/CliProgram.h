#pragma once
// The console program without its Windows parts: parses the command line,
// runs the scan, filters and writes the findings, and decides the exit status.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include <optional>

#include "app/OptionsSetting.h"
#include "engine/TScanTaskThread.h"
#include "platform/AnsiCodePage.h"
#include "platform/RestorePointClient.h"

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
  // One line typed by the user, without its line break; nullopt when there is
  // no more input (a script with no standard input never confirms).
  virtual std::optional<std::string> ReadLine() { return std::nullopt; }
};

struct CliHost {
  ScanPlatform platform;
  CliConsole& console;
  // Supplies the settings record for a scan, from the named file or, when the
  // name is empty, from the window's own; asked only when a scan runs.
  std::function<TOptionsSetting(const std::string& settingsPath)> loadSettings;
  bool elevated = false;
  ScannerLookup scanners = DefaultScannerLookup();
  // Needed by clean: the backup file's code page and the restore-point service.
  const AnsiCodePage* ansi = nullptr;
  RestorePointClient* restorePoints = nullptr;
};

struct CliRequest;
struct Finding;

// Runs the scan a request asks for and applies the ignore list; CliExit::Ok
// with the rows, or CliExit::Failure after saying why.
int ScanForCli(const CliRequest& request, CliHost& host, const TOptionsSetting& settings,
               std::vector<Finding>& rows);

inline constexpr char CliMessagePrefix[] = "lindqua-cli: ";

// The warning shown once before a scan in a process without administrator
// rights; empty when there is nothing to say.
std::string ElevationNotice(bool elevated);

// `args` are the arguments after the program name; returns the exit status.
[[nodiscard]] int RunCli(const std::vector<std::string>& args, CliHost& host);

}  // namespace lindqua
