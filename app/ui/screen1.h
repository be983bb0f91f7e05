// Screen 1 "入力編集〔画面１〕" (form HARV1Form): the MDI child on which the user describes the
// case — title, site and weather station, roof and catchment, tank, building type and water
// use (with the toilet detail of a facility and the month-by-month further uses), and the
// precipitation parameters. Every input control carries its input code in its Tag; the shared
// input behaviour (framework/ui/input_behaviour.h) runs entry, keys and exit, and CommitInput
// checks the value, writes it into its block of the condition store and recomputes the
// derived values. Entry is guided: the groups appear once the title exists, and masks cover
// the parts whose earlier blocks are still missing.
//
// Blocks and stored forms written here (values count from 1; masks are digit masks):
//   1000 SS1   title
//   1100 SS4   attributes 1-3 = the item numbers of prefecture, city and station within their
//              lists, names 1-3 their texts; NN8 values 1-3 = the numbers at the start of the
//              three combo texts, which are the rows of the area, city and station tables
//   2100 VV8   roof area, catchment area, runoff coefficient            mask "112-----"
//   3100 VV8   the basic volume times 0.25 0.5 1 1.5 2 3 4 5             mask "--------"
//   4100 NS4   building type and its caption; SS4 names 2 and 3 = the further uses;
//        VV8   persons, households, large uses, large litres, small uses, small litres, -,
//              daily toilet use; attribute 2 flush kind ("1" low tank, "2" flush valve),
//              attribute 3 toilet kind ("1" conventional, "2" water-saving)  mask "10111100"
//        WW8   sprinkling, further uses 1 and 2, -, ..., their sum       mask "--------"
//   4200 NSV6  facility use number and name, male and female users       mask "00------"
//        VV8   per class (1-4 large, 5-8 small): users, mean uses, mean litres, litres a day;
//              attributes: large rows, small rows, all rows             mask "02100210"
//   4201-4208 NSV4  fixture row number and name; attributes class (1 WC pan, 2 urinal), sex
//              (1 male, 2 female), type (1 conventional, 2 water-saving); users, uses a day,
//              litres per flush, litres a day                           mask "1110"
//   5100 VV8   snow threshold, ineffective precipitation                 mask "11------"
//   9101-9103 HH12  the twelve months of sprinkling and the further uses; the rounded mean
//              of the twelve as hexadecimal text in the attribute columns (SplitKey12)
//
// The toilet tables in DatDir: "トイレ頻度.DAT" lists the facility uses (column 1) with the
// uses per person and day of men and women at WC pans and urinals (columns 2 to 5);
// "トイレ種類.DAT" lists the fixtures (column 1) with their class (column 2) and the litres per
// flush of the conventional and the water-saving type (columns 3 and 4).
//
// Decisions of this implementation:
// - A commit either stores all its records or none: when a writer refuses a value (a number
//   too wide for its cell), the store goes back to its state before the commit and the
//   control shows the stored value again. The case counts as modified only when the store
//   changed.
// - A value refused by its range or cross check is replaced by the stored one on screen before
//   the message comes, so the error note (and its pause) stands beside the old value.
// - Persons and households (and the toilet figures that multiply with them) are refused with
//   the range message when the daily toilet use would not fit its 8-column cell; the message
//   names the largest value that still fits.
// - The station must be chosen for the case to be complete ("気象地点", checked after the
//   city), and a facility whose toilet detail has a use but no rows is incomplete
//   ("トイレ詳細"): the calculation would take a toilet use of 0 from it.
// - The detail recalculation after a commit of the use, the user counts or a row's fixture,
//   sex or type takes, per row, the users of its sex, the uses per day of the facility use
//   for its class and sex, and the litres per flush of its fixture and type; a commit of a
//   row's values (users, uses, litres) and a row deletion keep the typed values and only
//   recompute the litres a day and the totals.
// - "共通" renames through ShareCalcAndFileName (the title is checked as a file name and the
//   new file is written before the old one goes); it is offered only for a title of at most
//   40 bytes that is not yet a file of the folder, never for the sample case.
// - The block 1100 city number (NN8 value 2) is the city table row, as the station number
//   is the station table row.
#pragma once

#include <QWidget>
#include <array>
#include <string>
#include <vector>

#include "framework/calc_store.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QGroupBox;
class QLabel;
class QRadioButton;
class QToolButton;

namespace fw {
class TCBoxEx;
class TEditEx;
class TStrGridEx;
}  // namespace fw

