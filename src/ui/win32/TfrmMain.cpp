#include "ui/win32/TfrmMain.h"

#include <algorithm>
#include <optional>

#include "app/RegeditJump.h"
#include "app/TextReport.h"
#include "ui/win32/AboutDialog.h"
#include "ui/win32/OptionsDialog.h"
#include "ui/win32/RestoreDialog.h"
#include "ui/win32/SaveTextDialog.h"
#include "ui/win32/WindowDpi.h"

#include <commctrl.h>
#include <shellapi.h>

#include "app/WindowMessages.h"
#include "platform/win32/WinText.h"
#include "ui/win32/MainRes.h"

namespace lindqua {

namespace {

constexpr int LogoSize = 41;
constexpr int LogoLeft = 15;
constexpr int LogoTop = 10;

constexpr UINT_PTR ProgressTimerId = 1;
constexpr UINT ProgressTimerMs = 500;
// Posted to itself once the window is shown: the first activation.
constexpr UINT WmFirstActivation = WM_APP + 1;

MainTexts TextsFromResources() {
  MainTexts texts;
  auto load = [](UINT id, std::string& into) {
    const std::wstring text = LoadResString(id);
    if (!text.empty()) into = Narrow(text);
  };
  load(IDS_SCAN, texts.scan);
  load(IDS_CANCEL, texts.cancel);
  load(IDS_SELECT_SECTIONS, texts.selectSections);
  load(IDS_PREPARING, texts.preparing);
  load(IDS_FINISHED, texts.finished);
  load(IDS_LASTFIX, texts.lastFixAt);
  load(IDS_ERRORS_FOUND, texts.errorsFound);
  load(IDS_ERRORS_SELECTED, texts.errorsSelected);
  return texts;
}

void Place(HWND control, const LayoutRect& r) {
  ::SetWindowPos(control, nullptr, r.left, r.top, r.width, r.height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

TfrmMain::TfrmMain(MainWindowDeps deps) : deps_(std::move(deps)) {
  MainPresenterDeps presenterDeps{deps_.platform, *this, deps_.settings, deps_.options};
  presenterDeps.ignoreFilter = deps_.ignoreFilter;
  presenterDeps.scanners = deps_.scanners;
  presenterDeps.arguments = deps_.arguments;
  presenterDeps.ansi = deps_.ansi;
  if (deps_.restorePointDialog)
    presenterDeps.restorePointDialog = [this] { return deps_.restorePointDialog(hwnd_); };
  presenterDeps.texts = TextsFromResources();
  presenter_ = std::make_unique<MainPresenter>(std::move(presenterDeps));
}

TfrmMain::~TfrmMain() {
  if (hwnd_ && ::IsWindow(hwnd_)) {
    closing_ = true;  // a window torn down without WM_CLOSE saves nothing
    ::DestroyWindow(hwnd_);
  }
  presenter_.reset();  // waits for the stopped scan threads
}

bool TfrmMain::Create(int showCommand) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TREEVIEW_CLASSES | ICC_LISTVIEW_CLASSES | ICC_PROGRESS_CLASS |
                                                     ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&controls);
  icon_ = ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_LINDQUA));
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.style = CS_HREDRAW | CS_VREDRAW;
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.hIcon = icon_;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  windowClass.lpszClassName = MainWindowClassName;
  if (!::RegisterClassExW(&windowClass) && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS) return false;

  accelerators_ = ::LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDR_ACCELERATORS));
  popupMenu_.reset(::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_POPUPMENU)));
  const std::wstring caption = LoadResString(IDS_PRODUCT) + L" " + LoadResString(IDS_VERSION);
  // The window starts on the primary monitor, so its DPI is the screen's.
  const int startDpi = DpiOf(nullptr);
  // A small screen at a high scaling is no larger than the window: it keeps
  // the screen's size then, and its layout fits whatever it gets.
  const int width = std::min(ScaleForDpi(MainDesignWidth, startDpi), ::GetSystemMetrics(SM_CXSCREEN));
  const int height = std::min(ScaleForDpi(MainDesignHeight, startDpi), ::GetSystemMetrics(SM_CYSCREEN));
  const int left = (::GetSystemMetrics(SM_CXSCREEN) - width) / 2;
  const int top = (::GetSystemMetrics(SM_CYSCREEN) - height) / 2;
  HWND hwnd = ::CreateWindowExW(0, MainWindowClassName, caption.c_str(), WS_OVERLAPPEDWINDOW,
                                left, top, width, height, nullptr,
                                ::LoadMenuW(instance, MAKEINTRESOURCEW(IDR_MAINMENU)), instance, this);
  if (!hwnd) return false;
  ArrangeControls();
  presenter_->FormShow();
  ::ShowWindow(hwnd_, showCommand);
  ::UpdateWindow(hwnd_);
  ::PostMessageW(hwnd_, WmFirstActivation, 0, 0);
  return true;
}

