#pragma once
// The console program without its Windows parts: parses the command line,
// runs the scan, filters and writes the findings, and decides the exit status.
#include <functional>
#include <optional>
#include <stop_token>
#include <string>
#include <string_view>
#include <vector>

#include "app/OptionsSetting.h"
#include "engine/TScanTaskThread.h"
#include "platform/AnsiCodePage.h"
#include "platform/ProcessRunner.h"
#include "platform/RestorePointClient.h"

namespace lindqua {

namespace CliExit {
inline constexpr int Ok = 0;
inline constexpr int Failure = 1;
inline constexpr int Usage = 2;
// clean: some findings could not be fixed; restore: restored with differences.
inline constexpr int NotAllFixed = 3;
// clean ended before its last row: the backup could not be written, the
// backup folder could not be made, or the user interrupted it.
inline constexpr int EndedEarly = 4;
}  // namespace CliExit

// Where the console program's text goes; all text is UTF-8.
class CliConsole {
 public:
  virtual ~CliConsole() = default;
  // A failed write is remembered; see OutFailure.
  virtual void WriteOut(std::string_view text) = 0;
  virtual void WriteErr(std::string_view text) = 0;
  // Progress is shown only to a person watching a console.
  virtual bool ErrIsTerminal() = 0;
  // One line typed by the user, without its line break; nullopt when there is
  // no more input (a script with no standard input never confirms).
  virtual std::optional<std::string> ReadLine() { return std::nullopt; }
  // Why a write to standard output failed (a full disk, a closed pipe); empty
  // while every write succeeded.
  virtual std::string OutFailure() { return {}; }
};

// Ctrl+C and a closed console, while a caller is ready for them: between
// Catch and Release they request a stop instead of ending the process.
class CliInterrupt {
 public:
  virtual ~CliInterrupt() = default;
  virtual std::stop_token Catch() = 0;
  virtual void Release() = 0;
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
  // The program's folder, with its trailing backslash: a relative backup
  // folder in the settings is relative to it, as in the window.
  std::string programFolder = {};
  CliInterrupt* interrupt = nullptr;  // null: an interruption ends the process
  ProcessRunner* processes = nullptr;  // restore: starts the registry editor
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
