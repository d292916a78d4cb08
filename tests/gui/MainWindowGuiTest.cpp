// The main window under Wine: created in-process, driven by the messages a
// user's clicks and keys cause, and read back from its controls.
#include <algorithm>
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

#include "engine/ScanSection.h"
#include "gui/DialogDriver.h"
#include "platform/win32/WinText.h"
#include "gui/GuiDriver.h"
#include "platform/memory/MemoryFileSystem.h"
#include "platform/memory/MemoryRegistry.h"
#include "platform/memory/MemorySystemFacts.h"
#include "support/FakeMainView.h"
#include "ui/win32/MainRes.h"
#include "ui/win32/TfrmMain.h"

namespace lindqua::test {

namespace {

class MainWindowGuiTest : public ::testing::Test {
 protected:
  void SetUp() override {
    MainWindowDeps deps{ScanPlatform{registry, files, facts}, settings, options};
    deps.scanners = [this](int section) { return Scanner(section); };
    deps.quitOnClose = false;
    deps.arguments = Arguments();
    window = std::make_unique<TfrmMain>(std::move(deps));
    ASSERT_TRUE(window->Create(SW_SHOW));
    hwnd = window->Handle();
    list = ::GetDlgItem(hwnd, IDC_LIST);
    tree = ::GetDlgItem(hwnd, IDC_TREE);
    ASSERT_TRUE(PumpUntil([] { return true; }));
  }
  void TearDown() override { window.reset(); }
  virtual std::vector<std::string> Arguments() { return {}; }

  std::function<void(ScanContext&)> Scanner(int section) {
    if (!FindScanSection(section)) return nullptr;
    return [this, section](ScanContext& scan) {
      const int count = section == 9 ? bigSectionRows : 3;
      for (int i = 0; i < count; ++i) {
        scan.AddFinding(FindScanSection(section)->issueCaption, "value " + std::to_string(i),
                        "HKEY_LOCAL_MACHINE\\Software\\S" + std::to_string(section), 1,
                        "Not found: C:\\Gone\\value " + std::to_string(i));
      }
      if (section == holdSection) {
        std::unique_lock lock(holdMutex);
        holding = true;
        holdChanged.notify_all();
        holdChanged.wait(lock, [this] { return released; });
      }
    };
  }
  void Release() {
    std::lock_guard lock(holdMutex);
    released = true;
    holdChanged.notify_all();
  }
  bool Holding() {
    std::lock_guard lock(holdMutex);
    return holding;
  }

  void ClickTreeBox(int node) {
    POINT point{};
    ASSERT_TRUE(TreeStateImagePoint(tree, window->Tree().Item(node), point)) << node << TreeHitDump(node);
    ::SendMessageW(tree, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(point));
    ::SendMessageW(tree, WM_LBUTTONUP, 0, PointParam(point));
  }
  std::string TreeHitDump(int node) {
    RECT rect{};
    TreeView_GetItemRect(tree, window->Tree().Item(node), &rect, FALSE);
    std::string out = " rect " + std::to_string(rect.left) + "," + std::to_string(rect.top) + "," +
                      std::to_string(rect.right) + "," + std::to_string(rect.bottom) + ":";
    for (int x = rect.left; x < rect.right && x < 80; x += 2) {
      TVHITTESTINFO hit{};
      hit.pt = POINT{x, (rect.top + rect.bottom) / 2};
      TreeView_HitTest(tree, &hit);
      out += " " + std::to_string(hit.flags);
    }
    return out;
  }
  void ClickScan() {
    ::SendMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDC_SCAN, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(hwnd, IDC_SCAN)));
  }
  std::string Text(int id) { return TextOf(::GetDlgItem(hwnd, id)); }
  bool WaitIdle() {
    return PumpUntil([this] { return Text(IDC_SCAN) == "Scan" && !window->Presenter().Scanning(); });
  }
  int Rows() { return ListView_GetItemCount(list); }

