#pragma once
// The process's working set: now and at its peak, in bytes; 0 where unknown.
#include <cstdint>

namespace lindqua::bench {

std::uint64_t WorkingSet();
std::uint64_t PeakWorkingSet();
// Starts the peak again from the working set of now, where the system allows
// it (Linux); returns false elsewhere, where the peak covers the whole run.
bool ResetPeakWorkingSet();

}  // namespace lindqua::bench
