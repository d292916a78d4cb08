#include "platform/memory/MemorySystemFacts.h"

#include <cstdio>

namespace lindqua {

std::string MemorySystemFacts::DateTimeText(const LocalTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%d/%d/%d %d:%02d:%02d %s", t.month, t.day, t.year, hour12, t.minute,
                t.second, t.hour < 12 ? "AM" : "PM");
  return buffer;
}

}  // namespace lindqua
