// The chart component driven as a user drives it: Qt mouse and wheel events on an offscreen
// chart, zoom by percent, undo, panning, the legend's check boxes, titles and walls.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMouseEvent>
#include <QScrollArea>
#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <cstdlib>
#include <memory>
#include <vector>

#include "chart/axis.h"
#include "chart/bar.h"
#include "chart/chart.h"
#include "chart/fast_line.h"
#include "chart/messages.h"
#include "chart/unit.h"
#include "panel_fixture.h"

using namespace chart;

namespace {

// A series that draws against no axes, as pies do.
class NoAxesSeries : public TChartSeries {
 public:
  bool UsesAxes() const override { return false; }
};

void SendMouse(QWidget& w, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, QPoint p) {
  QMouseEvent e(type, QPointF(p), w.mapToGlobal(QPointF(p)), button, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &e);
}

// Press at `from`, move in two steps, release at `to`.
void Drag(QWidget& w, Qt::MouseButton button, QPoint from, QPoint to) {
  SendMouse(w, QEvent::MouseButtonPress, button, button, from);
  SendMouse(w, QEvent::MouseMove, Qt::NoButton, button, (from + to) / 2);
  SendMouse(w, QEvent::MouseMove, Qt::NoButton, button, to);
  SendMouse(w, QEvent::MouseButtonRelease, button, Qt::NoButton, to);
}

void Click(QWidget& w, QPoint p) {
  SendMouse(w, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, p);
  SendMouse(w, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, p);
}

void Wheel(QWidget& w, int delta, QPoint p) {
  QWheelEvent e(QPointF(p), w.mapToGlobal(QPointF(p)), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(&w, &e);
}

struct Range {
  double minimum, maximum;
};
Range RangeOf(const TChartAxis* axis) { return {axis->Minimum(), axis->Maximum()}; }

class ChartTest : public ::testing::Test {
 protected:
  ChartTest() {
    chart_.resize(500, 360);
    chart_.SetBevelOuter(bvNone);
    chart_.SetColor(clWhite);
    chart_.SetView3D(false);
    chart_.Legend().SetVisible(false);
  }
  ~ChartTest() override {
    for (auto& s : series_) s->SetParentChart(nullptr);
  }
  // `count` line series of 12 points each, titled "Series k" with k + 1 letters "W" appended
  // to the last one.
  void AddLines(int count) {
    for (int k = 0; k < count; ++k) {
      auto s = std::make_unique<TFastLineSeries>();
      s->SetTitle("S" + std::to_string(k));
      for (int m = 0; m < 12; ++m) s->AddY(10 + k + m * 5);
      s->SetParentChart(&chart_);
      series_.push_back(std::move(s));
    }
  }
  void Fix(double leftMin, double leftMax, double bottomMin, double bottomMax) {
    chart_.LeftAxis()->SetMinMax(leftMin, leftMax);
    chart_.BottomAxis()->SetMinMax(bottomMin, bottomMax);
  }
  QImage Draw() { return charttest::PanelPicture(chart_); }
  QPoint Centre() const {
    const TRect& r = chart_.ChartRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
  // The value width of one pixel on an axis.
  static double PixelValue(const TChartAxis* axis) {
    return std::abs(axis->PixelToValue(axis->IStartPos() + 1) - axis->PixelToValue(axis->IStartPos()));
  }

  ChartLibraryScope scope_;
  TChart chart_;
  std::vector<std::unique_ptr<TChartSeries>> series_;
};

// ---- Zoom by percent and undo -------------------------------------------------------------

TEST_F(ChartTest, ZoomByPercentKeepsTheMiddleOfEachZoomedAxisAndSavesTheRestorePointOnce) {
  struct Case {
    double percent;
    TPlotZoomDirection direction;
    bool fixed;
    double share;  // of the range kept on a zoomed axis
  };
  for (const Case c : {Case{130, tzdBoth, true, 0.4}, Case{70, tzdBoth, true, 1.6}, Case{100, tzdBoth, false, 1.0},
                       Case{130, tzdHorizontal, true, 0.4}, Case{130, tzdVertical, false, 0.4}}) {
    SCOPED_TRACE(testing::Message() << c.percent << " direction " << c.direction);
    if (series_.empty()) AddLines(2);
    chart_.UndoZoom();
    chart_.LeftAxis()->SetAutomatic(true);
    chart_.BottomAxis()->SetAutomatic(true);
    if (c.fixed) Fix(0, 100, 0, 12);
    chart_.Zoom().SetDirection(c.direction);
    Draw();
    const Range left = RangeOf(chart_.LeftAxis()), bottom = RangeOf(chart_.BottomAxis());
    const double tolLeft = 2 * PixelValue(chart_.LeftAxis()), tolBottom = 2 * PixelValue(chart_.BottomAxis());
    int zooms = 0;
    chart_.OnZoom = [&](TCustomPlotPanel&) { ++zooms; };
    chart_.ZoomByPercent(c.percent);
    EXPECT_EQ(zooms, 1);
    EXPECT_TRUE(chart_.IsZoomed);
    EXPECT_FALSE(chart_.ScalesRestorePointFree());
    const auto check = [&](const TChartAxis* axis, Range before, bool zoomed, double tol) {
      const double share = zoomed ? c.share : 1.0;
      const double mid = (before.minimum + before.maximum) / 2, half = (before.maximum - before.minimum) / 2;
      EXPECT_NEAR(axis->Minimum(), mid - half * share, tol);
      EXPECT_NEAR(axis->Maximum(), mid + half * share, tol);
      EXPECT_FALSE(axis->Automatic());
    };
    check(chart_.LeftAxis(), left, c.direction != tzdHorizontal, tolLeft);
    check(chart_.BottomAxis(), bottom, c.direction != tzdVertical, tolBottom);
    // A second zoom keeps the first restore point: undo returns to the scales before both.
    Draw();
    chart_.ZoomByPercent(130);
    chart_.UndoZoom();
    EXPECT_TRUE(chart_.ScalesRestorePointFree());
    EXPECT_FALSE(chart_.IsZoomed);
    EXPECT_EQ(chart_.LeftAxis()->Automatic(), !c.fixed);
    if (c.fixed) {
      EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Minimum(), 0);
      EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Maximum(), 100);
      EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Maximum(), 12);
    }
    chart_.OnZoom = nullptr;
  }
}

