// The widget that paints through the device context, offscreen: what its paint handler draws
// is what the widget shows, Invalidate and a resize paint again, and mouse, wheel and key events
// arrive in the Windows form.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

#include "draw_env.h"
#include "platform/qt/canvas_widget.h"
#include "platform/qt/dc_qt.h"

using namespace platform;

namespace {

void Pump() {
  for (int i = 0; i < 5; ++i) QApplication::processEvents();
}

ColorRef Shown(QWidget& w, int x, int y) { return QRgbToColorRef(w.grab().toImage().pixel(x, y)); }

}  // namespace

TEST(CanvasWidget, PaintsWhatItsHandlerDrawsAgainOnInvalidateAndResize) {
  CanvasWidget w;
  w.resize(120, 80);
  int paints = 0;
  ColorRef fill = RgbColor(255, 0, 0);
  Size seen;
  w.OnPaint = [&](Canvas& c) {
    ++paints;
    EXPECT_EQ(w.PaintCanvas(), &c);
    seen = Size{c.Dc().Caps().horzRes, c.Dc().Caps().vertRes};
    c.Pen().SetColor(0);
    c.Brush().SetStyle(BrushStyle::Solid);  // the canvas keeps the clear brush of the text below
    c.Brush().SetColor(fill);
    c.Rectangle(10, 10, 60, 40);
    c.Font().SetName("Arial");
    c.Font().SetSize(12);
    c.Font().SetColor(RgbColor(0, 0, 255));
    c.Brush().SetStyle(BrushStyle::Clear);
    c.TextOut(10, 50, "Wg");
  };
  w.show();
  Pump();
  EXPECT_GE(paints, 1);
  EXPECT_EQ(w.PaintCanvas(), nullptr);
  EXPECT_EQ(Shown(w, 30, 25), fill);
  EXPECT_EQ(Shown(w, 10, 10), 0u);  // the outline
  EXPECT_EQ(Shown(w, 59, 39), 0u);
  // Right and bottom edges left out; the rest is the widget's background.
  EXPECT_EQ(Shown(w, 60, 40), QRgbToColorRef(w.palette().color(QPalette::Window).rgb()));
  int blue = 0;
  const QImage text = w.grab().toImage();
  for (int y = 50; y < 70; ++y) {
    for (int x = 10; x < 40; ++x) blue += BlueOf(QRgbToColorRef(text.pixel(x, y))) > 200 && RedOf(QRgbToColorRef(text.pixel(x, y))) < 100;
  }
  EXPECT_GT(blue, 10);

  // Invalidate paints again with what the handler draws now.
  const int before = paints;
  fill = RgbColor(0, 255, 0);
  w.Invalidate();
  Pump();
  EXPECT_GT(paints, before);
  EXPECT_EQ(Shown(w, 30, 25), fill);
  EXPECT_EQ(seen, (Size{120, 80}));

  // A resize makes a buffer of the new size and paints into it.
  int resized = 0;
  w.OnResize = [&] { ++resized; };
  fill = RgbColor(0, 0, 255);
  w.resize(200, 150);
  Pump();
  EXPECT_EQ(resized, 1);
  EXPECT_EQ(seen, (Size{200, 150}));
  EXPECT_EQ(w.Buffer().size(), QSize(200, 150));
  EXPECT_EQ(Shown(w, 30, 25), fill);

  // Drawing on the buffer outside a paint shows without painting again; the next paint draws
  // the whole picture.
  const int paintsNow = paints;
  Canvas& c = w.BufferCanvas();
  c.Brush().SetStyle(BrushStyle::Solid);
  c.Brush().SetColor(RgbColor(255, 255, 0));
  c.FillRect(Rect{100, 100, 120, 120});
  w.ShowBuffer();
  Pump();
  EXPECT_EQ(paints, paintsNow);
  EXPECT_EQ(QRgbToColorRef(w.Buffer().pixel(110, 110)), RgbColor(255, 255, 0));
  EXPECT_EQ(QRgbToColorRef(w.Buffer().pixel(30, 25)), fill);
  w.Invalidate();
  Pump();
  EXPECT_GT(paints, paintsNow);
  EXPECT_NE(QRgbToColorRef(w.Buffer().pixel(110, 110)), RgbColor(255, 255, 0));
}

TEST(CanvasWidget, MouseWheelAndKeysArriveInTheWindowsForm) {
  CanvasWidget w;
  w.resize(100, 100);
  w.setFocusPolicy(Qt::StrongFocus);
  w.show();
  Pump();
  std::vector<std::string> got;
  auto name = [](TMouseButton b) {
    return b == TMouseButton::mbLeft ? "left" : b == TMouseButton::mbRight ? "right" : "middle";
  };
  w.OnMouseDown = [&](TMouseButton b, TShiftState s, int x, int y) {
    got.push_back(std::string("down ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  w.OnMouseUp = [&](TMouseButton b, TShiftState s, int x, int y) {
    got.push_back(std::string("up ") + name(b) + " " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  w.OnMouseMove = [&](TShiftState s, int x, int y) {
    got.push_back("move " + std::to_string(s) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  w.OnDblClick = [&] { got.push_back("double"); };
  w.OnMouseWheel = [&](TShiftState s, int delta, int x, int y) {
    got.push_back("wheel " + std::to_string(s) + " " + std::to_string(delta) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  w.OnKeyDown = [&](int& key, TShiftState s) {
    got.push_back("key " + std::to_string(key) + " " + std::to_string(s));
    if (key == VK_ESCAPE) key = 0;
  };
  auto send = [&](QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons held, Qt::KeyboardModifiers mods, QPointF at) {
    QMouseEvent e(type, at, w.mapToGlobal(at), button, held, mods);
    QApplication::sendEvent(&w, &e);
  };
  send(QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, Qt::ShiftModifier, QPointF(12, 34));
  send(QEvent::MouseMove, Qt::NoButton, Qt::RightButton, Qt::ShiftModifier, QPointF(13, 35));
  send(QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, Qt::NoModifier, QPointF(14, 36));
  send(QEvent::MouseButtonDblClick, Qt::LeftButton, Qt::LeftButton, Qt::ControlModifier, QPointF(5, 6));
  send(QEvent::MouseMove, Qt::NoButton, Qt::NoButton, Qt::NoModifier, QPointF(50, 60));
  // One notch away from the user, then two towards.
  for (int delta : {120, -240}) {
    QWheelEvent wheel(QPointF(40, 41), w.mapToGlobal(QPointF(40, 41)), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(&w, &wheel);
  }
  QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  QApplication::sendEvent(&w, &escape);
  QKeyEvent a(QEvent::KeyPress, Qt::Key_A, Qt::AltModifier, "a");
  QApplication::sendEvent(&w, &a);
  EXPECT_TRUE(escape.isAccepted());  // swallowed by the handler

  const std::vector<std::string> expected = {
      "down right " + std::to_string(ssShift | ssRight) + " 12,34",
      "move " + std::to_string(ssShift | ssRight) + " 13,35",
      "up right 0 14,36",
      "down left " + std::to_string(ssCtrl | ssLeft | ssDouble) + " 5,6",
      "double",
      "move 0 50,60",
      "wheel " + std::to_string(ssCtrl) + " 120 40,41",
      "wheel " + std::to_string(ssCtrl) + " -240 40,41",
      "key 27 0",
      "key 65 " + std::to_string(ssAlt),
  };
  EXPECT_EQ(got, expected);
}