namespace app {

// One row of "トイレ頻度.DAT": a facility use and its uses per person and day.
struct ToiletUseRow {
  std::string name;
  std::array<double, 4> uses{};  // men WC pan, men urinal, women WC pan, women urinal
};
// One row of "トイレ種類.DAT": a fixture.
struct ToiletKindRow {
  std::string name;
  int kind = 0;                    // 1 WC pan (large), 2 urinal (small)
  std::array<double, 2> litres{};  // conventional, water-saving
  std::string note;
};

// ---- Rules of screen 1 that need no window

// Litres per large flush for the flush kind ("1" low tank, "2" flush valve) and the toilet
// kind ("1" conventional, "2" water-saving): 12, 8, 15 or 13.
double LargeFlushLitres(const std::string& flushKind, const std::string& toiletKind);
// Defaults of block 4100 values 1, 2, 3, 5, 6 by building type (1 house, 2 apartment,
// 3 facility); value 4 comes from the flush kind.
struct BuildingDefaults {
  double persons = 0, households = 0, largeUses = 0, smallUses = 0, smallLitres = 0;
};
BuildingDefaults DefaultsOfType(int type);
// The daily toilet use of block 4100: (v3 x v4 + v5 x v6) x v1 x v2 (v indexed 1..6).
double ToiletDailyUse(const std::array<float, 13>& v);
// A ratio as "%.*f 倍": 0 decimals from 10 up, 1 from 1 to 10, 2 below 1; empty when the
// divisor is 0.
std::string RatioText(double numerator, double divisor);
// The largest cell value of an 8-column record cell with no decimals.
constexpr double kCellLimit = 99999999.0;

// ---- The form

class THARV1Form : public QWidget {
  Q_OBJECT
 public:
  explicit THARV1Form(QWidget* parent = nullptr);
  ~THARV1Form() override;

  // The main window's refresh entry: fills the lists for the stored prefecture and shows
  // every section from the store.
  void ShowConditions();
  // 10 title, 11 location, 21 catchment, 31 storage, 41 usage, 42 to 44 toilet detail,
  // 51 precipitation, 91 month grid.
  void ShowSection(int section);
  // Stores the value the input state holds (code Input.InputCode), once per input.
  void CommitInput();
  // The range and cross checks of the current code; false (message shown) when refused.
  bool CheckInputRange();
  // The status hint of an input code (CP932).
  std::string FieldHint(int code) const;
  // The completeness check in its order; `show` puts the result in a dialog and moves the
  // focus to the first missing item. Sets InputComplete; returns it.
  bool CheckInputComplete(bool show);
  // The first missing item of the last check ("" when complete).
  const std::string& MissingItem() const { return missingItem_; }
  void UpdateControls();
  // Recomputes the toilet detail rows and their totals (block 4200 VV8); with `fromDetail`
  // each row's users, uses and litres are taken from block 4200 and the toilet tables.
  // False when a record could not be written.
  bool RecalcToiletDetail(bool fromDetail);
  // Activation: the completeness check without dialog, the focus on the title panel.
  void FormActivate();
  // The lines of the input listing (CP932).
  std::vector<std::string> InputListing() const;

  // ---- Commands
  void BuildingTypeClick(int type);          // RBTN4_1..3
  void FlushKindClick(int code);             // RBTN4_3_x (4121, 4122), RBTN4_4_x (4131, 4132)
  void DefaultsClick();                      // SBTN4_1
  // Shows the defaults of the building type and stores them (asking first when `ask`).
  bool ApplyBuildingDefaults(bool ask);
  void OpenDetailPanel();                    // SBTN4_2
  void OpenMonthPanel();                     // SBTN4_3
  void CloseDetailPanel();                   // "×" of PNL_A
  void CloseMonthPanel();                    // "×" of PNL_M
  void ExplanationClick(int tag);            // SBTN2_1, SBTN2_2, SBTN5_1, SBTN5_2
  void DeleteDetailRowClick();               // SBTN_A_1
  void DeleteDetailClick();                  // SBTN_A_2
  void PrintClick();                         // SBTN_Prnt
  void CommonNameClick();                    // CBTN_Com
  void DetailGridClick();                    // STRG_A_1
  void DetailValueGridClick();               // STRG_A_2
  void MonthGridClick();                     // STRG_M

