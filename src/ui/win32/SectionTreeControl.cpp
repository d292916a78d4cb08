#include "ui/win32/SectionTreeControl.h"

#include <commctrl.h>

#include "app/MainLayout.h"
#include "platform/win32/WinText.h"

namespace lindqua {

namespace {
constexpr int StateImageSize = 16;
}

SectionTreeControl::~SectionTreeControl() {
  if (hwnd_) ::RemoveWindowSubclass(hwnd_, SubclassProc, 1);
}

void SectionTreeControl::BuildStateImages(int dpi) {
  // Index 0 is the blank "no state" image; 1 unchecked, 2 checked.
  const int size = ScaleForDpi(StateImageSize, dpi);
  const int inset = ScaleForDpi(1, dpi);
  stateImages_.reset(ImageList_Create(size, size, ILC_COLOR32, 3, 0));
  const UniqueScreenDc screen(::GetDC(nullptr));
  const UniqueMemoryDc memory(::CreateCompatibleDC(screen.get()));
  HDC dc = memory.get();
  for (int index = 0; index < 3; ++index) {
    UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen.get(), size, size));
    HGDIOBJ old = ::SelectObject(dc, bitmap.get());
    RECT all{0, 0, size, size};
    ::FillRect(dc, &all, ::GetSysColorBrush(COLOR_WINDOW));
    if (index > 0) {
      RECT box{inset, inset, size - 2 * inset, size - 2 * inset};
      ::DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_FLAT | (index == 2 ? DFCS_CHECKED : 0));
    }
    ::SelectObject(dc, old);
    ImageList_Add(stateImages_.get(), static_cast<HBITMAP>(bitmap.get()), nullptr);
  }
}

void SectionTreeControl::SetDpi(int dpi) {
  // The list takes the new pictures before the old ones are destroyed.
  UniqueImageList old(stateImages_.release());
  BuildStateImages(dpi);
  TreeView_SetImageList(hwnd_, stateImages_.get(), TVSIL_STATE);
  TreeView_SetIndent(hwnd_, ScaleForDpi(19, dpi));
  ::SendMessageW(hwnd_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
}

bool SectionTreeControl::Create(HWND parent, int id, const SectionTree& tree,
                                std::function<void(int)> onStateClick, int dpi) {
  onStateClick_ = std::move(onStateClick);
  hwnd_ = ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_TREEVIEWW, L"",
                            WS_CHILD | WS_VISIBLE | WS_TABSTOP | TVS_HASLINES | TVS_SHOWSELALWAYS, 0, 0, 190, 400,
                            parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                            ::GetModuleHandleW(nullptr), nullptr);
  if (!hwnd_) return false;
  BuildStateImages(dpi);
  TreeView_SetImageList(hwnd_, stateImages_.get(), TVSIL_STATE);
  TreeView_SetIndent(hwnd_, ScaleForDpi(19, dpi));
  TreeView_SetTextColor(hwnd_, RGB(0, 0, 255));
  for (int node = 1; node <= SectionTree::NodeCount; ++node) {
    const SectionNode& info = tree.Node(node);
    const std::wstring caption = Wide(info.caption);
    TVINSERTSTRUCTW insert{};
    insert.hParent = info.parent ? items_[static_cast<std::size_t>(info.parent)] : TVI_ROOT;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM | TVIF_STATE;
    insert.item.pszText = const_cast<wchar_t*>(caption.c_str());
    insert.item.lParam = node;
    insert.item.stateMask = TVIS_STATEIMAGEMASK;
    insert.item.state = INDEXTOSTATEIMAGEMASK(info.state);
    items_[static_cast<std::size_t>(node)] =
        reinterpret_cast<HTREEITEM>(::SendMessageW(hwnd_, TVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&insert)));
  }
  for (int node = 1; node <= SectionTree::NodeCount; ++node) {
    if (tree.FirstChild(node)) TreeView_Expand(hwnd_, items_[static_cast<std::size_t>(node)], TVE_EXPAND);
  }
  // Expanding in the still tiny control scrolled it; start at the root, and
  // at the left edge, where the root's check box is (making the deepest
  // captions visible scrolls sideways, by more the larger the scaling).
  TreeView_EnsureVisible(hwnd_, items_[1]);
  ::SendMessageW(hwnd_, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 0), 0);
  ::SetWindowSubclass(hwnd_, SubclassProc, 1, reinterpret_cast<DWORD_PTR>(this));
  return true;
}

void SectionTreeControl::SetNodeState(int imageIndex, int state) {
  if (imageIndex < 1 || imageIndex > SectionTree::NodeCount) return;
  TreeView_SetItemState(hwnd_, Item(imageIndex), INDEXTOSTATEIMAGEMASK(state), TVIS_STATEIMAGEMASK);
}

int SectionTreeControl::NodeState(int imageIndex) const {
  const UINT state = TreeView_GetItemState(hwnd_, Item(imageIndex), TVIS_STATEIMAGEMASK);
  return static_cast<int>((state & TVIS_STATEIMAGEMASK) >> 12);
}

int SectionTreeControl::NodeOf(HTREEITEM handle) const {
  if (!handle) return 0;
  TVITEMW item{};
  item.mask = TVIF_PARAM;
  item.hItem = handle;
  ::SendMessageW(hwnd_, TVM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
  return static_cast<int>(item.lParam);
}

int SectionTreeControl::SelectedNode() const { return NodeOf(TreeView_GetSelection(hwnd_)); }

int SectionTreeControl::StateImageHit(POINT point) const {
  TVHITTESTINFO hit{};
  hit.pt = point;
  TreeView_HitTest(hwnd_, &hit);
  if (!(hit.flags & TVHT_ONITEMSTATEICON)) return 0;
  return NodeOf(hit.hItem);
}

LRESULT CALLBACK SectionTreeControl::SubclassProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                                  DWORD_PTR data) {
  auto* self = reinterpret_cast<SectionTreeControl*>(data);
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN: {
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (const int node = self->StateImageHit(point)) {
        try {
          if (self->onStateClick_) self->onStateClick_(node);
        } catch (...) {
        }
        return 0;
      }
      break;
    }
    case WM_KEYDOWN:
      // Space toggles the focused node's box, with the rules of a click on it.
      if (wParam == VK_SPACE) {
        if (const int node = self->SelectedNode()) {
          try {
            if (self->onStateClick_) self->onStateClick_(node);
          } catch (...) {
          }
        }
        return 0;
      }
      break;
    case WM_CHAR:
      if (wParam == L' ') return 0;  // no incremental search on the blank
      break;
    default:
      break;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace lindqua
