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

#include "chart_gallery.h"
#include "chart_runner.h"
#include "platform/dc_canvas.h"
#include "platform/qt/dc_qt.h"

int main(int argc, char** argv) {
  return chartrunner::Run(argc, argv, [](const chartrunner::Folder& folder) {
    for (const gallery::Picture& picture : gallery::Pictures()) {
      auto c = picture.make();
      QImage image(c->Width(), c->Height(), QImage::Format_RGB32);
      image.fill(Qt::white);
      {
        platform::QtDc dc(image);
        platform::Canvas canvas(dc);
        c->DrawToCanvas(canvas, c->GetPanelRect());
      }
      if (!chartrunner::SavePngAndEmf(folder, image, *c, picture.name)) return 1;
      const chart::TRect& plot = c->ChartRect();
      std::printf("%s\t%s\t%d,%d,%d,%d\n", picture.name.c_str(), picture.shows.c_str(), plot.left, plot.top,
                  plot.right, plot.bottom);
    }
    return 0;
  });
}
