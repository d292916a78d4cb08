#pragma once
// The yardstick of a full scan: every key and value of the machine's and the
// users' hives read exactly once, string data decoded as a scan decodes it,
// no file asked about. The classes root and the current user are views of
// these two and are not read again.
#include "platform/RegistryBackend.h"
#include "sweep/BareWalk.h"

namespace lindqua::bench {

WalkCounts EnumerateHives(RegistryBackend& registry);

}  // namespace lindqua::bench
