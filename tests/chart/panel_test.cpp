// The chart panel: layout of the chart rectangle, repainting only on change, listeners, the
// paint through the buffer, paint errors, border, bevels, shadow and back image.
#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <stdexcept>

#include "panel_fixture.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

using namespace chart;
using charttest::TestPanel;

namespace {

class Panel : public ::testing::Test {
 protected:
  ChartLibraryScope scope_;
};

platform::ColorRef Px(const QImage& image, int x, int y) { return drawtest::At(image, x, y); }

const platform::ColorRef kHighlight = platform::SystemColorRgb(platform::COLOR_BTNHIGHLIGHT);
const platform::ColorRef kShadow = platform::SystemColorRgb(platform::COLOR_BTNSHADOW);

}  // namespace

// ---- Layout ----

TEST_F(Panel, ChartRectFromMarginsBordersAndBevels) {
  struct Case {
    const char* what;
    std::function<void(TestPanel&)> set;
    TRect expected;
  } cases[] = {
      {"percent margins, no bevel", [](TestPanel&) {}, {12, 10, 388, 240}},
      {"raised outer bevel", [](TestPanel& p) { p.SetBevelOuter(bvRaised); }, {13, 11, 387, 239}},
      {"pixel margins",
       [](TestPanel& p) {
         p.SetMarginUnits(muPixels);
         p.SetMarginLeft(10);
         p.SetMarginTop(20);
         p.SetMarginRight(30);
         p.SetMarginBottom(40);
       },
       {10, 20, 370, 210}},
      {"border 3, border width 2, both bevels 2",
       [](TestPanel& p) {
         p.Border().SetVisible(true);
         p.Border().SetWidth(3);
         p.SetBorderWidth(2);
         p.SetBevelInner(bvLowered);
         p.SetBevelOuter(bvRaised);
         p.SetBevelWidth(2);
       },
       {12 + 9, 10 + 9, 388 - 9, 240 - 9}},
      {"inverted width widened to one pixel",
       [](TestPanel& p) {
         p.SetMarginLeft(60);
         p.SetMarginRight(60);
       },
       {240, 10, 241, 240}},
      {"equal sides widened to the panel's size",
       [](TestPanel& p) {
         p.SetMarginTop(50);
         p.SetMarginBottom(50);
       },
       {12, 125, 388, 125 + 250}},
      {"left and top not before the bounds",
       [](TestPanel& p) {
         p.SetMarginUnits(muPixels);
         p.SetMarginLeft(-5);
         p.SetMarginTop(-7);
       },
       {0, 0, 397, 246}},
  };
  for (const Case& c : cases) {
    TestPanel panel;
    charttest::MakePlain(panel, 400, 250);
    c.set(panel);
    panel.Picture();
    const TRect r = panel.ChartRect();
    EXPECT_EQ(r, c.expected) << c.what << ": " << r.left << "," << r.top << "," << r.right << "," << r.bottom;
    EXPECT_EQ(panel.PlotWidth(), r.right - r.left) << c.what;
    EXPECT_EQ(panel.PlotCenterY(), (r.top + r.bottom) / 2) << c.what;
  }
}

TEST_F(Panel, FixedChartRectIsKept) {
  TestPanel panel;
  panel.SetChartRectFixed(true);
  panel.SetChartRect(TRect{5, 6, 7, 8});
  panel.Picture();
  EXPECT_EQ(panel.ChartRect(), (TRect{5, 6, 7, 8}));
  EXPECT_EQ(panel.PlotWidth(), 2);
}

// ---- Repainting only on change ----

