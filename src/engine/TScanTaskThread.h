#pragma once
// One scan on its own thread: runs the listed sections in order, posts
// MSG_SECTION_DONE after each and MSG_SCAN_FINISHED at the end. A stop is a
// request, never a killed thread; after it the scan writes and posts nothing.
// The owner keeps the object and can always ask whether the thread has ended.
#include <atomic>
#include <functional>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "engine/ResultsModel.h"
#include "engine/ScanContext.h"
#include "engine/ScanNotifier.h"
#include "platform/CachingFileSystem.h"

namespace lindqua {

// The letters of the drives whose paths are tested: every letter when
// removable drives count, otherwise only fixed disks from C: to Z:.
std::string BuildDriveLetters(FileSystem& files, bool ignoreRemovableDrive);

// Picks the scanner of a section; tests put their own in place of the real table.
using ScannerLookup = std::function<std::function<void(ScanContext&)>(int section)>;
ScannerLookup DefaultScannerLookup();

class TScanTaskThread {
 public:
  // Measures DriveLetters, UnderWow64 and IsNT6 now; the thread starts in Resume().
  TScanTaskThread(ScanPlatform platform, ResultsModel& model, ScanNotifier& ownerWindow, bool ignoreRemovableDrive,
                  ScannerLookup scanners = DefaultScannerLookup());
  ~TScanTaskThread();  // requests the stop and waits for the thread
  TScanTaskThread(const TScanTaskThread&) = delete;
  TScanTaskThread& operator=(const TScanTaskThread&) = delete;

  std::vector<std::string> SectionList;  // decimal texts, in order
  // Whether drives A: and B: held a readable volume; set before Resume().
  void SetDriveAReady(bool ready) noexcept { context_.DriveAReady = ready; }
  void SetDriveBReady(bool ready) noexcept { context_.DriveBReady = ready; }
  // Judge paths into redirected folders in every WOW64 view; set before Resume().
  void SetCheck64BitPaths(bool on) { context_.SetCheck64BitPaths(on); }
  bool DriveAReady() const noexcept { return context_.DriveAReady; }
  bool DriveBReady() const noexcept { return context_.DriveBReady; }
  const std::string& DriveLetters() const noexcept { return context_.DriveLetters; }
  bool UnderWow64() const noexcept { return context_.UnderWow64; }
  bool IsNT6() const noexcept { return context_.IsNT6; }

  void Resume();
  // Requests the stop under the model's lock; returns at once.
  void Terminate();
  bool Terminated() const noexcept { return stopSource_.stop_requested(); }
  // The thread body has returned, normally, after a stop or after an error.
  bool Finished() const noexcept { return finished_.load(); }
  // True when the body ended on an error that escaped a scanner.
  bool EndedOnError() const noexcept { return endedOnError_.load(); }
  // Waits for the thread (close, unattended run, tests).
  void WaitFor();

 private:
  void Execute();
  void SectionDone();

  ResultsModel& model_;
  ScanNotifier& owner_;
  ScannerLookup scanners_;
  std::stop_source stopSource_;
  // The scan asks the same existence questions many times; this scan's own
  // answers, dropped when it ends.
  CachingFileSystem files_;
  ScanContext context_;
  std::atomic<bool> finished_{false};
  std::atomic<bool> endedOnError_{false};
  std::jthread thread_;  // declared last: it starts after everything it uses
};

}  // namespace lindqua
