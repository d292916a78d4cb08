#include "scan/Responsiveness.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <thread>

#include "engine/TScanTaskThread.h"

namespace lindqua::bench {

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto PollEvery = std::chrono::milliseconds(5);

double Seconds(Clock::time_point from, Clock::time_point to) { return std::chrono::duration<double>(to - from).count(); }

// Takes the time of each finished section, as the window's step table would.
class StepClock : public ScanNotifier {
 public:
  void PostSectionDone() override {
    const std::lock_guard lock(mutex_);
    steps_.push_back(Clock::now());
  }
  void PostScanFinished() override {}
  std::vector<Clock::time_point> Steps() const {
    const std::lock_guard lock(mutex_);
    return steps_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Clock::time_point> steps_;
};

}  // namespace

ProgressFigures MeasureProgress(ScanPlatform platform, const std::vector<std::string>& sections) {
  ProgressFigures figures;
  ResultsModel model;
  StepClock steps;
  TScanTaskThread scan(platform, model, steps, false);
  scan.SectionList = sections;
  const auto start = Clock::now();
  scan.Resume();
  std::string shown;
  auto shownSince = start;
  while (!scan.Finished()) {
    std::this_thread::sleep_for(PollEvery);
    const ScanTexts texts = model.Texts();
    const auto now = Clock::now();
    if (texts.detail == shown) continue;
    ++figures.detailChanges;
    if (Seconds(shownSince, now) > figures.longestDetailPause) {
      figures.longestDetailPause = Seconds(shownSince, now);
      figures.pausedIn = texts.status;
    }
    shown = texts.detail;
    shownSince = now;
  }
  scan.WaitFor();
  const auto end = Clock::now();
  figures.scanSeconds = Seconds(start, end);
  auto previous = start;
  for (const auto& step : steps.Steps()) {
    figures.longestStep = std::max(figures.longestStep, Seconds(previous, step));
    previous = step;
  }
  return figures;
}

std::vector<CancelFigure> MeasureCancel(ScanPlatform platform, const std::vector<std::string>& sections,
                                        const std::vector<double>& cancelAfter) {
  std::vector<CancelFigure> figures;
  for (double after : cancelAfter) {
    ResultsModel model;
    StepClock steps;
    TScanTaskThread scan(platform, model, steps, false);
    scan.SectionList = sections;
    scan.Resume();
    std::this_thread::sleep_for(std::chrono::duration<double>(after));
    CancelFigure figure;
    figure.after = after;
    figure.during = scan.Finished() ? "(the scan had ended)" : model.Texts().status;
    const auto cancel = Clock::now();
    scan.Terminate();
    while (!scan.Finished()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    figure.seconds = Seconds(cancel, Clock::now());
    scan.WaitFor();
    figures.push_back(figure);
  }
  return figures;
}

}  // namespace lindqua::bench
