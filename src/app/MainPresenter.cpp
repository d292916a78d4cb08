#include "app/MainPresenter.h"

#include "repair/FixProcedure.h"

#include <algorithm>

#include "app/MessageBoxFlags.h"
#include "app/ReasonText.h"
#include "engine/ScanNotifier.h"
#include "engine/ScanSection.h"
#include "platform/Text.h"

namespace lindqua {

namespace {

constexpr unsigned MessageBoxInformation = MessageBoxFlags::Ok | MessageBoxFlags::IconInformation;
constexpr unsigned MessageYesNoInformation = MessageBoxFlags::YesNo | MessageBoxFlags::IconInformation;
constexpr unsigned MessageYesNoInformationNoDefault = MessageYesNoInformation | MessageBoxFlags::SecondButtonDefault;
constexpr int MessageAnswerYes = MessageBoxFlags::AnswerYes;

// Posts one scan's messages with that scan's id, so that a message still in
// the queue from a finished or cancelled scan cannot end the next one.
class ScanMessenger : public ScanNotifier {
 public:
  ScanMessenger(MainView& view, std::uint32_t scanId) : view_(view), scanId_(scanId) {}
  void PostSectionDone() override { view_.PostScanMessage(MSG_SECTION_DONE, scanId_); }
  void PostScanFinished() override { view_.PostScanMessage(MSG_SCAN_FINISHED, scanId_); }