TEST_F(ChartTest, UndoZoomRestoresAfterEveryKindOfMoveAndRunsThePanelUndoWithoutOne) {
  AddLines(2);
  Fix(0, 100, 0, 12);
  Draw();
  int undos = 0;
  chart_.OnUndoZoom = [&](TCustomPlotPanel&) { ++undos; };

  // Without a prior zoom or pan nothing is restored, the panel's undo still runs.
  chart_.LeftAxis()->SetMinMax(5, 50);
  chart_.UndoZoom();
  EXPECT_EQ(undos, 1);
  EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Minimum(), 5);
  chart_.LeftAxis()->SetMinMax(0, 100);

  const std::vector<std::pair<const char*, std::function<void()>>> moves = {
      {"zoom", [&] { chart_.ZoomByPercent(130); }},
      {"pan", [&] { Drag(chart_, Qt::RightButton, Centre(), Centre() + QPoint(-30, 25)); }},
      {"wheel", [&] { Wheel(chart_, -120, Centre()); }},
      // The saved minimum 0 lies beyond the maximum after this scroll.
      {"far scroll",
       [&] {
         chart_.ZoomByPercent(130);
         chart_.LeftAxis()->ShiftRange(-1000, false);
       }},
  };
  for (const auto& [name, move] : moves) {
    SCOPED_TRACE(name);
    Draw();
    move();
    EXPECT_FALSE(chart_.ScalesRestorePointFree());
    EXPECT_NO_THROW(chart_.UndoZoom());
    EXPECT_TRUE(chart_.ScalesRestorePointFree());
    EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Minimum(), 0);
    EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Maximum(), 100);
    EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Minimum(), 0);
    EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Maximum(), 12);
  }
}

TEST_F(ChartTest, AnUndoneZoomOfAutomaticAxesMakesThemAutomaticAgain) {
  AddLines(1);
  Draw();
  chart_.ZoomByPercent(130);
  Wheel(chart_, 120, Centre());
  chart_.UndoZoom();
  EXPECT_TRUE(chart_.LeftAxis()->Automatic());
  EXPECT_TRUE(chart_.LeftAxis()->AutomaticMinimum());
  EXPECT_TRUE(chart_.BottomAxis()->AutomaticMaximum());
}

TEST_F(ChartTest, ValueSourceItemsNameTheValueListsOfTheFeedingSeries) {
  AddLines(2);
  EXPECT_TRUE(TCustomChart::ValueSourceItems(*series_[1]).empty());
  series_[1]->SetDataSource(series_[0].get());
  EXPECT_EQ(TCustomChart::ValueSourceItems(*series_[1]), (std::vector<std::string>{"X", "Y"}));
}

// ---- Mouse --------------------------------------------------------------------------------

TEST_F(ChartTest, RubberBandZoomsBeyondMinimumPixelsAndADragBackUndoes) {
  AddLines(2);
  Fix(0, 100, 0, 12);
  Draw();
  const QPoint c = Centre();
  Drag(chart_, Qt::LeftButton, c, c + QPoint(16, 16));
  EXPECT_FALSE(chart_.IsZoomed) << "16 pixels is not more than MinimumPixels";
  EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Maximum(), 12);

  const TChartAxis* bottom = chart_.BottomAxis();
  const TChartAxis* left = chart_.LeftAxis();
  // The band's corners as values before the zoom.
  const double x0 = bottom->PixelToValue(c.x()), x1 = bottom->PixelToValue(c.x() + 20);
  const double y0 = left->PixelToValue(c.y() + 20), y1 = left->PixelToValue(c.y());
  Drag(chart_, Qt::LeftButton, c, c + QPoint(20, 20));
  EXPECT_TRUE(chart_.IsZoomed);
  EXPECT_FALSE(chart_.Zoom().Active);
  EXPECT_DOUBLE_EQ(bottom->Minimum(), x0);
  EXPECT_DOUBLE_EQ(bottom->Maximum(), x1);
  EXPECT_DOUBLE_EQ(left->Minimum(), y0);
  EXPECT_DOUBLE_EQ(left->Maximum(), y1);

  Draw();
  Drag(chart_, Qt::LeftButton, c + QPoint(20, 0), c + QPoint(-20, 25));
  EXPECT_FALSE(chart_.IsZoomed);
  EXPECT_DOUBLE_EQ(bottom->Minimum(), 0);
  EXPECT_DOUBLE_EQ(bottom->Maximum(), 12);
  EXPECT_DOUBLE_EQ(left->Maximum(), 100);
}

