// The report's ten page metafiles of the small result fixture of the tests
// (tests/app/fixtures/golden): the data screen 3 holds while it makes each of them (the three
// daily charts of the representative years, the monthly and yearly charts, the four analysis
// graphs and the weather chart). Shared by the benchmarks of the metafiles and of the report.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "model/results/screen3_data.h"
#include "app/ui/screen3_graphs.h"
#include "framework/appinit.h"
#include "framework/drawing.h"
#include "platform/files.h"
#include "platform/path.h"

namespace benchreport {

inline std::string InsideOf(const std::filesystem::path& p) { return platform::ToInsidePath(p.string()).value_or(""); }

// The repository, found from this file's own path.
inline std::filesystem::path SourceDir() { return std::filesystem::path(__FILE__).parent_path().parent_path(); }

struct Page {
  int page, yearNumber, graph;
};

struct ReportSet {
  std::string prefix;  // the fixture's result files
  std::vector<std::string> yearLines;
  app::Screen3Data data;
  std::vector<Page> pages;
  bool ready = false;

  // The data as the screen holds it while the page's metafile is made.
  app::Screen3Data& On(const Page& p) {
    data.page = p.page;
    data.yearNumber = p.yearNumber;
    data.graph = p.graph;
    data.resultLines.clear();
    if (p.page == 1) {
      platform::ReadTextLines(prefix + "(" + std::to_string(1980 + p.yearNumber) + ").DAY", data.resultLines);
    } else if (p.page == 2) {
      platform::ReadTextLines(prefix + "(1981-1995).MON", data.resultLines);
    } else if (p.page == 3) {
      data.resultLines = yearLines;
    } else if (p.page == 4) {
      app::FillAnalysisTable(yearLines, p.graph, data.analysis);
    }
    data.rowCount = std::max(0, static_cast<int>(data.resultLines.size()) - 4);
    return data;
  }
};

inline ReportSet LoadReportSet() {
  ReportSet d;
  fw::ColorFileName = InsideOf(SourceDir() / "data/tree/DATA/COLOR/標準色.COL");
  d.prefix = InsideOf(SourceDir() / "tests/app/fixtures/golden") + "\\HarvSim";
  std::vector<std::string> full;
  if (!platform::ReadTextLines(d.prefix + "(1981-1995).YER", d.yearLines) ||
      !platform::ReadTextLines(d.prefix + "(FULL).DAT", full)) {
    return d;
  }
  d.data.representative = app::BuildYearList(d.yearLines).representative;
  app::FillFullTankTable(full, d.data.fullTank);
  d.data.basicVolume = 1000;
  const double factors[9] = {0, 0.25, 0.5, 1, 1.5, 2, 3, 4, 5};
  for (int t = 1; t <= 8; ++t) d.data.tankVolume[t] = factors[t] * d.data.basicVolume;
  for (int k = 1; k <= 3; ++k) d.pages.push_back({1, d.data.representative[k], 0});
  d.pages.push_back({2, 0, 0});
  d.pages.push_back({3, 0, 0});
  for (int g = 1; g <= 4; ++g) d.pages.push_back({4, 0, g});
  d.pages.push_back({5, 0, 0});
  d.ready = d.pages.size() == 10 && d.data.representative[1] > 0;
  return d;
}

}  // namespace benchreport
