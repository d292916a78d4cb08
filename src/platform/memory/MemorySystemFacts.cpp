#include "platform/memory/MemorySystemFacts.h"

#include <cstdio>

namespace lindqua {

LocalTime MemorySystemFacts::FileTimeToLocal(std::int64_t fileTime) {
  // FILETIME counts 100 ns ticks from 1601-01-01; days-to-civil after Howard Hinnant.
  std::int64_t seconds = fileTime / 10000000 - 11644473600LL;
  std::int64_t days = seconds >= 0 ? seconds / 86400 : (seconds - 86399) / 86400;
  std::int64_t rest = seconds - days * 86400;
  days += 719468;
  const std::int64_t era = (days >= 0 ? days : days - 146096) / 146097;
  const std::int64_t doe = days - era * 146097;
  const std::int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const std::int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const std::int64_t mp = (5 * doy + 2) / 153;
  const int day = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  const int month = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  const int year = static_cast<int>(yoe + era * 400 + (month <= 2 ? 1 : 0));
  return LocalTime{year, month, day, static_cast<int>(rest / 3600), static_cast<int>(rest % 3600 / 60),
                   static_cast<int>(rest % 60)};
}

std::string MemorySystemFacts::DateTimeText(const LocalTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12, t.minute,
                t.second, t.hour < 12 ? "AM" : "PM");
  return buffer;
}

}  // namespace lindqua
