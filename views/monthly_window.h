// The monthly weather window TMONForm ("月次気象データの表示"): the standard-year monthly
// statistics of any station as a grid of 36 weather items by month and year, a header with the
// station's position and key figures, and three charts ("気象概要", "温度", "日射量"), each with
// its operation panel. Stations are chosen by number or by area and name.
//
// The main window creates it once and shows it on request. Each deactivation writes the
// weather-selection file for the station shown (fw::InitWeatherSelection).
//
// Decisions kept on purpose:
// - A missing monthly value (an empty cell) is a null point of its chart and its click sentence
//   says "…はデータがありません。".
// - Rows 9-12 (the temperatures) take no prefix in the click sentence.
// - The radiation axes read "日射量（kcal/㎡日）" (the grid's values) and run −3000..6000,
//   so that the zero and the grid lines stay level with the temperature axis −20..40. Under SI
//   units (values times 1.163) the overview's runs −4000..8000 by 2000, which holds every
//   station's values and keeps the zero and the grid lines level.
// - The overview's temperature axis holds every station: where a temperature drawn lies below
//   −20 or above 40 it reaches out by whole steps of 10, and the other three axes by as many
//   of their own steps (OverviewReachOf).
// - Missing months are gaps: the line series draw no line into or out of a null point, and a
//   bar of a null point is not drawn.
// - Each chart's operation panel saves to that chart's own file, "<WCD>station(Cn).EMF", which
//   the window gives it when it draws the chart; no other window's file name can redirect it.
// - The entries of "月次ﾌｧｲﾙ.DAT" are expanded with NormalizePath before they are checked and
//   compared with the monthly file in use.
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "framework/weather_stations.h"

class QLabel;
class QRadioButton;
class QToolButton;

namespace chart {
class TChart;
}
namespace fw {
class TCBoxEx;
class TStrGridEx;
}  // namespace fw

namespace views {

class TCPNLFrame;
class TPNOINPFrame;
class TPSTINPFrame;

// The grid rows feeding chart 1..3, as a row list.
std::string MonthlyChartRows(int number);
// The background colour number of a grid row (0 for white).
int MonthlyRowColorNumber(int row);
// The click prefix of a grid row ("", "平均", "１日平均" or "積算"; CP932).
std::string MonthlyClickPrefix(int row);
// The information text of a click on data row `row`, column `col` (2..13 months, 14 the year):
// `explanation` is row `row` of "気象項目.EXP", `itemName` the grid's column-0 text and `cell`
// the cell's text (all CP932).
std::string MonthlyClickText(int row, int col, const std::string& explanation, const std::string& itemName,
                             const std::string& cell);
// How many whole steps of 10 the overview's temperature axis reaches beyond −20 (down) and 40
// (up) to hold every temperature drawn (the non-null points of the series on the left axis);
// the radiation, precipitation and humidity axes reach out by as many of their own steps, so
// that the zero and the grid lines stay level.
struct OverviewReach {
  int down = 0, up = 0;
  bool operator==(const OverviewReach&) const = default;
};
OverviewReach OverviewReachOf(const chart::TChart& chart);
// Sets up one of the three charts as the window has it (axes, legend, series). The chart does
// not own the series: free them with FreeAllSeries before the chart goes.
void SetupMonthlyChart(chart::TChart& chart, int number);

class TMWDDispFrame : public QWidget, public fw::StationInfoView {
  Q_OBJECT
 public:
  explicit TMWDDispFrame(QWidget* parent = nullptr);
  ~TMWDDispFrame() override;

  // The set-up of the first activation (once).
  void Setup();
  void ShowAll();
  void ShowMonthlyFile(const std::string& code);
  void ShowStation(int stationNo);
  void ShowStationHeader(int stationNo);
  void DrawMonthlyChart();
  void UpdateChartState();
  void CommitInput(int code);
  // A station number within 1..StationCount.
  static bool CheckInputRange(int value);

  // fw::StationInfoView
  void ShowTexts(const fw::StationInfoTexts& texts) override;
  void SetCell(int col, int row, const std::string& text) override;

  // Handlers.
  void GridClick(int col, int row);
  void SBTN1Click();
  void ChooseChart(int number);
  void SBTN3Click();
  void ChooseMonthlyFile(const std::string& text);
  void PNL_SIClick();
  void NameChooserClick();

  int ChartNumber() const { return chartNo_; }
  chart::TChart* Chart(int number) const { return charts_[static_cast<size_t>(number - 1)]; }
  TCPNLFrame* Panel(int number) const { return panels_[static_cast<size_t>(number - 1)]; }

  fw::TStrGridEx* STRG1;
  QLabel *LBL10, *LBL7, *LBL8, *LBL3, *LBL4, *LBL5, *LBL9, *LBL_ERR, *LBL11;
  QLabel* PNL_SI;
  QToolButton *SBTN1, *SBTN2, *SBTN3;
  QWidget* PNL2;
  QRadioButton *RBTN2_1, *RBTN2_2, *RBTN2_3;
  chart::TChart *CHAT1, *CHAT2, *CHAT3;
  TCPNLFrame *CPNLFM1, *CPNLFM2, *CPNLFM3;
  QWidget* PNL3;
  fw::TCBoxEx* CBOX3_1;
  QLabel *LBL3_1, *LBL3_2;
  QToolButton* SBTN3_1;
  TPNOINPFrame* PNOINPFM;
  TPSTINPFrame* PSTINPFM;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void LayoutBody();

  bool setUp_ = false;
  int chartNo_ = 1;
  double radiationFactor_ = 1.0;  // the unit factor chart 1's radiation axis is set for
  OverviewReach overviewReach_;   // the reach chart 1's axes are set for
  std::array<chart::TChart*, 3> charts_{};
  std::array<TCPNLFrame*, 3> panels_{};
};

class TMONForm : public QWidget {
  Q_OBJECT
 public:
  explicit TMONForm(QWidget* parent = nullptr);

  TMWDDispFrame* MWDDispFM;
  bool FirstActivation() const { return first_; }

 protected:
  bool event(QEvent* e) override;

 private:
  bool first_ = true;
};

}  // namespace views
