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
  QImage Picture() {
    QImage image = drawtest::WhiteImage(std::max(1, Width()), std::max(1, Height()));
    platform::QtDc dc(image);
    platform::Canvas canvas(dc);
    DrawToCanvas(canvas, GetPanelRect());
    return image;
  }
};

// A plain panel: no bevel, white, the given size.
inline void MakePlain(TestPanel& panel, int width, int height) {
  panel.resize(width, height);
  panel.SetBevelOuter(chart::bvNone);
  panel.SetColor(chart::clWhite);
}

}  // namespace charttest
