// The main window's layout at the design size and at the minimum size.
#include <gtest/gtest.h>

#include "app/MainLayout.h"

namespace lindqua::test {

namespace {

int Right(const LayoutRect& r) { return r.left + r.width; }
int Bottom(const LayoutRect& r) { return r.top + r.height; }

TEST(MainLayoutTest, ControlsFollowTheClientArea) {
  for (auto [w, h] : {std::pair{688, 449}, std::pair{594, 342}, std::pair{1200, 900}}) {
    SCOPED_TRACE(std::to_string(w) + "x" + std::to_string(h));
    const MainLayout l = ArrangeControls(w, h);
    EXPECT_EQ(l.imgTitle, (LayoutRect{0, 0, w, 50}));
    EXPECT_EQ(l.panel1, (LayoutRect{0, h - 21, w, 21}));
    EXPECT_EQ(Bottom(l.tvRegistry), h - 21 - 10);
    EXPECT_EQ(Bottom(l.groupBox1), h - 21 - 10);
    EXPECT_EQ(Right(l.groupBox1), w - 6);
    // Inside the group box: bar and list share the width, the buttons sit
    // 10 pixels above its bottom with Fix Errors flush right and Scan 20 to its left.
    EXPECT_EQ(l.progressBar1.width, l.groupBox1.width - 16);
    EXPECT_EQ(l.lvRegistryData.width, l.progressBar1.width);
    EXPECT_EQ(Bottom(l.bScan), Bottom(l.groupBox1) - 10);
    EXPECT_EQ(l.bFixErrors.top, l.bScan.top);
    EXPECT_EQ(Right(l.bFixErrors), Right(l.lvRegistryData));
    EXPECT_EQ(Right(l.bScan) + 20, l.bFixErrors.left);
    // The details line sits under the list, as wide as it, 10 above the
    // buttons; the scan's detail line keeps its place beside the buttons.
    EXPECT_EQ(l.lReason.top, Bottom(l.lvRegistryData) + 4);
    EXPECT_EQ(l.lReason.left, l.lvRegistryData.left);
    EXPECT_EQ(l.lReason.width, l.lvRegistryData.width);
    EXPECT_EQ(Bottom(l.lReason) + 10, l.bScan.top);
    EXPECT_EQ(l.memo1.top, Bottom(l.lReason) + 8);
    EXPECT_EQ(Right(l.memo1) + 10, l.bScan.left);
    EXPECT_EQ(Right(l.lCheckUpdate), w - 8);
    EXPECT_GT(l.lvRegistryData.height, 0);
  }
}

TEST(MainLayoutTest, DesignPixelsScaleForTheMonitorsDpi) {
  const struct {
    int pixels, dpi, expected;
  } cases[] = {
      {11, 96, 11},  {11, 144, 17}, {-11, 144, -17}, {25, 120, 31}, {50, 192, 100}, {1, 144, 2},
      {50, 0, 50},   {50, -96, 50}, {50, 1 << 30, 50},  // no monitor has these: the design size stays
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ScaleForDpi(c.pixels, c.dpi), c.expected) << c.pixels << " at " << c.dpi;
  }
  EXPECT_EQ(RescaleForDpi(150, 144, 192), 200) << "a column moved from 150% to 200%";
  EXPECT_EQ(RescaleForDpi(200, 192, 96), 100);
  EXPECT_EQ(RescaleForDpi(1 << 30, 96, 192), 1 << 30) << "a size too large to grow keeps its value";
}

// At every scaling, from the minimum size up, the controls keep their order
// and gaps: nothing overlaps, nothing leaves the client area, and the texts'
// lines grow with their fonts.
TEST(MainLayoutTest, NothingOverlapsOrIsCutOffAtAnyScaling) {
  for (int dpi : {96, 120, 144, 192}) {
    for (auto [w, h] : {std::pair{MainMinWidth - 16, MainMinHeight - 58}, std::pair{688, 449}}) {
      const int cw = ScaleForDpi(w, dpi), ch = ScaleForDpi(h, dpi);
      SCOPED_TRACE(std::to_string(dpi) + " DPI, " + std::to_string(cw) + "x" + std::to_string(ch));
      const MainLayout l = ArrangeControls(cw, ch, dpi);
      EXPECT_EQ(l.imgTitle.height, ScaleForDpi(MainBannerHeight, dpi));
      EXPECT_EQ(l.bScan.height, ScaleForDpi(25, dpi));
      EXPECT_EQ(l.lStatusBar.height, ScaleForDpi(15, dpi));
      EXPECT_LE(Bottom(l.lTitleHint), l.imgTitle.height);
      EXPECT_GE(l.label1.top, l.imgTitle.height);
      EXPECT_LE(Right(l.tvRegistry), l.groupBox1.left);
      EXPECT_LT(Bottom(l.progressBar1), l.lvRegistryData.top);
      EXPECT_LT(Bottom(l.lvRegistryData), l.lReason.top);
      EXPECT_LT(Bottom(l.lReason), l.bScan.top);
      EXPECT_LT(Right(l.memo1), l.bScan.left);
      EXPECT_GT(l.memo1.width, 0);
      EXPECT_LT(Right(l.bScan), l.bFixErrors.left);
      EXPECT_LE(Bottom(l.bFixErrors), Bottom(l.groupBox1));
      EXPECT_LE(Bottom(l.groupBox1), l.panel1.top);
      EXPECT_LT(Right(l.lStatusBar), l.lCheckUpdate.left);
      EXPECT_GT(l.lStatusBar.width, 0);
      EXPECT_EQ(Right(l.lCheckUpdate), cw - ScaleForDpi(8, dpi));
      EXPECT_GT(l.lvRegistryData.height, l.bScan.height) << "the list keeps room for rows";
    }
  }
}

}  // namespace
}  // namespace lindqua::test
