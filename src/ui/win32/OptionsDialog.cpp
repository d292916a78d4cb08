#include "ui/win32/OptionsDialog.h"

#include <commctrl.h>

#include "app/OptionsPresenter.h"
#include "platform/win32/WinText.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/FolderPicture.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/WindowDpi.h"
#include "ui/win32/RegAddRegistryDialog.h"
#include "ui/win32/SelectFolder.h"
#include "ui/win32/UiHandles.h"
#include "ui/win32/WlmShiftImage.h"
#include "ui/win32/ListSelection.h"

namespace lindqua {

namespace {

constexpr int ClientWidth = 492;
constexpr int ClientHeight = 441;
constexpr int KeysColumnWidth = 320;
constexpr int BrowseSize = 32;

class TfrmOptions : public ModalDialog, private OptionsView {
 public:
  TfrmOptions(FileSystem& files, TOptionsSetting& options) : presenter_(*this, files, options) {}

  INT_PTR Run(HWND owner) {
    if (!RegisterShiftImageClass()) return IDCANCEL;
    return RunModal(owner, IDD_OPTIONS);
  }

 private:
  HWND List() const { return Item(IDC_OPTIONS_KEYS); }

  void OnInit() override {
    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    std::wstring header = LoadResString(IDS_OPTIONS_COL_KEYS);
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = header.data();
    column.cx = ScaleFor(Handle(), KeysColumnWidth);
    ::SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&column));

    LayOutDialog(Handle(), ClientWidth, ClientHeight,
                 {
                  {IDC_OPTIONS_CREATERESTORE, 16, 14, 460, 20},
                  {IDC_OPTIONS_IGNOREREMOVEMEDIA, 16, 40, 460, 20},
                  {IDC_OPTIONS_CHECK64BITPATHS, 16, 66, 460, 20},
                  {IDC_OPTIONS_KEYSLABEL, 16, 98, 360, 16},
                  {IDC_OPTIONS_KEYS, 16, 118, 360, 222},
                  {IDC_OPTIONS_ADD, 392, 118, 84, 26},
                  {IDC_OPTIONS_EDIT, 392, 152, 84, 26},
                  {IDC_OPTIONS_REMOVE, 392, 186, 84, 26},
                  {IDC_OPTIONS_FOLDERLABEL, 16, 352, 360, 16},
                  {IDC_OPTIONS_FOLDER, 16, 372, 360, 24},
                  {IDC_OPTIONS_BROWSE, 392, 368, BrowseSize, BrowseSize},
                  {IDOK, 298, 406, 84, 26},
                  {IDCANCEL, 392, 406, 84, 26},
                 });
    HWND browse = Item(IDC_OPTIONS_BROWSE);
    const int pictureSize = ScaleFor(Handle(), BrowseSize);
    const UniqueGdiObject focused = DrawFolderPicture(pictureSize, true);
    const UniqueGdiObject noFocused = DrawFolderPicture(pictureSize, false);
    ::SendMessageW(browse, SIM_SETFOCUSEDPICTURE, 0, reinterpret_cast<LPARAM>(focused.get()));
    ::SendMessageW(browse, SIM_SETNOFOCUSEDPICTURE, 0, reinterpret_cast<LPARAM>(noFocused.get()));
    presenter_.FormShow();
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDC_OPTIONS_ADD: presenter_.bAddClick(); break;
          case IDC_OPTIONS_EDIT: presenter_.aEditExecute(); break;
          case IDC_OPTIONS_REMOVE: presenter_.aRemoveExecute(); break;
          case IDC_OPTIONS_BROWSE:
            if (HIWORD(wParam) == BN_CLICKED) presenter_.bBrowseClick();
            break;
          case IDOK:
            if (presenter_.bOKClick()) EndModal(IDOK);
            break;
          case IDCANCEL: EndModal(IDCANCEL); break;
          default: break;
        }
        return TRUE;
      case WM_NOTIFY:
        return OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      default:
        return FALSE;
    }
  }

  INT_PTR OnNotify(const NMHDR& header) {
    if (header.idFrom != IDC_OPTIONS_KEYS || publishing_) return FALSE;
    if (const auto selected = ChangedSelection(header)) {
      presenter_.lvKeysSelect(*selected);
    } else if (header.code == NM_DBLCLK) {
      presenter_.aEditExecute();
    }
    return FALSE;
  }

  void SetCreateRestore(bool checked) override {
    ::CheckDlgButton(Handle(), IDC_OPTIONS_CREATERESTORE, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  void SetIgnoreRemoveMedia(bool checked) override {
    ::CheckDlgButton(Handle(), IDC_OPTIONS_IGNOREREMOVEMEDIA, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  void SetCheck64BitPaths(bool checked) override {
    ::CheckDlgButton(Handle(), IDC_OPTIONS_CHECK64BITPATHS, checked ? BST_CHECKED : BST_UNCHECKED);
  }
  void SetOutputFolder(const std::string& folder) override {
    ::SetWindowTextW(Item(IDC_OPTIONS_FOLDER), Wide(folder).c_str());
  }
  bool CreateRestore() override { return ::IsDlgButtonChecked(Handle(), IDC_OPTIONS_CREATERESTORE) == BST_CHECKED; }
  bool IgnoreRemoveMedia() override {
    return ::IsDlgButtonChecked(Handle(), IDC_OPTIONS_IGNOREREMOVEMEDIA) == BST_CHECKED;
  }
  bool Check64BitPaths() override {
    return ::IsDlgButtonChecked(Handle(), IDC_OPTIONS_CHECK64BITPATHS) == BST_CHECKED;
  }
  std::string OutputFolder() override { return Narrow(WindowText(Item(IDC_OPTIONS_FOLDER))); }

  void SetKeyRows(const std::vector<std::string>& rows, int selected) override {
    // The list's own notifications while it is rebuilt must not overwrite
    // the selection the presenter is about to set.
    publishing_ = true;
    HWND list = List();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::wstring text = Wide(rows[i]);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = text.data();
      ::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
    }
    if (selected >= 0) {
      ListView_SetItemState(list, selected, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    publishing_ = false;
  }

  void SetEditRemoveEnabled(bool enabled) override {
    ::EnableWindow(Item(IDC_OPTIONS_EDIT), enabled);
    ::EnableWindow(Item(IDC_OPTIONS_REMOVE), enabled);
  }

  std::optional<std::string> EnterRegistryKey(const std::string& text) override {
    return RunRegAddRegistryDialog(Handle(), text);
  }

  std::optional<std::string> SelectFolder(const std::string& caption) override {
    std::string folder;
    if (!lindqua::SelectFolder(Handle(), caption, L"", folder)) return std::nullopt;
    return folder;
  }

  void ShowError(const std::string& text) override { ShowAppMessage(Handle(), Wide(text), MB_OK | MB_ICONERROR); }
  void FocusOutputFolder() override {
    ::SendMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(IDC_OPTIONS_FOLDER)), TRUE);
  }

  TfrmOptionsPresenter presenter_;
  bool publishing_ = false;
};

}  // namespace

INT_PTR ShowOptionsDialog(HWND owner, FileSystem& files, TOptionsSetting& options) {
  TfrmOptions dialog(files, options);
  return dialog.Run(owner);
}

}  // namespace lindqua
