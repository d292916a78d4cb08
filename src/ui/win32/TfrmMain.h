#pragma once
// The main window: banner, section tree, progress group with the results
// list, buttons and detail line, status panel, menus. Its state and
// decisions live in MainPresenter; this class only creates the controls,
// routes the messages and implements MainView on them.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/MainLayout.h"
#include "app/MainPresenter.h"
#include "platform/ProcessRunner.h"
#include "ui/win32/ResultsListControl.h"
#include "ui/win32/SectionTreeControl.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

inline constexpr wchar_t MainWindowClassName[] = L"Quorvane Made by Vantorel Software";

struct MainWindowDeps {
  ScanPlatform platform;
  MainWindowSettings& settings;
  TOptionsSetting& options;
  IgnoreFilter ignoreFilter = {};
  ScannerLookup scanners = DefaultScannerLookup();
  std::vector<std::string> arguments = {};
  bool quitOnClose = true;  // the program's window ends the message loop
  // Fixing and the registry-editor jump; without them those commands stay disabled.
  const AnsiCodePage* ansi = nullptr;
  ProcessRunner* processes = nullptr;
  std::function<bool(HWND owner)> restorePointDialog = {};
};

class TfrmMain : public MainView {
 public:
  explicit TfrmMain(MainWindowDeps deps);
  ~TfrmMain() override;
  TfrmMain(const TfrmMain&) = delete;
  TfrmMain& operator=(const TfrmMain&) = delete;

  // Registers the class, creates the window and shows it with `showCommand`.
  [[nodiscard]] bool Create(int showCommand);
  HWND Handle() const noexcept { return hwnd_; }
  HACCEL Accelerators() const noexcept { return accelerators_; }
  // The message loop's keyboard step: the shortcuts, then Tab and Shift+Tab
  // between the tree, the list and the buttons. True when the message was
  // used up and must not be dispatched.
  bool TranslateKeys(MSG& message);
  MainPresenter& Presenter() noexcept { return *presenter_; }
  SectionTreeControl& Tree() noexcept { return tree_; }
  ResultsListControl& List() noexcept { return list_; }

  // MainView
  void SetStatusLine(const std::string& text) override;
  void SetScanButtonCaption(const std::string& text) override;
  void SetScanTitle(const std::string& text, bool visible) override;
  void SetDetailLine(const std::string& text, bool visible) override;
  void SetProgressVisible(bool visible) override;
  void SetProgressPosition(int position) override;
  void SetProgressCaption(const std::string& text, bool visible) override;
  void SetProgressTimer(bool enabled) override;
  void SetNodeState(int imageIndex, int state) override;
  void SetRowCount(std::size_t count, bool redrawAll) override;
  int SelectedRow() override;
  int FocusedRow() override;
  void SetReasonLine(const std::string& text) override;
  int ListWidth() override;
  void SetColumnWidths(int problem, int data, int registryKey) override;
  void FitColumnsToText() override;
  int ShowMessage(const std::string& text, unsigned flags) override;
  void ApplyBounds(int left, int top, int width, int height) override;
  void Maximize() override;
  WindowPlacement Placement() override;
  void PostCleanOnce() override;
  void HideForUnattended() override;
  void CloseWindow() override;
  void PostScanMessage(unsigned message, std::uint32_t scanId) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void CreateFonts();
  void OnDpiChanged(int dpi, const RECT& suggested);
  RECT LogoArea() const;
  void ArrangeControls();
  std::optional<LRESULT> OnLifeMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnDrawMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam);
  std::optional<LRESULT> OnProgramMessage(UINT message, WPARAM wParam);
  void ShowListMenu(POINT point);
  void OnCommand(int id);
  bool OnScanCommand(int id);
  bool OnSelectionCommand(int id);
  bool OnDialogCommand(int id);
  void OnPageCommand(int id);
  LRESULT OnNotify(NMHDR& header);
  void UpdateMenu(HMENU menu);
  void PaintBanner(HDC dc);
  bool OverLogo(WPARAM wParam, LPARAM lParam) const;
  void OpenPage(const std::wstring& address);
  void OpenHelp();
  HWND Control(int id) const { return ::GetDlgItem(hwnd_, id); }
  void SetControlText(int id, const std::string& text, bool visible);
  void AddHint(int controlId, UINT textId);
  void CreateReasonLine();

  MainWindowDeps deps_;
  HWND hwnd_ = nullptr;
  HACCEL accelerators_ = nullptr;  // resource: freed with the module
  UniqueMenu popupMenu_;
  UniqueGdiObject font_, titleFont_, labelFont_, bannerBrush_, panelBrush_;
  HICON icon_ = nullptr;  // shared resource icon, never destroyed
  HWND hints_ = nullptr;  // tooltip window, owned by this window and destroyed with it
  SectionTreeControl tree_;
  ResultsListControl list_;
  std::unique_ptr<MainPresenter> presenter_;
  bool closing_ = false;
  int dpi_ = DesignDpi;
};

}  // namespace lindqua
