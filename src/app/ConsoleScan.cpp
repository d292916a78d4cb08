#include "app/ConsoleScan.h"

#include <chrono>
#include <string>

#include "app/ScanWaiter.h"

namespace lindqua {

namespace {
constexpr std::chrono::milliseconds ProgressInterval{200};
}  // namespace

ConsoleScanResult RunConsoleScan(ScanPlatform platform, const ConsoleScanRequest& request,
                                 const ConsoleScanObserver& observe) {
  ResultsModel model;
  ScanWaiter waiter;
  TScanTaskThread scan(platform, model, waiter, request.ignoreRemovableDrive, request.scanners);
  for (int section : request.sections) scan.SectionList.push_back(std::to_string(section));
  scan.SetCheck64BitPaths(request.check64BitPaths);
  // The window measures the floppy drives only when removable drives count.
  if (!request.ignoreRemovableDrive) {
    scan.SetDriveAReady(platform.files.VolumeReady('a'));
    scan.SetDriveBReady(platform.files.VolumeReady('b'));
  }

  const int count = static_cast<int>(request.sections.size());
  const auto progressOf = [&](const ScanWaiter::Progress& posted) {
    ConsoleScanProgress progress;
    progress.sectionsDone = posted.sectionsDone;
    progress.sectionCount = count;
    progress.runningSection = posted.sectionsDone < count ? request.sections[static_cast<std::size_t>(posted.sectionsDone)] : 0;
    progress.found = model.Count();
    return progress;
  };

  scan.Resume();
  ScanWaiter::Progress seen;
  if (observe) observe(progressOf(seen));
  // A scan that ends on an error posts nothing more, so the wait also asks
  // the thread whether it has ended.
  while (!seen.finished && !scan.Finished()) {
    seen = waiter.WaitForChange(seen, ProgressInterval);
    if (observe) observe(progressOf(seen));
  }
  scan.WaitFor();
  // The last word is always the final state, however fast the scan was.
  seen = waiter.Current();
  if (observe) observe(progressOf(seen));

  ConsoleScanResult result;
  result.completed = seen.finished && !scan.EndedOnError();
  if (!result.completed) result.failedSection = progressOf(seen).runningSection;
  result.rows = model.Rows();
  return result;
}

}  // namespace lindqua
