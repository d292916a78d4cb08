#pragma once
// What a user sees of a long scan: how long the detail line and the step
// table stand still, and how long Cancel takes to end the scan.
#include <string>
#include <vector>

#include "engine/ScanContext.h"

namespace lindqua::bench {

struct ProgressFigures {
  double scanSeconds = 0;
  double longestDetailPause = 0;  // seconds the detail line showed one text
  std::string pausedIn;           // the status text during that pause
  double longestStep = 0;         // seconds between two finished sections
  int detailChanges = 0;          // as seen by polling every 5 ms
};

// One full scan, its texts polled as a window's timer would.
ProgressFigures MeasureProgress(ScanPlatform platform, const std::vector<std::string>& sections);

struct CancelFigure {
  double after = 0;    // seconds into the scan when Cancel came
  std::string during;  // the status text then
  double seconds = 0;  // from Cancel to the scan thread's end
};

// Cancels a full scan at each of the given times, one scan each.
std::vector<CancelFigure> MeasureCancel(ScanPlatform platform, const std::vector<std::string>& sections,
                                        const std::vector<double>& cancelAfter);

}  // namespace lindqua::bench