LRESULT CALLBACK TfrmMain::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  TfrmMain* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<TfrmMain*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<TfrmMain*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);
  // No exception leaves the window procedure: a failed command leaves the
  // window as far as it got.
  try {
    return self->HandleMessage(message, wParam, lParam);
  } catch (...) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

// The fonts are given in pixels at the design DPI and made for the window's
// DPI, so text grows with the layout around it.
void TfrmMain::CreateFonts() {
  auto make = [this](int designHeight, int weight, const wchar_t* face) {
    return ::CreateFontW(ScaleForDpi(designHeight, dpi_), 0, 0, 0, weight, 0, 0, 0, DEFAULT_CHARSET, 0, 0,
                         CLEARTYPE_QUALITY, 0, face);
  };
  font_.reset(make(-11, FW_NORMAL, L"MS Sans Serif"));
  titleFont_.reset(make(-16, FW_BOLD, L"MS Sans Serif"));
  labelFont_.reset(make(-11, FW_BOLD, L"Verdana"));
}

void TfrmMain::CreateControls() {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  dpi_ = DpiOf(hwnd_);
  CreateFonts();
  bannerBrush_.reset(::CreateSolidBrush(RGB(24, 64, 140)));
  panelBrush_.reset(::CreateSolidBrush(RGB(255, 255, 255)));
  auto make = [&](const wchar_t* cls, const std::wstring& text, DWORD style, DWORD exStyle, int id) {
    HWND control = ::CreateWindowExW(exStyle, cls, text.c_str(), WS_CHILD | style, 0, 0, 10, 10, hwnd_,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
    ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return control;
  };
  HWND title = make(L"STATIC", LoadResString(IDS_PRODUCT), WS_VISIBLE, 0, IDC_TITLE);
  ::SendMessageW(title, WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
  make(L"STATIC", LoadResString(IDS_TITLE_HINT), WS_VISIBLE, 0, IDC_TITLE_HINT);
  HWND label = make(L"STATIC", LoadResString(IDS_LABEL_SECTIONS), WS_VISIBLE, 0, IDC_LABEL_SECTIONS);
  ::SendMessageW(label, WM_SETFONT, reinterpret_cast<WPARAM>(labelFont_.get()), FALSE);
  make(L"STATIC", LoadResString(IDS_SCANNING), 0, 0, IDC_SCAN_TITLE);
  make(L"BUTTON", LoadResString(IDS_PROGRESS), WS_VISIBLE | WS_CLIPSIBLINGS | BS_GROUPBOX, 0, IDC_GROUPBOX);
  HWND progress = make(PROGRESS_CLASSW, L"", 0, 0, IDC_PROGRESS);
  ::SendMessageW(progress, PBM_SETRANGE32, 0, MainPresenter::ProgressMax);
  make(L"STATIC", L"", SS_CENTER, 0, IDC_PROGRESS_CAPTION);
  tree_.Create(hwnd_, IDC_TREE, presenter_->Tree(),
               [this](int imageIndex) { presenter_->tvRegistryStateImageClick(imageIndex); }, dpi_);
  ::SendMessageW(tree_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  list_.Create(hwnd_, IDC_LIST, *presenter_, dpi_);
  ::SendMessageW(list_.Handle(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
  make(L"EDIT", L"", ES_READONLY | ES_AUTOHSCROLL, 0, IDC_MEMO);
  CreateReasonLine();
  make(L"BUTTON", LoadResString(IDS_SCAN), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_SCAN);
  HWND fix = make(L"BUTTON", LoadResString(IDS_FIXERRORS), WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, 0, IDC_FIXERRORS);
  ::EnableWindow(fix, deps_.ansi != nullptr);
  AddHint(IDC_SCAN, IDS_SCAN_HINT);
  AddHint(IDC_FIXERRORS, IDS_FIX_HINT);
  make(L"STATIC", L"", WS_VISIBLE | WS_CLIPSIBLINGS, WS_EX_STATICEDGE, IDC_PANEL);
  make(L"STATIC", L"", WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, IDC_STATUSBAR);
  make(L"STATIC", LoadResString(IDS_HOMEPAGE_URL), WS_VISIBLE | SS_NOTIFY | SS_RIGHT, 0, IDC_CHECKUPDATE);
}

void TfrmMain::CreateReasonLine() {
  // Reasons quote registry data: no "&" may turn into an underline, and a
  // long one ends in an ellipsis (the row's info tip shows it whole).
  HWND line = ::CreateWindowExW(0, L"STATIC", L"",
                                WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_ENDELLIPSIS | SS_NOPREFIX, 0, 0,
                                10, 10, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_REASON)),
                                ::GetModuleHandleW(nullptr), nullptr);
  ::SendMessageW(line, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void TfrmMain::AddHint(int controlId, UINT textId) {
  if (!hints_) {
    hints_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
  }
  std::wstring text = LoadResString(textId);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V1_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = reinterpret_cast<UINT_PTR>(Control(controlId));
  tool.lpszText = text.data();
  ::SendMessageW(hints_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
}

void TfrmMain::ArrangeControls() {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  const MainLayout l = lindqua::ArrangeControls(client.right, client.bottom, dpi_);
  Place(Control(IDC_TITLE), l.lTitle);
  Place(Control(IDC_TITLE_HINT), l.lTitleHint);
  Place(Control(IDC_LABEL_SECTIONS), l.label1);
  Place(tree_.Handle(), l.tvRegistry);
  Place(Control(IDC_SCAN_TITLE), l.lScanTitle);
  Place(Control(IDC_GROUPBOX), l.groupBox1);
  Place(Control(IDC_PROGRESS), l.progressBar1);
  Place(Control(IDC_PROGRESS_CAPTION), l.progressCaption);
  Place(list_.Handle(), l.lvRegistryData);
  Place(Control(IDC_REASON), l.lReason);
  Place(Control(IDC_MEMO), l.memo1);
  Place(Control(IDC_SCAN), l.bScan);
  Place(Control(IDC_FIXERRORS), l.bFixErrors);
  Place(Control(IDC_PANEL), l.panel1);
  Place(Control(IDC_STATUSBAR), l.lStatusBar);
  Place(Control(IDC_CHECKUPDATE), l.lCheckUpdate);
  RECT banner{0, 0, client.right, ScaleForDpi(MainBannerHeight, dpi_)};
  ::InvalidateRect(hwnd_, &banner, FALSE);
}

RECT TfrmMain::LogoArea() const {
  const int left = ScaleForDpi(LogoLeft, dpi_);
  const int top = ScaleForDpi(LogoTop, dpi_);
  const int size = ScaleForDpi(LogoSize, dpi_);
  return RECT{left, top, left + size, top + size};
}

// The window moved to a monitor of another DPI, or that monitor's scaling
// changed: new fonts for every control, the size the system suggests, and
// the layout and columns for the new DPI.
void TfrmMain::OnDpiChanged(int dpi, const RECT& suggested) {
  if (dpi <= 0 || dpi == dpi_) return;
  const int oldDpi = dpi_;
  dpi_ = dpi;
  UniqueGdiObject oldFont(font_.release()), oldTitle(titleFont_.release()), oldLabel(labelFont_.release());
  CreateFonts();
  for (HWND child = ::GetWindow(hwnd_, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    const auto current = reinterpret_cast<HGDIOBJ>(::SendMessageW(child, WM_GETFONT, 0, 0));
    HGDIOBJ replacement = current == oldTitle.get() ? titleFont_.get()
                          : current == oldLabel.get() ? labelFont_.get()
                                                      : font_.get();
    ::SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(replacement), FALSE);
  }
  tree_.SetDpi(dpi_);
  list_.RescaleColumns(oldDpi, dpi_);
  ::SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  ArrangeControls();
  ::InvalidateRect(hwnd_, nullptr, TRUE);
}

// The logo, like a link, shows the hand cursor.
bool TfrmMain::OverLogo(WPARAM wParam, LPARAM lParam) const {
  if (reinterpret_cast<HWND>(wParam) != hwnd_ || LOWORD(lParam) != HTCLIENT) return false;
  POINT point{};
  const RECT logo = LogoArea();
  return ::GetCursorPos(&point) && ::ScreenToClient(hwnd_, &point) && ::PtInRect(&logo, point);
}

void TfrmMain::PaintBanner(HDC dc) {
  RECT client{};
  ::GetClientRect(hwnd_, &client);
  RECT banner{0, 0, client.right, ScaleForDpi(MainBannerHeight, dpi_)};
  ::FillRect(dc, &banner, static_cast<HBRUSH>(bannerBrush_.get()));
  const RECT logo = LogoArea();
  if (icon_) {
    ::DrawIconEx(dc, logo.left, logo.top, icon_, logo.right - logo.left, logo.bottom - logo.top, 0, nullptr,
                 DI_NORMAL);
  }
}

LRESULT TfrmMain::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (const auto result = OnLifeMessage(message, wParam, lParam)) return *result;
  if (const auto result = OnDrawMessage(message, wParam, lParam)) return *result;
  if (const auto result = OnInputMessage(message, wParam, lParam)) return *result;
  if (const auto result = OnProgramMessage(message, wParam)) return *result;
  return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

// Creation, size, activation and closing.
std::optional<LRESULT> TfrmMain::OnLifeMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      CreateControls();
      presenter_->FormCreate();
      return 0;
    case WM_SIZE:
      ArrangeControls();
      return 0;
    case WM_GETMINMAXINFO: {
      auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
      info->ptMinTrackSize = POINT{ScaleForDpi(MainMinWidth, dpi_), ScaleForDpi(MainMinHeight, dpi_)};
      return 0;
    }
    case WM_DPICHANGED:
      OnDpiChanged(HIWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
      return 0;
    case WM_ACTIVATE:
      if (LOWORD(wParam) != WA_INACTIVE) presenter_->FormActivate();
      return std::nullopt;  // the default handling still moves the focus
    case WmFirstActivation:
      presenter_->FormActivate();
      return 0;
    case WM_CLOSE:
      if (!closing_) {
        closing_ = true;
        presenter_->FormClose();
      }
      ::DestroyWindow(hwnd_);
      return 0;
    case WM_DESTROY:
      ::KillTimer(hwnd_, ProgressTimerId);
      if (deps_.quitOnClose) ::PostQuitMessage(0);
      return 0;
    default:
      return std::nullopt;
  }
}

// The banner, the panel colours and the cursor over links.
std::optional<LRESULT> TfrmMain::OnDrawMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = ::BeginPaint(hwnd_, &paint);
      PaintBanner(dc);
      ::EndPaint(hwnd_, &paint);
      return 0;
    }
    case WM_CTLCOLORSTATIC: {
      HDC dc = reinterpret_cast<HDC>(wParam);
      const int id = ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam));
      if (id == IDC_TITLE || id == IDC_TITLE_HINT) {
        ::SetTextColor(dc, RGB(255, 255, 255));
        ::SetBkColor(dc, RGB(24, 64, 140));
        return reinterpret_cast<LRESULT>(bannerBrush_.get());
      }
      if (id == IDC_PANEL || id == IDC_STATUSBAR || id == IDC_CHECKUPDATE) {
        ::SetTextColor(dc, id == IDC_CHECKUPDATE ? RGB(0, 0, 255) : RGB(0, 0, 0));
        ::SetBkColor(dc, RGB(255, 255, 255));
        return reinterpret_cast<LRESULT>(panelBrush_.get());
      }
      return std::nullopt;
    }
    case WM_SETCURSOR:
      if (reinterpret_cast<HWND>(wParam) == Control(IDC_CHECKUPDATE) || OverLogo(wParam, lParam)) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      return std::nullopt;
    default:
      return std::nullopt;
  }
}

