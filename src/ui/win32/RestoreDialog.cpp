#include "ui/win32/RestoreDialog.h"

#include <commctrl.h>

#include "app/BackupHintPresenter.h"
#include "app/RestorePresenter.h"
#include "ui/win32/SelectFolder.h"
#include "platform/win32/Win32AnsiCodePage.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/WinText.h"
#include "ui/win32/BackupHintDialog.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/WindowDpi.h"
#include "ui/win32/UiHandles.h"
#include "ui/win32/ListSelection.h"

namespace lindqua {

namespace {

constexpr int ColumnWidths[] = {230, 130, 0};  // the size stays hidden until dragged open

class TfrmRestore : public ModalDialog, private RestoreView {
 public:
  TfrmRestore(FileSystem& files, SystemFacts& facts, ProcessRunner& processes)
      : processes_(processes),
        presenter_(*this, files, facts, registry_, ansi_, [this](const std::string& commandLine, const std::string& hintText) {
          // The restore window owns the progress dialog, so that it cannot
          // start a second import while one runs.
          Win32ImportDialogHost host(Handle());
          return RunImport(processes_, host, commandLine, hintText);
        }) {}

  void Run(HWND owner, const std::string& backupFolder) {
    backupFolder_ = backupFolder;
    RunModal(owner, IDD_RESTORE);
  }

 private:
  HWND List() const { return Item(IDC_RESTORE_LIST); }

  void OnInit() override {
    ::SetWindowTextW(Handle(), LoadResString(IDS_DIALOG_CAPTION).c_str());
    HWND list = List();
    ListView_SetExtendedListViewStyle(list, LVS_EX_FULLROWSELECT);
    for (int column = 0; column < 3; ++column) {
      std::wstring header = LoadResString(static_cast<UINT>(IDS_RESTORE_COL_FILENAME + column));
      LVCOLUMNW info{};
      info.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
      info.pszText = header.data();
      info.cx = ScaleFor(Handle(), ColumnWidths[column]);
      info.iSubItem = column;
      ::SendMessageW(list, LVM_INSERTCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    }
    presenter_.Show(backupFolder_);
    // The list, not the read-only folder field, takes the keyboard first.
    ::PostMessageW(Handle(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(list), TRUE);
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        switch (LOWORD(wParam)) {
          case IDC_RESTORE_BROWSE: presenter_.Browse(); break;
          case IDC_RESTORE_RESTORE: presenter_.Restore(); break;
          case IDC_RESTORE_DELETE: presenter_.Delete(); break;
          case IDC_RESTORE_CLOSE:
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
    if (header.idFrom != IDC_RESTORE_LIST || publishing_) return FALSE;
    if (const auto selected = ChangedSelection(header)) {
      presenter_.OnSelect(*selected);
    } else if (header.code == NM_DBLCLK) {
      // A double-click on empty space restores nothing.
      if (reinterpret_cast<const NMITEMACTIVATE&>(header).iItem >= 0) presenter_.Restore();
    }
    return FALSE;
  }

  void SetFolderText(const std::string& folder) override {
    ::SetWindowTextW(Item(IDC_RESTORE_FOLDER), Wide(folder).c_str());
  }

  void SetRows(const std::vector<BackupRow>& rows) override {
    // The presenter already knows the selection it is about to set; the
    // list's own notifications while it is rebuilt must not overwrite it.
    publishing_ = true;
    HWND list = List();
    ::SendMessageW(list, WM_SETREDRAW, FALSE, 0);
    ListView_DeleteAllItems(list);
    for (std::size_t i = 0; i < rows.size(); ++i) {
      std::wstring name = Wide(rows[i].fileName);
      std::wstring date = Wide(rows[i].dateText);
      std::wstring size = Wide(rows[i].sizeText);
      LVITEMW item{};
      item.mask = LVIF_TEXT;
      item.iItem = static_cast<int>(i);
      item.pszText = name.data();
      const int index = static_cast<int>(::SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item)));
      SetSubItem(index, 1, date);
      SetSubItem(index, 2, size);
    }
    ::SendMessageW(list, WM_SETREDRAW, TRUE, 0);
    publishing_ = false;
  }

  void SetSubItem(int row, int column, std::wstring& text) {
    LVITEMW item{};
    item.iSubItem = column;
    item.pszText = text.data();
    ::SendMessageW(List(), LVM_SETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
  }

  void SelectRow(int index) override {
    publishing_ = true;
    HWND list = List();
    ListView_SetItemState(list, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    if (index >= 0) {
      ListView_SetItemState(list, index, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
      ListView_EnsureVisible(list, index, FALSE);
    }
    publishing_ = false;
  }

  void SetActionsEnabled(bool enabled) override {
    ::EnableWindow(Item(IDC_RESTORE_RESTORE), enabled);
    ::EnableWindow(Item(IDC_RESTORE_DELETE), enabled);
  }

  void ShowInformation(const std::string& text) override {
    ShowAppMessage(Handle(), Wide(text), MB_OK | MB_ICONINFORMATION);
  }

  std::optional<std::string> SelectFolder(const std::string& caption) override {
    std::string folder;
    if (!lindqua::SelectFolder(Handle(), caption, L"", folder)) return std::nullopt;
    return folder;
  }

  ProcessRunner& processes_;
  // What the restore reads back is this program's own view of the registry.
  Win32Registry registry_;
  Win32AnsiCodePage ansi_;
  TfrmRestorePresenter presenter_;
  std::string backupFolder_;
  bool publishing_ = false;
};

}  // namespace

void ShowRestoreWindow(HWND owner, FileSystem& files, SystemFacts& facts, ProcessRunner& processes,
                       const std::string& backupFolder) {
  TfrmRestore window(files, facts, processes);
  window.Run(owner, backupFolder);
}

}  // namespace lindqua
