// The about box under Wine: its texts, its size, and the addresses its three
// link labels hand to the shell when clicked.
#include <windows.h>

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

#include "gui/DialogDriver.h"
#include "ui/win32/AboutDialog.h"
#include "ui/win32/DialogsRes.h"

namespace lindqua::test {

namespace {

class RecordingShell : public ProcessRunner {
 public:
  std::unique_ptr<RunningProcess> StartHidden(std::string_view) override { return nullptr; }
  bool ShellOpen(std::string_view file, std::string_view parameters) override {
    std::lock_guard lock(mutex_);
    opened_.push_back(std::string(file) + "|" + std::string(parameters));
    return true;
  }
  std::vector<std::string> Opened() {
    std::lock_guard lock(mutex_);
    return opened_;
  }

 private:
  std::mutex mutex_;
  std::vector<std::string> opened_;
};

}  // namespace

TEST(AboutDialogGui, ShowsVersionAndOpensEachLink) {
  RecordingShell shell;
  DialogScript script([&shell](DialogScript& s) {
    HWND box = WaitForDialog(WithControl(IDC_ABOUT_VERSION));
    s.Check(box != nullptr, "the about box appeared");
    if (!box) return;
    s.Check(TextOf(box) == "About Lindqua", "caption: " + TextOf(box));
    s.Check(TextOf(::GetDlgItem(box, IDC_ABOUT_TITLE)) == "Vantorel Lindqua", "title");
    s.Check(TextOf(::GetDlgItem(box, IDC_ABOUT_VERSION)) == "Version: 2.1   Bulid 20140701", "version");
    RECT client{};
    ::GetClientRect(box, &client);
    s.Check(client.right == 360 && client.bottom == 249,
            "client area " + std::to_string(client.right) + " x " + std::to_string(client.bottom));
    int clicks = 0;
    for (const int link : {IDC_ABOUT_EMAIL, IDC_ABOUT_HOMEPAGE, IDC_ABOUT_MAKERPAGE}) {
      HWND label = ::GetDlgItem(box, link);
      ::PostMessageW(label, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
      ::PostMessageW(label, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
      ++clicks;
      s.Check(WaitFor([&] { return static_cast<int>(shell.Opened().size()) == clicks; }),
              "link " + std::to_string(link) + " opens once");
    }
    Click(box, IDOK);
  });
  ShowAboutBox(nullptr, shell);
  EXPECT_EQ(script.Failures(), "");
  EXPECT_EQ(shell.Opened(), (std::vector<std::string>{"mailto:support@example.com|",
                                                      "https://www.example.com/lindqua/|",
                                                      "https://www.example.com/|"}));
}

}  // namespace lindqua::test