// Clicks, commands, notifications and menus.
std::optional<LRESULT> TfrmMain::OnInputMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      // The logo opens the home page.
      const POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      const RECT logo = LogoArea();
      if (::PtInRect(&logo, point)) OpenPage(LoadResString(IDS_HOMEPAGE_URL));
      return 0;
    }
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wParam) != list_.Handle() || !popupMenu_) return std::nullopt;
      ShowListMenu(POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))});
      return 0;
    case WM_INITMENUPOPUP:
      UpdateMenu(reinterpret_cast<HMENU>(wParam));
      return 0;
    default:
      return std::nullopt;
  }
}

// The scan's posted messages, the progress timer and the second start.
std::optional<LRESULT> TfrmMain::OnProgramMessage(UINT message, WPARAM wParam) {
  switch (message) {
    case WM_TIMER:
      if (wParam == ProgressTimerId) presenter_->Timer1Timer();
      return 0;
    case MSG_SECTION_DONE:
      presenter_->OnSectionDone(static_cast<std::uint32_t>(wParam));
      return 0;
    case MSG_SCAN_FINISHED:
      presenter_->OnScanFinished(static_cast<std::uint32_t>(wParam));
      return 0;
    case MSG_CLEAN_ONCE:
      presenter_->OnCleanOnce();
      return 0;
    case MSG_SHOW_INSTANCE:
      ::ShowWindow(hwnd_, SW_SHOW);
      if (::IsIconic(hwnd_)) ::ShowWindow(hwnd_, SW_RESTORE);
      ::SetForegroundWindow(hwnd_);
      return 0;
    default:
      return std::nullopt;
  }
}

