// Stored chart descriptions (chart/stream.h): the text's tree must format and read back to the
// same text; a description that makes a panel must write a text that makes a panel writing
// the same text again; the panel is then drawn on a small bitmap.
// fuzz-options: -dict=fuzz/chart_description.dict -rss_limit_mb=2048 -timeout=10 -max_len=131072
// (Long enough for point data of thousands of points and texts of thousands of characters.)
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstdlib>
#include <memory>

#include "chart/panel.h"
#include "chart/stream.h"
#include "chart/unit.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"
#include "support.h"

namespace {

const char* Check(std::string_view text) {
  // The text form alone.
  try {
    const chart::TStoredObject tree = chart::ParseDescription(text);
    const std::string formatted = chart::FormatDescription(tree);
    if (chart::FormatDescription(chart::ParseDescription(formatted)) != formatted) {
      return "a formatted tree reads back to another text";
    }
  } catch (const chart::TDescriptionError&) {
    return nullptr;
  }
  // A panel made from it.
  std::unique_ptr<QObject> made(chart::CreateComponent(text, nullptr));
  auto* panel = dynamic_cast<chart::TCustomPlotPanel*>(made.get());
  if (!panel) return nullptr;
  const std::string first = chart::WriteComponent(*panel);
  std::string error;
  std::unique_ptr<QObject> again(chart::CreateComponent(first, nullptr, &error));
  if (!again) return "a written description is refused";
  if (chart::WriteComponent(*again) != first) return "a written description reads back to another text";
  // Drawn on a small bitmap, whatever its own size.
  QImage image(64, 48, QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  panel->DrawToCanvas(canvas, chart::TRect{0, 0, 64, 48});
  return nullptr;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static QApplication app(*argc, *argv);
  platform::EnsureQtFontEngine();
  fuzzsupport::InstallQuietUi();
  static chart::ChartLibraryScope scope;
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = Check(fuzzsupport::Bytes(data, size))) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  return 0;
}
