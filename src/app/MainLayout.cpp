#include "app/MainLayout.h"

namespace lindqua {

MainLayout ArrangeControls(int w, int h) {
  MainLayout l;
  l.imgTitle = {0, 0, w, MainBannerHeight};
  l.lTitle = {66, 8, 300, 20};
  l.lTitleHint = {66, 30, 300, 16};
  l.panel1 = {0, 0, w, 21};
  l.panel1.top = h - l.panel1.height;
  l.label1 = {8, 58, 190, 16};
  l.tvRegistry = {8, 78, 190, 0};
  l.tvRegistry.height = h - l.tvRegistry.top - l.panel1.height - 10;
  l.lScanTitle = {206, 58, 400, 16};
  l.groupBox1 = {206, 78, 0, 0};
  l.groupBox1.height = h - l.groupBox1.top - l.panel1.height - 10;
  l.groupBox1.width = w - l.groupBox1.left - 6;

  // Inside the group box, relative to it.
  LayoutRect progress{8, 20, l.groupBox1.width - 16, 18};
  LayoutRect list{8, 44, progress.width, 0};
  LayoutRect scan{0, 0, 90, 25};
  LayoutRect fix{0, 0, 90, 25};
  scan.top = l.groupBox1.height - scan.height - 10;
  scan.left = list.left;
  // The details line under the list (the reason of the focused row) takes
  // its height from the list; the buttons and the scan's detail line stay.
  LayoutRect reason{list.left, 0, list.width, 17};
  list.height = scan.top - list.top - 10 - reason.height - 4;
  reason.top = list.top + list.height + 4;
  fix.top = scan.top;
  fix.left = list.left + list.width - fix.width;
  scan.left = fix.left - scan.width - 20;
  LayoutRect memo{8, reason.top + reason.height + 8, 0, 17};
  memo.width = scan.left - memo.left - 10;

  auto inGroup = [&](LayoutRect r) {
    r.left += l.groupBox1.left;
    r.top += l.groupBox1.top;
    return r;
  };
  l.progressBar1 = inGroup(progress);
  l.progressCaption = inGroup({progress.left + (progress.width - 120) / 2, progress.top + 1, 120, progress.height - 2});
  l.lvRegistryData = inGroup(list);
  l.lReason = inGroup(reason);
  l.bScan = inGroup(scan);
  l.bFixErrors = inGroup(fix);
  l.memo1 = inGroup(memo);

  LayoutRect checkUpdate{0, 3, 220, 15};
  checkUpdate.left = l.panel1.width - checkUpdate.width - 8;
  l.lCheckUpdate = {checkUpdate.left, l.panel1.top + checkUpdate.top, checkUpdate.width, checkUpdate.height};
  l.lStatusBar = {4, l.panel1.top + 3, checkUpdate.left - 12, 15};
  return l;
}

}  // namespace lindqua
