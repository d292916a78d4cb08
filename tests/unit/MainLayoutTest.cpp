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

}  // namespace
}  // namespace lindqua::test