// Switching buffering off frees the buffer the chart canvas draws in between paints: the
// canvas goes to the control's surface, so the zoom rectangle of a drag and later paints draw.
TEST_F(ChartTest, ACanvasWithoutItsBufferStillDrawsBetweenPaints) {
  AddLines(1);
  Fix(0, 100, 0, 12);
  auto inked = [](const QImage& image) {
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x) n += (image.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF;
    return n;
  };
  chart_.grab();  // a paint through the buffer
  chart_.SetBuffered(false);
  const QPoint c = Centre();
  Drag(chart_, Qt::LeftButton, c, c + QPoint(30, 30));
  EXPECT_TRUE(chart_.IsZoomed);
  EXPECT_GT(inked(chart_.grab().toImage()), 500);
  // Copying the settings of an unbuffered panel switches buffering off the same way.
  TChart unbuffered;
  unbuffered.SetBuffered(false);
  TChart copy;
  copy.resize(300, 200);
  copy.SetColor(clWhite);
  copy.grab();
  static_cast<TCustomPlotPanel&>(copy).CopyFrom(unbuffered);
  EXPECT_FALSE(copy.Buffered());
  copy.Canvas().DrawLine(0, 0, 20, 20);
  SendMouse(copy, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, QPoint(150, 100));
  SendMouse(copy, QEvent::MouseMove, Qt::NoButton, Qt::LeftButton, QPoint(170, 120));
  SendMouse(copy, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, QPoint(170, 120));
  EXPECT_GT(inked(copy.grab().toImage()), 100);
}

TEST_F(ChartTest, PanningMovesTheAxesByThePointerMovement) {
  AddLines(1);
  Fix(0, 100, 0, 12);
  Draw();
  // The values of the pointer movement on each axis (the pointer moves 10 left and 8 up).
  const QPoint c = Centre();
  const double dx = chart_.BottomAxis()->PixelToValue(c.x()) - chart_.BottomAxis()->PixelToValue(c.x() - 10);
  const double dy = chart_.LeftAxis()->PixelToValue(c.y()) - chart_.LeftAxis()->PixelToValue(c.y() - 8);
  int scrolls = 0;
  chart_.OnScroll = [&](TCustomPlotPanel&) { ++scrolls; };
  Drag(chart_, Qt::RightButton, Centre(), Centre() + QPoint(-10, -8));  // left and up
  EXPECT_EQ(scrolls, 2);
  EXPECT_GT(dx, 0);
  EXPECT_NEAR(chart_.BottomAxis()->Minimum(), dx, 1e-9);
  EXPECT_NEAR(chart_.BottomAxis()->Maximum(), 12 + dx, 1e-9);
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), dy, 1e-9);
  EXPECT_NEAR(chart_.LeftAxis()->Maximum(), 100 + dy, 1e-9);
  EXPECT_FALSE(chart_.Panning().Active);

  // A vertical-only panning mode leaves the bottom axis.
  chart_.UndoZoom();
  Draw();
  chart_.SetAllowPanning(pmVertical);
  Drag(chart_, Qt::RightButton, Centre(), Centre() + QPoint(-10, -8));
  EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Minimum(), 0);
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), dy, 1e-9);
}

TEST_F(ChartTest, AChartOfSeriesWithoutAxesNeitherZoomsNorPans) {
  auto pie = std::make_unique<NoAxesSeries>();
  for (int i = 0; i < 4; ++i) pie->AddY(i + 1);
  pie->SetParentChart(&chart_);
  series_.push_back(std::move(pie));
  EXPECT_FALSE(chart_.UsesAxes());
  Draw();
  Drag(chart_, Qt::LeftButton, Centre(), Centre() + QPoint(40, 40));
  Drag(chart_, Qt::RightButton, Centre(), Centre() + QPoint(-40, -40));
  EXPECT_FALSE(chart_.IsZoomed);
  EXPECT_TRUE(chart_.ScalesRestorePointFree());
}

TEST_F(ChartTest, EachWheelNotchScrollsTheVerticalAxesByThreePercent) {
  AddLines(1);
  Fix(0, 100, 0, 12);
  chart_.RightAxis()->SetMinMax(-50, 50);
  Draw();
  Wheel(chart_, -120, Centre());  // towards the user: down
  EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Minimum(), 3);
  EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Maximum(), 103);
  EXPECT_DOUBLE_EQ(chart_.RightAxis()->Minimum(), -47);
  EXPECT_DOUBLE_EQ(chart_.BottomAxis()->Minimum(), 0);
  // Two notches in one event; half notches add up to one.
  Wheel(chart_, 240, Centre());
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), 3 - 3 - 3, 1e-9);
  Wheel(chart_, 60, Centre());
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), -3, 1e-9);
  Wheel(chart_, 60, Centre());
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), -6, 1e-9);
  // Switched off for every chart.
  TCustomChart::WheelScrollEnabled = false;
  Wheel(chart_, 120, Centre());
  TCustomChart::WheelScrollEnabled = true;
  EXPECT_NEAR(chart_.LeftAxis()->Minimum(), -6, 1e-9);
}

