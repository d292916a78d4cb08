#pragma once
// How a scan tells its owner about progress. Implementations post and never
// wait: the Win32 window posts MSG_SECTION_DONE and MSG_SCAN_FINISHED to
// itself, tests and the console record what arrived.
namespace lindqua {

// The numbers continue the block of the program's window messages
// (app/WindowMessages.h says why they are fixed).
inline constexpr unsigned MSG_SECTION_DONE = 0x2413;
inline constexpr unsigned MSG_SCAN_FINISHED = 0x2414;

class ScanNotifier {
 public:
  virtual ~ScanNotifier() = default;
  virtual void PostSectionDone() = 0;
  virtual void PostScanFinished() = 0;
};

}  // namespace lindqua
