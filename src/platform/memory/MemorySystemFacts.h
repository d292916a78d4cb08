#pragma once
// System facts set by the test: Windows version, WOW64 and a fixed clock.
#include "platform/SystemFacts.h"

namespace lindqua {

class MemorySystemFacts : public SystemFacts {
 public:
  OsVersion version{2, 6, 1};
  std::optional<bool> wow64 = false;  // nullopt: the system has no IsWow64Process
  LocalTime now{2026, 1, 2, 15, 4, 5};

  OsVersion GetVersion() override { return version; }
  std::optional<bool> IsWow64Process() override { return wow64; }
  LocalTime Now() override { return now; }
  // Local time is UTC here, so time stamps are plain calendar arithmetic.
  LocalTime FileTimeToLocal(std::int64_t fileTime) override;
  // The formats of an English (United States) user: 1/2/2026 3:04:05 PM.
  std::string DateTimeText(const LocalTime& time) override;
};

}  // namespace lindqua
