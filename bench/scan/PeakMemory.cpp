#include "scan/PeakMemory.h"

#ifdef LINDQUA_BENCH_WIN32
#include <windows.h>
// after windows.h
#include <psapi.h>
#else
#include <fstream>
#include <string>
#endif

namespace lindqua::bench {

#ifdef LINDQUA_BENCH_WIN32

namespace {
PROCESS_MEMORY_COUNTERS Counters() {
  PROCESS_MEMORY_COUNTERS counters{};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return PROCESS_MEMORY_COUNTERS{};
  return counters;
}
}  // namespace

std::uint64_t WorkingSet() { return Counters().WorkingSetSize; }
std::uint64_t PeakWorkingSet() { return Counters().PeakWorkingSetSize; }
bool ResetPeakWorkingSet() { return false; }

#else

namespace {
// A "Name:   1234 kB" line of /proc/self/status.
std::uint64_t StatusKilobytes(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0) return std::stoull(line.substr(name.size() + 1)) * 1024;
  }
  return 0;
}
}  // namespace

std::uint64_t WorkingSet() { return StatusKilobytes("VmRSS"); }
std::uint64_t PeakWorkingSet() { return StatusKilobytes("VmHWM"); }
bool ResetPeakWorkingSet() {
  std::ofstream refs("/proc/self/clear_refs");
  refs << "5";
  refs.flush();
  return static_cast<bool>(refs);
}

#endif

}  // namespace lindqua::bench
