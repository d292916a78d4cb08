#pragma once
// Where the main window's controls go for a client area of W x H. The group
// box and the status panel keep their children in client coordinates here,
// so the Win32 window can place every control directly. Sizes are pixels at
// every scaling: the controls' fonts are given in pixels too, so text keeps
// fitting its line when the system's scaling grows.
namespace lindqua {

struct LayoutRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const LayoutRect&) const = default;
};

struct MainLayout {
  LayoutRect imgTitle, lTitle, lTitleHint, label1, tvRegistry, lScanTitle, groupBox1, progressBar1, progressCaption,
      lvRegistryData, lReason, memo1, bScan, bFixErrors, panel1, lStatusBar, lCheckUpdate;
};

inline constexpr int MainDesignWidth = 704;
inline constexpr int MainDesignHeight = 507;
// The blue title banner across the top of the window.
inline constexpr int MainBannerHeight = 50;
inline constexpr int MainMinWidth = 610;
inline constexpr int MainMinHeight = 400;

MainLayout ArrangeControls(int clientWidth, int clientHeight);

}  // namespace lindqua
