#include "engine/ScanCaches.h"

#include <cstdlib>
#include <string_view>

namespace lindqua {

bool ScanCachesWanted() {
  const char* setting = std::getenv("LINDQUA_SCAN_CACHES");
  return !setting || std::string_view(setting) != "off";
}

}  // namespace lindqua
