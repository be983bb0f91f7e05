// Draws the three charts of the monthly weather window, as the window makes them from their
// stored descriptions and fills them with monthly values, into a folder:
//
//   run_chart_demo FOLDER
//
// For chart n (1 "気象概要", 2 "温度", 3 "日射量") it writes chartN.png (one frame at the
// window's chart size) and chartN.emf (the chart's enhanced metafile), and chartN-zoom.png
// (the same chart after ZoomByPercent(130), one wheel notch and the first series switched off
// by a click on its legend check box). Exit status 1 when a chart cannot be made or a file
// cannot be written (the reason on the standard error), 2 for usage.
// Runs headless (the offscreen Qt platform unless QT_QPA_PLATFORM says otherwise).
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdio>
#include <string>

#include "chart_monthly_demo.h"
#include "chart_runner.h"

namespace {

void SendMouse(QWidget& w, QEvent::Type type, QPoint p) {
  const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton;
  QMouseEvent e(type, QPointF(p), w.mapToGlobal(QPointF(p)), Qt::LeftButton, held, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &e);
}

}  // namespace

int main(int argc, char** argv) {
  return chartrunner::Run(argc, argv, [](const chartrunner::Folder& folder) {
    for (int n = 1; n <= 3; ++n) {
      auto c = monthlydemo::MakeChart(n);
      monthlydemo::FillMonthlyValues(*c, n);
      const std::string base = "chart" + std::to_string(n);
      if (!chartrunner::SavePngAndEmf(folder, chartrunner::Frame(*c), *c, base)) return 1;
      // The operation panel's zoom, a wheel notch and a legend click.
      c->ZoomByPercent(130);
      chartrunner::Frame(*c);
      QWheelEvent wheel(QPointF(300, 150), c->mapToGlobal(QPointF(300, 150)), QPoint(), QPoint(0, -120),
                        Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(c.get(), &wheel);
      chartrunner::Frame(*c);
      const chart::TLegendItem& first = c->Legend().Items().At(0);
      const QPoint box(first.symbolRect.left - 11, first.y - 1 + (c->Legend().ItemHeight() - 11) / 2 + 6);
      SendMouse(*c, QEvent::MouseButtonPress, box);
      SendMouse(*c, QEvent::MouseButtonRelease, box);
      if (!chartrunner::Frame(*c).save(QString::fromStdString(folder.native + "/" + base + "-zoom.png"))) {
        std::fprintf(stderr, "%s: cannot write %s-zoom.png\n", folder.program, base.c_str());
        return 1;
      }
    }
    return 0;
  });
}