 private:
  MainView& view_;
  std::uint32_t scanId_;
};

// The whole-hive sweeps and the empty-key search take longest; the more of
// them run, the slower the bar moves.
int ProgressStepFor(const std::vector<std::string>& sectionIds) {
  static constexpr int Steps[] = {10, 5, 4, 3, 2, 1};
  const auto heavy = std::count_if(sectionIds.begin(), sectionIds.end(), [](const std::string& id) {
    for (int section : {SectionId::ClassesRoot, SectionId::CurrentUser, SectionId::LocalMachine, SectionId::Users,
                        SectionId::EmptyKeys})
      if (id == std::to_string(section)) return true;
    return false;
  });
  return Steps[std::min<std::ptrdiff_t>(heavy, 5)];
}

}  // namespace

struct MainPresenter::RunningScan {
  std::uint32_t id = 0;
  // Declared before the thread: the thread posts through it until it is joined.
  std::unique_ptr<ScanMessenger> messenger;
  std::unique_ptr<TScanTaskThread> thread;
};

MainPresenter::MainPresenter(MainPresenterDeps deps) : deps_(std::move(deps)) {}

MainPresenter::~MainPresenter() {
  if (current_) current_->thread->Terminate();
  for (auto& scan : retired_) scan->thread->Terminate();
  current_.reset();
  retired_.clear();
}

void MainPresenter::FormCreate() {
  sectionIds_.clear();
  sectionIdsCreated_ = false;
  unattended_ = false;
  progressStep_ = 10;
  deps_.view.SetStatusLine("");
  deps_.options.IgnoreKeys.clear();
  deps_.settings.Load(deps_.options);
}

void MainPresenter::FormShow() {
  tree_.WalkSectionTree(1, 100, deps_.options);
  PushTreeStates();
}

void MainPresenter::FormActivate() {
  if (activated_) return;
  activated_ = true;
  const TOptionsSetting& options = deps_.options;
  if (!options.LastFix.empty()) deps_.view.SetStatusLine(deps_.texts.lastFixAt + options.LastFix);
  // Settings that were never loaded hold zero sizes; the design size stays
  // then. A maximized window gets its normal bounds first, for its restore.
  if (options.Width > 0 && options.Height > 0) {
    deps_.view.ApplyBounds(options.Left, options.Top, options.Width, options.Height);
  }
  if (options.WindowState == 2) deps_.view.Maximize();
  if (!deps_.arguments.empty() && UpperCase(deps_.arguments.front()) == "-CLEANONCE") {
    unattended_ = true;
    deps_.view.PostCleanOnce();
  }
}

void MainPresenter::FormClose() {
  if (closed_) return;
  // Closed first, so that the finished handling of the stopped scan cannot go
  // on to the unattended fix: a close fixes nothing.
  closed_ = true;
  if (scanning_) CancelScan();
  sectionIds_.clear();
  sectionIdsCreated_ = false;
  tree_.WalkSectionTree(1, 99, deps_.options);
  // A refused save has been shown to the user already; the window closes all the same.
  (void)deps_.settings.Save(deps_.options, deps_.view.Placement());
  deps_.options.IgnoreKeys.clear();
}

void MainPresenter::PushTreeStates() {
  for (int node = 1; node <= SectionTree::NodeCount; ++node) deps_.view.SetNodeState(node, tree_.State(node));
}

void MainPresenter::tvRegistryStateImageClick(int imageIndex) {
  tree_.ClickStateImage(imageIndex, deps_.options);
  PushTreeStates();
}

void MainPresenter::bScanClick() {
  // Errors while starting or stopping are absorbed: the window stays as far as it got.
  try {
    if (scanning_) {
      // Cancel pressed in an unattended run whose window was brought up
      // stops the whole run: the partial findings are not fixed.
      if (unattended_) unattendedCancelled_ = true;
      CancelScan();
    } else {
      StartScan();
    }
  } catch (...) {
  }
}

void MainPresenter::StartScan() {
  MainView& view = deps_.view;
  view.SetProgressCaption("", false);
  sectionIds_.clear();
  sectionIdsCreated_ = true;
  tree_.WalkSectionTree(1, -1, deps_.options, &sectionIds_);
  if (sectionIds_.empty()) {
    if (!unattended_) view.ShowMessage(deps_.texts.selectSections, MessageBoxInformation);
    return;
  }
  model_.Clear();
  shownRows_ = 0;
  shownTexts_.reset();
  view.SetRowCount(0, true);
  ShowFocusedReason();
  FitColumns();
  view.SetScanButtonCaption(deps_.texts.cancel);
  scanning_ = true;
  if (!progressVisible_) {
    progressVisible_ = true;
    view.SetProgressVisible(true);
    view.SetDetailLine("", true);
  }
  progressPosition_ = 0;
  view.SetProgressPosition(0);
  progressStep_ = ProgressStepFor(sectionIds_);

  auto scan = std::make_unique<RunningScan>();
  scan->id = ++scanCounter_;
  scan->messenger = std::make_unique<ScanMessenger>(view, scan->id);
  const bool ignoreRemovable = deps_.options.IgnoreRemovableDrive;
  scan->thread = std::make_unique<TScanTaskThread>(deps_.platform, model_, *scan->messenger, ignoreRemovable,
                                                   deps_.scanners);
  scan->thread->SectionList = sectionIds_;
  scan->thread->SetCheck64BitPaths(deps_.options.Check64BitPaths);
  if (!ignoreRemovable) {
    // Probing an empty floppy drive can take seconds; the caption covers the wait.
    view.SetProgressCaption(deps_.texts.preparing, true);
    scan->thread->SetDriveAReady(deps_.platform.files.VolumeReady('a'));
    scan->thread->SetDriveBReady(deps_.platform.files.VolumeReady('b'));
    view.SetProgressCaption("", false);
  }
  view.SetProgressTimer(true);
  current_ = std::move(scan);
  current_->thread->Resume();
}

void MainPresenter::CancelScan() {
  // A stop request, never a kill: once Terminate returns the scan adds no row
  // and posts nothing, and the thread leaves its key at its next check.
  // The model takes rows whole, so every row already there is complete and
  // stays: there is no half-filled last row to drop.
  if (current_) {
    current_->thread->Terminate();
    retired_.push_back(std::move(current_));
  }
  ScanFinishedHandling();
}

void MainPresenter::Timer1Timer() {
  progressPosition_ += progressStep_;
  if (progressPosition_ > MainPresenter::ProgressMax) progressPosition_ = 0;
  deps_.view.SetProgressPosition(progressPosition_);
  SyncRows(false);
  SyncScanTexts();
  ReapFinishedScans();
  // A scan that ended on an error posts nothing. The user can still press
  // Cancel or close, but the hidden unattended run has nobody to do that.
  if (unattended_ && scanning_ && current_ && current_->thread->Finished() && current_->thread->EndedOnError()) {
    retired_.push_back(std::move(current_));
    ScanFinishedHandling();
  }
}

bool MainPresenter::AllScanThreadsEnded() const {
  if (current_ && !current_->thread->Finished()) return false;
  return std::all_of(retired_.begin(), retired_.end(),
                     [](const std::unique_ptr<RunningScan>& scan) { return scan->thread->Finished(); });
}

void MainPresenter::ReapFinishedScans() {
  std::erase_if(retired_, [](const std::unique_ptr<RunningScan>& scan) { return scan->thread->Finished(); });
}

void MainPresenter::OnSectionDone(std::uint32_t scanId) {
  if (!scanning_ || !current_ || current_->id != scanId) return;
  SyncScanTexts();
  UpdateStatusLine();
}

void MainPresenter::OnScanFinished(std::uint32_t scanId) {
  if (!scanning_ || !current_ || current_->id != scanId) return;
  retired_.push_back(std::move(current_));
  ScanFinishedHandling();
}

void MainPresenter::ApplyIgnoreFilter() {
  if (!deps_.ignoreFilter) return;
  const std::vector<std::string>& keys = deps_.options.IgnoreKeys;
  const std::int32_t count = deps_.options.IgnoreKeyCount;
  model_.EditRows([&](std::vector<Finding>& rows) { deps_.ignoreFilter(rows, keys, count); });
}

void MainPresenter::ScanFinishedHandling() {
  MainView& view = deps_.view;
  scanning_ = false;
  view.SetProgressTimer(false);
  ApplyIgnoreFilter();
  view.SetScanButtonCaption(deps_.texts.scan);
  shownTexts_ = ScanTexts{};
  view.SetScanTitle("", false);
  view.SetDetailLine("", false);
  progressPosition_ = ProgressMax;
  view.SetProgressPosition(ProgressMax);
  view.SetProgressCaption(deps_.texts.finished, true);
  aSelectAllExecute();
  if (shownRows_ > 0) FitColumns();
  UpdateStatusLine();
  if (unattended_) FinishUnattendedRun();
}

void MainPresenter::OnCleanOnce() {
  deps_.view.HideForUnattended();
  StartScan();
  // With nothing to scan the run goes straight on to the fix.
  if (!scanning_) FinishUnattendedRun();
}

void MainPresenter::FinishUnattendedRun() {
  if (closed_) return;
  if (!unattendedCancelled_) {
    if (deps_.unattendedFix) deps_.unattendedFix();
    else if (CanFix()) bFixErrorsClick();
  }
  deps_.view.CloseWindow();
}

void MainPresenter::bFixErrorsClick() {
  if (!CanFix()) return;
  FileSystem& files = deps_.platform.files;
  const std::string& folder = deps_.options.BackupFolder;
  FixRequest request{folder, false};
  // Nothing is deleted without a backup, and without a folder there is none.
  if (folder.empty()) {
    deps_.view.ShowMessage(deps_.texts.noBackupFolder, MessageBoxInformation);
    return;
  }
  if (!files.DirectoryExists(folder)) {
    if (deps_.view.ShowMessage(MissingBackupFolderQuestion(folder), MessageYesNoInformation) != MessageAnswerYes)
      return;
    request.createFolder = true;
  }
  if (model_.Count() > 0 && deps_.options.CreateRestore && RestorePointOffered(deps_.platform.facts) &&
      !RunRestorePointDialog())
    return;
  // Fix Errors works during a scan too, on the rows there at that moment;
  // the ignore lists have not been applied to them yet, so they are now,
  // or an ignored key could be deleted before the scan's end drops its row.
  if (scanning_) {
    ApplyIgnoreFilter();
    SyncRows(true);
  }
  const FixPlatform platform{ExportPlatform{deps_.platform.registry, files, *deps_.ansi}, deps_.platform.facts};
  const FixReport report = DeleteCheckedFindings(platform, model_, request);
  // The fixed rows are gone before the counts are taken.
  SyncRows(true);
  // A backup that could not be written in full stops the fix before its row
  // is deleted; the user must know why the rows stay and where it stopped.
  if (report.stop == FixStop::BackupFailed)
    deps_.view.ShowMessage(deps_.texts.backupFailed + report.backupFile +
                               (report.endReason.empty() ? std::string() : "\r\n" + report.endReason),
                           MessageBoxInformation);
  if (!report.completed) return;  // the status line is not touched after an error
  UpdateStatusLine();
  // A row whose key or value had already gone (its twin under another root
  // was fixed first, or another program removed it) leaves the list with
  // nothing deleted and nothing in the backup: say so rather than pass it
  // off as fixed.
  const auto gone = std::count_if(report.rows.begin(), report.rows.end(), [](const FixRowReport& row) {
    return row.outcome == DeleteOutcome::NothingThere;
  });
  deps_.view.SetStatusLine(gone > 0 ? deps_.texts.fixFinished + deps_.texts.alreadyGone + std::to_string(gone)
                                    : deps_.texts.fixFinished);
  FitColumns();
  deps_.options.LastFix = report.lastFix;
}

bool MainPresenter::RunRestorePointDialog() {
  // Without a dialog the request cannot be made: treated as a failed
  // request, so the user still decides whether to go on.
  if (deps_.restorePointDialog) return deps_.restorePointDialog();
  return deps_.view.ShowMessage("Restore Point creation Failed! Contiue to fix?", MessageYesNoInformationNoDefault) ==
         MessageAnswerYes;
}

void MainPresenter::SyncRows(bool redrawAll) {
  const std::size_t count = model_.Count();
  if (count == shownRows_ && !redrawAll) return;
  // Rows only grow while a scan runs; anything else redraws what is shown.
  const bool shrunk = count < shownRows_;
  shownRows_ = count;
  deps_.view.SetRowCount(count, redrawAll || shrunk);
  // A changed count can move the list's focus, or put another row under it.
  ShowFocusedReason();
}

void MainPresenter::SyncScanTexts() {
  const ScanTexts texts = model_.Texts();
  if (shownTexts_ && shownTexts_->status == texts.status && shownTexts_->statusVisible == texts.statusVisible &&
      shownTexts_->detail == texts.detail && shownTexts_->detailVisible == texts.detailVisible) {
    return;
  }
  shownTexts_ = texts;
  deps_.view.SetScanTitle(texts.status, texts.statusVisible);
  deps_.view.SetDetailLine(texts.detail, texts.detailVisible);
}

Finding MainPresenter::RowAt(std::size_t index) const {
  if (index >= shownRows_) return {};
  return model_.Row(index);
}

std::string MainPresenter::ReasonAt(std::size_t index) const {
  if (index >= shownRows_) return {};
  return ReasonLine(model_.Row(index).reason);
}

void MainPresenter::lvRegistryDataFocusChanged() { ShowFocusedReason(); }

void MainPresenter::ShowFocusedReason() {
  const int focused = deps_.view.FocusedRow();
  std::string text = focused >= 0 ? ReasonAt(static_cast<std::size_t>(focused)) : std::string();
  if (shownReason_ == text) return;
  deps_.view.SetReasonLine(text);
  shownReason_ = std::move(text);
}

void MainPresenter::ToggleRowCheck(std::size_t index) {
  if (index >= shownRows_) return;
  model_.EditRows([&](std::vector<Finding>& rows) {
    if (index < rows.size()) rows[index].checked = !rows[index].checked;
  });
  SyncRows(true);
  UpdateStatusLine();
}

void MainPresenter::lvRegistryDataClick() { UpdateStatusLine(); }

void MainPresenter::UpdateStatusLine() {
  SyncRows(false);
  std::size_t rows = 0;
  std::size_t checked = 0;
  model_.EditRows([&](std::vector<Finding>& all) {
    rows = std::min(all.size(), shownRows_);
    checked = static_cast<std::size_t>(
        std::count_if(all.begin(), all.begin() + static_cast<std::ptrdiff_t>(rows), [](const Finding& f) {
          return f.checked;
        }));
  });
  deps_.view.SetStatusLine(" " + std::to_string(rows) + deps_.texts.errorsFound + " " + std::to_string(checked) +
                           deps_.texts.errorsSelected);
}

void MainPresenter::FitColumns() {
  if (shownRows_ > 0) {
    deps_.view.FitColumnsToText();
    return;
  }
  const int width = deps_.view.ListWidth();
  deps_.view.SetColumnWidths(width * 100 / 450, width * 190 / 450, width * 140 / 450);
}

bool MainPresenter::HasSelectedRow() {
  const int selected = deps_.view.SelectedRow();
  return selected >= 0 && static_cast<std::size_t>(selected) < shownRows_;
}

void MainPresenter::SetSelectedRowCheck(bool checked) {
  if (!HasSelectedRow()) return;
  const auto selected = static_cast<std::size_t>(deps_.view.SelectedRow());
  model_.EditRows([&](std::vector<Finding>& rows) {
    if (selected < rows.size()) rows[selected].checked = checked;
  });
  SyncRows(true);
  // Counts that disagree with the check boxes would be plainly wrong.
  UpdateStatusLine();
}

void MainPresenter::SetTypeCheck(bool checked) {
  if (!HasSelectedRow()) return;
  const auto selected = static_cast<std::size_t>(deps_.view.SelectedRow());
  model_.EditRows([&](std::vector<Finding>& rows) {
    if (selected >= rows.size()) return;
    const std::string caption = rows[selected].caption;
    for (Finding& row : rows) {
      if (row.caption == caption) row.checked = checked;
    }
  });
  SyncRows(true);
  UpdateStatusLine();
}

void MainPresenter::SetAllChecks(bool checked) {
  model_.EditRows([&](std::vector<Finding>& rows) {
    for (Finding& row : rows) row.checked = checked;
  });
  SyncRows(true);
  UpdateStatusLine();
}

void MainPresenter::aSelectItemExecute() { SetSelectedRowCheck(true); }
void MainPresenter::aDeselectItemExecute() { SetSelectedRowCheck(false); }
void MainPresenter::aSelectAllTypeExecute() { SetTypeCheck(true); }
void MainPresenter::aUnselectAllTypeExecute() { SetTypeCheck(false); }
void MainPresenter::aSelectAllExecute() { SetAllChecks(true); }
void MainPresenter::aSelectNoneExecute() { SetAllChecks(false); }

}  // namespace lindqua
