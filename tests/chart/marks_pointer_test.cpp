// Series marks (every n-th point, moved marks, overlap, hit test, custom items stored in
// forms) and point markers (every style in 2D and 3D, on a QImage and in a metafile).
#include <gtest/gtest.h>

#include <memory>
#include <utility>
#include <vector>

#include "chart/axis.h"
#include "chart/axis_panel.h"
#include "chart/bar.h"
#include "chart/errors.h"
#include "chart/fast_line.h"
#include "chart/pie.h"
#include "chart/pointer.h"
#include "chart/stream.h"
#include "chart/unit.h"
#include "panel_fixture.h"
#include "platform/emf_player.h"
#include "platform/picture.h"

using namespace chart;

namespace {

// Points compared as (x, y) pairs.
std::pair<int, int> XY(TPoint p) { return {p.x, p.y}; }

class Marks : public ::testing::Test {
 protected:
  Marks() {
    chart_.resize(500, 300);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    chart_.SetAxisVisible(false);
    chart_.LeftAxis()->SetMinMax(0, 100);
  }
  QImage Draw() {
    QImage image = charttest::PanelPicture(chart_);
    drawtest::Keep(image, "marks");
    return image;
  }
  static TSeriesMarkPosition Box(int left, int top, int width = 40, int height = 20) {
    TSeriesMarkPosition p;
    p.leftTop = TPoint{left, top};
    p.width = width;
    p.height = height;
    p.arrowTo = TPoint{left + width / 2, top + height + 1};
    p.arrowFrom = p.arrowTo;
    return p;
  }

  ChartLibraryScope scope_;
  TCustomAxisPanel chart_;
};

}  // namespace

TEST_F(Marks, OnlyEveryNthPointCarriesAMark) {
  TFastLineSeries line;
  for (int i = 0; i < 10; ++i) line.AddY(10 + i);
  line.Marks().SetVisible(true);
  line.Marks().SetDrawEvery(3);
  line.SetParentChart(&chart_);
  Draw();
  std::vector<int> drawn;
  for (int i = 0; i < line.Marks().Positions().Count(); ++i) {
    if (line.Marks().Positions().Position(i)) drawn.push_back(i);
  }
  EXPECT_EQ(drawn, (std::vector<int>{0, 3, 6, 9}));
  // The callout lifts every box above its point by the arrow length.
  const TSeriesMarkPosition* p = line.Marks().Positions().Position(3);
  EXPECT_EQ(p->arrowFrom.y, line.PointYPixel(3));
  EXPECT_EQ(p->arrowTo.y, line.PointYPixel(3) - line.Marks().ArrowLength());
  EXPECT_EQ(p->leftTop.y + p->height + 1, p->arrowTo.y);
  // The mark under a pixel.
  EXPECT_EQ(line.Marks().MarkAt(p->leftTop.x + 2, p->leftTop.y + 2), 3);
  EXPECT_EQ(line.Marks().MarkAt(p->leftTop.x - 5, p->leftTop.y - 5), -1);
  line.SetParentChart(nullptr);
}

