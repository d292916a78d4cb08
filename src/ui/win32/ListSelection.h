#pragma once
// What the dialogs with a plain report list need from its notifications.
#include <windows.h>
#include <commctrl.h>

#include <optional>

namespace lindqua {

// The row now selected (-1 for none) when this notification says the list's
// selection changed; nullopt for every other notification.
inline std::optional<int> ChangedSelection(const NMHDR& header) {
  if (header.code != LVN_ITEMCHANGED) return std::nullopt;
  const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
  if (!(change.uChanged & LVIF_STATE) || !((change.uOldState ^ change.uNewState) & LVIS_SELECTED))
    return std::nullopt;
  return ListView_GetNextItem(header.hwndFrom, -1, LVNI_SELECTED);
}

}  // namespace lindqua