  // The shared input handlers of the form's edits and combos.
  void EDITcomEnter(QWidget* sender);
  void EDITcomExit(QWidget* sender);
  void EDITcomKeyDown(QWidget* sender, int& key);
  void EDITcomKeyPress(QWidget* sender, uint8_t& key);
  void CBOXcomEnter(QWidget* sender);
  void CBOXcomExit(QWidget* sender);
  void CBOXcomClick(QWidget* sender);
  void CBOXcomKeyPress(QWidget* sender, uint8_t& key);

  const std::vector<ToiletUseRow>& ToiletUses() const { return uses_; }
  const std::vector<ToiletKindRow>& ToiletKinds() const { return kinds_; }

  // ---- Controls, named as on the form
  QFrame* PNL0;  // title panel
  fw::TEditEx* EDIT0_1;
  QCheckBox* CBTN_Com;
  QToolButton* SBTN_Prnt;
  QToolButton* SBTN_Err;  // "※未入力あり"
  QLabel* LBL0_N1;        // "※最初に〔表題〕を入力して下さい。"
  QLabel* LBL0_N2;        // "※計算を実行するのには、一度保存する必要があります。"
  QLabel* LBL0_N3;        // "未計算"

  QGroupBox* GBOX1;  // ＜所在データ＞
  fw::TCBoxEx* CBOX1_1;
  fw::TCBoxEx* CBOX1_2;
  fw::TCBoxEx* CBOX1_3;

  QGroupBox* GBOX2;  // <集水データ>
  fw::TEditEx* EDIT2_1;
  fw::TEditEx* EDIT2_2;
  fw::TEditEx* EDIT2_3;
  QToolButton* SBTN2_1;  // explanation of the catchment area (Tag 2102)
  QToolButton* SBTN2_2;  // explanation of the runoff coefficient (Tag 2103)
  QFrame* PNL2_M;        // the catchment mask

  QGroupBox* GBOX3;  // <貯水データ>
  fw::TEditEx* EDIT3_1;

  QGroupBox* GBOX4;  // ＜利用データ＞
  QRadioButton* RBTN4_1;
  QRadioButton* RBTN4_2;
  QRadioButton* RBTN4_3;
  QToolButton* SBTN4_1;  // defaults
  QLabel* LBL4_01;       // persons caption
  QLabel* LBL4_02;       // households caption
  fw::TEditEx* EDIT4_1;
  fw::TEditEx* EDIT4_2;
  QFrame* PNL4_3;        // facility panel
  QToolButton* SBTN4_2;  // "トイレ詳細"
  QLabel* LBL4_1;        // "トイレ(大)"
  QLabel* LBL4_2;        // "トイレ(小)"
  fw::TEditEx* EDIT4_3;
  fw::TEditEx* EDIT4_4;
  fw::TEditEx* EDIT4_5;
  fw::TEditEx* EDIT4_6;
  QRadioButton* RBTN4_3_1;  // ﾛｰﾀﾝｸ
  QRadioButton* RBTN4_3_2;  // 洗浄弁
  QRadioButton* RBTN4_4_1;  // 従来型
  QRadioButton* RBTN4_4_2;  // 節水型
  fw::TEditEx* EDIT4_7;
  fw::TEditEx* EDIT4_8;
  fw::TEditEx* EDIT4_9;
  fw::TEditEx* EDIT4_11;
  fw::TEditEx* EDIT4_12;
  QToolButton* SBTN4_3;  // "変動あり　" / "変動なし　"
  QLabel* LBL4_TTL;
  QLabel* LBL4_MIN;
  QLabel* LBL4_R1;
  QLabel* LBL4_R2;
  QFrame* PNL4_M1;  // first usage mask
  QFrame* PNL4_M2;  // second usage mask

  QGroupBox* GBOX5;  // <降水データ>
  fw::TEditEx* EDIT5_1;
  fw::TEditEx* EDIT5_2;
  QToolButton* SBTN5_1;
  QToolButton* SBTN5_2;

  QFrame* PNL_A;  // facility toilet detail
  QToolButton* SBTN_A_X;
  fw::TCBoxEx* CBOX_A_1;  // facility use (4200)
  fw::TEditEx* EDIT_A_1;  // male users (4211)
  fw::TEditEx* EDIT_A_2;  // female users (4212)
  fw::TStrGridEx* STRG_A_1;  // fixture, sex, type per row
  fw::TStrGridEx* STRG_A_2;  // users, uses, litres, litres a day per row
  QLabel* LBL_A_ARW;         // "→"
  fw::TCBoxEx* CBOX_A_2;     // in-cell fixture combo (4201)
  fw::TCBoxEx* CBOX_A_3;     // in-cell sex combo (4202)
  fw::TCBoxEx* CBOX_A_4;     // in-cell type combo (4203)
  fw::TEditEx* EDIT_A_3;     // in-cell value editor (4300 to 4302)
  QLabel* LBL_A_N1;
  QLabel* LBL_A_N2;
  QLabel* LBL_A_N3;
  QToolButton* SBTN_A_1;  // row delete
  QToolButton* SBTN_A_2;  // detail delete

