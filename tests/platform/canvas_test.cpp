// The canvas objects' change notification, and the canvas selecting its objects again whenever
// the device context holds others.
#include <gtest/gtest.h>

#include <limits>

#include "platform/dc_canvas.h"
#include "platform/dc_trace.h"
#include "platform/round.h"

using namespace platform;

namespace {

// A pen as the chart library makes them: a property of its own, notifying through the base.
class OwnedPen : public CanvasPen {
 public:
  void SetVisible(bool on) {
    if (on == visible_) return;
    visible_ = on;
    Changed();
  }

 private:
  bool visible_ = true;
};

}  // namespace

TEST(CanvasObjects, SettersNotifyTheOwnerOnlyOnChange) {
  int calls = 0;
  CanvasObject* last = nullptr;
  auto count = [&](CanvasObject& sender) {
    ++calls;
    last = &sender;
  };
  OwnedPen pen;
  pen.OnChange = count;
  pen.SetColor(0x0000FF);
  pen.SetColor(0x0000FF);  // the same value: nothing
  pen.SetWidth(-3);        // a negative width is 1, which the pen already has
  pen.SetStyle(PenStyle::Dot);
  pen.SetMode(R2_NOT);
  pen.SetVisible(false);
  pen.SetVisible(false);
  EXPECT_EQ(calls, 4);
  EXPECT_EQ(last, &pen);
  EXPECT_EQ(pen.ChangeCount(), 4u);

  calls = 0;
  CanvasBrush brush;
  brush.OnChange = count;
  brush.SetColor(0xFFFFFF);  // the default
  brush.SetStyle(BrushStyle::Cross);
  auto dib = std::make_shared<const Dib>(Dib::Filled(8, 8, 0));
  brush.SetBitmap(dib);
  brush.SetBitmap(dib);
  EXPECT_EQ(calls, 2);

  calls = 0;
  CanvasFont font;
  font.OnChange = count;
  font.SetSize(font.Size());
  font.SetName(font.Name());
  font.SetPixelsPerInch(200);  // the scale only, not the font
  font.SetColor(0x123456);
  font.SetStyle(fsBold);
  font.SetStyle(fsBold);
  EXPECT_EQ(calls, 2);

  // Assign takes every property with one notification, and none when nothing differs; a copy
  // has no owner.
  calls = 0;
  CanvasPen other;
  other.Assign(pen);
  pen.Assign(other);
  EXPECT_EQ(calls, 0);
  CanvasPen fresh;
  fresh.OnChange = count;
  fresh.Assign(pen);
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(fresh.ToLogPen(), pen.ToLogPen());
  CanvasPen copy(fresh);
  EXPECT_FALSE(copy.OnChange);
  CanvasFont fontCopy;
  fontCopy.Assign(font);
  EXPECT_EQ(fontCopy.GetLogFont(), font.GetLogFont());
  EXPECT_EQ(fontCopy.Color(), font.Color());
}

