// A chart panel that draws its background (as the axis panel does first) and counts its
// repaint requests, with the library started.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <functional>

#include "chart/panel.h"
#include "chart/unit.h"
#include "draw_env.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"

namespace charttest {

class TestPanel : public chart::TCustomPlotPanelExtended {
 public:
  explicit TestPanel(QWidget* parent = nullptr) : TCustomPlotPanelExtended(parent) {}

  void InternalDraw(const chart::TRect& rect) override {
    ++draws;
    DrawPanel(rect);
    if (after) after(*this, rect);
  }
  void Invalidate() override {
    ++invalidations;
    TCustomPlotPanelExtended::Invalidate();
  }

  int draws = 0;
  int invalidations = 0;
  // Drawn after the background (a test's own content, or a failure).
  std::function<void(TestPanel&, const chart::TRect&)> after;

  // One frame drawn unbuffered on a white image of the panel's size.
  QImage Picture();
};

// One frame of any chart panel drawn unbuffered on a white image of its size.
inline QImage PanelPicture(chart::TCustomPlotPanel& panel) {
  QImage image = drawtest::WhiteImage(std::max(1, panel.Width()), std::max(1, panel.Height()));
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  panel.DrawToCanvas(canvas, panel.GetPanelRect());
  return image;
}

// A plain panel: no bevel, white, the given size.
inline void MakePlain(TestPanel& panel, int width, int height) {
  panel.resize(width, height);
  panel.SetBevelOuter(chart::bvNone);
  panel.SetColor(chart::clWhite);
}

inline QImage TestPanel::Picture() { return PanelPicture(*this); }

// Whether a pixel within one of `p` has `colour` (a line's pixels round either way).
inline bool ColourNear(const QImage& image, chart::TPoint p, platform::ColorRef colour) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (drawtest::At(image, p.x + dx, p.y + dy) == colour) return true;
    }
  }
  return false;
}

}  // namespace charttest