TEST_F(Marks, BarMarksStandAboveTheirBarsAndAMovedMarkKeepsItsPlace) {
  TBarSeries bars;
  for (int i = 0; i < 4; ++i) bars.AddY(20 + 10 * i);
  bars.AddY(-30);
  chart_.LeftAxis()->SetMinMax(-50, 100);
  bars.SetParentChart(&chart_);
  EXPECT_TRUE(bars.Marks().Visible());
  EXPECT_EQ(bars.Marks().ArrowLength(), 20);
  QImage image = Draw();
  const TBarGeometry g = bars.BarGeometry(1);
  const TSeriesMarkPosition* p = bars.Marks().Positions().Position(1);
  ASSERT_TRUE(p);
  EXPECT_EQ(XY(p->arrowFrom), XY(TPoint{(g.left + g.right) / 2, g.valueY}));
  EXPECT_EQ(p->arrowTo.y, g.valueY - 20);
  EXPECT_EQ(p->leftTop.x, (g.left + g.right) / 2 - p->width / 2);
  // The box is drawn in the marks' colour.
  const platform::ColorRef box = drawtest::At(image, p->leftTop.x + p->width / 2, p->leftTop.y + 1);
  EXPECT_NE(box, clWhite);
  EXPECT_NE(box, bars.SeriesColor());
  // A downward bar has its mark below.
  const TBarGeometry down = bars.BarGeometry(4);
  EXPECT_GT(bars.Marks().Positions().Position(4)->leftTop.y, down.valueY);
  // Moved by the user: the box stays where it was put.
  TSeriesMarkPosition moved = *p;
  moved.leftTop = TPoint{10, 10};
  moved.arrowFrom = TPoint{0, 0};
  bars.Marks().Positions().SetPosition(1, moved);
  Draw();
  EXPECT_EQ(XY(bars.Marks().Positions().Position(1)->leftTop), XY(TPoint{10, 10}));
  EXPECT_EQ(XY(bars.Marks().Positions().Position(1)->arrowFrom), XY(TPoint{0, 0}));
  // With its arrow end fixed, the arrow start follows the point.
  bars.Marks().Positions().Position(1)->arrowFix = true;
  bars.SetYValue(1, 60);
  Draw();
  EXPECT_EQ(XY(bars.Marks().Positions().Position(1)->leftTop), XY(TPoint{10, 10}));
  EXPECT_EQ(bars.Marks().Positions().Position(1)->arrowFrom.y, bars.BarGeometry(1).valueY);
  bars.SetParentChart(nullptr);
}

// A mark found by MarkAt is one drawn in the latest frame: after a zoom that leaves a point's
// mark out, or with the marks hidden, its old place is no mark.
TEST_F(Marks, MarkAtFindsOnlyMarksOfTheCurrentFrame) {
  TBarSeries bars;
  for (int i = 0; i < 5; ++i) bars.AddY(20 + 10 * i);
  bars.SetParentChart(&chart_);
  Draw();
  const TSeriesMarkPosition* p = bars.Marks().Positions().Position(1);
  ASSERT_TRUE(p);
  const int x = p->leftTop.x + p->width / 2, y = p->leftTop.y + p->height / 2;
  ASSERT_EQ(bars.Marks().MarkAt(x, y), 1);
  // Zoomed to the last point only.
  chart_.BottomAxis()->SetMinMax(3.5, 10);
  Draw();
  ASSERT_EQ(bars.LastValueIndex(), 4);
  ASSERT_GT(bars.FirstValueIndex(), 1);
  EXPECT_EQ(bars.Marks().MarkAt(x, y), -1) << "a mark of an earlier frame";
  chart_.BottomAxis()->SetAutomatic(true);
  Draw();
  EXPECT_EQ(bars.Marks().MarkAt(x, y), 1);
  // Zoomed away from every point: the series draws nothing.
  chart_.BottomAxis()->SetMinMax(20, 30);
  Draw();
  EXPECT_EQ(bars.Marks().MarkAt(x, y), -1);
  chart_.BottomAxis()->SetAutomatic(true);
  bars.Marks().SetVisible(false);
  Draw();
  EXPECT_EQ(bars.Marks().MarkAt(x, y), -1) << "hidden marks";
  bars.SetParentChart(nullptr);
}

