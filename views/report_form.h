// The report form THARVRPTForm ("レポート作成〔プレビュー画面〕"): the A4 report of the current
// calculation on three pages, each a banded report on its own tab: "計算結果" (RPT1),
// "分析結果" (RPT2) and "気象データ" (RPT3). The main window's Report command shows it modally
// and frees it afterwards (ShowReportForm).
//
// Each report is A4 portrait with margins of 10 mm, a title band of height 0 and its labels,
// memos and images placed directly on it (report_layouts.h); their texts and pictures come from
// report_content.h. A page is built the first time its tab is chosen after opening, again when
// its mode changes. Page 1's mode panel PNL1 chooses the daily graphs of the representative
// years (RBTN1_1) or the monthly and yearly graphs (RBTN1_2); page 2's PNL2 the graph beside
// graph 1 (RBTN2_1 use days, RBTN2_2 runoff rates, RBTN2_3 runoff suppression rates). Both
// panels can be dragged with the mouse. The zoom radios show the page across the form
// (RBTN_Z2, "NN％縮小") or at 100 % with scroll bars (RBTN_Z1, "100％"); BBTN1 prints the page.
//
// Decisions kept on purpose:
// - No tab is chosen when the form opens (the tab strip is a row of exclusive tab buttons over
//   the pages, none pressed); the zoom radios and the print button wait for a page.
// - The yearly file is read, and the caption shown as status text, once when the form is first
//   shown (not again whenever it becomes active, which would overwrite the print outcome).
// - Controls a mode does not show are hidden (their widget) and disabled, so they neither show
//   nor print.
#pragma once

#include <QDialog>
#include <array>
#include <string>

class QButtonGroup;
class QFrame;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QToolButton;

namespace rpt {
class TBandReport;
class TRptImage;
class TRptMemo;
class TRptPrintable;
}  // namespace rpt

namespace views {

// What the report reads besides the condition store and the result files: the calculation
// file (the page header), the result prefix of the result files and page metafiles, and the
// representative years of screen 3 ([1..3]; index 0 unused), which page 1 picks anew from the
// yearly file in its mode 1.
struct ReportInputs {
  std::string calcFilePath;
  std::string resultPrefix;
  std::array<int, 4> representativeYears{};
};
// The program-wide values of the current case (app::CalcFilePath, app::ResultPrefix,
// app::RepresentativeYears).
ReportInputs ProgramReportInputs();

class THARVRPTForm : public QDialog {
  Q_OBJECT
 public:
  explicit THARVRPTForm(QWidget* parent = nullptr, ReportInputs inputs = ProgramReportInputs());
  ~THARVRPTForm() override;

  // ---- Controls (objectNames as the member names)
  QToolButton* TAB1 = nullptr;  // "計算結果"
  QToolButton* TAB2 = nullptr;  // "分析結果"
  QToolButton* TAB3 = nullptr;  // "気象データ"
  QButtonGroup* Tabs = nullptr;
  QStackedWidget* PCON = nullptr;  // page 0 (none) and the three pages
  std::array<QScrollArea*, 4> SBOX{};  // [1..3] the scrolling area of each page
  rpt::TBandReport* RPT1 = nullptr;
  rpt::TBandReport* RPT2 = nullptr;
  rpt::TBandReport* RPT3 = nullptr;
  QPushButton* BBTN1 = nullptr;    // "印刷(&P)..."
  QRadioButton* RBTN_Z1 = nullptr;  // "100％"
  QRadioButton* RBTN_Z2 = nullptr;  // "NN％縮小"
  QLabel* LBL_Prn = nullptr;        // "プリンター機種：<...>"
  QFrame* PNL1 = nullptr;
  QRadioButton* RBTN1_1 = nullptr;
  QRadioButton* RBTN1_2 = nullptr;
  QFrame* PNL2 = nullptr;
  QRadioButton* RBTN2_1 = nullptr;
  QRadioButton* RBTN2_2 = nullptr;
  QRadioButton* RBTN2_3 = nullptr;

  // ---- State
  int ReportMode1 = 1;  // page 1: 1 daily graphs, 2 monthly and yearly graphs
  int ReportMode2 = 1;  // page 2: 1 use days, 2 runoff rates, 3 runoff suppression rates
  bool PrintConfirmed = false;  // AskPrint was answered yes since the form opened

  rpt::TBandReport* Report(int page) const;
  // The control of a page by name; its image n; its memo (null when absent).
  rpt::TRptPrintable* Control(int page, const std::string& name) const;
  rpt::TRptImage* Image(int page, int number) const;
  rpt::TRptMemo* Memo(int page) const;
  // The tab chosen (1..3), 0 for none.
  int SelectedPage() const;
  // Chooses a tab as a click does (0: none, without building anything).
  void SelectPage(int page);

  // ---- Page routines
  // The header and the conditions lines 1..10 of page 1 or 2.
  void FillConditions(int page);
  void BuildResultsPage();
  void BuildAnalysisPage();
  void BuildWeatherPage();
  // Builds the page when it is not built yet.
  void BuildPage(int page);
  // A mode radio: the mode from its Tag, the page marked not built and built again.
  void ModeClick(int page, int tag);
  // The zoom radios.
  void ZoomClick(bool wholePage);
  // Sizes the form to the page area fitted by FitReportPreview (geometry of the shown page).
  void ApplyPreviewFit(int zoom, int formWidth, int formHeight, const std::string& zoomText);
  // The page area's size in pixels.
  QSize PageAreaSize() const;

 protected:
  void showEvent(QShowEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CreateReports();
  void PlaceControls();
  void PageChosen(int page);
  void UpdateButtons();
  // Shows and places the controls of a page for its mode.
  void ApplyLayout(int page, int mode);
  // The pictures of the shown images 1..count of a page.
  void LoadImages(int page, int mode, int count);
  void SetLabel(int page, const std::string& line, const std::string& text);
  ReportInputs inputs_;
  bool activated_ = false;
  int fitting_ = 0;
};

// Creates the form for `inputs`, shows it modally and frees it (the main window's Report
// command).
void ShowReportForm(QWidget* parent, const ReportInputs& inputs);

}  // namespace views
