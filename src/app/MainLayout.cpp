#include "app/MainLayout.h"

#include <limits>

namespace lindqua {

namespace {
constexpr int MaxDpi = 96 * 16;  // far beyond any real monitor's 500%
int UsableDpi(int dpi) { return dpi > 0 && dpi <= MaxDpi ? dpi : DesignDpi; }
}  // namespace

int RescaleForDpi(int pixels, int fromDpi, int toDpi) {
  const long long from = UsableDpi(fromDpi);
  const long long scaled = static_cast<long long>(pixels) * UsableDpi(toDpi);
  const long long rounded = scaled >= 0 ? (scaled + from / 2) / from : -((-scaled + from / 2) / from);
  // A size that would not fit an int after scaling was no real size: it stays.
  if (rounded > std::numeric_limits<int>::max() || rounded < std::numeric_limits<int>::min()) return pixels;
  return static_cast<int>(rounded);
}

int ScaleForDpi(int designPixels, int dpi) { return RescaleForDpi(designPixels, DesignDpi, dpi); }

MainLayout ArrangeControls(int w, int h, int dpi) {
  const auto s = [dpi](int designPixels) { return ScaleForDpi(designPixels, dpi); };
  MainLayout l;
  l.imgTitle = {0, 0, w, s(MainBannerHeight)};
  l.lTitle = {s(66), s(8), s(300), s(20)};
  l.lTitleHint = {s(66), s(30), s(300), s(16)};
  l.panel1 = {0, 0, w, s(21)};
  l.panel1.top = h - l.panel1.height;
  l.label1 = {s(8), s(58), s(190), s(16)};
  l.tvRegistry = {s(8), s(78), s(190), 0};
  l.tvRegistry.height = h - l.tvRegistry.top - l.panel1.height - s(10);
  l.lScanTitle = {s(206), s(58), s(400), s(16)};
  l.groupBox1 = {s(206), s(78), 0, 0};
  l.groupBox1.height = h - l.groupBox1.top - l.panel1.height - s(10);
  l.groupBox1.width = w - l.groupBox1.left - s(6);

  // Inside the group box, relative to it.
  LayoutRect progress{s(8), s(20), l.groupBox1.width - s(16), s(18)};
  LayoutRect list{s(8), s(44), progress.width, 0};
  LayoutRect scan{0, 0, s(90), s(25)};
  LayoutRect fix{0, 0, s(90), s(25)};
  scan.top = l.groupBox1.height - scan.height - s(10);
  scan.left = list.left;
  // The details line under the list (the reason of the focused row) takes
  // its height from the list; the buttons and the scan's detail line stay.
  LayoutRect reason{list.left, 0, list.width, s(17)};
  list.height = scan.top - list.top - s(10) - reason.height - s(4);
  reason.top = list.top + list.height + s(4);
  fix.top = scan.top;
  fix.left = list.left + list.width - fix.width;
  scan.left = fix.left - scan.width - s(20);
  LayoutRect memo{s(8), reason.top + reason.height + s(8), 0, s(17)};
  memo.width = scan.left - memo.left - s(10);

  auto inGroup = [&](LayoutRect r) {
    r.left += l.groupBox1.left;
    r.top += l.groupBox1.top;
    return r;
  };
  l.progressBar1 = inGroup(progress);
  const int captionWidth = s(120);
  l.progressCaption =
      inGroup({progress.left + (progress.width - captionWidth) / 2, progress.top + 1, captionWidth, progress.height - 2});
  l.lvRegistryData = inGroup(list);
  l.lReason = inGroup(reason);
  l.bScan = inGroup(scan);
  l.bFixErrors = inGroup(fix);
  l.memo1 = inGroup(memo);

  LayoutRect checkUpdate{0, s(3), s(220), s(15)};
  checkUpdate.left = l.panel1.width - checkUpdate.width - s(8);
  l.lCheckUpdate = {checkUpdate.left, l.panel1.top + checkUpdate.top, checkUpdate.width, checkUpdate.height};
  l.lStatusBar = {s(4), l.panel1.top + s(3), checkUpdate.left - s(12), s(15)};
  return l;
}

}  // namespace lindqua