TEST_F(Panel, SettingTheCurrentValueDoesNotRepaint) {
  TestPanel panel;
  panel.Picture();
  struct Case {
    const char* what;
    std::function<void(TestPanel&)> same, other;
  } cases[] = {
      {"MarginLeft", [](TestPanel& p) { p.SetMarginLeft(3); }, [](TestPanel& p) { p.SetMarginLeft(4); }},
      {"MarginUnits", [](TestPanel& p) { p.SetMarginUnits(muPercent); }, [](TestPanel& p) { p.SetMarginUnits(muPixels); }},
      {"View3D", [](TestPanel& p) { p.SetView3D(true); }, [](TestPanel& p) { p.SetView3D(false); }},
      {"Border.Visible", [](TestPanel& p) { p.Border().SetVisible(false); }, [](TestPanel& p) { p.Border().SetVisible(true); }},
      {"Shadow.HorizSize", [](TestPanel& p) { p.Shadow().SetHorizSize(0); }, [](TestPanel& p) { p.Shadow().SetHorizSize(4); }},
      {"AllowPanning", [](TestPanel& p) { p.SetAllowPanning(pmBoth); }, [](TestPanel& p) { p.SetAllowPanning(pmNone); }},
      {"Gradient.Visible", [](TestPanel& p) { p.Gradient().SetVisible(false); }, [](TestPanel& p) { p.Gradient().SetVisible(true); }},
      {"BackImage.Mode", [](TestPanel& p) { p.BackImage().SetMode(pbmStretch); }, [](TestPanel& p) { p.BackImage().SetMode(pbmTile); }},
      {"View3DOptions.Zoom", [](TestPanel& p) { p.View3DOptions().SetZoom(100); }, [](TestPanel& p) { p.View3DOptions().SetZoom(90); }},
      {"Color", [](TestPanel& p) { p.SetColor(p.Color()); }, [](TestPanel& p) { p.SetColor(clAqua); }},
  };
  for (const Case& c : cases) {
    const int before = panel.invalidations;
    c.same(panel);
    EXPECT_EQ(panel.invalidations, before) << c.what;
    c.other(panel);
    EXPECT_EQ(panel.invalidations, before + 1) << c.what;
    EXPECT_TRUE(static_cast<TPlotCanvas3D&>(panel.Canvas()).Dirty()) << c.what;
    panel.Picture();
  }
}

TEST_F(Panel, RepaintDisabledKeepsTheBuffer) {
  TestPanel panel;
  panel.grab();
  panel.SetRepaintEnabled(false);
  panel.SetMarginLeft(20);
  EXPECT_FALSE(static_cast<TPlotCanvas3D&>(panel.Canvas()).Dirty());
}

// ---- Listeners ----

namespace {

struct Recorder : IPanelListener {
  Recorder(std::vector<std::string>& log, std::string name, bool stop = false) : log(log), name(std::move(name)), stop(stop) {}
  void HandlePanelEvent(TPlotEvent& e) override {
    std::string kind = dynamic_cast<TPlotMouseEvent*>(&e) ? "mouse" + std::to_string(static_cast<TPlotMouseEvent&>(e).Kind)
                       : dynamic_cast<TPlotView3DEvent*>(&e) ? "view3d"
                                                              : "other";
    log.push_back(name + ":" + kind);
    if (stop) e.Sender->StopMouse = true;
  }
  std::vector<std::string>& log;
  std::string name;
  bool stop;
};

}  // namespace

TEST_F(Panel, ListenersInOrderAndStopMouse) {
  TestPanel panel;
  std::vector<std::string> log;
  Recorder a(log, "a"), b(log, "b", true), c(log, "c");
  panel.Listeners().Add(&a);
  panel.Listeners().Add(&b);
  panel.Listeners().Add(&c);
  panel.Listeners().Add(&a);  // once only
  panel.SetView3D(false);
  panel.SetView3D(false);  // no change, no event
  panel.MouseDown(TMouseButton::mbLeft, 0, 5, 5);
  panel.MouseMove(0, 6, 6);
  EXPECT_EQ(log, (std::vector<std::string>{"a:view3d", "b:view3d", "c:view3d", "a:mouse0", "b:mouse0", "a:mouse2",
                                           "b:mouse2"}));
  // A mouse-up does not clear the stop of the move before it.
  log.clear();
  panel.MouseUp(TMouseButton::mbLeft, 0, 6, 6);
  EXPECT_EQ(log, (std::vector<std::string>{"a:mouse1"}));
  panel.Listeners().Remove(&b);
  log.clear();
  panel.MouseDown(TMouseButton::mbLeft, 0, 5, 5);
  EXPECT_EQ(log, (std::vector<std::string>{"a:mouse0", "c:mouse0"}));
}

namespace {
std::vector<std::string> gErrors;
void RecordError(const std::string& message) { gErrors.push_back(message); }
}  // namespace