TEST_F(ChartTest, AChartInAScrollAreaKeepsTheWheelTurn) {
  AddLines(1);
  Fix(0, 100, 0, 12);
  QScrollArea area;
  area.resize(300, 200);
  area.setWidget(&chart_);
  area.show();
  Draw();
  // Delivered as the window system delivers it: Qt hands a turn the chart left to the area.
  for (bool scrolling : {true, false}) {
    TCustomChart::WheelScrollEnabled = scrolling;
    const QPointF at(Centre());
    QWheelEvent e(at, chart_.mapToGlobal(at), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(&chart_, &e);
    EXPECT_EQ(area.verticalScrollBar()->value(), 0) << scrolling;
  }
  TCustomChart::WheelScrollEnabled = true;
  EXPECT_DOUBLE_EQ(chart_.LeftAxis()->Minimum(), 3);
  area.takeWidget();
}

TEST_F(ChartTest, ClicksReachTheHandlerOfWhatLiesUnderThePointer) {
  AddLines(1);
  chart_.Title().SetText({"Title"});
  chart_.Zoom().SetAllow(false);
  Draw();
  std::vector<std::string> calls;
  chart_.OnClickTitle = [&](TCustomChart&, TChartTitle* t, TMouseButton, TShiftState, int, int) {
    calls.push_back(t == &chart_.Title() ? "title" : "other title");
  };
  chart_.OnClickBackground = [&](TCustomChart&, TMouseButton, TShiftState, int, int) { calls.push_back("background"); };
  chart_.OnClickAxis = [&](TCustomChart&, TChartAxis* a, TMouseButton, TShiftState, int, int) {
    calls.push_back(a == chart_.LeftAxis() ? "left axis" : "axis");
  };
  const TRect& t = chart_.Title().ShapeBounds();
  Click(chart_, {(t.left + t.right) / 2, (t.top + t.bottom) / 2});
  Click(chart_, Centre() + QPoint(0, 40));
  Click(chart_, {chart_.LeftAxis()->PosAxis() - 4, Centre().y()});
  EXPECT_EQ(calls, (std::vector<std::string>{"title", "background", "left axis"}));
}

// ---- Legend -------------------------------------------------------------------------------

class LegendTest : public ChartTest {
 protected:
  // The weather window's legend: on top, check boxes, series-coloured texts, no symbols.
  void WeatherLegend() {
    TChartLegend& l = chart_.Legend();
    l.SetVisible(true);
    l.SetAlignment(laTop);
    l.SetCheckBoxes(true);
    l.SetFontSeriesColor(true);
    l.Symbol().SetVisible(false);
  }
  // The middle of the check box of the item drawn at `position`.
  QPoint BoxOf(int position) {
    TLegendItem& item = chart_.Legend().Items().At(position);
    const int h = chart_.Legend().ItemHeight();
    return {item.symbolRect.left - 11, item.y - 1 + (h - 11) / 2 + 6};
  }
};

TEST_F(LegendTest, ATopLegendWithCheckBoxesSwitchesTheClickedSeriesAndKeepsInactiveOnesListed) {
  AddLines(10);
  WeatherLegend();
  Draw();
  TChartLegend& l = chart_.Legend();
  ASSERT_EQ(l.TotalItems(), 10);
  ASSERT_GT(l.Columns(), 1);
  for (const int k : {0, 3, 9}) {
    SCOPED_TRACE(k);
    const QPoint box = BoxOf(k);
    ASSERT_EQ(l.ItemAt(box.x(), box.y()), k);
    Click(chart_, box);
    EXPECT_FALSE(series_[static_cast<size_t>(k)]->Active());
    Draw();
    EXPECT_EQ(l.TotalItems(), 10) << "an inactive series stays listed";
    EXPECT_EQ(l.TextOfItem(k), "S" + std::to_string(k));
    Click(chart_, BoxOf(k));
    EXPECT_TRUE(series_[static_cast<size_t>(k)]->Active());
  }
  EXPECT_FALSE(chart_.IsZoomed) << "a legend click starts no zoom";

  // Without check boxes inactive series are not listed.
  l.SetCheckBoxes(false);
  series_[2]->SetActive(false);
  EXPECT_EQ(l.TotalItems(), 9);
  EXPECT_EQ(l.TextOfItem(2), "S3");
}

// A top or bottom legend, plain or inverted, with a last row full or partly filled: a point on
// an item's text or on its check box answers the item drawn there.
TEST_F(LegendTest, ItemAtAnswersTheItemDrawnAtTheTextAndTheCheckBox) {
  AddLines(13);
  WeatherLegend();
  TChartLegend& l = chart_.Legend();
  struct Case {
    int count, width;
  };
  int partial = 0;
  for (const Case c : {Case{5, 500}, Case{7, 500}, Case{13, 500}, Case{7, 260}, Case{13, 330}, Case{13, 200}}) {
    for (size_t k = 0; k < series_.size(); ++k) series_[k]->SetShowInLegend(static_cast<int>(k) < c.count);
    chart_.resize(c.width, 360);
    for (const TLegendAlignment side : {laTop, laBottom}) {
      for (const bool inverted : {false, true}) {
        SCOPED_TRACE(testing::Message() << c.count << " series, width " << c.width << ", side " << side
                                        << (inverted ? ", inverted" : ""));
        l.SetAlignment(side);
        l.SetInverted(inverted);
        Draw();
        ASSERT_GT(l.Columns(), 0);
        const int drawn = l.LastValue() + 1;
        ASSERT_EQ(drawn, c.count);
        if (drawn % l.Columns() != 0) ++partial;
        for (int p = 0; p < drawn; ++p) {
          SCOPED_TRACE(p);
          const int index = inverted ? l.LastValue() - p : p;
          const TLegendItem& item = l.Items().At(p);
          EXPECT_EQ(l.ItemAt(item.x + 2, item.y + l.ItemHeight() / 2), index) << "text";
          const QPoint box = BoxOf(p);
          EXPECT_EQ(l.ItemAt(box.x(), box.y()), index) << "check box";
        }
      }
    }
  }
  EXPECT_GT(partial, 0) << "some cases have a partly filled last row";
}

TEST_F(LegendTest, ATopLegendWithTopPosZeroIsCentredOnTheChart) {
  AddLines(3);
  WeatherLegend();
  chart_.Legend().SetTopPos(0);
  Draw();
  // Centred on the chart rectangle it was laid out in (the panel less its margins, which are
  // equal on both sides); the axes take their room after it.
  const TRect& r = chart_.Legend().ShapeBounds();
  EXPECT_NEAR((r.left + r.right) / 2.0, chart_.Width() / 2.0, 1.0);
  EXPECT_LT(r.bottom, chart_.ChartRect().top) << "the plot area starts below the legend";
}

TEST_F(LegendTest, RadioStyleLeavesOnlyTheClickedSeriesOn) {
  AddLines(4);
  WeatherLegend();
  chart_.Legend().SetCheckBoxesStyle(cbsRadio);
  EXPECT_TRUE(series_[0]->Active());
  EXPECT_FALSE(series_[1]->Active());
  EXPECT_FALSE(series_[3]->Active());
  Draw();
  Click(chart_, BoxOf(2));
  for (int k = 0; k < 4; ++k) EXPECT_EQ(series_[static_cast<size_t>(k)]->Active(), k == 2) << k;
}

TEST_F(LegendTest, RowsAndColumnsLimitWhatIsDrawnAndHit) {
  AddLines(40);
  WeatherLegend();
  chart_.Legend().SetMaxNumRows(2);
  Draw();
  TChartLegend& l = chart_.Legend();
  const int shown = l.Columns() * 2;
  ASSERT_LT(shown, 40);
  EXPECT_EQ(l.LastValue(), shown - 1);
  const TRect& r = l.ShapeBounds();
  EXPECT_EQ(l.ItemAt(r.left + 20, r.bottom + 5), -1);
  // A legend that finds no room for one column lists nothing and hits nothing.
  chart_.resize(40, 360);
  const TRect before = chart_.ChartRect();
  Draw();
  EXPECT_EQ(l.Columns(), 0);
  EXPECT_EQ(l.ItemAt(r.left + 5, r.top + 5), -1);
  (void)before;
}

TEST_F(LegendTest, ASideLegendFitsItsLongestText) {
  AddLines(3);
  series_[1]->SetTitle("A much longer series title");
  TChartLegend& l = chart_.Legend();
  l.SetVisible(true);
  for (const TLegendAlignment side : {laLeft, laRight}) {
    SCOPED_TRACE(side);
    l.SetAlignment(side);
    Draw();
    chart_.Canvas().SelectFont(l.Font());
    const int text = chart_.Canvas().TextWidth("A much longer series title");
    const TRect& r = l.ShapeBounds();
    const TLegendItem& item = l.Items().At(1);
    EXPECT_GE(r.right, item.x + text);
    EXPECT_GE(item.x, r.left);
    // The plot area gives way to the legend.
    if (side == laLeft) {
      EXPECT_GT(chart_.ChartRect().left, r.right);
    } else {
      EXPECT_LT(chart_.ChartRect().right, r.left);
    }
  }
}

TEST_F(LegendTest, ALegendWithoutItemsLeavesTheChartRectangleAndFirstValueIsChecked) {
  AddLines(2);
  Draw();
  const TRect without = chart_.ChartRect();
  for (auto& s : series_) s->SetShowInLegend(false);
  chart_.Legend().SetVisible(true);
  Draw();
  EXPECT_EQ(chart_.ChartRect().left, without.left);
  EXPECT_EQ(chart_.ChartRect().right, without.right);

  EXPECT_NO_THROW(chart_.Legend().SetFirstValue(0));
  try {
    chart_.Legend().SetFirstValue(-1);
    FAIL() << "no exception";
  } catch (const LegendException& e) {
    EXPECT_STREQ(e.what(), "First Legend Value must be > 0");
  }
}

TEST_F(LegendTest, ValuesStyleListsThePointsOfOneSeries) {
  AddLines(1);
  TChartLegend& l = chart_.Legend();
  l.SetVisible(true);
  l.SetTextStyle(ltsValue);
  Draw();
  EXPECT_EQ(l.ResolvedStyle(), lsValues);
  EXPECT_EQ(l.TotalItems(), 12);
  EXPECT_EQ(l.TextOfItem(1), "15");
  l.SetInverted(true);
  Draw();
  const TLegendItem& first = l.Items().At(0);
  EXPECT_EQ(l.ItemAt(first.x + 2, first.y + 2), l.LastValue());
}

// ---- Titles and walls ---------------------------------------------------------------------

TEST_F(ChartTest, TitlesReserveTheirSpaceAndHiddenOnesNone) {
  AddLines(1);
  Draw();
  const TRect plain = chart_.ChartRect();
  chart_.Title().SetText({"Top line", "Second"});
  chart_.Foot().SetText({"Foot"});
  Draw();
  const TRect titled = chart_.ChartRect();
  EXPECT_GT(titled.top, plain.top + 2 * 10);
  EXPECT_LT(titled.bottom, plain.bottom - 10);
  EXPECT_LE(chart_.Title().ShapeBounds().bottom, titled.top);
  chart_.Title().SetVisible(false);
  chart_.Foot().SetVisible(false);
  Draw();
  EXPECT_EQ(chart_.ChartRect().top, plain.top);
  EXPECT_EQ(chart_.ChartRect().bottom, plain.bottom);
}

// A framed, filled box whose shadow was freed draws none, at the first paint and at every
// later one: the layout counts no room for the shadow and makes no new one. The colour looked
// for is the one the shape's default shadow would have (titles black, the legend title silver).
TEST_F(ChartTest, AFreedShadowOfATitleOrTheLegendTitleStaysAbsent) {
  AddLines(2);
  chart_.Legend().SetVisible(true);
  chart_.Legend().SetAlignment(laRight);
  struct Case {
    const char* name;
    TPlotCustomShape& shape;
    std::function<void()> setText;
    QRgb defaultShadow;
  };
  const Case cases[] = {
      {"title", chart_.Title(), [&] { chart_.Title().SetText({"Title"}); }, qRgb(0, 0, 0)},
      {"sub-title", chart_.SubTitle(), [&] { chart_.SubTitle().SetText({"Sub-title"}); }, qRgb(0, 0, 0)},
      {"foot", chart_.Foot(), [&] { chart_.Foot().SetText({"Foot"}); }, qRgb(0, 0, 0)},
      {"sub-foot", chart_.SubFoot(), [&] { chart_.SubFoot().SetText({"Sub-foot"}); }, qRgb(0, 0, 0)},
      {"legend title", chart_.Legend().Title(), [&] { chart_.Legend().Title().SetText({"Legend"}); },
       qRgb(192, 192, 192)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.setText();
    c.shape.SetTransparent(false);
    c.shape.SetColor(clYellow);
    c.shape.Pen().SetColor(clRed);
    c.shape.SetShadow(nullptr);
  }
  for (int paint = 1; paint <= 2; ++paint) {
    const QImage image = Draw();
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(c.name) + ", paint " + std::to_string(paint));
      const TRect b = c.shape.ShapeBounds();
      int shadow = 0;
      for (int y = b.top; y <= b.bottom + 3; ++y) {
        for (int x = b.left; x <= b.right + 3; ++x) {
          const bool beside = x >= b.right || y >= b.bottom;  // right and bottom lie outside the frame
          shadow += beside && image.pixel(x, y) == c.defaultShadow;
        }
      }
      EXPECT_EQ(shadow, 0);
      EXPECT_EQ(c.shape.ShadowIfAny(), nullptr);
    }
  }
}

