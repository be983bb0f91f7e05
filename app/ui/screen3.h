// Screen 3 "結果表示〔画面３〕" (form HARV3Form): the results of the last calculation on five
// pages — the daily table of a year with its chart, the monthly and the yearly table with
// theirs, the analysis tables with four graphs, and the weather of the fifteen years with the
// days of heavy precipitation and their frequency. The charts are drawn by screen3_graphs.h
// from the screen's data (model/results/screen3_data.h); the page metafiles of the printed report
// are made the first time the screen is shown after a calculation, in the order and with the
// messages of model/results/page_metafiles.h, each page shown on the screen and then written.
//
// Pages (PCON, page number = index + 1): 1 "計算結果(19??年)" (year tabs TABC1 over MEMO1, chart
// IMAG1), 2 "月次統計(15年間)" (MEMO2, IMAG2), 3 "年次統計(15年間)" (MEMO3, IMAG3), 4 "分析結果"
// (analysis grid STRG4, full-tank grid STRG4_1, graph pages PCON4 with IMAG4_1..IMAG4_4), 5
// "気象データ" (IMAG5; data panel PNL5 with the threshold frame INPUDFM5, MEMO5 and MEMO5_1;
// frequency panel PNL5_1 with IMAG5_1 and the year frame INPUDFM5_1). Floating panels: PNL1
// (year choice RADG1), PNL2 (tank buttons SBTN_T1..SBTN_T8), PNL3 (year ticks CLBOX3); PNL1 and
// PNL3 can be dragged.
//
// Decisions kept on purpose:
// - Page metafiles are named by the page-metafile table of model/results/page_metafiles.h
//   everywhere, also when a graph is saved from its page ("(2).EMF", "(4-2).EMF", "(5).EMF").
// - Saving a graph writes the metafile to the name the user confirmed in the save dialog, and
//   only when the metafile format was ticked there; a file the user did not choose is never
//   written.
// - Each of pages 1 to 3 keeps the table it loaded last, so its chart and its metafile always
//   draw its own table (the daily table of the chosen year on page 1, even after the monthly
//   or yearly page was shown).
// - The report metafiles are made only when the yearly result table is there (without it there
//   are no representative years and nothing to report); "(5).EMF", written last, marks the set
//   complete, so opening the screen again makes none and asks nothing. A metafile that cannot
//   be written ends the making with its message; the set stays incomplete and is made again
//   the next time.
// - Images take the size the form gives them; a chart is drawn again whenever its image
//   changes size (window size, the bar between table and chart).
// - The tank buttons lie over the chart's legend; a hidden tank's caption is grey and struck
//   through.
// - The panels PNL1 and PNL3 stay inside the form when dragged.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "model/results/screen3_data.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QTabBar;
class QTabWidget;
class QToolButton;

namespace fw {
class TImageEx;
class TInpUpDnFrame;
class TMemoEx;
class TStrGridEx;
}  // namespace fw

namespace app {

class THARV3Form : public QWidget {
  Q_OBJECT
 public:
  explicit THARV3Form(QWidget* parent = nullptr);
  ~THARV3Form() override;

  const Screen3Data& Data() const { return data_; }

  // ---- Entries of the main window
  // After opening or showing the screen: buttons, the report metafiles when needed, status.
  void RefreshScreen();
  // Opens page 1..5 and handles it as a page change.
  void ShowPage(int page);

  // ---- Handlers, as the controls run them
  void FormActivate();
  void PCONChange();
  void TABC1Change();
  void RADG1Click();
  void PCON4Change();
  void CLBOX3Click(int item);      // item 0..14 was clicked (its tick toggled)
  void SBTN3_2Click(int tag);      // 0 untick all years, 1 tick all
  void SBTN_T1Click(int tag);      // tank button 1..8
  void BTN1Click();                // "標準サイズ"
  void BTN2Click();                // "貯水層容量"
  void BTN3Click();                // "年間降水量"
  void BTN5Click();                // "データ表示"
  void ClosePanelClick(int tag);   // "×" of PNL1, PNL3, PNL5 (tag 0) and PNL2 (tag 2)
  void SBTN4_1Click();             // "<解説>"
  void SBTN4_2Click();             // "<満水>"
  void SBTN5_0Click();             // frequency panel on/off
  void SBTN5_1Click();             // "×" of the frequency panel
  void SPLIT1Moved();
  void INPUDFM5UPDN_1Click();      // new threshold
  void INPUDFM5_1UPDN_1Click();    // new frequency year
  void ChooseYear(int yearNumber);  // selects the tab silently and runs the year change
  // Right mouse button released over a page image (IMAG1..IMAG5, IMAG4_1..IMAG4_4) or over the
  // frequency chart IMAG5_1: the graph is saved through the picture save dialog.
  void IMAG1MouseUp(fw::TImageEx* image);
  void IMAG5_1MouseUp();

