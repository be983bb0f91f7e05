// One page layout on every device and at every zoom: which line ends which page in the preview
// (pages stored as metafiles at the screen's resolution), a full print and a print of a page range
// on the fake 600-dpi printer, and an export; auto-size labels of every alignment printing their
// fill, frame and text in one place; printing at any zoom leaving the stored geometry alone; a
// stretching coloured label filled without a gap.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "platform/dc_trace.h"
#include "platform/emf_player.h"
#include "report/dataset.h"
#include "run_fixtures.h"

using namespace rpt;
using rpttest::RunTest;
using rpttest::Words;
using Pages = std::vector<std::vector<std::string>>;

namespace {

// The texts of each page.
using PageTexts = std::vector<std::vector<std::string>>;

PageTexts TextsOfPages(const Pages& pages) {
  PageTexts out;
  for (const auto& page : pages) out.push_back(Words(page));
  return out;
}

// The first and last text of each page.
std::vector<std::string> Ends(const PageTexts& pages) {
  std::vector<std::string> out;
  for (const auto& texts : pages) out.push_back(texts.empty() ? "-" : texts.front() + ".." + texts.back());
  return out;
}

std::string Lines(const std::string& prefix, int n) {
  std::string s;
  for (int i = 1; i <= n; ++i) s += prefix + std::to_string(i) + (i < n ? "\r" : "");
  return s;
}

class PageLayout : public RunTest {
 protected:
  PageLayout() {
    report.Page().SetNative(TRptPage::kTopMargin, 100);
    report.Page().SetNative(TRptPage::kBottomMargin, 100);
    table = std::make_unique<TTable>("T");
    table->AddFieldDef("N", TRptFieldType::ftInteger);
    for (int i = 1; i <= 30; ++i) table->AppendRow({static_cast<int64_t>(i)});
    table->Open();
    report.SetDataSet(table.get());
  }

  // The pages of a run into the page store, each metafile played on a trace.
  PageTexts Preview() {
    EXPECT_TRUE(report.PreparePrinter());
    report.RunReport(false);
    PageTexts out;
    TRptPrinter* printer = report.Printer();
    for (int n = 1; n <= printer->PageCount(); ++n) {
      std::optional<std::string> page = printer->GetPage(n);
      EXPECT_TRUE(page.has_value()) << n;
      platform::TraceDc dc;
      if (page) platform::PlayEnhMetafile(dc, *page, platform::Rect{0, 0, 794, 1123});
      out.push_back(Words(dc.log));
    }
    report.FreePrinter();
    return out;
  }

  // The texts an export filter receives, page by page (a run into the page store).
  PageTexts Export() {
    rpttest::RecordingFilter filter;
    report.SetExportFilter(&filter);
    Preview();
    report.SetExportFilter(nullptr);
    PageTexts out;
    for (const std::string& call : filter.calls) {
      if (call == "NewPage") out.emplace_back();
      if (call.rfind("Text ", 0) == 0 && !out.empty()) out.back().push_back(call.substr(5));
    }
    return out;
  }