TEST_F(ChartTest, HtmlTextsTheRendererCannotReadAreShownPlain) {
  AddLines(2);
  chart_.Legend().SetVisible(true);
  chart_.Legend().SetTextFormat(ttfHtml);
  series_[0]->SetTitle("<b>open");
  chart_.Title().SetTextFormat(ttfHtml);
  chart_.Title().SetText({"<b>Monthly</b< weather"});
  EXPECT_NO_THROW(Draw());
  chart_.Title().SetTextFormat(ttfNormal);
  const TRect plain = chart_.Title().ShapeBounds();
  Draw();
  EXPECT_EQ(chart_.Title().ShapeBounds().Width(), plain.Width()) << "measured as the plain text it is drawn as";
}

TEST_F(ChartTest, TheBackWallDrawsItsFrameAlwaysAndItsFillUnlessTransparent) {
  Fix(0, 100, 0, 12);
  chart_.SetAxisVisible(false);
  chart_.BackWall().SetColor(clYellow);
  chart_.BackWall().Pen().SetColor(clRed);
  for (const bool transparent : {true, false}) {
    SCOPED_TRACE(transparent);
    chart_.BackWall().SetTransparent(transparent);
    const QImage image = Draw();
    const TRect& r = chart_.ChartRect();
    EXPECT_EQ(image.pixel(r.left, (r.top + r.bottom) / 2), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel((r.left + r.right) / 2, r.top), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel((r.left + r.right) / 2, (r.top + r.bottom) / 2),
              transparent ? qRgb(255, 255, 255) : qRgb(255, 255, 0));
    EXPECT_EQ(chart_.GetBackColor(), transparent ? clWhite : clYellow);
  }
}

