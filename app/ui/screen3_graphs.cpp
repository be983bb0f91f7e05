// Screen 3's page metafiles (rendering and saving), drawing on page images,
// and the drawing helpers shared by the charts.
#include "app/ui/screen3_graphs.h"

#include <algorithm>
#include <cmath>

#include "app/ui/screen3_graphs_draw.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "platform/cp932.h"
#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"

namespace app {

using platform::J;

// ---- Drawing helpers

namespace graphs {

void BeginChart(Canvas& c, int width, int height) {
  c.Pen().SetMode(platform::R2_COPYPEN);
  c.Pen().SetStyle(platform::PenStyle::Solid);
  SetPen(c, kInkColor, 1);
  fw::FillBox(c, 0, 0, kChartBackColor, 0, width, height);
  fw::SetCanvasFont(c, J("ＭＳ ゴシック"), 9, 0);
}

void SetPen(Canvas& c, int colour, int width) {
  c.Pen().SetColor(fw::ColorOf(colour));
  c.Pen().SetWidth(width);
}

platform::Size TextSize(Canvas& c, const std::string& text, int size) {
  c.Font().SetSize(size);
  return c.TextExtent(text);
}

void TextLeft(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  fw::TextOutClear(c, x, y, text, size, colour);
}

void TextRight(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  fw::TextOutClear(c, x - TextSize(c, text, size).cx, y, text, size, colour);
}

void TextTopCentre(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  fw::TextOutClear(c, x - TextSize(c, text, size).cx / 2, y, text, size, colour);
}

void TextCentre(Canvas& c, int x, int y, const std::string& text, int size, int colour) {
  fw::TextOutCentered(c, x, y, text, size, colour);
}

void TextTurned(Canvas& c, int x, int y, const std::string& text, int size, int colour, int angle) {
  const int height = -(size * c.Font().PixelsPerInch() + 36) / 72;
  fw::TextOutRotated(c, x, y, text, height, colour, angle);
  c.Font().SetOrientation(0);
}

void TextUpwards(Canvas& c, int x, int yCentre, const std::string& text, int size, int colour) {
  const int width = TextSize(c, text, size).cx;
  TextTurned(c, x, yCentre + width / 2, text, size, colour, 90);
}

int ScaleOffset(double value, double maximum, int length) {
  if (!(maximum > 0) || !std::isfinite(value)) return 0;
  const double v = std::clamp(value / maximum, 0.0, 1.0) * length;
  return static_cast<int>(std::lround(v));
}

}  // namespace graphs

std::string TankVolumeCaption(double volume) { return fw::FormatFixed(volume, 0) + J("ﾘｯﾄﾙ"); }

// ---- Rendering

void DrawOnImage(QImage& image, const std::function<void(platform::Canvas&, int, int)>& draw) {
  platform::EnsureQtFontEngine();
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  draw(canvas, image.width(), image.height());
}

namespace graphs {
// The weather chart without writing the weather-line file (screen3_graphs_weather.cpp).
std::vector<std::string> DrawWeather(Canvas& c, const std::string& resultPrefix, const std::string& title, int width,
                                     int height);
}  // namespace graphs

std::string RenderPageMetafile(const std::string& resultPrefix, const Screen3Data& data) {
  const PictureSize size = PageMetafileSize(data.page, data.frequencyPanelShown);
  if (size.width == 0) return std::string();
  platform::EnsureQtFontEngine();
  platform::EmfRecorder recorder(size.width, size.height);
  {
    platform::Canvas canvas(recorder);
    fw::FixMetafileFontWidth(canvas);
    switch (data.page) {
      case 4:
        DrawAnalysisGraph(canvas, data, size.width, size.height);
        break;
      case 5:
        // The weather-line file was written when the chart was drawn on screen; the metafile
        // only draws.
        graphs::DrawWeather(canvas, resultPrefix, WeatherChartTitle(), size.width, size.height);
        if (data.frequencyPanelShown) DrawPrecipFrequency(canvas, data, size.width, size.height);
        break;
      default:
        DrawResultChart(canvas, data, size.width, size.height);
        break;
    }
  }
  std::string bytes = recorder.Finish();
  fw::RescaleMetafile(bytes, 0, 0);
  return bytes;
}

bool SaveGraphMetafile(const std::string& path, const std::string& resultPrefix, const Screen3Data& data,
                       std::string* error) {
  const std::string bytes = RenderPageMetafile(resultPrefix, data);
  if (bytes.empty()) return true;
  // The extension becomes ".EMF" (the names of the table carry it already).
  std::string target = path;
  const size_t slash = target.find_last_of('\\');
  const size_t dot = target.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) target.erase(dot);
  target += ".EMF";
  std::string why;
  if (!platform::WriteFileBytesAtomic(target, bytes, &why)) {
    if (error) *error = J("メタファイルを保存できません。") + " " + target + " (" + why + ")";
    return false;
  }
  return true;
}

std::string WeatherChartTitle() {
  fw::ReadRecSS4(fw::CalcData, 1100);
  std::string title;
  for (int i = 1; i <= 3; ++i) {
    const std::string name = fw::TrimBoth(fw::RecSS4.S[i]);
    if (name.empty()) continue;
    if (!title.empty()) title += J("　");
    title += name;
  }
  return title;
}

}  // namespace app
