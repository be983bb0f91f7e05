// Screen 3's result tables: a result file's lines as a daily, monthly or yearly table, as the
// yearly table of the year list and the analysis grids, as the full-tank counts and as the
// weather lines of page 5, each drawn as its chart on a small page image.
#include <QImage>

#include "model/results/screen3_data.h"
#include "app/ui/screen3_graphs.h"
#include "framework/form_utils.h"
#include "platform/files.h"
#include "support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::EnsureQtApp();
  fuzzsupport::InstallQuietUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t choice = data[0];
  std::vector<std::string> lines;
  platform::SplitTextLines(std::string(fuzzsupport::Bytes(data + 1, size - 1)), lines);
  // Screen 3 refuses a file longer than any result table (app::ReadResultTable); the chart
  // draws nothing for one either.
  if (lines.size() > static_cast<size_t>(fw::kDayHeaderLines + app::kMaxResultRows)) {
    app::Screen3Data d;
    d.page = 1;
    d.resultLines = std::move(lines);
    QImage image(160, 100, QImage::Format_RGB32);
    app::DrawOnImage(image, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, d, w, h); });
    return 0;
  }

  app::Screen3Data d;
  d.basicVolume = 1000;
  for (int i = 1; i <= 8; ++i) d.tankVolume[static_cast<size_t>(i)] = 250.0 * i;
  QImage image(160, 100, QImage::Format_RGB32);

  // Pages 1 to 3: the table's rows, read as the day view reads them.
  d.page = 1 + choice % 3;
  d.resultLines = lines;
  d.rowCount = std::max(0, static_cast<int>(lines.size()) - 4);
  int count = 0;
  fw::TDayRecord record;
  for (int row = 1; row <= d.rowCount && row <= 400; ++row) fw::ReadDayRow(lines, row, count, record);
  app::DrawOnImage(image, [&](platform::Canvas& c, int w, int h) { app::DrawResultChart(c, d, w, h); });

  // Page 4: the yearly table and the full-tank counts.
  const app::YearList years = app::BuildYearList(lines);
  d.representative = years.representative;
  d.graph = 1 + (choice >> 2) % 4;
  if (app::FillAnalysisTable(lines, d.graph, d.analysis)) {
    app::FillFullTankTable(lines, d.fullTank);
    for (int col = 1; col <= 14; ++col)
      for (int row = 2; row <= 17; ++row) app::AnalysisCellColorNumber(d.graph, col, row, d.analysis.Cell(col, row));
    app::DrawOnImage(image, [&](platform::Canvas& c, int w, int h) { app::DrawAnalysisGraph(c, d, w, h); });
  }

  // Page 5: the weather lines.
  d.weatherLines = lines;
  app::FilterPrecipDays(lines, choice >> 4);
  app::CountPrecipFrequency(lines, d.frequency);
  for (const std::string& line : lines) app::WeatherLine(line);
  d.frequencyYear = app::kFirstYear + (choice >> 4) % app::kYearCount;
  app::DrawOnImage(image, [&](platform::Canvas& c, int w, int h) { app::DrawPrecipFrequency(c, d, w, h); });
  return 0;
}
