// libFuzzer target: the texts the monthly weather window takes from its installation files.
// The input's first line is an explanation row of "気象項目.EXP" (any bytes, with a cell text
// after a tab), made into the click sentence of every data row and column, as a click on the
// grid does; the rest is a monthly-file list "月次ﾌｧｲﾙ.DAT" whose entries the window expands
// and checks when one is chosen, and the rows it fills a chart with.
#include <QApplication>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "chart/chart.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/qt/dc_qt.h"
#include "support.h"
#include "views/chart_panel.h"
#include "views/monthly_window.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static QApplication app(*argc, *argv);
  platform::EnsureQtFontEngine();
  fuzzsupport::InstallQuietUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const size_t line = bytes.find('\n');
  const std::string first = bytes.substr(0, line);
  const size_t tab = first.find('\t');
  const std::string explanation = first.substr(0, tab);
  const std::string cell = tab == std::string::npos ? std::string() : first.substr(tab + 1);
  size_t total = 0;
  for (const char* system : {"工学単位", "ＳＩ単位"}) {
    fw::SetUnitSystem(platform::J(system));
    for (int row = 1; row <= 36; row += 5)
      for (int col = 2; col <= 14; col += 3) total += views::MonthlyClickText(row, col, explanation, explanation, cell).size();
  }
  // The list file's entries, as a choice of CBOX3_1 treats them.
  const std::string rest = line == std::string::npos ? std::string() : bytes.substr(line + 1);
  const std::string path = fuzzsupport::WriteScratchFile("MONTHLY.DAT", rest);
  if (fw::DataLoad(path)) {
    for (int i = 1; i <= fw::TableBuffer.TableRows; ++i)
      total += fw::NormalizePath(fw::StripLabelPrefix(fw::TableBuffer.TableCells[static_cast<size_t>(i)][1])).size();
  }
  // The same bytes as chart rows of 10-byte fields.
  chart::TChart chart;
  views::SetupMonthlyChart(chart, 1);
  std::vector<std::string> rows;
  for (size_t at = 0; at < rest.size() && rows.size() < 12; at += 140) rows.push_back(rest.substr(at, 140));
  views::chartops::FillChartSeriesFromRows(&chart, &rows, 0, static_cast<int>(rows.size()) - 1, 20, 10, 12, 1.0);
  views::chartops::CurrentChart = nullptr;
  chart.FreeAllSeries();
  return total == 0xFFFFFFFF ? 1 : 0;
}
