#include "ui/win32/AboutDialog.h"

#include "platform/win32/WinText.h"
#include "ui/win32/DialogsRes.h"
#include "ui/win32/ModalDialog.h"
#include "ui/win32/WindowDpi.h"
#include "ui/win32/UiHandles.h"

namespace lindqua {

namespace {

constexpr int ClientWidth = 360;
constexpr int ClientHeight = 249;
constexpr int BannerHeight = 50;
constexpr COLORREF BannerColour = RGB(0x1F, 0x4E, 0x8C);
constexpr COLORREF LinkColour = RGB(0, 0, 0xFF);

struct Link {
  int control;
  UINT address;
};
constexpr Link Links[] = {
    {IDC_ABOUT_EMAIL, IDS_ABOUT_EMAIL_URL},
    {IDC_ABOUT_HOMEPAGE, IDS_ABOUT_HOMEPAGE_URL},
    {IDC_ABOUT_MAKERPAGE, IDS_ABOUT_MAKERPAGE_URL},
};

const Link* LinkOf(int control) {
  for (const Link& link : Links) {
    if (link.control == control) return &link;
  }
  return nullptr;
}

class TfrmAbout : public ModalDialog {
 public:
  explicit TfrmAbout(ProcessRunner& shell) : shell_(shell) {}
  void Run(HWND owner) { RunModal(owner, IDD_ABOUT); }

 private:
  void OnInit() override {
    SetClientSize(Handle(), ClientWidth, ClientHeight);
    CentreOnOwner(Handle(), ::GetWindow(Handle(), GW_OWNER));

    banner_.reset(::CreateSolidBrush(BannerColour));
    LOGFONTW font{};
    auto dialogFont = reinterpret_cast<HFONT>(::SendMessageW(Handle(), WM_GETFONT, 0, 0));
    if (dialogFont && ::GetObjectW(dialogFont, sizeof font, &font)) {
      LOGFONTW title = font;
      title.lfWeight = FW_BOLD;
      title.lfHeight = -ScaleFor(Handle(), 16);
      titleFont_.reset(::CreateFontIndirectW(&title));
      ::SendMessageW(Item(IDC_ABOUT_TITLE), WM_SETFONT, reinterpret_cast<WPARAM>(titleFont_.get()), FALSE);
      font.lfUnderline = TRUE;
      linkFont_.reset(::CreateFontIndirectW(&font));
      for (const Link& link : Links) {
        ::SendMessageW(Item(link.control), WM_SETFONT, reinterpret_cast<WPARAM>(linkFont_.get()), FALSE);
      }
    }
    ::SetWindowTextW(Item(IDC_ABOUT_TITLE), LoadResString(IDS_DIALOG_CAPTION).c_str());
  }

  INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
    switch (message) {
      case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          EndModal(IDOK);
        } else if (const Link* link = LinkOf(LOWORD(wParam)); link && HIWORD(wParam) == STN_CLICKED) {
          shell_.ShellOpen(Narrow(LoadResString(link->address)), "");  // a failed start is not reported
        }
        return TRUE;
      case WM_ERASEBKGND:
        PaintBackground(reinterpret_cast<HDC>(wParam));
        ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
        return TRUE;
      case WM_CTLCOLORSTATIC:
        return ColourOf(reinterpret_cast<HDC>(wParam), ::GetDlgCtrlID(reinterpret_cast<HWND>(lParam)));
      case WM_SETCURSOR:
        if (LinkOf(::GetDlgCtrlID(reinterpret_cast<HWND>(wParam)))) {
          ::SetCursor(::LoadCursorW(nullptr, IDC_HAND));
          ::SetWindowLongPtrW(Handle(), DWLP_MSGRESULT, TRUE);
          return TRUE;
        }
        return FALSE;
      default:
        return FALSE;
    }
  }

  // The banner is the window's own background, so no control can cover the title.
  void PaintBackground(HDC dc) {
    RECT client{};
    ::GetClientRect(Handle(), &client);
    ::FillRect(dc, &client, ::GetSysColorBrush(COLOR_BTNFACE));
    RECT band{0, 0, client.right, ScaleFor(Handle(), BannerHeight)};
    ::FillRect(dc, &band, static_cast<HBRUSH>(banner_.get()));
  }

  // The title sits on the banner in white; the links are blue.
  INT_PTR ColourOf(HDC dc, int control) {
    if (control == IDC_ABOUT_TITLE) {
      ::SetTextColor(dc, RGB(0xFF, 0xFF, 0xFF));
      ::SetBkColor(dc, BannerColour);
      return reinterpret_cast<INT_PTR>(banner_.get());
    }
    if (LinkOf(control)) {
      ::SetTextColor(dc, LinkColour);
      ::SetBkMode(dc, TRANSPARENT);
      return reinterpret_cast<INT_PTR>(::GetSysColorBrush(COLOR_BTNFACE));
    }
    return FALSE;
  }

  ProcessRunner& shell_;
  UniqueGdiObject banner_;
  UniqueGdiObject titleFont_;
  UniqueGdiObject linkFont_;
};

}  // namespace

void ShowAboutBox(HWND owner, ProcessRunner& shell) {
  TfrmAbout box(shell);
  box.Run(owner);
}

}  // namespace lindqua
