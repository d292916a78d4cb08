#include "engine/TScanTaskThread.h"

#include <charconv>

#include "engine/ScanCaches.h"
#include "engine/ScanSection.h"
#include "engine/Scanners.h"

namespace lindqua {

namespace {
// Text that is not a whole decimal number counts as 0, which runs nothing.
int SectionNumber(const std::string& text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return 0;
  return value;
}
}  // namespace

ScannerLookup DefaultScannerLookup() {
  return [](int section) -> std::function<void(ScanContext&)> {
    Scanner scanner = ScannerForSection(section);
    if (!scanner) return nullptr;
    return scanner;
  };
}

std::string BuildDriveLetters(FileSystem& files, bool ignoreRemovableDrive) {
  std::string letters = ignoreRemovableDrive ? "" : "ab";
  for (char letter = 'c'; letter <= 'z'; ++letter) {
    if (!ignoreRemovableDrive || files.DriveTypeOf(letter) == DriveType::Fixed) letters.push_back(letter);
  }
  return letters;
}

TScanTaskThread::TScanTaskThread(ScanPlatform platform, ResultsModel& model, ScanNotifier& ownerWindow,
                                 bool ignoreRemovableDrive, ScannerLookup scanners)
    : model_(model),
      owner_(ownerWindow),
      scanners_(std::move(scanners)),
      files_(platform.files),
      context_(ScanPlatform{platform.registry, ScanCachesWanted() ? static_cast<FileSystem&>(files_) : platform.files,
                            platform.facts},
               ScanSink(model, stopSource_.get_token())) {
  context_.IgnoreRemovableDrive = ignoreRemovableDrive;
  context_.DriveLetters = BuildDriveLetters(platform.files, ignoreRemovableDrive);
  context_.UnderWow64 = IsWow64(platform.facts);
  context_.IsNT6 = GetWindowsVersionCode(platform.facts) == VersionCode::Nt6;
}

TScanTaskThread::~TScanTaskThread() {
  Terminate();
  WaitFor();
}

void TScanTaskThread::Resume() {
  if (thread_.joinable() || finished_) return;
  thread_ = std::jthread([this] { Execute(); });
}

void TScanTaskThread::Terminate() { model_.StopScan(stopSource_); }

void TScanTaskThread::WaitFor() {
  if (thread_.joinable()) thread_.join();
}

void TScanTaskThread::SectionDone() {
  context_.Sink().RunUnlessStopped([this] { owner_.PostSectionDone(); });
}

void TScanTaskThread::Execute() {
  // No exception may leave the thread: an error that escapes a scanner ends
  // the scan quietly, without the section's or the scan's message.
  try {
    context_.SetStatusText("");
    context_.SetStatusVisible(true);
    context_.ShowDetail("");
    context_.SetDetailVisible(true);
    context_.ChosenSections.clear();
    context_.CurrentUserSweep.Clear();
    context_.ClassesRootSweep.Clear();
    context_.UsersKeyShapes.Clear();
    for (const std::string& entry : SectionList) context_.ChosenSections.push_back(SectionNumber(entry));
    for (const std::string& entry : SectionList) {
      if (Terminated()) break;
      const int section = SectionNumber(entry);
      if (auto scanner = scanners_(section)) {
        context_.currentSection = section;
        scanner(context_);
      }
      if (Terminated()) break;
      SectionDone();
    }
    if (!Terminated()) {
      context_.SetStatusText(StatusScanEnding);
      context_.ShowDetail(DetailScanEnding);
      context_.Sink().RunUnlessStopped([this] { owner_.PostScanFinished(); });
    }
  } catch (...) {
    endedOnError_ = true;
  }
  files_.Clear();
  context_.CurrentUserSweep.Clear();
  context_.ClassesRootSweep.Clear();
  context_.UsersKeyShapes.Clear();
  finished_ = true;
}

}  // namespace lindqua