  // ---- Operations
  void SyncPageState();
  void FillYearItems();
  bool LoadMemoFile(const std::string& path);
  void FillAnalysisGrid();
  void FilterPrecipDays();
  void CountPrecipFrequency();
  void UpdateButtons();
  void CreateReportMetafiles();
  // Writes the current page's metafile to `path` (ImageFile): false after reporting an error.
  bool SaveGraphMetafile(const std::string& path);
  // Draws the chart of the current page (or graph) on its image unless it is up to date.
  void DrawCurrentChart();
  void DrawFrequencyChart();

  // The current image and memo of the page (null where the page has none).
  fw::TImageEx* CurrentImage() const { return currentImage_; }
  fw::TMemoEx* CurrentMemo() const { return currentMemo_; }

  // ---- Controls, named as on the form
  QTabWidget* PCON;
  QTabBar* TABC1;
  fw::TMemoEx* MEMO1;
  fw::TMemoEx* MEMO2;
  fw::TMemoEx* MEMO3;
  fw::TMemoEx* MEMO5;
  fw::TMemoEx* MEMO5_1;
  std::array<fw::TImageEx*, 6> IMAG{};   // [1..5] = IMAG1 .. IMAG5
  std::array<fw::TImageEx*, 5> IMAG4{};  // [1..4] = IMAG4_1 .. IMAG4_4
  fw::TImageEx* IMAG5_1;
  std::array<QWidget*, 4> SPLIT{};       // [1..3] = SPLIT1 .. SPLIT3 (the bars under the tables)
  QWidget* TABC1Box;                      // the year tabs with MEMO1 (201 high as designed)
  fw::TStrGridEx* STRG4;
  fw::TStrGridEx* STRG4_1;
  QLabel* LBL4_2;
  QTabWidget* PCON4;
  QToolButton* SBTN4_1;
  QToolButton* SBTN4_2;
  QPushButton* BTN1;
  QPushButton* BTN2;
  QPushButton* BTN3;
  QPushButton* BTN5;
  QLabel* TXT_Meta;
  QWidget* PNL1;
  QGroupBox* RADG1;
  QButtonGroup* RADG1Items;
  QLabel* LBL1_1;
  QToolButton* SBTN1_1;
  QWidget* PNL2;
  std::array<QToolButton*, 9> SBTN_T{};  // [1..8] = SBTN_T1 .. SBTN_T8
  QToolButton* SBTN2_1;
  QWidget* PNL3;
  QListWidget* CLBOX3;
  QToolButton* SBTN3_1;
  QToolButton* SBTN3_2;  // "全てｸﾘｱｰ" (Tag 0)
  QToolButton* SBTN3_3;  // "全てﾁｪｯｸ" (Tag 1)
  QWidget* PNL5;
  fw::TInpUpDnFrame* INPUDFM5;
  QToolButton* SBTN5;
  QToolButton* SBTN5_0;
  QWidget* PNL5_1;
  fw::TInpUpDnFrame* INPUDFM5_1;
  QToolButton* SBTN5_1;

  static constexpr int kStandardMemoHeight = 201;

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  void BuildPages();
  void BuildResultPage(int page);
  void BuildAnalysisPage();
  void BuildWeatherPage();
  void BuildPanels();
  void LayOut();
  void SetPageCaption(int page, const std::string& cp932);
  void DrawWeatherPage();
  void PlaceTankPanel();
  void PaintTankButtons();
  void ShowTankCaptions();
  void MovePointerTo(QWidget* control);
  void UpdateCommandStates();
  bool SaveGraphFromImage(fw::TImageEx* image, bool frequencyChart);
  void ClearImage(fw::TImageEx* image);
  // Switches a panel on or off; a panel that shows comes to the front with the pointer on its
  // close button (true then).
  bool TogglePanel(bool& on, QWidget* panel, QWidget* closeButton);
  void DragPanel(QWidget* panel, QEvent* e);

  Screen3Data data_;
  fw::TMemoEx* currentMemo_ = nullptr;
  fw::TImageEx* currentImage_ = nullptr;
  std::string imageFile_;  // ImageFile: the metafile name of the current page
  YearList years_;

  // Panels the user switched on or off.
  bool tankPanelOn_ = true;
  bool yearPanelOn_ = false;
  bool yearCheckPanelOn_ = false;
  bool dataPanelOn_ = false;
  bool frequencyPanelOn_ = false;
  bool showFullTank_ = false;
  // Heights of the tables of pages 1 to 3 ([1..3]; the design height 201 is the standard size).
  std::array<int, 4> memoHeight_{};
  // The result table of pages 1 to 3 as loaded last ([1..3]), so each page's chart and
  // metafile always draw their own table.
  std::array<std::vector<std::string>, 4> pageLines_;
  bool redrawPending_ = false;
  bool clboxTickToggled_ = false;

  std::array<bool, 2> panelMoved_{};  // PNL1, PNL3 dragged by the user
  bool activatedOnce_ = false;
};

// Registers screen 3 with the main window's screen registry.
void RegisterScreen3();

}  // namespace app
