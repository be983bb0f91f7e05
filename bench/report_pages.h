// Report pages for the benchmarks: A4 metafiles (794 x 1123 reference pixels) with a frame, a
// title, a ruled table of 40 text rows and a few filled boxes, about the size of a report page.
// Page n's title ends in n % 10; with `japanese` it carries the heading "雨水利用の月別集計" too.
#pragma once

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/dc.h"
#include "platform/emf_recorder.h"

namespace benchpages {

inline std::string RecordPage(int n, bool japanese = false) {
  platform::EmfRecorder r(794, 1123);
  r.Rectangle(40, 40, 754, 1083);
  r.TextOut(60, 60, u"Monthly balance " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10)));
  if (japanese) r.TextOutA(400, 60, platform::J("雨水利用の月別集計"));
  for (int row = 0; row < 40; ++row) {
    r.MoveTo(60, 120 + row * 22);
    r.LineTo(734, 120 + row * 22);
    std::u16string cells;
    for (int col = 0; col < 8; ++col) cells += u"  " + std::u16string(1, static_cast<char16_t>(u'0' + (row * col + n) % 10)) + u"12.3";
    r.TextOut(64, 124 + row * 22, cells);
  }
  for (int k = 0; k < 12; ++k) {
    platform::LogBrush b;
    b.color = platform::RgbColor(20 * k, 100, 240 - 20 * k);
    r.SelectBrush(b);
    r.Rectangle(100 + 50 * k, 1070 - (k * 37 + n) % 120, 140 + 50 * k, 1070);
  }
  return r.Finish();
}

inline std::vector<std::string> RecordPages(int count, bool japanese = false) {
  std::vector<std::string> pages;
  for (int n = 1; n <= count; ++n) pages.push_back(RecordPage(n, japanese));
  return pages;
}

}  // namespace benchpages
