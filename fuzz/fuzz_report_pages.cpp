// The report pages' texts from a yearly result file and one year's daily file: the yearly
// tables of the three modes with their average lines, the representative years and their
// captions, the findings, and the weather page's year lines with the days counted from the
// daily file. Input: a choice byte, the yearly file, a NUL byte, the daily file.
#include <string>
#include <vector>

#include "platform/files.h"
#include "platform/cp932.h"
#include "support.h"
#include "views/report_content.h"
#include "views/report_layouts.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::InstallQuietUi();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 1) return 0;
  const uint8_t choice = data[0];
  const std::string_view rest = fuzzsupport::Bytes(data + 1, size - 1);
  const size_t split = rest.find('\0');
  const std::string yearly(rest.substr(0, split));
  const std::string daily(split == std::string_view::npos ? std::string_view() : rest.substr(split + 1));

  std::vector<std::string> lines;
  platform::SplitTextLines(yearly, lines);
  views::YearlyTableComplete(lines);
  for (int mode = 1; mode <= 3; ++mode) {
    views::YearlyTableLines(lines, mode);
    views::ReportAverageFigures figures;
    views::ReportAverages(lines, mode, &figures);
    views::Findings(lines, mode);
  }
  const auto years = views::PickRepresentativeYears(lines);
  for (int i = 1; i <= 3; ++i)
    views::YearCaption(platform::J("19??年 (平均降水年)"), years[static_cast<size_t>(i)]);

  // The daily file of one year beside the yearly file.
  const std::string name = "R(" + std::to_string(1981 + choice % 15) + ").DAY";
  const std::string path = fuzzsupport::WriteScratchFile(name, daily);
  const std::string prefix = path.substr(0, path.size() - name.size()) + "R";
  const auto weather = views::WeatherYears(lines, prefix);
  for (int k = 1; k <= 16; ++k)
    views::WeatherYearLine(views::WeatherLineCaption(k), weather[static_cast<size_t>(k)]);
  return 0;
}