// The list's popup menu; a menu key press gives no point, so it opens at the list's corner.
void TfrmMain::ShowListMenu(POINT point) {
  if (point.x == -1 && point.y == -1) {
    RECT rect{};
    ::GetWindowRect(list_.Handle(), &rect);
    point = POINT{rect.left + 8, rect.top + 8};
  }
  ::TrackPopupMenu(::GetSubMenu(popupMenu_.get(), 0), TPM_RIGHTBUTTON, point.x, point.y, 0, hwnd_, nullptr);
}

bool TfrmMain::TranslateKeys(MSG& message) {
  if (!hwnd_) return false;
  if (accelerators_ && ::TranslateAcceleratorW(hwnd_, accelerators_, &message)) return true;
  // Only Tab is taken from the window's own keys; Enter, Escape, arrows and
  // access letters keep the meaning the controls and the menu give them.
  if ((message.message == WM_KEYDOWN || message.message == WM_KEYUP || message.message == WM_CHAR) &&
      message.wParam == VK_TAB && ::IsChild(hwnd_, message.hwnd)) {
    return ::IsDialogMessageW(hwnd_, &message) != FALSE;
  }
  return false;
}

void TfrmMain::OnCommand(int id) {
  if (OnScanCommand(id) || OnSelectionCommand(id) || OnDialogCommand(id)) return;
  OnPageCommand(id);
}