TEST_F(Marks, In3DTheTextStandsInItsBox) {
  // The first of three series lies deepest.
  TBarSeries bars, middle, front;
  bars.AddY(40);
  middle.AddY(10);
  front.AddY(5);
  for (TBarSeries* s : {&bars, &middle, &front}) s->SetParentChart(&chart_);
  middle.Marks().SetVisible(false);
  front.Marks().SetVisible(false);
  chart_.SetView3D(true);
  const QImage image = Draw();
  const TSeriesMarkPosition* p = bars.Marks().Positions().Position(0);
  ASSERT_TRUE(p);
  const TPoint end = chart_.Canvas().ProjectPoint(p->arrowTo.x, p->arrowTo.y, bars.MiddleZ());
  const int dx = end.x - p->arrowTo.x, dy = end.y - p->arrowTo.y;
  ASSERT_NE(dx, 0);
  int text = 0;
  for (int y = p->leftTop.y + dy + 1; y < p->leftTop.y + dy + p->height - 1; ++y) {
    for (int x = p->leftTop.x + dx + 1; x < p->leftTop.x + dx + p->width - 1; ++x) {
      const QRgb c = image.pixel(x, y);
      text += qRed(c) < 100 && qGreen(c) < 100 && qBlue(c) < 100;
    }
  }
  EXPECT_GT(text, 5);
  for (TBarSeries* s : {&bars, &middle, &front}) s->SetParentChart(nullptr);
}

TEST_F(Marks, AntiOverlapMovesByExactlyTheOverlap) {
  TBarSeries bars;
  TSeriesMarks& marks = bars.Marks();
  marks.Pen().SetVisible(false);
  marks.Shadow().SetSize(0);
  marks.Positions().SetPosition(0, Box(100, 100));
  struct Case {
    int top, expectedTop;
  } cases[] = {{100, 120}, {110, 120}, {90, 80}, {130, 130}};
  for (const Case& c : cases) {
    TSeriesMarkPosition p = Box(110, c.top);
    const int arrow = p.arrowTo.y;
    marks.AntiOverlap(0, 0, p);
    EXPECT_EQ(p.leftTop.y, c.expectedTop) << c.top;
    EXPECT_EQ(p.arrowTo.y - arrow, c.expectedTop - c.top);
  }
  // The frame pen widens both boxes on every side, the shadow on its own sides.
  marks.Pen().SetVisible(true);
  TSeriesMarkPosition p = Box(110, 100);
  marks.AntiOverlap(0, 0, p);
  EXPECT_EQ(p.leftTop.y, 122);
  marks.Shadow().SetSize(1);
  p = Box(110, 100);
  marks.AntiOverlap(0, 0, p);
  EXPECT_EQ(p.leftTop.y, 123);
}

// The overlap grid gives what comparing the box with every stored box in index order gives:
// stored boxes of many sizes (one over the whole area, some indexes empty), the passes growing
// their last index as a marks pass does.
TEST_F(Marks, AntiOverlapGivesTheResultOfComparingEveryStoredBoxInTurn) {
  TBarSeries bars;
  TSeriesMarks& marks = bars.Marks();
  marks.Pen().SetVisible(false);
  marks.Shadow().SetSize(0);
  unsigned seed = 12345;
  auto next = [&](int n) {
    seed = seed * 1103515245u + 12345u;
    return static_cast<int>((seed >> 16) % static_cast<unsigned>(n));
  };
  const int n = 1500, first = 5;
  std::vector<TRect> stored(n);
  for (int i = 0; i < n; ++i) {
    if (i % 17 == 3) continue;  // no position
    const TSeriesMarkPosition p =
        i == 700 ? Box(-50, -50, 800, 600) : Box(next(600) - 20, next(400) - 20, 10 + next(60), 8 + next(25));
    marks.Positions().SetPosition(i, p);
    stored[static_cast<size_t>(i)] = TRect{p.leftTop.x, p.leftTop.y, p.leftTop.x + p.width, p.leftTop.y + p.height};
  }
  for (int last = first - 1; last < n; last += 1 + next(4)) {
    SCOPED_TRACE(last);
    TSeriesMarkPosition p = Box(next(600) - 20, next(400) - 20, 10 + next(60), 8 + next(25));
    // The reference: each stored box in turn against the box as moved so far.
    TRect mine{p.leftTop.x, p.leftTop.y, p.leftTop.x + p.width, p.leftTop.y + p.height};
    for (int i = first; i <= last; ++i) {
      if (i % 17 == 3) continue;
      const TRect& theirs = stored[static_cast<size_t>(i)];
      if (!(mine.left < theirs.right && theirs.left < mine.right && mine.top < theirs.bottom && theirs.top < mine.bottom))
        continue;
      const int shift = theirs.top > mine.top ? -(mine.bottom - theirs.top) : theirs.bottom - mine.top;
      mine.top += shift;
      mine.bottom += shift;
    }
    const int arrow = p.arrowTo.y, top = p.leftTop.y;
    marks.AntiOverlap(first, last, p);
    ASSERT_EQ(p.leftTop.y, mine.top);
    ASSERT_EQ(p.arrowTo.y - arrow, p.leftTop.y - top);
  }
}