  std::unique_ptr<TTable> table;
};

TEST_F(PageLayout, PreviewPrintRangeAndExportBreakPagesAtTheSameLines) {
  // A stretching memo in the title, the table's rows, a stretching label in the summary.
  TRptBand* title = Band(TRptBandType::rbTitle, 50);
  auto* memo = new TRptMemo(title);
  memo->SetAutoStretch(true);
  std::vector<std::string> memoLines;
  for (int i = 1; i <= 120; ++i) memoLines.push_back("M" + std::to_string(i));
  memo->SetLines(memoLines);
  Expr(Band(TRptBandType::rbDetail, 45), "N");
  auto* label = new TRptLabel(Band(TRptBandType::rbSummary, 50));  // auto-size, as created
  label->SetCaption(Lines("L", 200));
  label->SetAutoStretch(true);

  const PageTexts printed = TextsOfPages(Print());
  ASSERT_GE(printed.size(), 5u);
  // Every line once, in order.
  std::vector<std::string> all;
  for (const auto& texts : printed) all.insert(all.end(), texts.begin(), texts.end());
  ASSERT_EQ(all.size(), 120u + 30u + 200u);
  EXPECT_EQ(all[120], "1");
  EXPECT_EQ(all.back(), "L200");

  EXPECT_EQ(Ends(Preview()), Ends(printed)) << "preview";
  EXPECT_EQ(Ends(Export()), Ends(printed)) << "export";
  report.PrinterSettings().FirstPage = 2;
  report.PrinterSettings().LastPage = 3;
  const PageTexts range = TextsOfPages(Print());
  EXPECT_EQ(Ends(range), (std::vector<std::string>{Ends(printed)[1], Ends(printed)[2]})) << "pages 2-3";
}

// ---- Auto-size labels of every alignment ---------------------------------------------------

using Box = platform::Rect;

bool Meet(const Box& a, const Box& b) {
  return !platform::Region::Combine(platform::Region(a), platform::Region(b), platform::RGN_AND).IsEmpty();
}

// The rectangles filled with `color` (a brush colour as the trace writes it: "BBGGRR")
// after the `from`-th line of a trace page.
std::vector<Box> Fills(const std::vector<std::string>& page, const std::string& color, size_t from = 0) {
  std::vector<Box> out;
  std::string brush;
  for (size_t i = 0; i < page.size(); ++i) {
    const std::string& line = page[i];
    if (line.rfind("SelectBrush ", 0) == 0) {
      const size_t at = line.find("color=");
      brush = at == std::string::npos ? "" : line.substr(at + 6, 6);
    }
    Box b;
    if (i >= from && brush == color && std::sscanf(line.c_str(), "PatBlt %d,%d,%d,%d", &b.left, &b.top, &b.right, &b.bottom) == 4) {
      out.push_back(b);
    }
  }
  return out;
}

Box Union(const std::vector<Box>& boxes) { return platform::Region::FromRects(boxes).Bounds(); }

class AlignedLabels : public RunTest {
 protected:
  // The width in device pixels of `text` in `label`'s font on the 600-dpi page.
  int DeviceWidth(TRptCustomLabel& label, const std::string& text) {
    platform::DeviceCaps caps;
    caps.logPixelsX = caps.logPixelsY = 600;
    platform::TraceDc dc(caps);
    platform::Canvas canvas(dc);
    TakeFont(canvas, label.Font());
    return canvas.TextWidth(text);
  }
  int TextHeight(TRptCustomLabel& label) {
    platform::DeviceCaps caps;
    caps.logPixelsX = caps.logPixelsY = 600;
    platform::TraceDc dc(caps);
    platform::Canvas canvas(dc);
    TakeFont(canvas, label.Font());
    return canvas.TextHeight("W");
  }
};

TEST_F(AlignedLabels, FillFrameAndTextStandTogetherInEveryAlignment) {
  TRptBand* title = Band(TRptBandType::rbTitle, 200);
  title->SetTransparentBand(true);
  const std::string design = "design text";
  const struct Printed {
    const char* name;
    std::string text;
  } printedTexts[] = {{"shorter", "ab"}, {"same", design}, {"longer", "a printed text much longer than the design"}};
  const TRptAlignment alignments[] = {TRptAlignment::Left, TRptAlignment::Right, TRptAlignment::Center};
  const char* const alignmentNames[] = {"left", "right", "centre"};
  const std::string yellow = "00FFFF", black = "000000";  // as the trace writes colour values
  for (int a = 0; a < 3; ++a) {
    for (const Printed& p : printedTexts) {
      for (const bool framed : {false, true}) {
        SCOPED_TRACE(std::string(alignmentNames[a]) + ", " + p.name + (framed ? ", frame" : ", fill"));
        const TRptAlignment alignment = alignments[a];
        auto* label = new TRptLabel(title);  // AutoSize as created: on
        label->SetAlignment(alignment);
        label->SetCaption(design);
        const Real left = 3000, designWidth = label->Size().Native(TRptPrintableSize::kWidth);
        label->Size().SetNative(TRptPrintableSize::kLeft, left);
        label->Size().SetNative(TRptPrintableSize::kTop, 50);
        if (framed) {
          label->SetTransparent(true);
          label->Frame().SetDrawLeft(true);
          label->Frame().SetDrawRight(true);
          label->Frame().SetDrawTop(true);
          label->Frame().SetDrawBottom(true);
        } else {
          label->SetColor(platform::RgbColor(255, 255, 0));
        }
        const std::string printedText = p.text;
        label->OnPrint = [printedText](QObject*, std::string& value) { value = printedText; };
        // A neighbour beside the edge the label keeps (for a centred label, past half its growth).
        const Real growth = std::max<Real>(0, report.TextWidth(label->Font(), p.text) * 254.0L / 96 - designWidth);
        Real neighbourLeft = left + designWidth + 30;
        if (alignment == TRptAlignment::Left) neighbourLeft = left - 30 - 500;
        if (alignment == TRptAlignment::Center) neighbourLeft += growth / 2 + 30;
        TRptLabel* neighbour = Text(title, "NEIGHBOUR", neighbourLeft, 50, 500);
        neighbour->SetTransparent(true);
        label->raise();  // printed after the neighbour, as a label placed later is

        const auto pages = Print();
        ASSERT_EQ(pages.size(), 1u);
        const auto& page = pages[0];
        // The label's place after the print (its printed text's width, its kept edge).
        const Real l = label->Size().Native(TRptPrintableSize::kLeft), w = label->Size().Native(TRptPrintableSize::kWidth);
        if (alignment == TRptAlignment::Left) {
          EXPECT_NEAR(l, left, 1e-6);
        } else if (alignment == TRptAlignment::Right) {
          EXPECT_NEAR(l + w, left + designWidth, 1e-6);
        } else {
          EXPECT_NEAR(l + w / 2, left + designWidth / 2, 1e-6);
        }
        const int top = Px(100 + 50);
        const Box labelBox{Px(100 + l), top, Px(100 + l + w), Px(100 + 50 + label->Size().Native(TRptPrintableSize::kHeight))};

        // The label's fill or frame covers the label and nothing else.
        size_t neighbourLine = 0;
        Box neighbourText, text;
        for (size_t i = 0; i < page.size(); ++i) {
          for (const rpttest::PrintedText& t : rpttest::TextsOf({page[i]})) {
            if (t.text == "NEIGHBOUR") {
              neighbourLine = i;
              neighbourText = Box{t.x, t.y, t.x + DeviceWidth(*neighbour, t.text), t.y + TextHeight(*neighbour)};
            } else {
              int x = t.x;
              const int tw = DeviceWidth(*label, t.text);
              if (alignment == TRptAlignment::Right) x -= tw;
              if (alignment == TRptAlignment::Center) x -= tw / 2;
              text = Box{x, t.y, x + tw, t.y + TextHeight(*label)};
              EXPECT_EQ(t.text, p.text);
            }
          }
        }
        ASSERT_FALSE(text.IsEmpty());
        const Box painted = Union(Fills(page, framed ? black : yellow));
        EXPECT_EQ(painted.left, labelBox.left);
        EXPECT_EQ(painted.right, labelBox.right);
        EXPECT_EQ(painted.top, labelBox.top);
        // The text lies inside: widths are measured on the screen context (96 pixels per inch),
        // where each character's advance is rounded, so the line drawn at 600 may differ by up to
        // half a screen pixel a character.
        const int slack = static_cast<int>(p.text.size()) * 600 / 96 / 2;
        EXPECT_GE(text.left, painted.left - slack) << text.left << " " << painted.left;
        EXPECT_LE(text.right, painted.right + slack) << text.right << " " << painted.right;
        EXPECT_LE(text.bottom, painted.bottom + 1);
        // No fill after the neighbour's text reaches it.
        for (const Box& b : Fills(page, framed ? black : yellow, neighbourLine)) {
          EXPECT_FALSE(Meet(b, neighbourText)) << b.left << "," << b.top << "," << b.right << "," << b.bottom;
        }
        delete neighbour;
        delete label;
      }
    }
  }
}

// ---- Zoom ----------------------------------------------------------------------------------

// "same", or the first line where two runs' traces differ.
std::string FirstDifference(const Pages& a, const Pages& b) {
  if (a.size() != b.size()) return std::to_string(a.size()) + " pages, not " + std::to_string(b.size());
  for (size_t p = 0; p < a.size(); ++p) {
    for (size_t i = 0; i < std::max(a[p].size(), b[p].size()); ++i) {
      const std::string x = i < a[p].size() ? a[p][i] : "<end>", y = i < b[p].size() ? b[p][i] : "<end>";
      if (x != y) return "page " + std::to_string(p + 1) + " line " + std::to_string(i) + ": " + x + " | " + y;
    }
  }
  return "same";
}

TEST_F(PageLayout, PrintingAtAnyZoomDrawsTheSameAndKeepsTheStoredGeometry) {
  // Filled bands in two columns: a band's fill spans its width, and the detail band's width is
  // the step from one column to the next.
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 33.3L);
  TRptBand* title = Band(TRptBandType::rbTitle, 600);
  title->SetColor(platform::RgbColor(255, 255, 200));
  // A band thinner than a pixel at zoom 50 but not at zoom 100 prints at any zoom.
  TRptBand* header = Band(TRptBandType::rbColumnHeader, 1.5L);
  header->SetColor(platform::RgbColor(0, 0, 255));
  TRptBand* detail = Band(TRptBandType::rbDetail, 100);
  detail->SetColor(platform::RgbColor(200, 255, 255));
  Text(detail, "record", 10.3L, 10.3L, 300);
  // A full-height line stands where its shape stands on the band.
  auto* line = new TRptShape(detail);
  line->SetShape(TRptShapeType::rpsVertLine);
  line->Tag = 1000;
  line->Size().SetNative(TRptPrintableSize::kLeft, 611.7L);
  line->Size().SetNative(TRptPrintableSize::kWidth, 13.3L);
  std::vector<TRptPrintable*> controls{line};
  // An auto-size image takes its picture's size (at zoom 100) whatever the zoom it is set at.
  auto* image = new TRptImage(title);
  image->SetAutoSize(true);
  image->Size().SetNative(TRptPrintableSize::kLeft, 1200.3L);
  image->Size().SetNative(TRptPrintableSize::kTop, 10.7L);
  platform::TPicture picture;
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(61, 23, 0xFF));
  picture.SetGraphic(std::move(bitmap));
  image->SetPicture(&picture);
  controls.push_back(image);
  const TRptAlignment alignments[] = {TRptAlignment::Left, TRptAlignment::Right, TRptAlignment::Center};
  for (int a = 0; a < 3; ++a) {
    auto* label = new TRptLabel(title);  // auto-size
    label->SetAlignment(alignments[a]);
    label->SetCaption("aligned " + std::to_string(a));
    label->Size().SetNative(TRptPrintableSize::kLeft, 100.54L + 700 * a);
    label->Size().SetNative(TRptPrintableSize::kTop, 100.54L);
    label->Size().SetNative(TRptPrintableSize::kHeight, 3.3L);  // raised to one line
    controls.push_back(label);
  }
  TRptLabel* wrapped = Text(title, "a few words wrapped in a narrow label of some lines", 123.45L, 200.7L, 333.3L);
  wrapped->Size().SetNative(TRptPrintableSize::kHeight, 170.3L);
  controls.push_back(wrapped);
  TRptBand* summary = Band(TRptBandType::rbSummary, 50);
  summary->SetColor(platform::RgbColor(255, 200, 255));
  TRptLabel* stretching = Text(summary, Lines("S", 90), 51.3L, 7.7L, 555.5L);
  stretching->SetAutoStretch(true);
  controls.push_back(stretching);
  auto* memo = new TRptMemo(title);
  memo->SetLines({"memo one", "memo two"});
  memo->Size().SetNative(TRptPrintableSize::kLeft, 1500.1L);
  memo->Size().SetNative(TRptPrintableSize::kTop, 300.3L);
  controls.push_back(memo);
  // Expression labels (auto-size as created) whose printed value is wider or narrower than the
  // expression: each print moves them by their alignment and the run's end moves them back.
  for (const char* expression : {"'a printed value much wider than its expression'", "'n'"}) {
    auto* expr = new TRptExpr(title);
    expr->SetAlignment(expression[1] == 'n' ? TRptAlignment::Center : TRptAlignment::Right);
    expr->SetExpression(expression);
    expr->Size().SetNative(TRptPrintableSize::kLeft, 2000.7L);
    expr->Size().SetNative(TRptPrintableSize::kTop, 450.3L + (expression[1] == 'n' ? 50 : 0));
    controls.push_back(expr);
  }
  auto values = [&] {
    std::vector<std::vector<Real>> v;
    for (TRptPrintable* c : controls) v.push_back(c->Size().Values());
    for (TRptBand* b : {title, header, detail, summary}) v.push_back(b->Size().Values());
    return v;
  };

  const Pages first = Print();
  ASSERT_GE(first.size(), 2u);
  const std::vector<std::string> words = Words(first[0]);
  EXPECT_NE(std::find(words.begin(), words.end(), "a printed value much wider than its expression"), words.end());
  const auto stored = values();
  // The height a band's labels need (for KeepOnOnePage and PreCaluculateBandHeight) as well.
  const Real needed = summary->PreCalculatedHeight();
  for (int zoom : {75, 76, 150, 50, 100}) {
    SCOPED_TRACE(zoom);
    report.SetZoom(zoom);
    image->SetPicture(&picture);
    EXPECT_EQ(values(), stored);
    EXPECT_EQ(summary->PreCalculatedHeight(), needed);
    EXPECT_EQ(FirstDifference(Print(), first), "same");
    EXPECT_EQ(values(), stored);
  }
}