// Scan, fix and exit.
bool TfrmMain::OnScanCommand(int id) {
  switch (id) {
    case IDC_SCAN:
    case IDM_SCAN:
      presenter_->bScanClick();
      return true;
    case IDC_FIXERRORS:
    case IDM_FIXERRORS:
      presenter_->bFixErrorsClick();
      return true;
    case IDM_EXIT:
      ::SendMessageW(hwnd_, WM_CLOSE, 0, 0);
      return true;
    default:
      return false;
  }
}

// The check boxes of the results list.
bool TfrmMain::OnSelectionCommand(int id) {
  switch (id) {
    case IDM_SELECT_ITEM: presenter_->aSelectItemExecute(); return true;
    case IDM_DESELECT_ITEM: presenter_->aDeselectItemExecute(); return true;
    case IDM_SELECT_TYPE: presenter_->aSelectAllTypeExecute(); return true;
    case IDM_DESELECT_TYPE: presenter_->aUnselectAllTypeExecute(); return true;
    case IDM_SELECT_ALL: presenter_->aSelectAllExecute(); return true;
    case IDM_SELECT_NONE: presenter_->aSelectNoneExecute(); return true;
    default: return false;
  }
}

// Commands that open a dialog or another program.
bool TfrmMain::OnDialogCommand(int id) {
  switch (id) {
    case IDM_SETTINGS:
      ShowOptionsDialog(hwnd_, deps_.platform.files, deps_.options);
      return true;
    case IDM_RESTORE:
      if (deps_.processes)
        ShowRestoreWindow(hwnd_, deps_.platform.files, deps_.platform.facts, *deps_.processes, deps_.options.BackupFolder);
      return true;
    case IDM_SAVE_TEXT:
      if (deps_.ansi && presenter_->ShownRows() > 0) {
        Win32SaveReportView view(hwnd_);
        aSaveTextExecute(presenter_->Results().Rows(), view, deps_.platform.files, *deps_.ansi);
      }
      return true;
    case IDM_ABOUT:
      if (deps_.processes) ShowAboutBox(hwnd_, *deps_.processes);
      return true;
    case IDM_REGEDIT:
      if (deps_.processes && presenter_->HasSelectedRow()) {
        const int row = SelectedRow();
        if (row >= 0) aOpenRegeditExecute(presenter_->RowAt(static_cast<std::size_t>(row)), deps_.platform.registry,
                                          *deps_.processes);
      }
      return true;
    default:
      return false;
  }
}

