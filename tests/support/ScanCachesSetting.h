#pragma once
// Switches the scan's caches by the environment, as the row-comparison runs
// without caches do; nullptr removes the setting.
#include <cstdlib>

namespace lindqua::test {

inline void SetScanCachesSetting(const char* value) {
#ifdef _WIN32
  _putenv_s("LINDQUA_SCAN_CACHES", value ? value : "");
#else
  if (value) setenv("LINDQUA_SCAN_CACHES", value, 1);
  else unsetenv("LINDQUA_SCAN_CACHES");
#endif
}

}  // namespace lindqua::test
