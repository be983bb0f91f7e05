// What the chart runners share: the command line "PROGRAM FOLDER", Qt off screen with its font
// engine, the chart library started, drawing a chart on a white image, and writing a picture as
// PNG and EMF into the folder.
// A wrong command line exits with 2, any failure with 1 after a message on standard error.
#pragma once

#include <QApplication>
#include <QImage>
#include <cstdio>
#include <exception>
#include <string>

#include "chart/chart.h"
#include "chart/unit.h"
#include "platform/dc_canvas.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"

namespace chartrunner {

struct Folder {
  const char* program;
  std::string native;  // as given on the command line
  std::string inside;  // its inside path, ending in the separator
};

// The chart drawn on a white image of its own size.
inline QImage Frame(chart::TChart& c) {
  QImage image(c.Width(), c.Height(), QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::QtDc dc(image);
  platform::Canvas canvas(dc);
  c.DrawToCanvas(canvas, c.GetPanelRect());
  return image;
}

// Writes `image` as BASE.png and the chart's metafile as BASE.emf; false after a message.
template <class Chart>
bool SavePngAndEmf(const Folder& f, const QImage& image, Chart& c, const std::string& base) {
  if (!image.save(QString::fromStdString(f.native + "/" + base + ".png"))) {
    std::fprintf(stderr, "%s: cannot write %s.png\n", f.program, base.c_str());
    return false;
  }
  std::string error;
  if (!c.WriteMetafileFile(f.inside + base + ".emf", &error)) {
    std::fprintf(stderr, "%s: %s.emf: %s\n", f.program, base.c_str(), error.c_str());
    return false;
  }
  return true;
}

// Sets up and runs `draw(folder)`, which returns the exit code.
template <class Draw>
int Run(int argc, char** argv, Draw draw) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  chart::ChartLibraryScope scope;
  const auto inside = platform::ToInsidePath(std::string(argv[1]) + "/");
  if (!inside) {
    std::fprintf(stderr, "%s: the folder name cannot be written in CP932\n", argv[0]);
    return 1;
  }
  try {
    return draw(Folder{argv[0], argv[1], *inside});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
}

}  // namespace chartrunner