// The help file and the web pages.
void TfrmMain::OnPageCommand(int id) {
  switch (id) {
    case IDM_HELP:
      OpenHelp();
      break;
    case IDM_HOMEPAGE:
    case IDC_CHECKUPDATE:
      OpenPage(LoadResString(IDS_HOMEPAGE_URL));
      break;
    case IDM_DONATE:
      OpenPage(LoadResString(IDS_DONATE_URL));
      break;
    default:
      break;
  }
}

LRESULT TfrmMain::OnNotify(NMHDR& header) {
  if (header.hwndFrom == list_.Handle()) {
    switch (header.code) {
      case LVN_GETDISPINFOW:
        list_.OnGetDispInfo(reinterpret_cast<NMLVDISPINFOW&>(header));
        return 0;
      case NM_CLICK:
        list_.OnClick(reinterpret_cast<NMITEMACTIVATE&>(header));
        return 0;
      case LVN_KEYDOWN:
        list_.OnKeyDown(reinterpret_cast<NMLVKEYDOWN&>(header));
        return 0;
      case LVN_GETINFOTIPW:
        list_.OnGetInfoTip(reinterpret_cast<NMLVGETINFOTIPW&>(header));
        return 0;
      case LVN_ITEMCHANGED:
      case LVN_ODSTATECHANGED:
        list_.OnStateChanged();
        return 0;
      default:
        return 0;
    }
  }
  if (header.hwndFrom == tree_.Handle()) {
    // The tree stays fully expanded: a collapse is refused, and one that a
    // tree view carries out regardless is undone at once.
    const auto& change = reinterpret_cast<NMTREEVIEWW&>(header);
    if (header.code == TVN_ITEMEXPANDINGW) return (change.action & TVE_COLLAPSE) ? TRUE : FALSE;
    if (header.code == TVN_ITEMEXPANDEDW && (change.action & TVE_COLLAPSE)) {
      TreeView_Expand(tree_.Handle(), change.itemNew.hItem, TVE_EXPAND);
    }
  }
  return 0;
}

void TfrmMain::UpdateMenu(HMENU menu) {
  const UINT onSelection = presenter_->HasSelectedRow() ? MF_ENABLED : MF_GRAYED;
  for (int id : {IDM_SELECT_ITEM, IDM_DESELECT_ITEM, IDM_SELECT_TYPE, IDM_DESELECT_TYPE}) {
    ::EnableMenuItem(menu, static_cast<UINT>(id), MF_BYCOMMAND | onSelection);
  }
  ::EnableMenuItem(menu, IDM_FIXERRORS, MF_BYCOMMAND | (presenter_->CanFix() ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, IDM_REGEDIT, MF_BYCOMMAND | (deps_.processes ? onSelection : MF_GRAYED));
  ::EnableMenuItem(menu, IDM_RESTORE, MF_BYCOMMAND | (deps_.processes ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, IDM_ABOUT, MF_BYCOMMAND | (deps_.processes ? MF_ENABLED : MF_GRAYED));
  ::EnableMenuItem(menu, IDM_SAVE_TEXT,
                   MF_BYCOMMAND | (deps_.ansi && presenter_->ShownRows() > 0 ? MF_ENABLED : MF_GRAYED));
}

void TfrmMain::OpenPage(const std::wstring& address) {
  ::ShellExecuteW(hwnd_, L"open", address.c_str(), nullptr, nullptr, SW_SHOW);
}

void TfrmMain::OpenHelp() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, length);
  file = file.substr(0, file.find_last_of(L'\\') + 1) + LoadResString(IDS_HELP_FILE);
  OpenPage(file);
}

void TfrmMain::SetControlText(int id, const std::string& text, bool visible) {
  HWND control = Control(id);
  ::SetWindowTextW(control, Wide(text).c_str());
  ::ShowWindow(control, visible ? SW_SHOWNA : SW_HIDE);
}