// A paint on the widget reaches a surface whose pixels cannot be read back; an unbuffered chart
// still blends what is partly transparent, as the buffered one does: the same picture both
// ways, with the half transparent bars and back wall mixed with what lies under them.
TEST_F(ChartTest, AnUnbufferedPaintBlendsAsABufferedOne) {
  Fix(0, 100, 0, 4);
  TBarSeries bars;
  bars.SetSeriesColor(clRed);
  bars.SetTransparency(50);
  for (double v : {40, 80, 60}) bars.AddY(v);
  bars.SetParentChart(&chart_);
  chart_.BackWall().SetTransparent(false);
  chart_.BackWall().SetColor(clBlue);
  chart_.BackWall().SetTransparency(50);
  const auto paint = [&] { return chart_.grab().toImage().convertToFormat(QImage::Format_RGB32); };
  const QImage buffered = paint();
  chart_.SetBuffered(false);
  const QImage unbuffered = paint();
  bars.SetParentChart(nullptr);
  ASSERT_EQ(buffered.size(), unbuffered.size());
  int differ = 0, halfBlue = 0, barOverWall = 0;
  for (int y = 0; y < buffered.height(); ++y) {
    for (int x = 0; x < buffered.width(); ++x) {
      const QRgb p = unbuffered.pixel(x, y);
      differ += p != buffered.pixel(x, y);
      halfBlue += std::abs(qRed(p) - 128) <= 2 && qBlue(p) == 255;
      barOverWall += std::abs(qRed(p) - 192) <= 2 && std::abs(qBlue(p) - 128) <= 2;
    }
  }
  drawtest::Keep(unbuffered, "chart-unbuffered-blend");
  EXPECT_EQ(differ, 0);
  EXPECT_GT(halfBlue, 1000) << "the back wall at half transparency over white";
  EXPECT_GT(barOverWall, 1000) << "the bars at half transparency over the blended wall";
}

// A back image inside the plot fills the plot area (the back plane at the chart's depth in
// 3D) and nothing outside it; the panel around the plot keeps its colour.
TEST_F(ChartTest, AnInsideBackImageFillsThePlotArea) {
  Fix(0, 100, 0, 12);
  chart_.SetAxisVisible(false);
  auto green = std::make_unique<platform::TBitmapGraphic>();
  green->SetBitmap(platform::Dib::Filled(4, 4, clLime));
  chart_.BackImage().SetGraphic(std::move(green));
  chart_.SetBackImageInside(true);
  struct Case {
    const char* name;
    bool view3D, orthogonal;
  };
  for (const Case& c : {Case{"2D", false, true}, Case{"3D", true, true}, Case{"3D turned", true, false}}) {
    SCOPED_TRACE(c.name);
    chart_.SetView3D(c.view3D);
    chart_.View3DOptions().SetOrthogonal(c.orthogonal);
    const QImage image = Draw();
    drawtest::Keep(image, std::string("chart-inside-image-") + (c.view3D ? c.orthogonal ? "3d" : "3d-turned" : "2d"));
    const TRect& r = chart_.ChartRect();
    TCanvas3D& canvas = chart_.Canvas();
    const int depth = c.view3D ? chart_.TotalDepth : 0;
    const std::array<TPoint, 4> corners = {canvas.ProjectPoint(r.left, r.top, depth),
                                           canvas.ProjectPoint(r.right, r.top, depth),
                                           canvas.ProjectPoint(r.right, r.bottom, depth),
                                           canvas.ProjectPoint(r.left, r.bottom, depth)};
    const TRect plane = PolygonBounds(corners);
    int inside = 0, outside = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, y) != qRgb(0, 255, 0)) continue;
        (x >= plane.left - 1 && x <= plane.right && y >= plane.top - 1 && y <= plane.bottom ? inside : outside)++;
      }
    }
    const int area = (r.right - r.left) * (r.bottom - r.top);
    EXPECT_GT(inside, area / 3);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(image.pixel(2, 2), qRgb(255, 255, 255));
  }
}

