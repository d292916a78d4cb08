#pragma once
// The results list: a virtual report list view over the presenter's rows.
// It stores nothing itself; texts and check boxes come from the model on
// demand, so 100,000 rows cost one item-count message.
#include <windows.h>
#include <commctrl.h>

#include <cstddef>
#include <string>

#include "app/MainPresenter.h"

namespace lindqua {

class ResultsListControl {
 public:
  // `dpi` scales the columns' first widths.
  bool Create(HWND parent, int id, MainPresenter& presenter, int dpi);
  // The columns keep their share of the list when the window's DPI changes.
  void RescaleColumns(int fromDpi, int toDpi);
  HWND Handle() const noexcept { return hwnd_; }

  void SetRowCount(std::size_t count, bool redrawAll);
  int SelectedRow() const;
  int FocusedRow() const;
  int Width() const;
  void SetColumnWidths(int problem, int data, int registryKey);
  void FitColumnsToText();

  // Notifications from the list.
  void OnGetDispInfo(NMLVDISPINFOW& info);
  void OnClick(const NMITEMACTIVATE& click);
  void OnKeyDown(const NMLVKEYDOWN& key);
  // The tip of the row under the mouse: the row's reason.
  void OnGetInfoTip(NMLVGETINFOTIPW& tip);
  // Item states changed; the focus may have moved.
  void OnStateChanged();

 private:
  const Finding& CachedRow(std::size_t index);

  HWND hwnd_ = nullptr;
  MainPresenter* presenter_ = nullptr;
  // The list asks for the three cells of a row one after another.
  std::size_t cachedIndex_ = static_cast<std::size_t>(-1);
  Finding cachedRow_;
};

}  // namespace lindqua
