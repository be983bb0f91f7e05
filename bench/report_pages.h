// Report pages for the benchmarks: A4 metafiles (794 x 1123 reference pixels) with a frame, a
// title, a ruled table of 40 text rows and a few filled boxes, about the size of a report page.
// Page n's title ends in n % 10. `asRun` draws the texts as a report run does, with a font of
// its own size (Arial, 16 pixels) rather than the default font, and adds the Japanese heading
// "雨水利用の月別集計".
#pragma once

#include <string>
#include <vector>

#include "platform/cp932.h"
#include "platform/dc.h"
#include "platform/emf_recorder.h"

namespace benchpages {

inline std::string RecordPage(int n, bool asRun = false) {
  platform::EmfRecorder r(794, 1123);
  if (asRun) {
    platform::LogFont font;
    font.height = -16;
    font.faceName = "Arial";
    r.SelectFont(font);
  }
  r.Rectangle(40, 40, 754, 1083);
  r.TextOut(60, 60, u"Monthly balance " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10)));
  if (asRun) r.TextOutA(400, 60, platform::J("雨水利用の月別集計"));
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

inline std::vector<std::string> RecordPages(int count, bool asRun = false) {
  std::vector<std::string> pages;
  for (int n = 1; n <= count; ++n) pages.push_back(RecordPage(n, asRun));
  return pages;
}

}  // namespace benchpages
