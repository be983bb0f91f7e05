// Draws the chart gallery into a folder: every series kind with axes, legend and titles.
//
//   run_chart_gallery FOLDER
//
// For each picture it writes NAME.png (one frame at the gallery size) and NAME.emf (the
// chart's enhanced metafile) and prints "NAME<TAB>what it shows<TAB>left,top,right,bottom" on
// the standard output, the last field being the plot rectangle of the drawn frame.
// Exit status 1 when a chart cannot be made or a file cannot be written (the reason on the
// standard error), 2 for usage. Runs headless (the offscreen Qt platform unless
// QT_QPA_PLATFORM says otherwise).
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "chart/unit.h"
#include "chart_gallery.h"
#include "platform/dc_canvas.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s FOLDER\n", argv[0]);
    return 2;
  }
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  platform::EnsureQtFontEngine();
  chart::ChartLibraryScope scope;
  const std::string folder = argv[1];
  const auto inside = platform::ToInsidePath(folder + "/");
  if (!inside) {
    std::fprintf(stderr, "%s: the folder name cannot be written in CP932\n", argv[0]);
    return 1;
  }
  try {
    for (const gallery::Picture& picture : gallery::Pictures()) {
      auto c = picture.make();
      QImage image(c->Width(), c->Height(), QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        platform::QtDc dc(image);
        platform::Canvas canvas(dc);
        c->DrawToCanvas(canvas, c->GetPanelRect());
      }
      if (!image.save(QString::fromStdString(folder + "/" + picture.name + ".png"))) {
        std::fprintf(stderr, "%s: cannot write %s.png\n", argv[0], picture.name.c_str());
        return 1;
      }
      std::string error;
      if (!c->WriteMetafileFile(*inside + picture.name + ".emf", &error)) {
        std::fprintf(stderr, "%s: %s.emf: %s\n", argv[0], picture.name.c_str(), error.c_str());
        return 1;
      }
      const chart::TRect& plot = c->ChartRect();
      std::printf("%s\t%s\t%d,%d,%d,%d\n", picture.name.c_str(), picture.shows.c_str(), plot.left, plot.top,
                  plot.right, plot.bottom);
    }
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s: %s\n", argv[0], e.what());
    return 1;
  }
  return 0;
}