TEST_F(Panel, DoubleClickStoppedByAListenerEndsSilently) {
  // A panel whose own double-click handling follows the base's, as the chart's does.
  struct Clicked : TestPanel {
    int handled = 0;
    void DblClick() override {
      TestPanel::DblClick();
      ++handled;
    }
  } panel;
  panel.resize(100, 80);
  std::vector<std::string> log;
  Recorder stopper(log, "s", true);
  panel.Listeners().Add(&stopper);
  std::vector<TShiftState> presses;
  panel.OnMouseDown = [&](TMouseButton, TShiftState shift, int, int) { presses.push_back(shift); };
  gErrors.clear();
  const TChartErrorHook previous = SetChartErrorHook(RecordError);
  // Without a stop the double click is handled after its press (with ssDouble).
  QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  ASSERT_FALSE(presses.empty());
  EXPECT_NE(presses.back() & platform::ssDouble, 0u);
  EXPECT_EQ(panel.handled, 1);
  // The platform's double-click handling tells the listeners, which stop the mouse: the
  // double click ends there, silently.
  panel.OnDblClick = [&] { panel.NotifyMouseListeners(0, TMouseButton::mbLeft, platform::ssDouble, 1, 1); };
  QTest::mouseDClick(&panel, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
  EXPECT_EQ(panel.handled, 1);
  EXPECT_TRUE(gErrors.empty());
  EXPECT_THROW(panel.DblClick(), TSilentAbort);
  SetChartErrorHook(previous);
}

// ---- Painting through the buffer, and paint errors ----

TEST_F(Panel, PaintReusesTheBufferUntilSomethingChanges) {
  TestPanel panel;
  charttest::MakePlain(panel, 120, 80);
  panel.SetColor(clYellow);
  const QImage first = panel.grab().toImage();
  EXPECT_EQ(panel.draws, 1);
  EXPECT_EQ(Px(first, 60, 40), clYellow);
  panel.grab();
  EXPECT_EQ(panel.draws, 1);  // shown from the buffer
  panel.SetColor(clAqua);
  const QImage second = panel.grab().toImage();
  EXPECT_EQ(panel.draws, 2);
  EXPECT_EQ(Px(second, 60, 40), clAqua);
  // A resize draws the new size.
  panel.resize(150, 90);
  const QImage third = panel.grab().toImage();
  EXPECT_EQ(panel.draws, 3);
  EXPECT_EQ(Px(third, 140, 85), clAqua);
}

// Buffering switched off on the chart canvas itself, between paints, while the canvas stands
// on its buffer: the canvas goes on measuring and drawing (on a surface of its own), and the
// next frames draw straight on their target.
TEST_F(Panel, BufferingSwitchedOffOnTheCanvasItselfKeepsItDrawing) {
  TestPanel panel;
  charttest::MakePlain(panel, 120, 80);
  panel.SetColor(clYellow);
  panel.grab();
  auto& canvas = static_cast<TPlotCanvas3D&>(panel.Canvas());
  ASSERT_TRUE(canvas.HasBuffer());
  ASSERT_EQ(canvas.ReferenceCanvas(), canvas.BufferCanvas());
  canvas.SetBufferedDisplay(false);
  EXPECT_FALSE(canvas.HasBuffer());
  ASSERT_NE(canvas.ReferenceCanvas(), nullptr);
  EXPECT_GT(canvas.TextWidth("W"), 0);
  EXPECT_GT(canvas.TextHeight("W"), 0);
  canvas.DrawLine(0, 0, 20, 20);
  canvas.FillRect(TRect{0, 0, 10, 10});
  EXPECT_FALSE(panel.Buffered());
  EXPECT_EQ(Px(panel.Picture(), 60, 40), clYellow);
  EXPECT_EQ(Px(panel.grab().toImage(), 60, 40), clYellow);
  EXPECT_FALSE(canvas.HasBuffer());
  // On again: the next paint goes through a new buffer.
  canvas.SetBufferedDisplay(true);
  panel.SetColor(clAqua);
  EXPECT_EQ(Px(panel.grab().toImage(), 60, 40), clAqua);
  EXPECT_TRUE(canvas.HasBuffer());
}

TEST_F(Panel, AnErrorWhileDrawingIsReportedOnceAfterThePaint) {
  TestPanel panel;
  charttest::MakePlain(panel, 60, 40);
  panel.after = [](TestPanel&, const TRect&) { throw std::runtime_error("Missing > at B"); };
  gErrors.clear();
  const TChartErrorHook previous = SetChartErrorHook(RecordError);
  panel.grab();
  EXPECT_TRUE(gErrors.empty());  // not inside the paint
  QApplication::processEvents();
  EXPECT_EQ(gErrors, (std::vector<std::string>{"Missing > at B"}));
  EXPECT_TRUE(static_cast<TPlotCanvas3D&>(panel.Canvas()).Dirty());
  // The next paint fails the same way: drawn again, not reported again.
  panel.grab();
  QApplication::processEvents();
  EXPECT_EQ(panel.draws, 2);
  EXPECT_EQ(gErrors.size(), 1u);
  // After a good paint the same error is news again.
  panel.after = nullptr;
  panel.Invalidate();
  panel.grab();
  panel.after = [](TestPanel&, const TRect&) { throw std::runtime_error("Missing > at B"); };
  panel.Invalidate();
  panel.grab();
  QApplication::processEvents();
  EXPECT_EQ(gErrors.size(), 2u);
  SetChartErrorHook(previous);
  // The frame ended: flat drawing and the canvas binding are back to normal.
  panel.after = nullptr;
  panel.Invalidate();
  EXPECT_EQ(Px(panel.grab().toImage(), 30, 20), clWhite);
}

TEST_F(Panel, WithoutAHandlerAPaintErrorIsKeptAndNotShown) {
  testsupport::FakeUi ui;
  TestPanel panel;
  charttest::MakePlain(panel, 60, 40);
  panel.after = [](TestPanel&, const TRect&) { throw std::runtime_error("Missing > at B"); };
  const TChartErrorHook previous = SetChartErrorHook(nullptr);
  panel.grab();
  QApplication::processEvents();
  EXPECT_EQ(panel.LastPaintError(), "Missing > at B");
  EXPECT_TRUE(ui.shown.empty());
  panel.after = nullptr;
  panel.Invalidate();
  panel.grab();
  EXPECT_EQ(panel.LastPaintError(), "");
  SetChartErrorHook(previous);
}

// ---- Border, bevels, shadow ----

TEST_F(Panel, BorderWidthsOneToThree) {
  // The pen runs along the panel's edge, inset by the border rule: (width - 1) div 2 plus its
  // remainder at left and top, less at right and bottom. A three-pixel pen keeps one pixel of
  // its right and bottom edge outside the panel.
  const struct {
    int width;
    int left, top, right, bottom;  // black pixels from each edge inwards
  } cases[] = {{1, 1, 1, 1, 1}, {2, 2, 2, 2, 2}, {3, 3, 3, 2, 2}};
  for (const auto& c : cases) {
    TestPanel panel;
    charttest::MakePlain(panel, 60, 40);
    panel.Border().SetVisible(true);
    panel.Border().SetWidth(c.width);
    const QImage image = panel.Picture();
    drawtest::Keep(image, "panel-border-" + std::to_string(c.width));
    auto run = [&](int x, int y, int dx, int dy) {
      int n = 0;
      while (x >= 0 && y >= 0 && x < 60 && y < 40 && Px(image, x, y) == clBlack) {
        ++n;
        x += dx;
        y += dy;
      }
      return n;
    };
    EXPECT_EQ(run(0, 20, 1, 0), c.left) << "width " << c.width;
    EXPECT_EQ(run(30, 0, 0, 1), c.top) << "width " << c.width;
    EXPECT_EQ(run(59, 20, -1, 0), c.right) << "width " << c.width;
    EXPECT_EQ(run(30, 39, 0, -1), c.bottom) << "width " << c.width;
    // The chart rectangle lies inside the whole pen width.
    EXPECT_EQ(panel.ChartRect().left, c.width + 60 * 3 / 100);
    EXPECT_EQ(panel.ChartRect().right, 60 - c.width - 60 * 3 / 100);
  }
}

TEST_F(Panel, RoundBorderIsTheWidgetsOutline) {
  TestPanel panel;
  charttest::MakePlain(panel, 80, 60);
  panel.Border().SetVisible(true);
  panel.SetBorderRound(20);
  const QRegion mask = panel.mask();
  EXPECT_FALSE(mask.contains(QPoint(0, 0)));
  EXPECT_FALSE(mask.contains(QPoint(79, 59)));
  EXPECT_TRUE(mask.contains(QPoint(40, 0)));
  EXPECT_TRUE(mask.contains(QPoint(10, 10)));
  const QImage image = panel.Picture();
  drawtest::Keep(image, "panel-round-border");
  EXPECT_EQ(Px(image, 40, 0), clBlack);   // straight edge
  EXPECT_EQ(Px(image, 0, 0), clWhite);    // the corner is rounded off
  EXPECT_EQ(Px(image, 2, 2), clWhite);
  panel.SetBorderRound(0);
  EXPECT_TRUE(panel.mask().isEmpty());
}

TEST_F(Panel, BevelsAndBorderWidth) {
  TestPanel panel;
  charttest::MakePlain(panel, 60, 40);
  panel.SetColor(clYellow);
  panel.SetBevelOuter(bvRaised);
  panel.SetBevelInner(bvLowered);
  panel.SetBevelWidth(2);
  panel.SetBorderWidth(3);
  const QImage image = panel.Picture();
  drawtest::Keep(image, "panel-bevels");
  // Outer raised: light top-left, dark bottom-right, two lines each.
  EXPECT_EQ(Px(image, 0, 20), kHighlight);
  EXPECT_EQ(Px(image, 1, 20), kHighlight);
  EXPECT_EQ(Px(image, 59, 20), kShadow);
  EXPECT_EQ(Px(image, 58, 20), kShadow);
  // Border width 3 in the panel colour, then the inner lowered bevel: dark top-left.
  EXPECT_EQ(Px(image, 2, 20), clYellow);
  EXPECT_EQ(Px(image, 4, 20), clYellow);
  EXPECT_EQ(Px(image, 5, 20), kShadow);
  EXPECT_EQ(Px(image, 6, 20), kShadow);
  EXPECT_EQ(Px(image, 54, 20), kHighlight);
  EXPECT_EQ(Px(image, 30, 20), clYellow);
  // A space bevel is light on both sides.
  panel.SetBevelInner(bvNone);
  panel.SetBorderWidth(0);
  panel.SetBevelOuter(bvSpace);
  const QImage space = panel.Picture();
  EXPECT_EQ(Px(space, 0, 20), kHighlight);
  EXPECT_EQ(Px(space, 59, 20), kHighlight);
}

TEST_F(Panel, ShadowBesideThePanel) {
  QWidget parent;
  parent.setPalette(QPalette(QColor(0, 128, 0)));
  TestPanel panel(&parent);
  charttest::MakePlain(panel, 60, 40);
  panel.Shadow().SetSize(5);
  panel.Shadow().SetColor(clBlack);
  panel.Shadow().SetSmooth(false);
  panel.Border().SetVisible(true);
  const QImage image = panel.Picture();
  drawtest::Keep(image, "panel-shadow");
  // The panel shrinks by the shadow; the shadow lies right and below; the corners it leaves
  // show the parent's colour.
  EXPECT_EQ(Px(image, 54, 20), clBlack);  // the border's right edge
  EXPECT_EQ(Px(image, 57, 20), clBlack);  // the shadow
  EXPECT_EQ(Px(image, 30, 37), clBlack);
  EXPECT_EQ(Px(image, 57, 1), platform::RgbColor(0, 128, 0));
  EXPECT_EQ(Px(image, 1, 37), platform::RgbColor(0, 128, 0));
  EXPECT_EQ(Px(image, 30, 20), clWhite);
}

// ---- Back image ----

namespace {

// A 10 x 10 picture: red on the left half, blue on the right, a black top-left pixel.
std::unique_ptr<platform::TBitmapGraphic> Checker() {
  platform::Dib dib = platform::Dib::Filled(10, 10, clRed);
  for (int y = 0; y < 10; ++y) {
    for (int x = 5; x < 10; ++x) dib.SetPixel(x, y, clBlue);
  }
  dib.SetPixel(0, 0, clBlack);
  auto g = std::make_unique<platform::TBitmapGraphic>();
  g->SetBitmap(std::move(dib));
  return g;
}

}  // namespace

TEST_F(Panel, BackImageModes) {
  TestPanel panel;
  charttest::MakePlain(panel, 40, 30);
  panel.SetColor(clYellow);
  panel.BackImage().SetGraphic(Checker());
  // Stretch: the picture fills the panel.
  QImage image = panel.Picture();
  EXPECT_EQ(Px(image, 2, 15), clRed);
  EXPECT_EQ(Px(image, 37, 15), clBlue);
  EXPECT_EQ(Px(image, 0, 0), clBlack);
  EXPECT_EQ(Px(image, 3, 2), clBlack);  // the corner pixel stretched 4 x 3
  // Tile: the picture repeats every 10 pixels; the last row is cut.
  panel.SetBackImageMode(pbmTile);
  image = panel.Picture();
  drawtest::Keep(image, "panel-backimage-tile");
  for (int x : {0, 10, 20, 30}) EXPECT_EQ(Px(image, x, 20), clBlack) << x;
  EXPECT_EQ(Px(image, 12, 25), clRed);
  EXPECT_EQ(Px(image, 17, 29), clBlue);
  // Centre: unscaled in the middle, the panel colour around it.
  panel.SetBackImageMode(pbmCenter);
  image = panel.Picture();
  EXPECT_EQ(Px(image, 15, 10), clBlack);
  EXPECT_EQ(Px(image, 16, 15), clRed);
  EXPECT_EQ(Px(image, 22, 15), clBlue);
  EXPECT_EQ(Px(image, 5, 5), clYellow);
  EXPECT_EQ(Px(image, 30, 25), clYellow);
  // Custom: at (Left, Top).
  panel.SetBackImageMode(pbmCustom);
  panel.BackImage().SetLeft(3);
  panel.BackImage().SetTop(7);
  image = panel.Picture();
  drawtest::Keep(image, "panel-backimage-custom");
  EXPECT_EQ(Px(image, 3, 7), clBlack);
  EXPECT_EQ(Px(image, 12, 16), clBlue);
  EXPECT_EQ(Px(image, 2, 7), clYellow);
  EXPECT_EQ(Px(image, 13, 17), clYellow);
  // Inside: the panel leaves it to the chart.
  panel.SetBackImageInside(true);
  image = panel.Picture();
  EXPECT_EQ(Px(image, 3, 7), clYellow);
}

TEST_F(Panel, TransparentBackImageLeavesItsCornerColourOut) {
  TestPanel panel;
  charttest::MakePlain(panel, 40, 30);
  panel.SetColor(clYellow);
  EXPECT_FALSE(panel.BackImageTransp());  // no picture
  panel.BackImage().SetGraphic(Checker());
  panel.BackImage().SetMode(pbmCustom);
  // The bottom-left pixel (red) is the transparent colour: the red half is not drawn.
  panel.SetBackImageTransp(true);
  EXPECT_TRUE(panel.BackImageTransp());
  const QImage image = panel.Picture();
  EXPECT_EQ(Px(image, 2, 5), clYellow);
  EXPECT_EQ(Px(image, 7, 5), clBlue);
  EXPECT_EQ(Px(image, 0, 0), clBlack);
}

// ---- Copying ----

TEST_F(Panel, CopyFromTakesTheSettings) {
  TestPanel a, b;
  a.Border().SetVisible(true);
  a.Border().SetColor(clRed);
  a.SetMarginLeft(9);
  a.SetMarginUnits(muPixels);
  a.SetPrintMargins({1, 2, 3, 4});
  a.Shadow().SetSize(4);
  a.SetView3D(false);
  a.View3DOptions().SetZoom(80);
  a.SetColor(clTeal);
  a.SetAllowPanning(pmVertical);
  a.Gradient().SetVisible(true);
  a.Zoom().SetMinimumPixels(3);
  a.Zoom().Pen().SetColor(clRed);
  std::vector<std::string> log;
  Recorder listener(log, "b");
  b.Listeners().Add(&listener);
  b.CopyFrom(a);
  EXPECT_TRUE(log.empty());  // View3D copied without an event
  EXPECT_FALSE(b.View3D());
  EXPECT_TRUE(b.Border().Visible());
  EXPECT_EQ(b.Border().Color(), clRed);
  EXPECT_EQ(b.MarginLeft(), 9);
  EXPECT_EQ(b.MarginUnits(), muPixels);
  EXPECT_EQ(b.PrintMargins(), (std::array<int, 4>{1, 2, 3, 4}));
  EXPECT_EQ(b.Shadow().HorizSize(), 4);
  EXPECT_EQ(b.View3DOptions().Zoom(), 80);
  EXPECT_EQ(b.Color(), clTeal);
  EXPECT_EQ(b.AllowPanning(), pmVertical);
  EXPECT_TRUE(b.Gradient().Visible());
  EXPECT_EQ(b.Zoom().MinimumPixels(), 3);
  EXPECT_EQ(b.Zoom().Pen().Color(), clRed);
  // Objects given to setters are copied, and nullptr frees the optional ones.
  b.SetGradient(nullptr);
  EXPECT_EQ(b.GradientIfAny(), nullptr);
  b.Zoom().SetPen(nullptr);
  EXPECT_EQ(b.Zoom().PenIfAny(), nullptr);
}

// ---- Zoom rectangle ----

TEST_F(Panel, ZoomRectangleInvertsAndErasesItself) {
  TestPanel panel;
  charttest::MakePlain(panel, 60, 40);
  panel.SetColor(clYellow);
  QImage image = panel.Picture();
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  panel.Canvas().SetCanvas(&canvas);
  panel.Zoom().Activate(10, 10);
  panel.Zoom().X1 = 40;
  panel.Zoom().Y1 = 30;
  panel.PaintZoomRectangle();
  EXPECT_NE(Px(image, 10, 20), clYellow);
  EXPECT_EQ(Px(image, 20, 20), clYellow);  // a clear brush: the inside stays
  panel.PaintZoomRectangle();
  EXPECT_EQ(Px(image, 10, 20), clYellow);
  EXPECT_EQ(panel.Zoom().Pen().Mode(), platform::R2_NOTXORPEN);
  // Normalising swaps the corners.
  panel.Zoom().X0 = 50;
  panel.Zoom().Y0 = 35;
  panel.Zoom().Check();
  EXPECT_EQ(panel.Zoom().X0, 40);
  EXPECT_EQ(panel.Zoom().Y1, 35);
}

TEST_F(Panel, UndoZoomFiresAndClears) {
  TestPanel panel;
  int fired = 0;
  panel.OnUndoZoom = [&](TCustomPlotPanel&) { ++fired; };
  panel.IsZoomed = true;
  const int before = panel.invalidations;
  panel.UndoZoom();
  EXPECT_EQ(fired, 1);
  EXPECT_FALSE(panel.IsZoomed);
  EXPECT_EQ(panel.invalidations, before + 1);
}

// ---- Helpers ----

TEST_F(Panel, ClippingAllowedByPrintingAndMetafiling) {
  TestPanel panel;
  struct Case {
    bool printing, metafiling, clipPrinting, clipMetafiling, allowed;
  } cases[] = {
      {false, false, false, false, true}, {true, false, true, true, true},   {true, false, false, true, false},
      {false, true, true, true, true},    {false, true, true, false, false}, {true, true, false, true, true},
  };
  for (const Case& c : cases) {
    panel.IsPrinting = c.printing;
    panel.Canvas().SetMetafiling(c.metafiling);
    ClipWhenPrinting = c.clipPrinting;
    ClipWhenMetafiling = c.clipMetafiling;
    EXPECT_EQ(panel.ClippingAllowed(), c.allowed) << c.printing << c.metafiling << c.clipPrinting << c.clipMetafiling;
  }
  panel.IsPrinting = false;
  panel.Canvas().SetMetafiling(false);
  ClipWhenPrinting = ClipWhenMetafiling = true;
}

TEST_F(Panel, BrushMadeVisibleAgainstItsBackground) {
  TestPanel panel;
  panel.Picture();
  TChartBrush hatch;
  hatch.SetStyle(platform::BrushStyle::Cross);
  // A hatch in the background's own colour is drawn black, or white on black.
  panel.SetBrushCanvas(clYellow, hatch, clYellow);
  EXPECT_EQ(panel.Canvas().Brush().Color(), clBlack);
  panel.SetBrushCanvas(clBlack, hatch, clBlack);
  EXPECT_EQ(panel.Canvas().Brush().Color(), clWhite);
  panel.SetBrushCanvas(clRed, hatch, clYellow);
  EXPECT_EQ(panel.Canvas().Brush().Color(), clRed);
  TChartBrush solid;
  panel.SetBrushCanvas(clYellow, solid, clYellow);
  EXPECT_EQ(panel.Canvas().Brush().Color(), clYellow);
}

TEST_F(Panel, DeviceAspectRatioOfTheCanvasDevice) {
  TestPanel panel;
  QImage image(platform::kReferenceWidthPx, platform::kReferenceHeightPx, QImage::Format_RGB32);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  panel.Canvas().SetCanvas(&canvas);
  EXPECT_DOUBLE_EQ(panel.DeviceAspectRatio(), 508.0 / 381.0);
  // A device without a height has none.
  QImage flat(10, 1, QImage::Format_RGB32);
  platform::QtDc flatDc(flat);
  platform::Canvas flatCanvas(flatDc);
  panel.Canvas().SetCanvas(&flatCanvas);
  EXPECT_EQ(panel.DeviceAspectRatio(), 0);
  panel.Canvas().SetCanvas(nullptr);
}
