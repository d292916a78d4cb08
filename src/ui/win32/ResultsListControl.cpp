#include "ui/win32/ResultsListControl.h"

#include <algorithm>
#include <vector>

#include "app/MainLayout.h"
#include "platform/win32/WinText.h"
#include "ui/win32/MainRes.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

bool ResultsListControl::Create(HWND parent, int id, MainPresenter& presenter, int dpi) {
  presenter_ = &presenter;
  hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_LISTVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL |
                                LVS_SHOWSELALWAYS,
                            0, 0, 10, 10, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  ListView_SetExtendedListViewStyle(hwnd_, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT | LVS_EX_INFOTIP);
  ListView_SetCallbackMask(hwnd_, LVIS_STATEIMAGEMASK);
  static constexpr int DesignWidths[] = {81, 163, 122};
  for (int column = 0; column < 3; ++column) {
    std::wstring header = LoadResString(static_cast<UINT>(IDS_COL_PROBLEM + column));
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
    col.pszText = header.data();
    col.cx = ScaleForDpi(DesignWidths[column], dpi);
    col.iSubItem = column;
    ::SendMessageW(hwnd_, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col));
  }
  return true;
}

void ResultsListControl::SetRowCount(std::size_t count, bool redrawAll) {
  cachedIndex_ = static_cast<std::size_t>(-1);
  ::SendMessageW(hwnd_, LVM_SETITEMCOUNT, count,
                 redrawAll ? LVSICF_NOSCROLL : (LVSICF_NOSCROLL | LVSICF_NOINVALIDATEALL));
  if (redrawAll) ::InvalidateRect(hwnd_, nullptr, FALSE);
}

int ResultsListControl::SelectedRow() const { return ListView_GetNextItem(hwnd_, -1, LVNI_SELECTED); }

int ResultsListControl::FocusedRow() const { return ListView_GetNextItem(hwnd_, -1, LVNI_FOCUSED); }

int ResultsListControl::Width() const {
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  return rect.right - rect.left;
}

void ResultsListControl::RescaleColumns(int fromDpi, int toDpi) {
  for (int column = 0; column < 3; ++column) {
    ListView_SetColumnWidth(hwnd_, column, RescaleForDpi(ListView_GetColumnWidth(hwnd_, column), fromDpi, toDpi));
  }
}

void ResultsListControl::SetColumnWidths(int problem, int data, int registryKey) {
  ListView_SetColumnWidth(hwnd_, 0, problem);
  ListView_SetColumnWidth(hwnd_, 1, data);
  ListView_SetColumnWidth(hwnd_, 2, registryKey);
}

void ResultsListControl::FitColumnsToText() {
  // The list's own automatic width asks for every cell of every row, which
  // takes seconds at 100,000 rows. Measuring the longest few texts of each
  // column by length finds the same widest cell in all but odd fonts.
  constexpr std::size_t Candidates = 32;
  std::vector<std::string> longest[3];
  presenter_->Results().ReadRows([&](const std::vector<Finding>& rows) {
    std::vector<const std::string*> texts;
    texts.reserve(rows.size());
    for (int column = 0; column < 3; ++column) {
      texts.clear();
      for (const Finding& row : rows) {
        texts.push_back(column == 0 ? &row.caption : column == 1 ? &row.shownText : &row.location);
      }
      const std::size_t keep = std::min(Candidates, texts.size());
      std::partial_sort(texts.begin(), texts.begin() + static_cast<std::ptrdiff_t>(keep), texts.end(),
                        [](const std::string* a, const std::string* b) { return a->size() > b->size(); });
      for (std::size_t i = 0; i < keep; ++i) longest[column].push_back(*texts[i]);
    }
  });
  const WindowDc windowDc(hwnd_);
  HDC dc = windowDc.get();
  HGDIOBJ old = ::SelectObject(dc, reinterpret_cast<HFONT>(::SendMessageW(hwnd_, WM_GETFONT, 0, 0)));
  for (int column = 0; column < 3; ++column) {
    int width = 0;
    for (const std::string& text : longest[column]) {
      const std::wstring wide = Wide(text);
      SIZE size{};
      ::GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size);
      width = std::max(width, static_cast<int>(size.cx));
    }
    // Room for the cell margins, and in the first column for the check box.
    width += column == 0 ? 12 + ::GetSystemMetrics(SM_CXSMICON) + 8 : 12;
    ListView_SetColumnWidth(hwnd_, column, width);
  }
  ::SelectObject(dc, old);
}

const Finding& ResultsListControl::CachedRow(std::size_t index) {
  if (index != cachedIndex_) {
    cachedRow_ = presenter_->RowAt(index);
    cachedIndex_ = index;
  }
  return cachedRow_;
}

void ResultsListControl::OnGetDispInfo(NMLVDISPINFOW& info) {
  LVITEMW& item = info.item;
  if (item.iItem < 0) return;
  const Finding& row = CachedRow(static_cast<std::size_t>(item.iItem));
  if (item.mask & LVIF_TEXT) {
    const std::string& text = item.iSubItem == 0 ? row.caption : item.iSubItem == 1 ? row.shownText : row.location;
    if (item.pszText && item.cchTextMax > 0) {
      const std::wstring wide = Wide(text);
      lstrcpynW(item.pszText, wide.c_str(), item.cchTextMax);
    }
  }
  if (item.mask & LVIF_STATE) {
    item.state = (item.state & ~LVIS_STATEIMAGEMASK) | INDEXTOSTATEIMAGEMASK(row.checked ? 2 : 1);
    item.stateMask |= LVIS_STATEIMAGEMASK;
  }
}

void ResultsListControl::OnClick(const NMITEMACTIVATE& click) {
  LVHITTESTINFO hit{};
  hit.pt = click.ptAction;
  ListView_SubItemHitTest(hwnd_, &hit);
  if (hit.iItem >= 0 && (hit.flags & LVHT_ONITEMSTATEICON)) {
    presenter_->ToggleRowCheck(static_cast<std::size_t>(hit.iItem));
  }
  presenter_->lvRegistryDataClick();
}

void ResultsListControl::OnGetInfoTip(NMLVGETINFOTIPW& tip) {
  if (tip.iItem < 0 || !tip.pszText || tip.cchTextMax <= 0) return;
  const std::string reason = presenter_->ReasonAt(static_cast<std::size_t>(tip.iItem));
  if (reason.empty()) return;  // the list's own text stays
  const std::wstring wide = Wide(reason);
  lstrcpynW(tip.pszText, wide.c_str(), tip.cchTextMax);
}

void ResultsListControl::OnStateChanged() { presenter_->lvRegistryDataFocusChanged(); }

void ResultsListControl::OnKeyDown(const NMLVKEYDOWN& key) {
  if (key.wVKey != VK_SPACE) return;
  const int selected = SelectedRow();
  if (selected < 0) return;
  presenter_->ToggleRowCheck(static_cast<std::size_t>(selected));
  presenter_->lvRegistryDataClick();
}

}  // namespace lindqua
