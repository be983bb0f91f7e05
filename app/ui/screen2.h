// Screen 2 "計算〔画面２〕" (form HARV2Form): shows the conditions the calculation will use,
// runs the fifteen-year simulation with its Execute button, and walks through the daily
// results of one year day by day for one of the eight tank sizes, step by step, by continuous
// playback (0.2 s a day) or to the next day with precipitation.
//
// The daily result file of the year shown ("(yyyy).DAY", 365 rows: 29 February has no row)
// is held in the shared list fw::ResultLines.
//
// Safety kept on purpose:
// - While a run or the playback is under way the form refuses to close, and Execute, the
//   up-downs and "次の降水" are off; the run's pause between years and the playback's pause
//   between days handle window messages, so the window stays responsive and a second press
//   of the playback button stops it.
// - Activation (which reloads the conditions and the year) is skipped while a run is under
//   way, so a run never sees its parameters change.
// - After a run the 1981 file is loaded and 1981/01/01 shown, whatever year was shown before.
// - fw::ResultLines is shared with other windows: a row whose date is not the date asked for
//   makes the view load the year's file again; when that file is missing the view stays empty
//   instead of showing another table's numbers.
// - A tank of capacity 0 shows a fill of 0 % (never a division by zero).
#pragma once

#include <QWidget>
#include <array>
#include <string>

#include "model/sim/simulation.h"
#include "framework/ui/updown_frame.h"
#include "framework/form_utils.h"

class QButtonGroup;
class QGroupBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

namespace fw {
class TImageEx;
}

namespace app {

// ---- Date rules of the day view (pure; the daily files have no 29 February)

// Row of a daily result file (from 1) holding a date: its day of the year, less one from
// 1 March on in a leap year.
int DayFileRow(int year, int month, int day);

struct ViewDate {
  int year = kFirstYear;
  int month = 1;
  int day = 1;
  bool operator==(const ViewDate&) const = default;
};
// The day up-down (range 0 to 32) moved to `position` (the shown day + or - 1): below 1 on 1 January stays on
// the 1st, below 1 otherwise goes to the last day of the previous month; beyond 31 December
// stays on the 31st, beyond the month's last day (common-year lengths) goes to the 1st of
// the next month; otherwise the day becomes `position`. The year never changes.
ViewDate StepViewDay(const ViewDate& date, int position);

// ---- The form

class THARV2Form : public QWidget {
  Q_OBJECT
 public:
  explicit THARV2Form(QWidget* parent = nullptr);
  ~THARV2Form() override;

  // The run (its parameters are taken on each activation).
  Simulation& Sim() { return sim_; }

  // Activation: conditions reloaded, playback off, 1981/01/01 with its file when it exists,
  // the mouse onto the Execute button. Runs whenever the screen becomes the active screen
  // (screen_activation.h).
  void FormActivate();
  // The screen's refresh entry: fills the conditions group and the control states.
  void RefreshConditions();
  // Shows the current date's row.
  void ShowDay();
  // Sets the date, shows it and moves the up-downs there.
  void GotoDay(int year, int month, int day);
  // Loads the daily file of `year` into fw::ResultLines when it exists; true when loaded.
  bool LoadDayFile(int year);
  // Control states after every change.
  void UpdateControls();

  // The commands, as their buttons run them.
  void ExecuteClick();        // BBTN1
  void PlaybackClick();       // SBTN_01 (starts, or stops a running playback)
  void NextPrecipClick();     // SBTN_02
  // UPDN_01..03 moved to their current position (Tag 1 year, 2 month, 3 day).
  void UpDownClick(int tag);

  int ViewYear = kFirstYear;
  int ViewMonth = 1;
  int ViewDay = 1;
  // ResultPrefix + "(" + year + ").DAY".
  std::string DayFileName() const;
  std::string DayFileName(int year) const;
  // RADG2's item (0..7) + 1.
  int SelectedTank() const;

  // Controls, named as on the form.
  QGroupBox* GBOX1;  // conditions
  std::array<QLabel*, 9> LBL1_1x{};  // [1..8] = LBL1_11 .. LBL1_18
  std::array<QLabel*, 5> LBL_10x{};  // [1..4] = LBL_101 .. LBL_104
  QLabel* LBL1;
  QToolButton* SBTN1_1;
  QPushButton* BBTN1;
  QGroupBox* GBOX2;  // results
  QLabel* LBL_01;
  QLabel* LBL_02;
  QLabel* LBL_03;
  QLabel* LBL_10;
  std::array<QLabel*, 9> LBL2_1x{};  // [1..8] = LBL2_11 .. LBL2_18
  QWidget* PNL2;                     // picture panel
  fw::TImageEx* IMAG2;
  std::array<QLabel*, 5> LBL_1x{};   // [1..4] = LBL_11 .. LBL_14
  QProgressBar* PBAR2;
  QGroupBox* RADG2;
  QButtonGroup* RADG2Items;
  std::array<fw::TUpDown*, 4> UPDN{};  // [1..3] = UPDN_01 .. UPDN_03
  QToolButton* SBTN_01;
  QToolButton* SBTN_02;

 protected:
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void BuildConditionsGroup();
  void BuildResultGroup();
  void ClearDayView();
  void SyncUpDowns();
  // The scene drawn at the panel's size (on resize), and the picture labels placed over it.
  void LayOutPicture();
  void PlacePictureLabels();
  // The row of the current date, read (reloading the year's file once when fw::ResultLines
  // does not hold it). False when the year has no results.
  bool ReadCurrentRow(fw::TDayRecord& row);
  void MainWindowUpdateState();

  Simulation sim_;
};

// Registers screen 2 with the main window's screen registry.
void RegisterScreen2();

}  // namespace app
