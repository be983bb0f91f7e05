// The small floating operation panel of the program's charts (TCPNLFrame, "グラフ操作") and the
// chart routines the windows use: filling series from fixed-width text rows, axis titles and
// scrolling the bottom axis.
//
// The panel is a child of the chart it works on, placed at its top right corner: legend on and
// off, hide or show every series, zoom in and out, scroll by 1 or 10 X units, whole view, save
// (the picture save dialog over the chart, for the chart's own file), close, and the "年間"
// box. It shows the X values and pixels of the whole graph and of its visible part.
//
// Decisions kept on purpose:
// - FillChartSeriesFromRows gives each point its month label "１月".."１２月" (for 12 points;
//   otherwise the point number), so a refill keeps the bottom axis's labels; an empty field
//   (a missing value) becomes a null point, never 0.
// - ScrollChartAxis moves the bottom axis by 1 or 10 X units (one point of a monthly chart is
//   one unit), never by multiples of the point count.
#pragma once

#include <QFrame>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "chart/chart.h"

class QCheckBox;
class QLabel;
class QToolButton;

namespace views {

// One view of a chart: its pixel rectangle and width, and the X values at its two ends.
struct SZDataType {
  chart::TRect Rect;
  int Width = 0;
  double X1 = 0, X2 = 0;
  std::string X1Text, X2Text;  // "yyyy/mm/dd hh:nn:ss"
};

// The panel's state.
struct CPDataType {
  int16_t Mode = 0;         // 11, 12, 21, 22, 31 or 32 (0: state only)
  int16_t Spare = 0;        // cleared by the close button and the year box
  bool ZoomNotAllowed = false;
  bool Zoomed = false;
  bool AllHidden = false;
  bool YearView = false;
  double Ratio = 1.0;       // whole width / visible width
  int Count = 1;
  int PointCount = 0;       // points of the first series
  chart::TRect ChartRect;
  SZDataType Whole;         // the whole graph
  SZDataType Part;          // the visible part
};

namespace chartops {

// The chart the panel and the routines work on.
extern chart::TCustomChart* CurrentChart;

void InitChartViewRect(SZDataType& view);
void InitChartPanelState(CPDataType& state);
// Axis "B" bottom, "L" left, "R" right, "T" top; other letters do nothing.
void SetChartAxisTitle(chart::TCustomChart* chart, const std::string& axis, const std::string& text);
// Series k (1..) gets `count` points from rows[firstRow + k - 1], the field j (1..) being the
// `width` bytes from startColumn + width * (j - 1) (0-based byte offset), times `factor`.
void FillChartSeriesFromRows(chart::TCustomChart* chart, const std::vector<std::string>* rows, int firstRow,
                             int lastRow, int startColumn, int width, int count, double factor);
// Tag 1 left by 10, 2 left by 1, 4 right by 1, 5 right by 10 X units; others nothing.
void ScrollChartAxis(chart::TCustomChart* chart, int step, const CPDataType& state);
// An X value as "yyyy/mm/dd hh:nn:ss" (days since 1899/12/30).
std::string XValueText(double x);
// "１月" .. "１２月" for 1..12 (CP932); other numbers as they are.
std::string MonthLabel(int month);
// The program's handler of the chart library's errors (chart::SetChartErrorHook), which the
// monthly window sets when it builds its charts: an error message box with an empty caption.
void ShowChartError(const std::string& message);

}  // namespace chartops

class TCPNLFrame : public QFrame {
  Q_OBJECT
 public:
  explicit TCPNLFrame(QWidget* parent = nullptr);

  // Lays the panel out over chartops::CurrentChart (becoming its child) and resets the state.
  void AttachChart(int mode);
  void ReadChartView(bool changed);
  void UpdateButtons();
  void ShowViewPositions();

  const CPDataType& State() const { return state_; }
  chart::TCustomChart* Chart() const { return chart_; }
  // The file the save button proposes and writes: the chart's own, which the window that
  // draws the chart gives (an enhanced metafile, ".EMF"). Other file names of the program
  // never change it.
  void SetSaveFileName(const std::string& path) { saveFileName_ = path; }
  const std::string& SaveFileName() const { return saveFileName_; }

  // The buttons.
  void SBTN_1Click();
  void SBTN_2Click();
  void ZoomClick(int tag);
  void ScrollClick(int tag);
  void WholeClick();
  void SBTN_5Click();
  void SBTN_6Click();
  void CBTN_1Click();

  // Runs after the close button hid the chart (the window updates its state).
  std::function<void(TCPNLFrame*)> OnClose;

  QFrame* PNL_0;
  QLabel* LBL_0;
  QToolButton* SBTN_1;
  QToolButton* SBTN_6;
  QToolButton* SBTN_2;
  QToolButton* SBTN_5;
  QToolButton* SBTN_3;
  QToolButton* SBTN_4;
  QToolButton* SBTN_LL;
  QToolButton* SBTN_L;
  QToolButton* SBTN_AL;
  QToolButton* SBTN_R;
  QToolButton* SBTN_RR;
  QToolButton* SBTN_7;
  QCheckBox* CBTN_1;
  QLabel *LBL_1_1, *LBL_2_1, *LBL_3_1, *LBL_4_1;
  QLabel *LBL_1_2, *LBL_2_2, *LBL_3_2, *LBL_4_2;

 protected:
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  CPDataType state_;
  chart::TCustomChart* chart_ = nullptr;
  std::string saveFileName_;
};

}  // namespace views