TEST(Canvas, DrawingDirectlyOnTheContextNeverLeavesAStaleObject) {
  TraceDc dc;
  Canvas canvas(dc);
  canvas.Pen().SetColor(RgbColor(255, 0, 0));
  canvas.Brush().SetColor(RgbColor(0, 255, 0));
  canvas.Font().SetName("Arial");
  canvas.Rectangle(0, 0, 10, 10);
  canvas.TextOut(0, 0, "a");
  const LogPen canvasPen = canvas.Pen().ToLogPen();
  const LogBrush canvasBrush = canvas.Brush().ToLogBrush();
  const LogFont canvasFont = canvas.Font().GetLogFont();

  // Another pen, brush and font straight on the context, then the canvas again.
  dc.SelectPen(LogPen{PS_DASH, 3, RgbColor(0, 0, 255), {}});
  dc.SetROP2(R2_XORPEN);
  dc.SelectBrush(LogBrush{BS_NULL, 0, 0, nullptr});
  LogFont other;
  other.faceName = "Other";
  dc.SelectFont(other);
  dc.LineTo(5, 5);
  canvas.LineTo(20, 20);
  EXPECT_EQ(dc.State().pen, canvasPen);
  EXPECT_EQ(dc.State().rop2, R2_COPYPEN);
  EXPECT_EQ(dc.State().brush, canvasBrush);
  canvas.TextOut(0, 0, "b");
  EXPECT_EQ(dc.State().font, canvasFont);

  // A restored state counts as well.
  const int level = dc.SaveDC();
  canvas.Pen().SetColor(RgbColor(9, 9, 9));
  canvas.LineTo(30, 30);
  dc.RestoreDC(level);
  canvas.LineTo(40, 40);
  EXPECT_EQ(dc.State().pen.color, RgbColor(9, 9, 9));

  // Nothing changed and nothing touched: the canvas selects nothing again.
  dc.log.clear();
  canvas.LineTo(50, 50);
  canvas.TextOut(0, 0, "c");
  EXPECT_FALSE(dc.Has("SelectPen"));
  EXPECT_FALSE(dc.Has("SelectBrush"));
  EXPECT_FALSE(dc.Has("SelectFont"));

  // An owner that took the notification over does not keep the canvas from seeing changes.
  canvas.Pen().OnChange = [](CanvasObject&) {};
  canvas.Pen().SetWidth(2);
  canvas.LineTo(60, 60);
  EXPECT_EQ(dc.State().pen.width, 2);
}

TEST(CanvasObjects, ALogicalPenIsKeptUntilThePensNextPropertyChange) {
  TraceDc dc;
  Canvas canvas(dc);
  int calls = 0;
  canvas.Pen().OnChange = [&](CanvasObject&) { ++calls; };
  const LogPen flat{PS_GEOMETRIC | PS_DASH | PS_ENDCAP_FLAT | PS_JOIN_MITER, 4, 0x00FF00, {}};
  canvas.Pen().SetLogPen(flat);
  canvas.Pen().SetLogPen(flat);  // the same pen again: no change
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(canvas.Pen().Width(), 4);
  EXPECT_EQ(canvas.Pen().Style(), PenStyle::Dash);
  canvas.LineTo(10, 10);
  EXPECT_EQ(dc.State().pen, flat);
  canvas.Pen().SetColor(0x0000FF);  // a property: the pen is built from the properties again
  canvas.LineTo(20, 20);
  EXPECT_EQ(dc.State().pen.style, PS_DASH);
  EXPECT_EQ(dc.State().pen.width, 4);
  EXPECT_EQ(dc.State().pen.color, 0x0000FFu);
  EXPECT_EQ(calls, 2);
  CanvasPen copy;
  canvas.Pen().SetLogPen(flat);
  copy.Assign(canvas.Pen());
  EXPECT_EQ(copy.ToLogPen(), flat);
}

// A font size read from a file may lie anywhere in the int range: the height stays an int of
// the opposite sign, or -1's negation where the scaled size leaves the range.
TEST(CanvasObjects, FontSizesAtTheEndsOfTheIntRangeGiveAHeight) {
  struct Case {
    int points;
    int height;
  };
  const Case cases[] = {
      {9, -12},
      {-9, 12},
      {std::numeric_limits<int>::max(), 1},  // 96/72 of it overflows
      {std::numeric_limits<int>::min(), 1},
      {-1610612736, std::numeric_limits<int>::max()},  // -2^31 after scaling: no int to negate
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.points);
    CanvasFont font;
    font.SetPixelsPerInch(96);
    font.SetSize(c.points);
    EXPECT_EQ(font.Height(), c.height);
    (void)font.Size();
  }
  EXPECT_EQ(MulDiv(std::numeric_limits<int>::max(), 2, 1), -1);
  EXPECT_EQ(MulDiv(-7, 3, 2), -11);  // halves away from zero
}