// ---- A stretching coloured label ------------------------------------------------------------

TEST_F(PageLayout, StretchingColouredLabelIsFilledWithoutAGap) {
  TRptBand* title = Band(TRptBandType::rbTitle, 50);
  title->SetTransparentBand(true);
  TRptLabel* label = Text(title, Lines("C", 20));
  label->SetAutoStretch(true);
  label->SetColor(platform::RgbColor(0, 255, 255));
  label->Frame().SetDrawTop(true);  // the text starts below the frame's top line
  const auto pages = Print();
  ASSERT_EQ(pages.size(), 1u);
  std::vector<Box> fills = Fills(pages[0], "FFFF00");
  ASSERT_GE(fills.size(), 2u);  // the label's own rectangle, then what the band grew by
  std::sort(fills.begin(), fills.end(), [](const Box& a, const Box& b) { return a.top < b.top; });
  for (size_t i = 1; i < fills.size(); ++i) {
    EXPECT_LE(fills[i].top, fills[i - 1].bottom) << i;
    EXPECT_EQ(fills[i].left, fills[0].left);
    EXPECT_EQ(fills[i].right, fills[0].right);
  }
  // The fill reaches past the last line.
  const auto texts = rpttest::TextsOf(pages[0]);
  EXPECT_GT(fills.back().bottom, texts.back().y);
}

}  // namespace