// The inputs that took seconds when each mark was compared with every earlier one: a bar
// series of 30,000 points with marks, and pies and donuts of 10,000 slices. The grid compares a
// box with a handful of boxes per move it makes and per mark.
TEST_F(Marks, AntiOverlapComparesAFewBoxesPerMoveAndPerMark) {
  struct Case {
    const char* kind;
    int points;
  };
  for (const Case c : {Case{"bar", 30000}, Case{"pie", 10000}, Case{"donut", 10000}}) {
    SCOPED_TRACE(c.kind);
    std::unique_ptr<TChartSeries> series;
    if (std::string(c.kind) == "bar") {
      series = std::make_unique<TBarSeries>();
    } else if (std::string(c.kind) == "pie") {
      series = std::make_unique<TPieSeries>();
    } else {
      series = std::make_unique<TDonutSeries>();
    }
    for (int i = 0; i < c.points; ++i) series->AddY(1 + (i * 37) % 100);
    series->Marks().SetVisible(true);
    series->SetParentChart(&chart_);
    Draw();
    const TSeriesMarks& marks = series->Marks();
    EXPECT_GT(marks.OverlapMoves(), 0);
    EXPECT_LE(marks.OverlapTests(), 2 * marks.OverlapMoves() + 64LL * c.points)
        << marks.OverlapTests() << " comparisons for " << marks.OverlapMoves() << " moves";
    series->SetParentChart(nullptr);
  }
}

TEST_F(Marks, CustomItemsOverrideTextAndLook) {
  TBarSeries bars;
  bars.AddY(5, "label");
  bars.AddY(7);
  bars.Marks().Items().Item(1).SetLines({"Own", "text"});
  EXPECT_EQ(bars.MarkTextOf(0), "label");
  EXPECT_EQ(bars.MarkTextOf(1), "Own\r\ntext");
  EXPECT_EQ(&bars.Marks().ShapeOf(1), bars.Marks().Items().Find(1));
  EXPECT_EQ(&bars.Marks().ShapeOf(0), &bars.Marks());
  bars.Marks().Items().Item(1).SetVisible(false);
  EXPECT_FALSE(bars.Marks().ItemVisible(1));
}

