// lindqua-cli.exe: the console front end on the same core as the window.
#include <exception>

#include "app/CliProgram.h"
#include "app/SettingsReadOnly.h"
#include "platform/win32/ProcessInfo.h"
#include "cli/Win32Console.h"
#include "cli/Win32Interrupt.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/ProgramFolder.h"
#include "platform/win32/Win32FileSystem.h"
#include "platform/win32/Win32IniFile.h"
#include "platform/win32/Win32ProcessRunner.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Win32RestorePointClient.h"
#include "platform/win32/Win32SystemFacts.h"

int main() {
  using namespace lindqua;
  Win32Console console;
  try {
    Win32Registry registry;
    Win32FileSystem files;
    Win32SystemFacts facts;
    Win32AnsiCodePage ansi;
    Win32RestorePointClient restorePoints;
    CliHost host{ScanPlatform{registry, files, facts}, console, nullptr};
    host.ansi = &ansi;
    host.restorePoints = &restorePoints;
    Win32ProcessRunner processes;
    host.processes = &processes;
    Win32Interrupt interrupt;
    host.interrupt = &interrupt;
    host.programFolder = GetProgramFolder();
    Win32IniFiles ini;
    // The window's settings file, read the way the window reads it, never written.
    host.loadSettings = [&](const std::string& path) {
      return LoadSettingsReadOnly(files, ini, GetProgramFolder(), path).options;
    };
    host.elevated = IsProcessElevated();
    return RunCli(CommandLineArguments(), host);
  } catch (const std::exception& failure) {
    console.WriteErr(std::string("lindqua-cli: failed: ") + failure.what() + "\r\n");
  } catch (...) {
    console.WriteErr("lindqua-cli: failed\r\n");
  }
  return CliExit::Failure;
}
