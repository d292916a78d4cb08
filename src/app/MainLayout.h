#pragma once
// Where the main window's controls go for a client area of W x H. The group
// box and the status panel keep their children in client coordinates here,
// so the Win32 window can place every control directly. Sizes are design
// pixels at 96 DPI, scaled for the monitor's DPI the same way the fonts are,
// so text keeps fitting its line at 150% and 200%.
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

// The DPI at which the design sizes are given (100% scaling).
inline constexpr int DesignDpi = 96;

// A design size in pixels at `dpi`, rounded to the nearest pixel (halves away
// from zero). A DPI the system cannot have (zero, negative, absurdly large)
// counts as the design DPI, so no control collapses or overflows.
int ScaleForDpi(int designPixels, int dpi);
// A size that is already in pixels at `fromDpi`, for the monitor at `toDpi`.
int RescaleForDpi(int pixels, int fromDpi, int toDpi);

MainLayout ArrangeControls(int clientWidth, int clientHeight, int dpi = DesignDpi);

}  // namespace lindqua