void TfrmMain::SetStatusLine(const std::string& text) { ::SetWindowTextW(Control(IDC_STATUSBAR), Wide(text).c_str()); }
void TfrmMain::SetScanButtonCaption(const std::string& text) {
  ::SetWindowTextW(Control(IDC_SCAN), Wide(text).c_str());
}
void TfrmMain::SetScanTitle(const std::string& text, bool visible) { SetControlText(IDC_SCAN_TITLE, text, visible); }
void TfrmMain::SetDetailLine(const std::string& text, bool visible) { SetControlText(IDC_MEMO, text, visible); }
void TfrmMain::SetProgressVisible(bool visible) { ::ShowWindow(Control(IDC_PROGRESS), visible ? SW_SHOWNA : SW_HIDE); }
void TfrmMain::SetProgressPosition(int position) { ::SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, position, 0); }
void TfrmMain::SetProgressCaption(const std::string& text, bool visible) {
  SetControlText(IDC_PROGRESS_CAPTION, text, visible);
  if (visible) ::UpdateWindow(Control(IDC_PROGRESS_CAPTION));
}
void TfrmMain::SetProgressTimer(bool enabled) {
  if (enabled) {
    ::SetTimer(hwnd_, ProgressTimerId, ProgressTimerMs, nullptr);
  } else {
    ::KillTimer(hwnd_, ProgressTimerId);
  }
}
void TfrmMain::SetNodeState(int imageIndex, int state) { tree_.SetNodeState(imageIndex, state); }
void TfrmMain::SetRowCount(std::size_t count, bool redrawAll) { list_.SetRowCount(count, redrawAll); }
int TfrmMain::SelectedRow() { return list_.SelectedRow(); }
int TfrmMain::FocusedRow() { return list_.FocusedRow(); }
void TfrmMain::SetReasonLine(const std::string& text) {
  ::SetWindowTextW(Control(IDC_REASON), Wide(text).c_str());
}
int TfrmMain::ListWidth() { return list_.Width(); }
void TfrmMain::SetColumnWidths(int problem, int data, int registryKey) {
  list_.SetColumnWidths(problem, data, registryKey);
}
void TfrmMain::FitColumnsToText() { list_.FitColumnsToText(); }

int TfrmMain::ShowMessage(const std::string& text, unsigned flags) {
  return ::MessageBoxW(hwnd_, Wide(text).c_str(), LoadResString(IDS_PRODUCT).c_str(), flags);
}

void TfrmMain::ApplyBounds(int left, int top, int width, int height) {
  // Bounds stored at a lower scaling (or the design size of a first start)
  // would cut the grown controls off: the window is at least its minimum.
  width = std::max(width, ScaleForDpi(MainMinWidth, dpi_));
  height = std::max(height, ScaleForDpi(MainMinHeight, dpi_));
  ::SetWindowPos(hwnd_, nullptr, left, top, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}
void TfrmMain::Maximize() { ::ShowWindow(hwnd_, SW_MAXIMIZE); }

WindowPlacement TfrmMain::Placement() {
  WindowPlacement bounds;
  WINDOWPLACEMENT placement{};
  placement.length = sizeof placement;
  RECT rect{};
  ::GetWindowRect(hwnd_, &rect);
  if (::GetWindowPlacement(hwnd_, &placement)) {
    bounds.placementRead = true;
    bounds.showCmd = static_cast<int>(placement.showCmd);
    // A minimized or maximized window stores its normal bounds: a minimized
    // rectangle lies far off-screen, a maximized one forgets the size to
    // restore. The normal position is in work-area coordinates.
    rect = placement.rcNormalPosition;
    if (HMONITOR monitor = ::MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY)) {
      MONITORINFO info{};
      info.cbSize = sizeof info;
      if (::GetMonitorInfoW(monitor, &info)) {
        ::OffsetRect(&rect, info.rcWork.left - info.rcMonitor.left, info.rcWork.top - info.rcMonitor.top);
      }
    }
  }
  bounds.left = rect.left;
  bounds.top = rect.top;
  bounds.width = rect.right - rect.left;
  bounds.height = rect.bottom - rect.top;
  return bounds;
}

void TfrmMain::PostCleanOnce() { ::PostMessageW(hwnd_, MSG_CLEAN_ONCE, 0, 0); }
void TfrmMain::HideForUnattended() { ::ShowWindow(hwnd_, SW_HIDE); }
void TfrmMain::CloseWindow() { ::PostMessageW(hwnd_, WM_CLOSE, 0, 0); }
void TfrmMain::PostScanMessage(unsigned message, std::uint32_t scanId) {
  ::PostMessageW(hwnd_, message, scanId, 0);
}

}  // namespace lindqua
