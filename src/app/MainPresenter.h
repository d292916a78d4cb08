#pragma once
// State and decisions of the main window: the section tree, the scan state
// machine (idle / scanning), the progress, the status line, the results
// list's check boxes and selection commands, activation and closing. Runs on
// the GUI thread only; the scan thread reaches it through posted messages.
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainTexts.h"
#include "app/MainView.h"
#include "app/LoadSaveSettings.h"
#include "app/OptionsSetting.h"
#include "app/SectionTree.h"
#include "engine/ResultsModel.h"
#include "engine/TScanTaskThread.h"
#include "platform/AnsiCodePage.h"

namespace lindqua {

// Removes the rows under the built-in and the user's ignore lists.
using IgnoreFilter =
    std::function<void(std::vector<Finding>& rows, const std::vector<std::string>& userKeys, std::int32_t userKeyCount)>;

struct MainPresenterDeps {
  ScanPlatform platform;
  MainView& view;
  MainWindowSettings& settings;
  TOptionsSetting& options;
  IgnoreFilter ignoreFilter = {};        // empty: nothing is filtered
  ScannerLookup scanners = DefaultScannerLookup();
  std::vector<std::string> arguments = {};  // command-line arguments after the program name
  MainTexts texts = {};
  // The fix of the unattended run; empty: the window's own fix when it has
  // one (ansi set), else the run closes after its scan.
  std::function<void()> unattendedFix = {};
  // The backup files' code page; null: the window cannot fix.
  const AnsiCodePage* ansi = nullptr;
  // The modal restore-point dialog; true when the fix may go on.
  std::function<bool()> restorePointDialog = {};
};

class MainPresenter {
 public:
  // The progress bar runs from 0 to this; the window sets its range from it.
  static constexpr int ProgressMax = 1000;

  explicit MainPresenter(MainPresenterDeps deps);
  ~MainPresenter();  // stops a running scan and waits for every scan thread
  MainPresenter(const MainPresenter&) = delete;
  MainPresenter& operator=(const MainPresenter&) = delete;

  // Window life.
  void FormCreate();
  void FormShow();
  void FormActivate();  // acts on the first activation only
  void FormClose();

  // Section tree.
  void tvRegistryStateImageClick(int imageIndex);
  const SectionTree& Tree() const noexcept { return tree_; }

  // Scan.
  void bScanClick();
  void Timer1Timer();
  void OnSectionDone(std::uint32_t scanId);
  void OnScanFinished(std::uint32_t scanId);
  void OnCleanOnce();
  bool Scanning() const noexcept { return scanning_; }
  int ProgressStep() const noexcept { return progressStep_; }
  int ProgressPosition() const noexcept { return progressPosition_; }
  const std::vector<std::string>& SectionIds() const noexcept { return sectionIds_; }
  bool Unattended() const noexcept { return unattended_; }
  // Every scan thread, the running and the stopped ones, has returned.
  bool AllScanThreadsEnded() const;

  // Results list.
  ResultsModel& Model() noexcept { return model_; }
  const ResultsReader& Results() const noexcept { return model_; }
  std::size_t ShownRows() const noexcept { return shownRows_; }
  // The row as the list shows it; empty past the shown rows.
  Finding RowAt(std::size_t index) const;
  void ToggleRowCheck(std::size_t index);
  // Why the row was added, as one line: the row's info tip and the details
  // area. Empty past the shown rows.
  std::string ReasonAt(std::size_t index) const;
  // The list's focused row changed (or may have): the details area follows it.
  void lvRegistryDataFocusChanged();
  void lvRegistryDataClick();  // every click in the list refreshes the counts
  void UpdateStatusLine();
  void FitColumns();

  // Fix.
  bool CanFix() const noexcept { return deps_.ansi != nullptr; }
  void bFixErrorsClick();

  // Selection commands.
  bool HasSelectedRow();
  void aSelectItemExecute();
  void aDeselectItemExecute();
  void aSelectAllTypeExecute();
  void aUnselectAllTypeExecute();
  void aSelectAllExecute();
  void aSelectNoneExecute();

 private:
  struct RunningScan;

  void StartScan();
  void CancelScan();
  void ScanFinishedHandling();
  void ApplyIgnoreFilter();
  // Tells the list about rows the scan added since the last batch.
  void SyncRows(bool redrawAll);
  bool RunRestorePointDialog();
  void SyncScanTexts();
  void ShowFocusedReason();
  void SetSelectedRowCheck(bool checked);
  void SetTypeCheck(bool checked);
  void SetAllChecks(bool checked);
  void PushTreeStates();
  void ReapFinishedScans();
  void FinishUnattendedRun();

  MainPresenterDeps deps_;
  ResultsModel model_;
  SectionTree tree_;
  std::vector<std::string> sectionIds_;
  bool sectionIdsCreated_ = false;
  int progressStep_ = 10;
  int progressPosition_ = 0;
  bool progressVisible_ = false;
  bool unattended_ = false;
  bool unattendedCancelled_ = false;
  bool activated_ = false;
  bool scanning_ = false;
  bool closed_ = false;
  std::size_t shownRows_ = 0;
  std::optional<ScanTexts> shownTexts_;
  std::optional<std::string> shownReason_;
  std::uint32_t scanCounter_ = 0;
  std::unique_ptr<RunningScan> current_;
  // Stopped scans whose threads may still be leaving their last key.
  std::vector<std::unique_ptr<RunningScan>> retired_;
};

}  // namespace lindqua