  MemoryRegistry registry;
  MemoryFileSystem files;
  MemorySystemFacts facts;
  FakeWindowSettings settings;
  TOptionsSetting options;
  std::unique_ptr<TfrmMain> window;
  HWND hwnd = nullptr, list = nullptr, tree = nullptr;
  int bigSectionRows = 3;
  int holdSection = 0;
  std::mutex holdMutex;
  std::condition_variable holdChanged;
  bool holding = false, released = false;
};

TEST_F(MainWindowGuiTest, CreatedWithItsClassCaptionTreeListAndMenus) {
  wchar_t className[128] = {};
  ::GetClassNameW(hwnd, className, 128);
  EXPECT_STREQ(className, L"Quorvane Made by Vantorel Software");
  EXPECT_EQ(TextOf(hwnd), "Vantorel Lindqua 2.1");
  EXPECT_EQ(Text(IDC_TITLE), "Vantorel Lindqua");
  EXPECT_EQ(Text(IDC_TITLE_HINT), "Safely scan and fix your registry errors");
  EXPECT_EQ(Text(IDC_STATUSBAR), "");
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, IDC_PROGRESS)));
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, IDC_MEMO)));
  EXPECT_FALSE(::IsWindowEnabled(::GetDlgItem(hwnd, IDC_FIXERRORS)));

  ASSERT_EQ(TreeView_GetCount(tree), 25u);
  for (int node = 1; node <= 25; ++node) EXPECT_EQ(window->Tree().NodeState(node), 2) << node;
  // Fully expanded, and a collapse is refused.
  HTREEITEM group = window->Tree().Item(2);
  EXPECT_TRUE(TreeView_GetItemState(tree, group, TVIS_EXPANDED) & TVIS_EXPANDED);
  TreeView_SelectItem(tree, group);
  ::SendMessageW(tree, WM_KEYDOWN, VK_SUBTRACT, 0);  // the user's collapse key
  EXPECT_TRUE(TreeView_GetItemState(tree, group, TVIS_EXPANDED) & TVIS_EXPANDED);

  EXPECT_TRUE(::GetWindowLongW(list, GWL_STYLE) & LVS_OWNERDATA);
  const char* headers[] = {"Problem", "Data", "Registry key"};
  for (int column = 0; column < 3; ++column) {
    wchar_t text[64] = {};
    LVCOLUMNW col{};
    col.mask = LVCF_TEXT;
    col.pszText = text;
    col.cchTextMax = 64;
    ASSERT_TRUE(::SendMessageW(list, LVM_GETCOLUMNW, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&col)));
    EXPECT_EQ(std::string(text, text + wcslen(text)), headers[column]);
  }

  HMENU menu = ::GetMenu(hwnd);
  ASSERT_EQ(::GetMenuItemCount(menu), 4);
  HMENU edit = ::GetSubMenu(menu, 2);
  ::SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 2);
  EXPECT_TRUE(::GetMenuState(edit, IDM_SELECT_ITEM, MF_BYCOMMAND) & MF_GRAYED) << "no row selected";
  EXPECT_FALSE(::GetMenuState(edit, IDM_SELECT_ALL, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_TRUE(::GetMenuState(edit, IDM_SAVE_TEXT, MF_BYCOMMAND) & MF_GRAYED);

  MINMAXINFO limits{};
  ::SendMessageW(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&limits));
  EXPECT_EQ(limits.ptMinTrackSize.x, 610);
  EXPECT_EQ(limits.ptMinTrackSize.y, 400);
}

