// The program's way of printing a report: an A4 report without data whose title band has height
// 0, with word-wrapped Japanese labels, two memos and three metafile images placed on the
// report, printed with Print onto the PDF printer.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/cp932.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/mbcs.h"
#include "platform/picture.h"
#include "report/band_report.h"
#include "report/rpt_ctrls.h"
#include "pdf_pages.h"
#include "report_fixtures.h"

using namespace rpt;
using platform::J;

namespace {

// A metafile of w x h reference pixels filled with one colour.
std::unique_ptr<platform::TMetafile> FilledMetafile(int w, int h, platform::ColorRef color) {
  platform::EmfRecorder rec(w, h);
  rec.FillRect(platform::Rect{0, 0, w, h}, platform::LogBrush{platform::BS_SOLID, color, 0, nullptr});
  auto mf = std::make_unique<platform::TMetafile>();
  EXPECT_TRUE(mf->LoadFromBytes(rec.Finish()));
  return mf;
}

void Place(TRptPrintable& p, Real left, Real top, Real width, Real height) {
  p.Size().SetNative(TRptPrintableSize::kLeft, left);
  p.Size().SetNative(TRptPrintableSize::kTop, top);
  p.Size().SetNative(TRptPrintableSize::kWidth, width);
  p.Size().SetNative(TRptPrintableSize::kHeight, height);
}

TRptLabel* AddLabel(TBandReport& report, const char* name, const std::string& caption, Real left, Real top,
                    Real width, Real height) {
  auto* label = new TRptLabel(&report);
  label->setObjectName(name);
  label->SetAutoSize(false);
  label->SetWordWrap(true);
  label->MutableFont().SetName(J("ＭＳ ゴシック"));
  label->MutableFont().SetSize(10);
  Place(*label, left, top, width, height);
  label->SetCaption(caption);
  return label;
}

struct Image {
  Real left, top, width, height;
  platform::ColorRef color;
};
const Image kImages[] = {{100, 900, 900, 500, platform::RgbColor(255, 0, 0)},
                         {1050, 900, 900, 500, platform::RgbColor(0, 160, 0)},
                         {100, 1500, 1850, 600, platform::RgbColor(0, 0, 255)}};

class ReportRoad : public ::testing::Test {
 protected:
  ReportRoad() {
    report.Bands().SetHasTitle(true);
    TRptCustomBand* title = report.AllBands().front();
    title->Size().SetNative(TRptBandSize::kHeight, 0);
    first = AddLabel(report, "RPTLBL1_1", J("計算名 ： 雨水利用 シミュレーション 試験 ケース 建物種別 ： 集合住宅 地点 ： 東京"),
                     100, 100, 900, 300);
    second = AddLabel(report, "RPTLBL1_2", J("所在データ設置場所東京都千代田区霞が関一丁目二番三号四号五号六号七号"), 100, 450, 600,
                      60);
    auto* memo1 = new TRptMemo(&report);
    memo1->setObjectName("RPTMEMO1_1");
    memo1->MutableFont().SetName(J("ＭＳ ゴシック"));
    memo1->MutableFont().SetSize(8);
    Place(*memo1, 1100, 100, 800, 300);
    memo1->SetLines({J("年 降水量 使用量"), "1981   1234   567", "1982   1345   678"});
    auto* memo2 = new TRptMemo(&report);
    memo2->setObjectName("RPTMEMO2_1");
    Place(*memo2, 1100, 500, 800, 200);
    memo2->SetLines({"MEMO TWO"});
    int n = 1;
    for (const Image& i : kImages) {
      auto* image = new TRptImage(&report);
      image->setObjectName(QString("RPTIMAG1_%1").arg(n++));
      image->SetStretch(true);
      Place(*image, i.left, i.top, i.width, i.height);
      image->Picture().SetGraphic(FilledMetafile(200, 100, i.color));
    }
  }
  rpttest::LocaleScope locale{false, true};
  testsupport::TempFolder tmp;
  TBandReport report;
  TRptLabel* first;
  TRptLabel* second;
};

TEST_F(ReportRoad, OnePageWithLabelsMemosAndImagesWhereThePositionsPutThem) {
  // The labels wrap into lines of whole characters.
  ASSERT_GE(first->FormattedLines().size(), 2u);
  for (const std::string& line : first->FormattedLines()) {
    EXPECT_EQ(platform::WholeCharPrefix(line, line.size()), line.size());
  }
  ASSERT_EQ(second->FormattedLines().size(), 1u);
  const std::string cut = second->FormattedLines()[0];
  EXPECT_LT(cut.size(), J("所在データ設置場所東京都千代田区霞が関一丁目二番三号四号五号六号七号").size());
  EXPECT_EQ(cut.size() % 2, 0u);  // whole double-byte characters

  const std::string pdf = tmp.Path("road.pdf");
  rpttest::PdfPrinterScope printer(pdf);
  const TRptPrintOutcome outcome = report.Print();
  EXPECT_EQ(outcome.kind, TRptPrintOutcome::Printed) << outcome.message;
  EXPECT_EQ(rpttest::PdfPages(pdf), 1);
  const std::string text = rpttest::PdfText(pdf);
  for (const char* piece : {"計算名", "シミュレーション", "集合住宅", "MEMO TWO", "1982", "降水量"}) {
    EXPECT_NE(text.find(piece), std::string::npos) << piece << "\n" << text;
  }
  EXPECT_NE(text.find(platform::Cp932ToUtf8(cut)), std::string::npos);
  EXPECT_EQ(text.find("\xEF\xBF\xBD"), std::string::npos);  // no broken character

  constexpr int kDpi = 150;
  const QImage page = rpttest::RenderPdfPage(pdf, 1, kDpi, "road-page1");
  ASSERT_FALSE(page.isNull());
  auto px = [](Real tenths) { return static_cast<double>(tenths) / 254 * kDpi; };
  for (const Image& i : kImages) {
    const QRect area(QPoint(static_cast<int>(px(i.left)) - 5, static_cast<int>(px(i.top)) - 5),
                     QPoint(static_cast<int>(px(i.left + i.width)) + 5, static_cast<int>(px(i.top + i.height)) + 5));
    const QRect box = rpttest::PixelBox(page, area, [&](QRgb c) {
      return std::abs(qRed(c) - platform::RedOf(i.color)) < 40 && std::abs(qGreen(c) - platform::GreenOf(i.color)) < 40 &&
             std::abs(qBlue(c) - platform::BlueOf(i.color)) < 40;
    });
    EXPECT_NEAR(box.left(), px(i.left), 1.0);
    EXPECT_NEAR(box.top(), px(i.top), 1.0);
    EXPECT_NEAR(box.right() + 1, px(i.left + i.width), 1.0);
    EXPECT_NEAR(box.bottom() + 1, px(i.top + i.height), 1.0);
  }
  // The first label's lines: ink begins within the label and the lines stand one line height
  // apart (the line height of the font at the PDF printer's 600 dpi).
  const QRect labelArea(QPoint(static_cast<int>(px(100)), static_cast<int>(px(100))),
                        QPoint(static_cast<int>(px(1000)), static_cast<int>(px(400))));
  std::vector<int> rowTops;
  bool inInk = false;
  for (int y = labelArea.top(); y <= labelArea.bottom(); ++y) {
    bool ink = false;
    for (int x = labelArea.left(); x <= labelArea.right() && !ink; ++x) ink = qGray(page.pixel(x, y)) < 128;
    if (ink && !inInk) rowTops.push_back(y);
    inInk = ink;
  }
  ASSERT_GE(rowTops.size(), 2u);
  EXPECT_GE(rowTops[0], px(100) - 1);
  EXPECT_LT(rowTops[0], px(100) + px(50));
}

}  // namespace