TEST_F(Marks, CustomItemsAreStoredInForms) {
  auto* bars = new TBarSeries(&chart_);
  bars->SetName("Series1");
  bars->AddY(5);
  bars->AddY(6);
  bars->AddY(7);
  bars->SetParentChart(&chart_);
  bars->Marks().Items().Item(2).SetLines({"Third"});
  bars->Marks().Items().Item(2).SetColor(clYellow);
  bars->Marks().Callout().SetDistance(3);
  bars->Marks().Callout().SetStyle(psCircle);
  bars->Marks().SetArrowLength(12);
  bars->Marks().Symbol().SetVisible(true);
  chart_.setObjectName("Chart1");
  const std::string text = WriteComponent(chart_);
  EXPECT_NE(text.find("Marks.Items = {"), std::string::npos) << text;
  TCustomAxisPanel copy;
  std::string error;
  ASSERT_TRUE(ReadComponent(text, copy, &error)) << error;
  ASSERT_EQ(copy.SeriesCount(), 1);
  TChartSeries* read = copy.SeriesAt(0);
  ASSERT_TRUE(dynamic_cast<TBarSeries*>(read));
  EXPECT_EQ(read->Marks().Items().Count(), 3);
  ASSERT_TRUE(read->Marks().ItemText(2));
  EXPECT_EQ(read->MarkTextOf(2), "Third");
  EXPECT_EQ(read->Marks().Items().Find(2)->Color(), clYellow);
  EXPECT_EQ(read->Marks().CalloutDistance(), 3);
  EXPECT_EQ(read->Marks().Callout().Style(), psCircle);
  EXPECT_EQ(read->Marks().ArrowLength(), 12);
  EXPECT_TRUE(read->Marks().SymbolShown());
  EXPECT_EQ(WriteComponent(copy), text) << "written again alike";
  // Reading the points cleared the series once after the items were read: they stayed. A
  // later clear frees them.
  read->Clear();
  EXPECT_EQ(read->Marks().Items().Count(), 0);
  // A damaged block is refused with the line, not read.
  std::string damaged = text;
  const size_t at = damaged.find("Marks.Items = {");
  damaged.replace(damaged.find('{', at) + 3, 8, "FFFFFF7F");
  TCustomAxisPanel other;
  EXPECT_FALSE(ReadComponent(damaged, other, &error));
}

// ---- Point markers ------------------------------------------------------------------------

namespace {

constexpr int kCell = 40;

// A chart that draws one marker of every style after its own drawing.
class PointerChart : public TCustomAxisPanel {
 public:
  PointerChart() {
    resize(12 * kCell + 20, 120);
    SetBevelOuter(bvNone);
    SetColor(clWhite);
    SetAxisVisible(false);
  }
  void FireAfterDraw() override {
    TSeriesPointer pointer(this, series);
    pointer.Pen().SetColor(clBlack);
    for (int s = psRectangle; s <= psRightTriangle; ++s) {
      pointer.SetStyle(static_cast<TSeriesPointerStyle>(s));
      pointer.Draw(Canvas(), View3D(), 20 + s * kCell, 60, clRed);
    }
  }
  TChartSeries* series = nullptr;
};

// Where each style of size 4 inks and where it leaves the white, as offsets from its centre.
struct StyleShape {
  TSeriesPointerStyle style;
  std::vector<std::pair<int, int>> inked, blank;
};
const std::vector<StyleShape>& StyleShapes() {
  static const std::vector<StyleShape> shapes = {
      {psRectangle, {{-4, -4}, {4, -4}, {4, 4}, {-4, 4}, {0, 0}}, {{-6, 0}, {6, 0}, {0, -6}}},
      {psCircle, {{0, -3}, {0, 3}, {-3, 0}, {3, 0}, {0, 0}}, {{-4, -4}, {3, -4}, {-4, 3}, {3, 3}}},
      {psTriangle, {{0, -4}, {-4, 4}, {3, 4}, {0, 0}}, {{-3, -3}, {3, -3}}},
      {psDownTriangle, {{0, 4}, {-4, -4}, {3, -4}, {0, 0}}, {{-3, 3}, {3, 3}}},
      {psCross, {{0, -4}, {0, 4}, {-4, 0}, {4, 0}, {0, 0}}, {{-3, -3}, {3, 3}, {2, 2}, {-2, 2}}},
      {psDiagCross, {{-4, -4}, {4, 4}, {4, -4}, {-4, 4}, {0, 0}}, {{0, -4}, {-4, 0}, {0, 3}, {3, 0}}},
      {psStar, {{0, -4}, {-4, 0}, {-4, -4}, {4, 4}, {0, 0}}, {{2, -4}, {-4, 2}}},
      {psDiamond, {{0, -3}, {0, 3}, {-3, 0}, {3, 0}, {0, 0}}, {{-3, -3}, {3, 3}, {-3, 3}, {3, -3}}},
      {psLeftTriangle, {{-4, 0}, {3, -3}, {3, 3}, {0, 0}}, {{-4, -4}, {-4, 4}, {-3, -3}}},
      {psRightTriangle, {{4, 0}, {-3, -3}, {-3, 3}, {0, 0}}, {{4, -4}, {4, 4}, {3, -3}}},
  };
  return shapes;
}

int InkInCell(const QImage& image, int style) {
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = style * kCell; x < (style + 1) * kCell; ++x) n += drawtest::At(image, x, y) != clWhite;
  }
  return n;
}

}  // namespace