TEST_F(MainWindowGuiTest, ScanFromTheTreeToCheckedRowsAndCounts) {
  ClickTreeBox(1);  // everything off
  for (int node = 1; node <= 25; ++node) ASSERT_EQ(window->Tree().NodeState(node), 1) << node;
  {
    MessageBoxAnswerer answerer(L"Vantorel Lindqua");
    ClickScan();
    EXPECT_TRUE(answerer.Answered());
    EXPECT_EQ(answerer.Text(), "Please select the sections which you want to scan from the left list.");
  }
  EXPECT_FALSE(window->Presenter().Scanning());
  EXPECT_EQ(Rows(), 0);
  ClickTreeBox(7);
  ClickTreeBox(12);
  EXPECT_EQ(window->Tree().NodeState(1), 2);
  EXPECT_EQ(window->Tree().NodeState(2), 1);

  ClickScan();
  ASSERT_TRUE(WaitIdle());
  ASSERT_EQ(Rows(), 6);
  EXPECT_EQ(ListText(list, 0, 0), "Non-existent Shared Dlls");
  EXPECT_EQ(ListText(list, 5, 1), "value 2");
  EXPECT_EQ(ListText(list, 5, 2), "HKEY_LOCAL_MACHINE\\Software\\S12");
  for (int row = 0; row < 6; ++row) EXPECT_EQ(ListCheckState(list, row), 2) << row;
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  6 Errors Selected.");
  EXPECT_EQ(Text(IDC_PROGRESS_CAPTION), "Finished!");
  EXPECT_EQ(::SendMessageW(::GetDlgItem(hwnd, IDC_PROGRESS), PBM_GETPOS, 0, 0), 1000);
  EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(hwnd, IDC_MEMO)));
  SaveWindowShot(hwnd, LINDQUA_BUILD_DIR L"\\mainwin-after-scan.bmp");

  // The Space key toggles the selected row.
  ListView_SetItemState(list, 1, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  ::SendMessageW(list, WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageW(list, WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(ListCheckState(list, 1), 1);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  5 Errors Selected.");

  // A click on a row's box toggles it and refreshes the counts.
  POINT box{};
  ASSERT_TRUE(ListStateImagePoint(list, 3, box));
  ::PostMessageW(list, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(box));
  ::PostMessageW(list, WM_LBUTTONUP, 0, PointParam(box));
  ASSERT_TRUE(PumpUntil([&] { return Text(IDC_STATUSBAR) == " 6 Errors Found,  4 Errors Selected."; },
                        std::chrono::seconds(20)))
      << Text(IDC_STATUSBAR);
  EXPECT_EQ(ListCheckState(list, 3), 1);

  // Menu commands with a selected row.
  ListView_SetItemState(list, 4, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  HMENU edit = ::GetSubMenu(::GetMenu(hwnd), 2);
  ::SendMessageW(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(edit), 2);
  EXPECT_FALSE(::GetMenuState(edit, IDM_SELECT_ITEM, MF_BYCOMMAND) & MF_GRAYED);
  ::SendMessageW(hwnd, WM_COMMAND, IDM_DESELECT_TYPE, 0);  // rows 3..5 are "Invalid Windows Fonts"
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  2 Errors Selected.");
  ::SendMessageW(hwnd, WM_COMMAND, IDM_SELECT_ALL, 0);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  6 Errors Selected.");
  ::SendMessageW(hwnd, WM_COMMAND, IDM_SELECT_NONE, 0);
  EXPECT_EQ(ListCheckState(list, 0), 1);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  0 Errors Selected.");
}

TEST_F(MainWindowGuiTest, FocusedRowsReasonUnderTheListAndTheRowsInfoTip) {
  ClickTreeBox(1);
  ClickTreeBox(7);
  ClickScan();
  ASSERT_TRUE(WaitIdle());
  ASSERT_EQ(Rows(), 3);
  HWND details = ::GetDlgItem(hwnd, IDC_REASON);
  EXPECT_TRUE(::IsWindowVisible(details));
  EXPECT_EQ(Text(IDC_REASON), "") << "no row has the focus yet";

  ListView_SetItemState(list, 2, LVIS_SELECTED | LVIS_FOCUSED, LVIS_SELECTED | LVIS_FOCUSED);
  EXPECT_EQ(Text(IDC_REASON), "Not found: C:\\Gone\\value 2");
  ::SetFocus(list);
  ::SendMessageW(list, WM_KEYDOWN, VK_UP, 0);
  ::SendMessageW(list, WM_KEYUP, VK_UP, 0);
  EXPECT_EQ(Text(IDC_REASON), "Not found: C:\\Gone\\value 1");

  // Under the list, as wide as it, clear of the buttons.
  RECT listRect{}, detailsRect{}, scanRect{};
  ::GetWindowRect(list, &listRect);
  ::GetWindowRect(details, &detailsRect);
  ::GetWindowRect(::GetDlgItem(hwnd, IDC_SCAN), &scanRect);
  EXPECT_GE(detailsRect.top, listRect.bottom);
  EXPECT_LE(detailsRect.bottom, scanRect.top);
  EXPECT_EQ(detailsRect.right - detailsRect.left, listRect.right - listRect.left);
  ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  SaveWindowShot(hwnd, LINDQUA_BUILD_DIR L"\\mainwin-reason.bmp");

  // The list asks its parent for the tip of the row under the mouse, with
  // the label's own text already in the buffer; the reason replaces it.
  EXPECT_TRUE(ListView_GetExtendedListViewStyle(list) & LVS_EX_INFOTIP);
  wchar_t buffer[INFOTIPSIZE] = L"Non-existent Shared Dlls";
  NMLVGETINFOTIPW tip{};
  tip.hdr = NMHDR{list, static_cast<UINT_PTR>(IDC_LIST), static_cast<UINT>(LVN_GETINFOTIPW)};
  tip.pszText = buffer;
  tip.cchTextMax = INFOTIPSIZE;
  tip.iItem = 0;
  tip.iSubItem = 2;
  ::SendMessageW(hwnd, WM_NOTIFY, IDC_LIST, reinterpret_cast<LPARAM>(&tip));
  EXPECT_STREQ(buffer, L"Not found: C:\\Gone\\value 0");
}

TEST_F(MainWindowGuiTest, CancelStopsTheScanAndKeepsTheFinishedRows) {
  holdSection = 8;
  ClickTreeBox(1);
  ClickTreeBox(7);
  ClickTreeBox(8);
  ClickTreeBox(9);
  ClickScan();
  EXPECT_EQ(Text(IDC_SCAN), "Cancel");
  ASSERT_TRUE(PumpUntil([this] { return Holding() && Rows() == 6; })) << Rows();
  EXPECT_TRUE(::IsWindowVisible(::GetDlgItem(hwnd, IDC_SCAN_TITLE)));
  ClickScan();
  Release();
  EXPECT_EQ(Text(IDC_SCAN), "Scan");
  ASSERT_EQ(Rows(), 6) << "every row shown before the Cancel stays";
  EXPECT_EQ(ListCheckState(list, 5), 2);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  6 Errors Selected.");
  // Nothing of the stopped scan arrives later: its thread ends without
  // another row or message.
  ASSERT_TRUE(PumpUntil([this] { return window->Presenter().AllScanThreadsEnded(); }));
  ASSERT_TRUE(PumpUntil([] { return true; }));
  EXPECT_EQ(Rows(), 6);
  EXPECT_EQ(window->Presenter().Model().Count(), 6u);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 6 Errors Found,  6 Errors Selected.");
}

TEST_F(MainWindowGuiTest, HundredThousandRowsArriveInBatches) {
  bigSectionRows = 100000;
  ClickTreeBox(1);
  ClickTreeBox(9);
  const auto start = std::chrono::steady_clock::now();
  ClickScan();
  ASSERT_TRUE(WaitIdle());
  const auto elapsed = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  ASSERT_EQ(Rows(), 100000);
  EXPECT_EQ(ListText(list, 99999, 1), "value 99999");
  EXPECT_EQ(ListCheckState(list, 99999), 2);
  EXPECT_EQ(Text(IDC_STATUSBAR), " 100000 Errors Found,  100000 Errors Selected.");
  std::printf("100,000 rows from the click to the finished handling: %lld ms\n",
              static_cast<long long>(elapsed.count()));
}

// Real key presses through the system's input queue: down in order, up in reverse.
void PressKeys(std::initializer_list<WORD> keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = key;
    inputs.push_back(input);
  }
  for (auto key = keys.end(); key != keys.begin();) {
    INPUT input{};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = *--key;
    input.ki.dwFlags = KEYEVENTF_KEYUP;
    inputs.push_back(input);
  }
  ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

TEST_F(MainWindowGuiTest, TabShiftTabSpaceAndMenuAccessKeysFromTheKeyboard) {
  // The program's loop: the window's keyboard step before dispatching.
  auto pump = [this](const std::function<bool()>& done) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    while (!done()) {
      if (std::chrono::steady_clock::now() > deadline) return false;
      MSG message;
      while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (window->TranslateKeys(message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
      }
      ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    return true;
  };
  ::SetForegroundWindow(hwnd);
  ::SetFocus(tree);
  ASSERT_TRUE(pump([&] { return ::GetFocus() == tree; }));

  HWND scan = ::GetDlgItem(hwnd, IDC_SCAN);
  PressKeys({VK_TAB});
  EXPECT_TRUE(pump([&] { return ::GetFocus() == list; })) << "Tab leaves the tree for the list";
  PressKeys({VK_TAB});
  EXPECT_TRUE(pump([&] { return ::GetFocus() == scan; })) << "then the Scan button";
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(pump([&] { return ::GetFocus() == list; })) << "Shift+Tab goes back";
  PressKeys({VK_SHIFT, VK_TAB});
  EXPECT_TRUE(pump([&] { return ::GetFocus() == tree; }));

  // Space on the focused node acts as a click on its box, group rules included.
  TreeView_SelectItem(tree, window->Tree().Item(2));
  PressKeys({VK_SPACE});
  EXPECT_TRUE(pump([&] { return window->Tree().NodeState(2) == 1; })) << "Space unchecks the node";
  for (int child : {3, 4, 5, 6}) EXPECT_EQ(window->Tree().NodeState(child), 1) << child;
  PressKeys({VK_SPACE});
  EXPECT_TRUE(pump([&] { return window->Tree().NodeState(2) == 2 && window->Tree().NodeState(3) == 2; }));

  // The four top menus carry access keys for Alt.
  HMENU bar = ::GetMenu(hwnd);
  const char* names[] = {"&File", "&Action", "&Edit", "&Help"};
  for (int i = 0; i < 4; ++i) {
    wchar_t text[32] = {};
    ::GetMenuStringW(bar, static_cast<UINT>(i), text, 32, MF_BYPOSITION);
    EXPECT_EQ(Narrow(text), names[i]);
  }
}

TEST_F(MainWindowGuiTest, TheLogoAt15By10ShowsTheHandCursor) {
  const HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  struct Case {
    POINT point;
    bool onLogo;
  };
  for (const Case& c : {Case{{20, 48}, true}, Case{{50, 12}, true}, Case{{20, 7}, false}, Case{{60, 30}, false}}) {
    SCOPED_TRACE(std::to_string(c.point.x) + "," + std::to_string(c.point.y));
    POINT screen = c.point;
    ::ClientToScreen(hwnd, &screen);
    ASSERT_TRUE(::SetCursorPos(screen.x, screen.y));
    ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
    ::SendMessageW(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    EXPECT_EQ(::GetCursor() == hand, c.onLogo);
  }
}

// Moved to a monitor at 150%: the size the system suggests, the layout for
// 144 DPI, fonts half as large again, columns that keep their share; and
// back at 100% everything as it was.
TEST_F(MainWindowGuiTest, MovedToAMonitorOfAnotherScalingItLaysItselfOutAgain) {
  const auto fontHeight = [](HWND control) {
    LOGFONTW font{};
    ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font.lfHeight;
  };
  const auto placed = [this](int id) {
    RECT rect{};
    ::GetWindowRect(::GetDlgItem(hwnd, id), &rect);
    ::MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&rect), 2);
    return LayoutRect{rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top};
  };
  const int column = ListView_GetColumnWidth(list, 1);
  const LONG designFont = fontHeight(list);
  ASSERT_EQ(designFont, -11);
  for (const int dpi : {144, 96}) {
    SCOPED_TRACE(dpi);
    // No bigger than the system lets a window grow on this screen (the test
    // display may be smaller than the scaled design size).
    const int width = std::min(ScaleForDpi(MainDesignWidth, dpi), ::GetSystemMetrics(SM_CXMAXTRACK));
    const int height = std::min(ScaleForDpi(MainDesignHeight, dpi), ::GetSystemMetrics(SM_CYMAXTRACK));
    RECT suggested{40, 30, 40 + width, 30 + height};
    ::SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    RECT frame{};
    ::GetWindowRect(hwnd, &frame);
    EXPECT_EQ(frame.left, 40);
    EXPECT_EQ(frame.right - frame.left, suggested.right - suggested.left);
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const MainLayout l = ArrangeControls(client.right, client.bottom, dpi);
    EXPECT_EQ(placed(IDC_SCAN), l.bScan);
    EXPECT_EQ(placed(IDC_LIST), l.lvRegistryData);
    EXPECT_EQ(placed(IDC_STATUSBAR), l.lStatusBar);
    EXPECT_EQ(fontHeight(list), ScaleForDpi(designFont, dpi));
    EXPECT_EQ(fontHeight(::GetDlgItem(hwnd, IDC_TITLE)), ScaleForDpi(-16, dpi)) << "the title keeps its own font";
    EXPECT_EQ(ListView_GetColumnWidth(list, 1), ScaleForDpi(column, dpi));
  }
}

TEST_F(MainWindowGuiTest, ClosedMinimizedOrMaximizedItStoresTheNormalBounds) {
  for (const int show : {SW_MINIMIZE, SW_MAXIMIZE}) {
    SCOPED_TRACE(show);
    FakeWindowSettings stored;
    MainWindowDeps deps{ScanPlatform{registry, files, facts}, stored, options};
    deps.quitOnClose = false;
    TfrmMain other(std::move(deps));
    ASSERT_TRUE(other.Create(SW_SHOW));
    ::SetWindowPos(other.Handle(), nullptr, 120, 90, 720, 530, SWP_NOZORDER);
    ::ShowWindow(other.Handle(), show);
    ASSERT_TRUE(PumpUntil([&] { return show == SW_MINIMIZE ? ::IsIconic(other.Handle()) : ::IsZoomed(other.Handle()); }));
    ::SendMessageW(other.Handle(), WM_CLOSE, 0, 0);
    ASSERT_EQ(stored.saves, 1);
    EXPECT_EQ(stored.savedPlacement.showCmd, show == SW_MINIMIZE ? SW_SHOWMINIMIZED : SW_SHOWMAXIMIZED);
    EXPECT_EQ(stored.savedPlacement.left, 120);
    EXPECT_EQ(stored.savedPlacement.top, 90);
    EXPECT_EQ(stored.savedPlacement.width, 720);
    EXPECT_EQ(stored.savedPlacement.height, 530);
  }
}

TEST_F(MainWindowGuiTest, CloseDuringAScanStopsItAndSavesOnce) {
  holdSection = 7;
  ClickTreeBox(1);
  ClickTreeBox(7);
  ClickScan();
  ASSERT_TRUE(PumpUntil([this] { return Holding(); }));
  ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
  Release();
  EXPECT_FALSE(::IsWindow(hwnd));
  ASSERT_EQ(settings.saves, 1);
  EXPECT_TRUE(settings.saved.NodeSelected[7]);
  EXPECT_FALSE(settings.saved.NodeSelected[8]);
  EXPECT_TRUE(settings.savedPlacement.placementRead);
  EXPECT_EQ(settings.savedPlacement.width, 704);
}

class UnattendedGuiTest : public MainWindowGuiTest {
 protected:
  std::vector<std::string> Arguments() override { return {"-CleanOnce"}; }
};

TEST_F(UnattendedGuiTest, ScansEverySectionAndClosesOnItsOwn) {
  ASSERT_TRUE(PumpUntil([this] { return !::IsWindow(hwnd); }));
  EXPECT_EQ(settings.saves, 1);
  const auto rows = window->Presenter().Model().Rows();
  EXPECT_EQ(rows.size(), 23u * 3u);
  for (const Finding& row : rows) EXPECT_TRUE(row.checked);
}

}  // namespace
}  // namespace lindqua::test