TEST_F(ChartTest, In3DTheWallsStandBesideAndBehindThePlotArea) {
  AddLines(1);
  chart_.SetView3D(true);
  chart_.BackWall().SetTransparent(false);
  chart_.BackWall().SetColor(clAqua);
  chart_.LeftWall().SetSize(6);
  const QImage image = Draw();
  if (const char* keep = std::getenv("CHART_TEST_PICTURES")) image.save(QString(keep) + "/walls3d.png");
  EXPECT_EQ(chart_.AxisExtraRoom(chart_.LeftAxis()), 6);
  EXPECT_EQ(chart_.AxisExtraRoom(chart_.TopAxis()), 0);
  int aqua = 0, leftWall = 0;
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      aqua += p == qRgb(0, 255, 255);
      // The left wall, light yellow ($80FFFF) shaded darker, in the 6 pixels left of the plot.
      const bool yellowish = qRed(p) > 90 && qGreen(p) > 90 && qBlue(p) < qRed(p) - 40;
      leftWall += yellowish && x < chart_.ChartRect().left && x >= chart_.ChartRect().left - 8;
    }
  }
  EXPECT_GT(aqua, 1000) << "the back wall is filled";
  EXPECT_GT(leftWall, 100) << "the left wall";
  chart_.SetView3D(false);
  Draw();
  EXPECT_EQ(chart_.AxisExtraRoom(chart_.LeftAxis()), 0) << "no wall room in 2D";
}

// A 3D wall's gradient fills the projected wall, and a partly transparent wall blends over its
// projected bounds: the back wall runs from red at its bottom to blue at its top where it
// stands (up and right of the plot rectangle), and the half transparent left wall lets the
// white behind it show through in the strip beside the plot.
TEST_F(ChartTest, In3DAWallGradientAndBlendFollowTheProjectedWall) {
  chart_.SetView3D(true);
  TChartBackWall& back = chart_.BackWall();
  back.SetTransparent(false);
  back.Gradient().SetDirection(gdTopBottom);
  back.Gradient().SetStartColor(clRed);
  back.Gradient().SetEndColor(clBlue);
  back.Gradient().SetVisible(true);
  chart_.LeftWall().SetColor(clBlack);
  chart_.LeftWall().SetTransparency(50);
  const QImage image = Draw();
  if (const char* keep = std::getenv("CHART_TEST_PICTURES")) image.save(QString(keep) + "/walls3d-gradient.png");
  const TRect& r = chart_.ChartRect();
  TCanvas3D& c = chart_.Canvas();
  const TPoint topLeft = c.ProjectPoint(r.left, r.top, chart_.TotalDepth);
  const TPoint bottomRight = c.ProjectPoint(r.right, r.bottom, chart_.TotalDepth);
  ASSERT_GT(topLeft.x, r.left + 5);
  const int x = (topLeft.x + bottomRight.x) / 2, h = bottomRight.y - topLeft.y;
  const QRgb high = image.pixel(x, topLeft.y + h / 10), low = image.pixel(x, bottomRight.y - h / 10);
  EXPECT_GT(qBlue(high), qRed(high) + 100);  // the end colour at the top
  EXPECT_GT(qRed(low), qBlue(low) + 100);
  // The face begins where it is projected: left of it lies the left wall, not the gradient.
  const QRgb beside = image.pixel(topLeft.x - 3, (topLeft.y + bottomRight.y) / 2);
  EXPECT_FALSE(qRed(beside) > qBlue(beside) + 100 || qBlue(beside) > qRed(beside) + 100);
  // The left wall, black at half transparency over white: grey on its projected face.
  const TPoint wallMiddle = c.ProjectPoint(r.left, (r.top + r.bottom) / 2, chart_.TotalDepth / 2);
  const QRgb wall = image.pixel(wallMiddle.x, wallMiddle.y);
  EXPECT_NEAR(qRed(wall), 128, 8);
  EXPECT_NEAR(qGreen(wall), 128, 8);
}

// A shown right wall, which the viewer of the usual view sees from outside the plot area,
// stands in front of the series: it is drawn after them.
TEST_F(ChartTest, In3DTheRightWallSeenFromOutsideIsDrawnOverTheSeries) {
  AddLines(1);
  chart_.SetView3D(true);
  chart_.RightWall().SetVisible(true);
  chart_.RightWall().SetColor(clBlue);
  chart_.RightWall().SetDark3D(false);
  Fix(0, 100, 0, 10);
  const QImage image = Draw();
  const TRect& r = chart_.ChartRect();
  TCanvas3D& c = chart_.Canvas();
  const TPoint middle = c.ProjectPoint(r.right, (r.top + r.bottom) / 2, chart_.TotalDepth / 2);
  EXPECT_EQ(image.pixel(middle.x, middle.y), qRgb(0, 0, 255));
  // The line runs up to the wall's plane at the series' depth: the wall covers its end.
  const TChartSeries* line = series_[0].get();
  const TPoint end = c.ProjectPoint(r.right, line->PointYPixel(11), line->MiddleZ());
  EXPECT_EQ(image.pixel(end.x, end.y), qRgb(0, 0, 255));
}