TEST(Pointer, EveryStyleIn2DAnd3DOnAnImageAndInAMetafile) {
  ChartLibraryScope scope;
  PointerChart chart;
  TFastLineSeries line;
  line.SetParentChart(&chart);
  chart.series = &line;
  for (bool view3D : {false, true}) {
    chart.SetView3D(view3D);
    const QImage image = charttest::PanelPicture(chart);
    drawtest::Keep(image, view3D ? "pointers-3d" : "pointers-2d");
    for (int s = psRectangle; s <= psRightTriangle; ++s) {
      const int ink = InkInCell(image, s);
      if (s == psNothing) {
        EXPECT_EQ(ink, 0);
      } else if (s == psSmallDot) {
        EXPECT_EQ(ink, 1);
        if (!view3D) {
          EXPECT_EQ(drawtest::At(image, 20 + s * kCell, 60), clRed);
        }
      } else {
        EXPECT_GT(ink, 8) << "style " << s << (view3D ? " 3D" : " 2D");
      }
    }
    // In 2D each style's outline: inked places (within a pixel) and white ones.
    for (const StyleShape& shape : view3D ? std::vector<StyleShape>{} : StyleShapes()) {
      const int cx = 20 + shape.style * kCell, cy = 60;
      for (const auto& [dx, dy] : shape.inked) {
        bool near = false;
        for (int ex = -1; ex <= 1; ++ex)
          for (int ey = -1; ey <= 1; ++ey) near |= drawtest::At(image, cx + dx + ex, cy + dy + ey) != clWhite;
        EXPECT_TRUE(near) << "style " << shape.style << " inks " << dx << ", " << dy;
      }
      for (const auto& [dx, dy] : shape.blank) {
        EXPECT_EQ(drawtest::At(image, cx + dx, cy + dy), clWhite) << "style " << shape.style << " leaves " << dx << ", " << dy;
      }
    }
    // The metafile played back shows the same markers.
    const auto metafile = chart.MakeMetafile(true, chart.GetPanelRect());
    ASSERT_TRUE(metafile);
    QImage played = drawtest::WhiteImage(image.width(), image.height());
    {
      platform::QtDc dc(played);
      const platform::EmfPlayResult r = platform::PlayEnhMetafile(dc, metafile->Bytes(), chart.GetPanelRect());
      EXPECT_TRUE(r.ok) << r.error;
    }
    drawtest::Keep(played, view3D ? "pointers-3d-emf" : "pointers-2d-emf");
    EXPECT_LE(drawtest::DiffCount(image, played), 12) << drawtest::DiffBounds(image, played);
  }
  line.SetParentChart(nullptr);
}

TEST(Pointer, SizesMustBePositive) {
  ChartLibraryScope scope;
  TSeriesPointer pointer(nullptr, nullptr);
  pointer.SetHorizSize(6);
  EXPECT_THROW(pointer.SetHorizSize(0), ChartException);
  EXPECT_THROW(pointer.SetVertSize(-1), ChartException);
  EXPECT_EQ(pointer.HorizSize(), 6);
  EXPECT_EQ(pointer.VertSize(), 4);
  TMarksCallout callout(nullptr, nullptr);
  EXPECT_FALSE(callout.Visible());
  EXPECT_TRUE(callout.Arrow().Visible());
  EXPECT_EQ(callout.Length(), 8);
  EXPECT_FALSE(callout.IsLengthStored());
  callout.SetLength(12);
  EXPECT_TRUE(callout.IsLengthStored());
}
