// The main routine of a benchmark program that draws with Qt: the offscreen platform unless
// another is chosen, a Qt application of the kind the benchmarks need (QGuiApplication, or
// QApplication for widgets), the font engine ready, then the program's own set-up.
#pragma once

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <functional>

#include "platform/qt/dc_qt.h"

template <typename App>
int RunQtBenchmarks(int argc, char** argv, const std::function<void()>& setUp = {}) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  App app(argc, argv);
  platform::EnsureQtFontEngine();
  if (setUp) setUp();
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
