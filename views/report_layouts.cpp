#include "views/report_layouts.h"

#include <array>

#include "model/results/page_metafiles.h"
#include "platform/cp932.h"

namespace views {

namespace {

using K = ReportControlKind;
using A = ReportAlign;

// Lines of text: the report measures labels with its font (8 pt), which makes a label at least
// one such line high (34.4); the tables in 7 pt print at most 27.1 a line.
constexpr double kLine = 34.5;
constexpr double kTableLine = 27.1;
constexpr double kLeft = kReportMargin;
constexpr double kWidth = kReportPaperWidth - 2 * kReportMargin;
constexpr double kHeaderTop = kReportMargin;
constexpr double kConditionsTop = 136;
constexpr double kTableTop = kConditionsTop + 10 * kLine + 1;
constexpr double kTableHeight = 18 * kTableLine + 1;  // two heading lines, fifteen years, averages
constexpr double kTableBottom = kTableTop + kTableHeight;

// The metafile sizes of screen 3's page 1, page 4 (analysis graphs) and page 5 (weather chart).
struct ImageSize {
  double width, height;
};
ImageSize MetafileSize(int screenPage) {
  const app::PictureSize s = app::PageMetafileSize(screenPage, false);
  return {PixelsToTenthMm(s.width), PixelsToTenthMm(s.height)};
}

ReportControlLayout Label(const std::string& name, double top, double height, int fontSize, A align = A::Left,
                          double left = kLeft, double width = kWidth, const char* caption = "") {
  return {name, K::Label, left, top, width, height, fontSize, align, true, platform::J(caption)};
}

ReportControlLayout Image(const std::string& name, double left, double topPixels, ImageSize size) {
  return {name, K::Image, left, PixelsToTenthMm(topPixels), size.width, size.height, 0, A::Left, false, ""};
}

// The header (file name left, date right) and the ten conditions lines of pages 1 and 2.
void AddHeader(std::vector<ReportControlLayout>& page, int number) {
  const std::string p = std::to_string(number);
  page.push_back(Label("RPTLBL" + p + "_F", kHeaderTop, kLine, 8, A::Left, kLeft, kWidth / 2));
  page.push_back(Label("RPTLBL" + p + "_D", kHeaderTop, kLine, 8, A::Right, kLeft + kWidth / 2, kWidth / 2));
}

void AddConditions(std::vector<ReportControlLayout>& page, int number) {
  for (int i = 1; i <= 10; ++i)
    page.push_back(Label("RPTLBL" + std::to_string(number) + "_" + std::to_string(i), kConditionsTop + (i - 1) * kLine,
                         kLine, 8));
}

// Pages 1 and 2 begin alike: the header, the conditions and the yearly table.
std::vector<ReportControlLayout> ConditionsAndTable(int number) {
  std::vector<ReportControlLayout> page;
  AddHeader(page, number);
  AddConditions(page, number);
  page.push_back({"RPTMEMO" + std::to_string(number) + "_1", K::Memo, kLeft, kTableTop, kWidth, kTableHeight, 7, A::Left,
                  false, ""});
  return page;
}

std::vector<ReportControlLayout> Page1() {
  std::vector<ReportControlLayout> page = ConditionsAndTable(1);
  const ImageSize daily = MetafileSize(1);
  const double left = (kReportPaperWidth - daily.width) / 2;
  static const char* const kCaptions[4] = {"", "19??年 (最低降水年)", "19??年 (最高降水年)", "19??年 (平均降水年)"};
  for (int i = 1; i <= 3; ++i) {
    const double top = i * 234 + 148;  // pixels
    page.push_back(Label("RPTLBL1_1" + std::to_string(i), PixelsToTenthMm(top) - kLine - 4, kLine, 8, A::Left, left,
                         daily.width, kCaptions[i]));
    page.push_back(Image("RPTIMAG1_" + std::to_string(i), left, top, daily));
  }
  return page;
}

std::vector<ReportControlLayout> Page2() {
  std::vector<ReportControlLayout> page = ConditionsAndTable(2);
  const ImageSize graph = MetafileSize(4);
  const double left = (kReportPaperWidth - 2 * graph.width) / 2;
  const double topPixels = (kTableBottom + 8) * 96.0 / 254.0;
  page.push_back(Image("RPTIMAG2_1", left, topPixels, graph));
  page.push_back(Image("RPTIMAG2_2", left + graph.width, topPixels, graph));
  const double findings = PixelsToTenthMm(topPixels) + graph.height + 12;
  page.push_back(Label("RPTLBL2_11", findings, 2 * kLine, 8));
  page.push_back(Label("RPTLBL2_12", findings + 2 * kLine + 4, 2 * kLine, 8));
  return page;
}

std::vector<ReportControlLayout> Page3() {
  std::vector<ReportControlLayout> page;
  AddHeader(page, 3);
  page.push_back(Label("RPTLBL3_1", kConditionsTop, kLine, 8));
  page.push_back(Label("RPTLBL3_2", kConditionsTop + kLine, kLine, 8));
  page.push_back(Label("RPTLBL3_3", kConditionsTop + 2 * kLine, kLine, 8));
  // Column heads over the fields of the year lines (bytes 26, 50, 78 and 83).
  const double heads = kConditionsTop + 3 * kLine + 12;
  ReportControlLayout columnHeads = Label("RPTLBL3_4", heads, kLine, 7);
  columnHeads.caption = platform::J("観測年") + std::string(12, ' ') + platform::J("年平均気温(℃)") + std::string(13, ' ') +
                        platform::J("年降水量(mm)") + std::string(18, ' ') + platform::J("集水日 降水日");
  page.push_back(columnHeads);
  for (int k = 1; k <= 16; ++k) {
    const std::string number = k < 10 ? "0" + std::to_string(k) : std::to_string(k);
    ReportControlLayout line = Label("RPTLBL3_" + number, heads + k * kLine + (k == 16 ? 6 : 0), kLine, 7);
    line.caption = WeatherLineCaption(k);
    page.push_back(line);
  }
  const ImageSize weather = MetafileSize(5);
  page.push_back(Image("RPTIMAG3_1", (kReportPaperWidth - weather.width) / 2,
                       (heads + 17 * kLine + 6 + 16) * 96.0 / 254.0, weather));
  return page;
}

}  // namespace

std::string WeatherLineCaption(int number) {
  // Blanks under the four fields (bytes 26..29, 50..54, 78..80, 83..85) and the byte after each.
  const std::string head = number >= 1 && number <= 15 ? std::to_string(1980 + number) + platform::J("年  ")
                                                       : platform::J("15年平均");
  return head + std::string(22, ' ') + platform::J("℃") + std::string(23, ' ') + "mm" + std::string(29, ' ');
}

const std::vector<ReportControlLayout>& ReportLayout(int page) {
  static const std::array<std::vector<ReportControlLayout>, 4> kPages{{{}, Page1(), Page2(), Page3()}};
  static const std::vector<ReportControlLayout> kNone;
  return page >= 1 && page <= 3 ? kPages[static_cast<size_t>(page)] : kNone;
}

std::vector<ReportControlLayout> PlacedControls(int page, int mode) {
  std::vector<ReportControlLayout> placed;
  for (const ReportControlLayout& c : ReportLayout(page)) {
    if (page == 1 && mode == 2) {
      // The daily graphs and their year captions give way to the monthly and yearly graphs.
      if (c.name == "RPTIMAG1_1" || c.name == "RPTLBL1_11" || c.name == "RPTLBL1_12" || c.name == "RPTLBL1_13") continue;
      if (c.name == "RPTIMAG1_2" || c.name == "RPTIMAG1_3") {
        ReportControlLayout moved = c;
        moved.top = PixelsToTenthMm((c.name.back() - '0') * 210 + 220);
        placed.push_back(moved);
        continue;
      }
    }
    placed.push_back(c);
  }
  return placed;
}

}  // namespace views
