// The main program of the chart benchmarks: an offscreen Qt application of kind App (a
// QApplication where panels, which are widgets, are drawn; a QGuiApplication for the canvas
// alone), the Qt font engine and the chart library started, then every benchmark.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QtGlobal>

#include "chart/unit.h"
#include "platform/qt/dc_qt.h"

template <class App>
int RunChartBenchmarks(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  App app(argc, argv);
  platform::EnsureQtFontEngine();
  chart::ChartLibraryScope scope;
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
