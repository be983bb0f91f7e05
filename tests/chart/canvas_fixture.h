// A chart canvas drawing straight onto a white QImage (no buffer), with the library started.
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "chart/canvas3d.h"
#include "chart/unit.h"
#include "draw_env.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"

namespace charttest {

class CanvasFixture : public ::testing::Test {
 protected:
  explicit CanvasFixture(int width = 200, int height = 120) : image_(drawtest::WhiteImage(width, height)) {
    dc_ = std::make_unique<platform::QtDc>(image_);
    platformCanvas_ = std::make_unique<platform::Canvas>(*dc_);
    canvas_.SetBufferedDisplay(false);
    frame_ = chart::TRect{0, 0, width, height};
    canvas_.BeginFrame(platformCanvas_.get(), nullptr, chart::clWhite, false, frame_);
    canvas_.ResetDrawingState();
  }

  platform::ColorRef At(int x, int y) const { return drawtest::At(image_, x, y); }

  chart::ChartLibraryScope scope_;
  QImage image_;
  std::unique_ptr<platform::QtDc> dc_;
  std::unique_ptr<platform::Canvas> platformCanvas_;
  chart::TPlotCanvas3D canvas_;
  chart::TRect frame_;
};

}  // namespace charttest
