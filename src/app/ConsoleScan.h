#pragma once
// Runs one scan on the scan thread and waits for its end, for a caller that
// has no window: the console program.
#include <cstddef>
#include <functional>
#include <vector>

#include "engine/Finding.h"
#include "engine/TScanTaskThread.h"

namespace lindqua {

struct ConsoleScanProgress {
  int sectionsDone = 0;
  int sectionCount = 0;
  int runningSection = 0;  // 0 once every section is done
  std::size_t found = 0;
};

struct ConsoleScanResult {
  std::vector<Finding> rows;  // in the order found
  bool completed = false;     // false: the scan ended on an error
  int failedSection = 0;      // the section that was running when it did
};

struct ConsoleScanRequest {
  std::vector<int> sections;
  bool ignoreRemovableDrive = true;
  bool check64BitPaths = false;
  ScannerLookup scanners = DefaultScannerLookup();
};

// Called on the waiting thread after each section and every few tenths of a second.
using ConsoleScanObserver = std::function<void(const ConsoleScanProgress&)>;

ConsoleScanResult RunConsoleScan(ScanPlatform platform, const ConsoleScanRequest& request,
                                 const ConsoleScanObserver& observe);

}  // namespace lindqua
