// Printable controls: label formatting, label printing with stretching, frames, shapes and
// images, on the fake 600-dpi printer's traces.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/dc_trace.h"
#include "platform/emf_recorder.h"
#include "platform/mbcs.h"
#include "platform/round.h"
#include "run_fixtures.h"

using namespace rpt;
using platform::J;
using rpttest::RunTest;

namespace {

// ---- Formatting --------------------------------------------------------------------------

class LabelFormat : public RunTest {
 protected:
  // A label `fit` wide (the width of that text on the report, at zoom 100).
  TRptLabel* Sized(const std::string& fit, bool autoSize = false) {
    auto* label = new TRptLabel(&report);
    label->SetAutoSize(autoSize);
    label->SetBounds(0, 0, report.TextWidth(label->Font(), fit), 20);
    return label;
  }
};

TEST_F(LabelFormat, LinesByTheRules) {
  struct Case {
    const char* name;
    std::string fit;  // the label's width: this text's
    bool wordWrap;
    std::string caption;
    std::vector<std::string> lines;
  };
  const std::string kana = J("あいうえおかきくけこ");
  const Case cases[] = {
      {"paragraphs, line feeds ignored, empty piece", "wide enough for all", true, "a\r\nb\r\rc", {"a", "b", "", "c"}},
      {"words wrap after blanks", "alpha beta ", true, "alpha beta gamma", {"alpha beta ", "gamma"}},
      {"and after hyphens", "well-known ", true, "well-known well-known", {"well-known ", "well-known"}},
      {"a word too wide alone keeps what fits", "abcd", true, "abcdefghij", {"abc"}},
      {"a word too wide after others has a line of its own", "abcdef", true, "ab abcdefghij x",
       {"ab ", "abcdef", "x"}},
      {"word wrap off: the paragraph ends at the first word that does not fit", "alpha beta ", false,
       "alpha beta gamma delta\repsilon", {"alpha beta ", "epsilon"}},
      {"double-byte characters cut whole", J("あいう"), true, kana, {J("あい")}},
      {"an empty caption is one empty line", "x", true, "", {""}},
  };
  for (const Case& c : cases) {
    TRptLabel* label = Sized(c.fit);
    label->SetWordWrap(c.wordWrap);
    label->SetCaption(c.caption);
    EXPECT_EQ(label->FormattedLines(), c.lines) << c.name;
    for (const std::string& line : label->FormattedLines()) {
      EXPECT_EQ(platform::WholeCharPrefix(line, line.size()), line.size()) << c.name;
    }
    delete label;
  }
}

TEST_F(LabelFormat, AutoSizeTakesTheWidestLineAndMovesByItsAlignment) {
  TRptLabel* label = Sized("x", true);
  label->SetBounds(100, 10, 300, 20);
  label->SetAlignment(TRptAlignment::Right);
  label->SetCaption("a much longer line than one word\rshort");
  EXPECT_EQ(label->FormattedLines(), (std::vector<std::string>{"a much longer line than one word", "short"}));
  const int widest = report.TextWidth(label->Font(), "a much longer line than one word");
  EXPECT_EQ(label->PixelWidth(), widest);
  // Its right edge stays where it was.
  EXPECT_NEAR(label->Size().Native(TRptPrintableSize::kLeft) * 96 / 254, 400 - widest, 0.6);
  // A drawn left and right side widen it by the frame's width each.
  label->Frame().SetDrawLeft(true);
  label->Frame().SetDrawRight(true);
  label->Frame().SetWidth(2);
  label->SetCaption("short");
  EXPECT_EQ(label->PixelWidth(), report.TextWidth(label->Font(), "short") + 4);
}

TEST_F(LabelFormat, HeightRisesToOneLineAndMemosKeepTheirLines) {
  TRptLabel* label = Sized("xxxxxxxxxxxx");
  label->SetBounds(0, 0, label->PixelWidth(), 2);
  label->SetCaption("text");
  EXPECT_EQ(label->PixelHeight(), report.TextHeight(label->Font(), "W") + 1);
  auto* memo = new TRptMemo(&report);
  memo->SetLines({"first line", "", "third"});
  memo->FormatLines();
  EXPECT_EQ(memo->FormattedLines(), (std::vector<std::string>{"first line", "", "third"}));
  EXPECT_EQ(memo->ExpectedHeight(), 3 * report.TextHeight(memo->Font(), "W"));
  // Renaming a label whose caption is its name renames the caption.
  label->setObjectName("Label1");
  EXPECT_EQ(label->Caption(), "text");
  label->SetCaption("Label1");
  label->setObjectName("Label2");
  EXPECT_EQ(label->Caption(), "Label2");
}

// ---- Printing ----------------------------------------------------------------------------

TEST_F(RunTest, LabelLinesPrintWhereTheirBandPutsThemAndOnlyWhatFits) {
  report.Page().SetNative(TRptPage::kTopMargin, 100);
  report.Page().SetNative(TRptPage::kLeftMargin, 100);
  TRptBand* title = Band(TRptBandType::rbTitle, 300);
  TRptLabel* label = Text(title, "one\rtwo\r\rfour\rfive", 50, 20);
  // Room for four lines of about 4.1 mm.
  label->Size().SetNative(TRptPrintableSize::kHeight, 170);
  const auto pages = Print();
  ASSERT_EQ(pages.size(), 1u);
  const auto texts = rpttest::TextsOf(pages[0]);
  ASSERT_EQ(texts.size(), 3u);  // "one", "two", (the empty third line), "four"; "five" does not fit
  EXPECT_EQ(texts[0].text, "one");
  EXPECT_EQ(texts[2].text, "four");
  EXPECT_EQ(texts[0].x, Px(150));
  EXPECT_EQ(texts[0].y, Px(120));
  // Lines stand one line height apart (the font's at 600 dpi), the empty one included.
  const int lh = texts[1].y - texts[0].y;
  EXPECT_NEAR(texts[2].y - texts[1].y, 2 * lh, 1);
  EXPECT_TRUE(label->PrintFinished());
}

TEST_F(RunTest, StretchingLabelGrowsItsBandAndContinuesOnTheNextPage) {
  report.Page().SetNative(TRptPage::kTopMargin, 100);
  report.Page().SetNative(TRptPage::kBottomMargin, 100);
  Band(TRptBandType::rbTitle, 2500);  // leaves about 27 mm of the page
  TRptBand* summary = Band(TRptBandType::rbSummary, 50);
  summary->setObjectName("Summary");
  std::string caption;
  for (int i = 1; i <= 12; ++i) caption += "line" + std::to_string(i) + (i < 12 ? "\r" : "");
  TRptLabel* label = Text(summary, caption);
  label->SetAutoStretch(true);
  auto* line = new TRptShape(summary);
  line->SetShape(TRptShapeType::rpsVertLine);
  line->Tag = 1000;
  line->SetBounds(100, 0, 10, 10);
  Text(&report, "after", 1000, 2800);  // a report-level label: at every page end
  const auto pages = Print();
  ASSERT_EQ(pages.size(), 2u);
  const auto first = rpttest::Words(pages[0]);
  const auto second = rpttest::Words(pages[1]);
  std::vector<std::string> all;
  for (const auto& w : {first, second}) {
    for (const std::string& t : w) {
      if (t != "after") all.push_back(t);
    }
  }
  ASSERT_EQ(all.size(), 12u);  // every line once, in order, across the break
  for (int i = 0; i < 12; ++i) EXPECT_EQ(all[static_cast<size_t>(i)], "line" + std::to_string(i + 1));
  EXPECT_GE(first.size(), 4u);
  EXPECT_EQ(rpttest::TextsOf(pages[1])[0].y, Px(100));  // continues at the top margin
  // The full-height line (the last line drawn on page 1) spans the grown band: from the band's
  // top past its last printed line.
  int y1 = 0, y2 = 0;
  for (size_t i = 0; i + 1 < pages[0].size(); ++i) {
    int mx, my, lx, ly;
    if (std::sscanf(pages[0][i].c_str(), "MoveTo %d,%d", &mx, &my) == 2 &&
        std::sscanf(pages[0][i + 1].c_str(), "LineTo %d,%d", &lx, &ly) == 2 && mx == lx) {
      y1 = my;
      y2 = ly;
    }
  }
  const auto texts = rpttest::TextsOf(pages[0]);
  EXPECT_EQ(y1, texts[0].y);
  EXPECT_GT(y2, texts[texts.size() - 2].y);  // the last text is the report-level "after"
}

TEST_F(RunTest, ALineThatNeverFitsStillPrintsAndEveryPassMovesOn) {
  report.Page().SetNative(TRptPage::kTopMargin, 1000);
  report.Page().SetNative(TRptPage::kBottomMargin, 1940);  // 3 mm between the margins
  TRptBand* title = Band(TRptBandType::rbTitle, 20);
  TRptLabel* label = Text(title, "A\rB\rC", 0, 0, 1900);
  label->SetAutoStretch(true);
  // Each print makes the label too low for a line, and the page has no room to grow.
  label->OnPrint = [label](QObject*, std::string&) { label->Size().SetNative(TRptPrintableSize::kHeight, 1); };
  report.OnStartPage = [](TCustomBandReport* r) {
    if (r->PageCount() > 10) r->Cancel();  // a run that would not end
  };
  const auto pages = Print();
  std::vector<std::string> all;
  for (const auto& page : pages) {
    for (const std::string& t : rpttest::Words(page)) all.push_back(t);
  }
  EXPECT_EQ(all, (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_LE(pages.size(), 4u);
}

TEST_F(RunTest, FramesShapesAndImagesOnThePrinter) {
  TRptBand* title = Band(TRptBandType::rbTitle, 600);
  // A frame of 1 point at 600 dpi is 8 pixels thick.
  TRptLabel* framed = Text(title, "framed", 0, 0, 500);
  framed->SetTransparent(true);
  framed->Frame().SetDrawTop(true);
  const int top = Px(report.Page().Native(TRptPage::kTopMargin));
  // The rounded corner follows the printed width: round(XSize(100) x 0.5) = 118.
  auto* round = new TRptShape(title);
  round->SetShape(TRptShapeType::rpsRoundRect);
  round->SetRoundFactor(0.5f);
  round->Size().SetNative(TRptPrintableSize::kLeft, 600);
  round->Size().SetNative(TRptPrintableSize::kWidth, 100);
  round->Size().SetNative(TRptPrintableSize::kHeight, 20);
  // A bitmap of 96 x 48 pixels without Stretch keeps its size in millimetres: 1 in x 0.5 in.
  auto* image = new TRptImage(title);
  image->Size().SetNative(TRptPrintableSize::kLeft, 800);
  image->Size().SetNative(TRptPrintableSize::kWidth, 400);
  auto bitmap = std::make_unique<platform::TBitmapGraphic>();
  bitmap->SetBitmap(platform::Dib::Filled(96, 48, 0xFF));
  image->Picture().SetGraphic(std::move(bitmap));
  const auto pages = Print();
  ASSERT_EQ(pages.size(), 1u);
  const platform::TraceDc trace;
  auto has = [&](const std::string& prefix) {
    for (const std::string& l : pages[0]) {
      if (l.rfind(prefix, 0) == 0) return true;
    }
    return false;
  };
  const int left = Px(report.Page().Native(TRptPage::kLeftMargin));
  EXPECT_TRUE(has("PatBlt " + std::to_string(left) + "," + std::to_string(top) + "," + std::to_string(Px(100 + 500)) +
                  "," + std::to_string(top + 8)));
  EXPECT_TRUE(has("RoundRect " + std::to_string(Px(700)) + "," + std::to_string(top) + "," + std::to_string(Px(800)) +
                  "," + std::to_string(Px(report.Page().Native(TRptPage::kTopMargin) + 20)) + " 118,118"));
  EXPECT_TRUE(has("StretchDIBits " + std::to_string(Px(900)) + "," + std::to_string(top) + "," +
                  std::to_string(Px(900) + 600) + "," + std::to_string(top + 300) + " from 0,0,96,48"));
}

TEST_F(RunTest, ImageCanvasDrawsOnItsBitmapAndMetafilesPlayIntoTheirRectangle) {
  TRptBand* title = Band(TRptBandType::rbTitle, 400);
  auto* drawn = new TRptImage(title);
  drawn->Size().SetNative(TRptPrintableSize::kWidth, 254);  // 96 pixels at zoom 100
  drawn->Size().SetNative(TRptPrintableSize::kHeight, 127);
  drawn->SetStretch(true);
  report.SetZoom(50);  // the bitmap is made at the control's size at zoom 100 all the same
  platform::Canvas* canvas = drawn->GetCanvas();
  ASSERT_NE(canvas, nullptr);
  canvas->Brush().SetColor(platform::RgbColor(255, 0, 0));
  canvas->FillRect(platform::Rect{0, 0, 10, 10});
  auto* played = new TRptImage(title);
  played->Size().SetNative(TRptPrintableSize::kLeft, 500);
  played->SetStretch(true);
  platform::EmfRecorder rec(20, 20);
  rec.Rectangle(0, 0, 20, 20);
  auto metafile = std::make_unique<platform::TMetafile>();
  ASSERT_TRUE(metafile->LoadFromBytes(rec.Finish()));
  played->Picture().SetGraphic(std::move(metafile));
  EXPECT_EQ(played->GetCanvas(), nullptr);  // no canvas on a metafile
  const auto pages = Print();
  auto* bitmap = dynamic_cast<platform::TBitmapGraphic*>(drawn->Picture().Graphic());
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(bitmap->Width(), 96);
  EXPECT_EQ(bitmap->Height(), 48);
  EXPECT_EQ(bitmap->Bitmap().Pixel(5, 5), platform::RgbColor(255, 0, 0));
  EXPECT_EQ(bitmap->Bitmap().Pixel(50, 20), platform::RgbColor(255, 255, 255));
  const int top = Px(100);
  bool dib = false, rectangle = false;
  for (const std::string& l : pages[0]) {
    dib |= l == "StretchDIBits " + std::to_string(Px(100)) + "," + std::to_string(top) + "," + std::to_string(Px(354)) +
                    "," + std::to_string(Px(227)) + " from 0,0,96,48 of 96x48";
    rectangle |= l.rfind("Rectangle " + std::to_string(Px(600)), 0) == 0;
  }
  EXPECT_TRUE(dib);
  EXPECT_TRUE(rectangle);  // the metafile's rectangle, played at the image's place
}

TEST_F(RunTest, BandOfHeightZeroPrintsNothingButItsEventsAndChild) {
  TRptBand* title = Band(TRptBandType::rbTitle, 0);
  Text(title, "hidden");
  int before = 0, after = 0;
  title->BeforePrint = [&](TRptCustomBand*, bool&) { ++before; };
  title->AfterPrint = [&](TRptCustomBand*, bool) { ++after; };
  title->SetHasChild(true);
  title->ChildBand()->Size().SetNative(TRptBandSize::kHeight, 40);
  title->ChildBand()->SetTransparentBand(true);
  Text(title->ChildBand(), "child");
  const auto pages = Print();
  EXPECT_EQ(before, 1);
  EXPECT_EQ(after, 1);
  const auto texts = rpttest::TextsOf(pages[0]);
  ASSERT_EQ(texts.size(), 1u);
  EXPECT_EQ(texts[0].text, "child");
  EXPECT_EQ(texts[0].y, Px(100));  // the title took no room
  // A transparent band fills nothing: only the opaque label's background is painted.
  int fills = 0;
  for (const std::string& l : pages[0]) fills += l.rfind("PatBlt", 0) == 0;
  EXPECT_EQ(fills, 1);
}

TEST_F(RunTest, MemoTooLongForThePageContinuesInTheNextColumnWithItsFrame) {
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kTopMargin, 100);
  report.Page().SetNative(TRptPage::kBottomMargin, 2400);  // 47 mm between the margins
  TRptBand* detail = Band(TRptBandType::rbTitle, 60);
  detail->Frame().SetDrawLeft(true);
  auto* memo = new TRptMemo(detail);
  memo->SetAutoStretch(true);
  std::vector<std::string> lines;
  for (int i = 1; i <= 16; ++i) lines.push_back("m" + std::to_string(i));
  memo->SetLines(lines);
  Text(detail, "once", 1000, 0);
  const auto pages = Print();
  int once = 0, memoLines = 0, frames = 0;
  for (const auto& page : pages) {
    for (const std::string& t : rpttest::Words(page)) {
      once += t == "once";
      memoLines += t[0] == 'm';
    }
    for (const std::string& l : page) frames += l.rfind("PatBlt", 0) == 0;
  }
  EXPECT_EQ(once, 1);        // the other printables print only in the first part
  EXPECT_EQ(memoLines, 16);  // the memo's lines all print, over several parts
  EXPECT_GE(frames, 2);      // the band's frame in each part
}

TEST_F(RunTest, ExportFilterGetsBackgroundsOfColouredLabelsOnly) {
  rpttest::RecordingFilter filter;
  report.SetExportFilter(&filter);
  TRptBand* title = Band(TRptBandType::rbTitle, 100);
  title->SetTransparentBand(true);
  Text(title, "white");
  TRptLabel* coloured = Text(title, "yellow", 0, 50);
  coloured->SetColor(platform::RgbColor(255, 255, 0));
  Print();
  EXPECT_EQ(filter.Of("Graphic").size(), 1u);  // the yellow label's background alone
  EXPECT_EQ(filter.Of("Text").size(), 2u);
}

}  // namespace

namespace {

// Editors: the base answers for every printable; one registered for a class serves it and its
// descendants.
TEST_F(RunTest, EditorsByClass) {
  class LabelEditor : public TRptPrintableEditor {
   public:
    using TRptPrintableEditor::TRptPrintableEditor;
    std::string ControlName() const override { return "Text Control"; }
    std::string Value() const override { return static_cast<TRptLabel&>(Control()).Caption(); }
  };
  auto* shape = new TRptShape(&report);
  auto* label = Text(&report, "caption");
  // The label editor installed at start-up comes back afterwards.
  struct Restore {
    TRptPrintableEditorClass kept;
    ~Restore() { RegisterPrintableEditor(TRptLabel::staticMetaObject, kept); }
  } restore{label->GetEditorClass()};
  std::unique_ptr<TRptPrintableEditor> base = shape->GetEditorClass()(*shape);
  EXPECT_FALSE(base->HasColor());
  EXPECT_FALSE(base->HasFont());
  EXPECT_EQ(base->GlyphResourceName(), "");
  EXPECT_EQ(base->ControlName(), "");
  EXPECT_STREQ(base->PrintableClass().className(), "rpt::TRptPrintable");
  RegisterPrintableEditor(TRptLabel::staticMetaObject,
                          [](TRptPrintable& c) { return std::make_unique<LabelEditor>(c); });
  std::unique_ptr<TRptPrintableEditor> editor = label->GetEditorClass()(*label);
  EXPECT_EQ(editor->ControlName(), "Text Control");
  EXPECT_EQ(editor->Value(), "caption");
  EXPECT_EQ(shape->GetEditorClass()(*shape)->ControlName(), "");
  RegisterPrintableEditor(TRptLabel::staticMetaObject, nullptr);
  EXPECT_EQ(label->GetEditorClass()(*label)->ControlName(), "");
}

}  // namespace