// The depth axis' grid lies on the left and bottom planes and is drawn with the walls: a bar
// standing across it hides it, even when the axes are drawn after the series.
TEST_F(ChartTest, In3DTheDepthGridLiesOnTheWallsBelowTheSeries) {
  TBarSeries bars;
  bars.SetSeriesColor(clGreen);
  for (const double v : {60.0, 80.0, 70.0}) bars.AddY(v);
  bars.SetParentChart(&chart_);
  chart_.SetView3D(true);
  chart_.SetAxisBehind(false);
  chart_.LeftAxis()->SetMinMax(0, 100);
  chart_.DepthAxis()->SetVisible(true);
  chart_.DepthAxis()->Grid().SetColor(clRed);
  chart_.DepthAxis()->Grid().SetStyle(platform::PenStyle::Solid);
  chart_.DepthAxis()->Grid().SetSmallDots(false);
  const QImage image = Draw();
  if (const char* keep = std::getenv("CHART_TEST_PICTURES")) image.save(QString(keep) + "/depth-grid.png");
  bars.SetParentChart(nullptr);
  ASSERT_EQ(chart_.DepthAxis()->TickPositions().size(), 1u) << "one row: one label, one grid line";
  const int z = chart_.DepthAxis()->TickPositions()[0];
  const TRect& r = chart_.ChartRect();
  TCanvas3D& c = chart_.Canvas();
  // On the left plane above the bars the line shows.
  EXPECT_TRUE(charttest::ColourNear(image, c.ProjectPoint(r.left, r.top + 5, z), clRed));
  // Where it runs along the bottom plane through the middle bar, the bar covers it.
  const int middle = chart_.BottomAxis()->ValueToPixel(1);
  EXPECT_FALSE(charttest::ColourNear(image, c.ProjectPoint(middle, r.bottom, z), clRed));
}

// A wall drawn again over the series keeps the grid lines that run across it: the right axis'
// grid continues over the right wall, which the viewer sees from outside.
TEST_F(ChartTest, In3DAWallDrawnOverTheSeriesKeepsItsAxisGridAcrossIt) {
  AddLines(1);
  series_[0]->SetVertAxis(aRightAxis);
  chart_.SetView3D(true);
  chart_.RightWall().SetVisible(true);
  chart_.RightWall().SetColor(clBlue);
  chart_.RightWall().SetDark3D(false);
  chart_.RightAxis()->SetMinMax(0, 100);
  chart_.RightAxis()->Grid().SetColor(clRed);
  chart_.RightAxis()->Grid().SetStyle(platform::PenStyle::Solid);
  chart_.RightAxis()->Grid().SetSmallDots(false);
  const QImage image = Draw();
  const std::vector<int>& ticks = chart_.RightAxis()->TickPositions();
  ASSERT_GT(ticks.size(), 2u);
  const int y = ticks[ticks.size() / 2];
  const TRect& r = chart_.ChartRect();
  TCanvas3D& c = chart_.Canvas();
  const int depth = chart_.TotalDepth;
  EXPECT_TRUE(charttest::ColourNear(image, c.ProjectPoint(r.right, y, depth / 2), clRed));
  // Between the grid lines the wall shows.
  const int between = (ticks[ticks.size() / 2] + ticks[ticks.size() / 2 + 1]) / 2;
  const TPoint wall = c.ProjectPoint(r.right, between, depth / 2);
  EXPECT_EQ(image.pixel(wall.x, wall.y), qRgb(0, 0, 255));
}

// ---- Stored description -------------------------------------------------------------------

TEST_F(ChartTest, AStoredChartReadsBackTheSame) {
  const char* text =
      "object CHAT1: TChart\r\n"
      "  Left = 32\r\n"
      "  Top = 88\r\n"
      "  Width = 600\r\n"
      "  Height = 320\r\n"
      "  BackWall.Color = clYellow\r\n"
      "  Legend.Alignment = laTop\r\n"
      "  Legend.CheckBoxes = True\r\n"
      "  Legend.FontSeriesColor = True\r\n"
      "  Legend.Symbol.Visible = False\r\n"
      "  Legend.Title.Text.Strings = (\r\n"
      "    'Items')\r\n"
      "  Legend.TopPos = 0\r\n"
      "  ScrollMouseButton = mbLeft\r\n"
      "  Title.Text.Strings = (\r\n"
      "    'Monthly'\r\n"
      "    'weather')\r\n"
      "  BackColor = clAqua\r\n"
      "  ColorPaletteIndex = 3\r\n"
      "end\r\n";
  TChart read;
  std::string error;
  ASSERT_TRUE(ReadComponent(text, read, &error)) << error;
  EXPECT_EQ(read.Legend().Alignment(), laTop);
  EXPECT_TRUE(read.Legend().CheckBoxes());
  EXPECT_FALSE(read.Legend().Symbol().Visible());
  EXPECT_EQ(read.Title().Text(), (std::vector<std::string>{"Monthly", "weather"}));
  EXPECT_EQ(read.BackWall().Color(), clAqua);
  EXPECT_EQ(read.ScrollMouseButton(), TMouseButton::mbLeft);
  EXPECT_EQ(read.ColorPaletteIndex(), 3);
  const std::string written = WriteComponent(read);
  EXPECT_EQ(written.find("BackColor"), std::string::npos);
  EXPECT_NE(written.find("BackWall.Color = clAqua"), std::string::npos) << written;
  EXPECT_NE(written.find("ColorPaletteIndex = 3"), std::string::npos) << written;
  TChart again;
  ASSERT_TRUE(ReadComponent(written, again, &error)) << error;
  EXPECT_EQ(WriteComponent(again), written);
}

}  // namespace