  QFrame* PNL_M;  // month by month
  QToolButton* SBTN_M_X;
  fw::TStrGridEx* STRG_M;
  fw::TEditEx* EDIT_M;  // in-cell month editor (9101 to 9103)

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void CreateComponents();
  void CreateUsageGroup();
  void CreateDetailPanel();
  void CreateMonthPanel();
  void LoadTables();
  void WireEdit(fw::TEditEx* edit);
  void WireCombo(fw::TCBoxEx* combo);
  // After a combo's choice (click or Enter): an in-cell combo hands the focus back to its
  // grid (its exit commits); any other commits and takes the choice as its new entry value.
  void EndComboChoice(fw::TCBoxEx* combo);

  // Lists of the location combos.
  void FillCityAndStationLists(int prefecture);
  // Rewrites block 1100 NN8 from the three combo texts.
  bool StoreLocationNumbers();

  // The store writes of one code; false when the commit is refused (question answered no,
  // a writer refused a value).
  bool StoreInput(int code);
  bool StoreLocation(int code);
  bool StoreUsageValue(int code);
  bool StoreFurtherUse(int use, int value);
  bool StoreDetail(int code);
  bool StoreMonth(int code);
  // Block 4100 VV8 value 8 from values 1 to 6 (the buffer RecVV8 of label 4100 as it stands).
  bool WriteUsageRecord();
  // Range message: "＜name＞の入力範囲は lo ～ hi です。".
  void RangeError(int code, double low, double high, int decimals);
  // The message of a refused value: an error note, or an information dialog for the cross
  // checks. Inside CommitInput it is held until the control shows its old text again.
  void Refuse(const std::string& text, bool dialog);
  struct Refusal {
    std::string text;
    bool dialog = false;
  };
  void ShowRefusal(const Refusal& refusal);
  std::string ItemName(int code) const;
  // The largest value of a block 4100 field (1..6) that keeps the daily toilet use within
  // its cell, the other fields as stored; `nominal` when that is smaller.
  double UsageFieldLimit(int field, double nominal) const;

  // Detail helpers.
  bool DetailRowExists(int row) const;
  int DetailRowCount() const;
  void SelectDetailRow(int row);
  double UsesPerDay(int use, int kind, int sex) const;
  double LitresPerFlush(int fixture, int type) const;

  // Toilet use (litres a day) of the case: the facility detail totals when detail rows
  // exist, else block 4100 value 8.
  double ToiletUse() const;
  // The use names of blocks 9101 to 9103 (sprinkling and the two further uses).
  std::string UseName(int use) const;
  bool MonthRowsVary() const;

  // After a command that changed the store outside CommitInput: the store as it was when
  // `ok` is false, else the case marked modified when it changed; then the completeness
  // check, the main window's header and every section again.
  void FinishCommand(const fw::StringList& before, bool ok);
  // Opens (the other panel closes) or closes the detail or the month panel, after the
  // active editor was committed.
  void ShowPanel(QFrame* panel, bool show);
  // Widgets of the missing item of the completeness check.
  QWidget* ControlOfItem(const std::string& item) const;
  void MainWindowRefresh();

  std::vector<ToiletUseRow> uses_;
  std::vector<ToiletKindRow> kinds_;
  std::vector<std::string> cityNames_;     // [n] = city table row n (index 0 unused)
  std::vector<std::string> stationNames_;  // [n] = station table row n
  std::vector<std::string> areaLines_;     // lines of the area table ("K" records)
  int firstStation_ = 0;                   // first station of the listed prefecture
  std::string missingItem_;
  bool committing_ = false;
  Refusal refusal_;  // held while CommitInput runs
  QButtonGroup* typeGroup_ = nullptr;
  QButtonGroup* flushGroup_ = nullptr;
  QButtonGroup* toiletGroup_ = nullptr;
  QWidget* catchmentRows_ = nullptr;   // the controls under the catchment mask
  QWidget* usageRows1_ = nullptr;      // under the first usage mask
  QWidget* usageRows2_ = nullptr;      // under the second usage mask
};

// Registers screen 1 with the main window's screen registry.
void RegisterScreen1();

}  // namespace app
