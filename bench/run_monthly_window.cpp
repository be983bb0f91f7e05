// Opens the monthly weather window on a station of the installed data, as the program shows it,
// and writes its three charts into a folder, for checking them by hand and in tests:
//
//   run_monthly_window STATION FOLDER [--si]
//
// STATION is the station number (1 .. the stations of the installed table); --si shows the
// figures in SI units. The program's start-up runs first (the chart library with the rest), the
// station is chosen as a number typed into the window, and for chart n (1 "気象概要", 2 "温度",
// 3 "日射量") the runner writes chartN.png (the chart at the window's size) and chartN.emf (its
// enhanced metafile). The folder is made when missing. Exit status 2 for usage, 1 when the
// station or the installed data is missing or a file cannot be written (the reason on the
// standard error). Runs headless (the offscreen Qt platform unless QT_QPA_PLATFORM says
// otherwise).
#include <QApplication>
#include <QImage>
#include <cstdio>
#include <cstring>
#include <string>

#include "app/startup/program_startup.h"
#include "chart/chart.h"
#include "chart_runner.h"
#include "framework/convert.h"
#include "monthly_installed.h"
#include "platform/files.h"
#include "views/monthly_window.h"
#include "views/station_choosers.h"

namespace {

int Usage(const char* program) {
  std::fprintf(stderr, "usage: %s STATION FOLDER [--si]\n", program);
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3 || argc > 4 || (argc == 4 && std::strcmp(argv[3], "--si") != 0)) return Usage(argv[0]);
  char* end = nullptr;
  const long station = std::strtol(argv[1], &end, 10);
  if (end == argv[1] || *end != '\0') return Usage(argv[0]);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  app::ProgramStartup startup;
  platform::EnsureQtFontEngine();
  const auto inside = platform::ToInsidePath(std::string(argv[2]) + "/");
  if (!inside) {
    std::fprintf(stderr, "%s: the folder name cannot be written in CP932\n", argv[0]);
    return 1;
  }
  if (!platform::MakeFolders(*inside)) {
    std::fprintf(stderr, "%s: cannot make the folder %s\n", argv[0], argv[2]);
    return 1;
  }
  if (!monthlyinstalled::UseInstalledData()) {
    std::fprintf(stderr, "%s: no installed station tables or monthly file beside the executable\n", argv[0]);
    return 1;
  }
  if (station < 1 || station > fw::StationCount) {
    std::fprintf(stderr, "%s: station %s: the stations are 1 to %d\n", argv[0], argv[1], fw::StationCount);
    return 1;
  }
  if (argc == 4) fw::SetUnitSystem(platform::J("ＳＩ単位"));

  views::TMWDDispFrame window;
  window.resize(760, 390);
  window.show();
  window.Setup();
  // The station as a number typed into the window's box.
  if (!window.PNOINPFM->CommitValue(static_cast<int>(station))) {
    std::fprintf(stderr, "%s: station %s was refused\n", argv[0], argv[1]);
    return 1;
  }
  window.CommitInput(0);
  window.SBTN1Click();
  const chartrunner::Folder folder{argv[0], argv[2], *inside};
  for (int n = 1; n <= 3; ++n) {
    window.ChooseChart(n);
    chart::TChart& c = *window.Chart(n);
    if (!chartrunner::SavePngAndEmf(folder, chartrunner::Frame(c), c, "chart" + std::to_string(n))) return 1;
  }
  return 0;
}
