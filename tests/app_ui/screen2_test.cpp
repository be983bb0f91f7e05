// Screen 2: the date rules of the day view, and the screen inside a real main window over a
// private copy of the installed data with synthetic weather files: Execute, the day view and
// its navigation, "次の降水", the playback, and the guards while a loop runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QButtonGroup>
#include <QToolButton>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>

#include "app_ui/app_ui_test_util.h"
#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "app/ui/screen2.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/form_utils.h"
#include "platform/files.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;
using testsupport::S;
using testsupport::U;

// ---- Date rules

TEST(Screen2Dates, DailyFileRowsLeaveOutTheTwentyNinthOfFebruary) {
  struct Case {
    int year, month, day, row;
  } cases[] = {{1981, 1, 1, 1},    {1984, 2, 28, 59},  {1984, 3, 1, 60},   {1983, 3, 1, 60},
               {1984, 12, 31, 365}, {1983, 12, 31, 365}, {1981, 1, 31, 31}, {1992, 6, 15, 166}};
  for (const Case& c : cases)
    EXPECT_EQ(app::DayFileRow(c.year, c.month, c.day), c.row) << c.year << "/" << c.month << "/" << c.day;
}

TEST(Screen2Dates, DayUpDownRollsWithinTheYear) {
  struct Case {
    app::ViewDate from;
    int position;
    app::ViewDate to;
  } cases[] = {
      {{1981, 1, 31}, 32, {1981, 2, 1}},    // beyond the month's last day: the next month's 1st
      {{1981, 4, 30}, 31, {1981, 5, 1}},    // a 30-day month
      {{1984, 2, 28}, 29, {1984, 3, 1}},    // common-year lengths, also in a leap year
      {{1995, 12, 31}, 32, {1995, 12, 31}}, // beyond 31 December stays
      {{1990, 12, 31}, 32, {1990, 12, 31}},
      {{1981, 1, 1}, 0, {1981, 1, 1}},      // below 1 January stays
      {{1981, 3, 1}, 0, {1981, 2, 28}},     // below the 1st: the previous month's last day
      {{1984, 3, 1}, 0, {1984, 2, 28}},
      {{1981, 8, 1}, 0, {1981, 7, 31}},
      {{1981, 6, 10}, 11, {1981, 6, 11}},   // otherwise the position
      {{1981, 6, 10}, 9, {1981, 6, 9}},
  };
  for (const Case& c : cases) {
    const app::ViewDate got = app::StepViewDay(c.from, c.position);
    EXPECT_EQ(got, c.to) << c.from.year << "/" << c.from.month << "/" << c.from.day << " -> " << c.position
                         << ": got " << got.month << "/" << got.day;
  }
}

// ---- The screen in the main window

QString Q8(const char* utf8) { return QString::fromUtf8(utf8); }

// The scripted user interface with a probe: `onWait` runs inside every wait (the pause of a
// run between years, the playback's pause between days), as the user's clicks would.
class ProbeUi final : public platform::Ui {
 public:
  testsupport::FakeUi fake;  // installed first, so this one comes back after us
  std::function<void()> onWait;
  ProbeUi() { previous_ = platform::InstallUi(this); }
  ~ProbeUi() override { platform::InstallUi(previous_); }
  platform::ModalResult ShowMessageBox(const std::string& text, const std::string& caption, platform::DialogKind kind,
                                       platform::DialogButtons buttons) override {
    return fake.ShowMessageBox(text, caption, kind, buttons);
  }
  void Beep() override { fake.Beep(); }
  uint64_t TickCountMs() override { return fake.TickCountMs(); }
  void ProcessEvents(platform::PumpScope scope) override {
    fake.ProcessEvents(scope);
    if (onWait && scope == platform::PumpScope::WithUserInput) onWait();
  }
  platform::Point CursorPos() override { return fake.CursorPos(); }
  void SetCursorPos(platform::Point p) override { fake.SetCursorPos(p); }
  void SetCursorShape(platform::CursorShape s) override { fake.SetCursorShape(s); }
  int ScreenWidth() override { return fake.ScreenWidth(); }
  int ScreenHeight() override { return fake.ScreenHeight(); }
  void SetHintHidePause(int ms) override { fake.SetHintHidePause(ms); }
  // The texts of all message boxes shown (UTF-8).
  std::vector<std::string> Texts() const {
    std::vector<std::string> t;
    for (const auto& s : fake.shown) t.push_back(U(s.text));
    return t;
  }

 private:
  platform::Ui* previous_;
};

// The sample case's station.
constexpr int kSampleStation = 507;

class Screen2Test : public ::testing::Test {
 protected:
  void SetUp() override {
    // The synthetic two-station weather fixture, its second station placed where the sample's
    // station lies (the files are otherwise zeros).
    const fs::path fixture = fs::path(testsupport::SourceDir()) / "tests/app/fixtures/weather";
    for (const char* name : {"気温(日次).DAT", "降水量(日次).DAT"}) {
      std::ifstream in(fixture / fs::u8path(name), std::ios::binary);
      const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
      const size_t station = 15 * static_cast<size_t>(app::kWeatherRecordSize);
      ASSERT_EQ(bytes.size(), 2 * station) << name;
      std::string placed(static_cast<size_t>(kSampleStation - 1) * station, '\0');
      placed += bytes.substr(station);
      std::ofstream out(fs::u8path(tree_.Native(std::string("CAL/") + name)), std::ios::binary);
      out.write(placed.data(), static_cast<std::streamsize>(placed.size()));
    }
    main_ = std::make_unique<app::THARVForm>();
    ASSERT_FALSE(main_->StartupFailed());
    ASSERT_EQ(app::CalcFilePath, tree_.Path("CAL/HVS/TEST_HVS.HVS"));
    main_->show();
    main_->ACT_CRTExecute(2);
    form_ = qobject_cast<app::THARV2Form*>(main_->ScreenForm(2));
    ASSERT_NE(form_, nullptr);
    form_->Sim().PauseEachYear = false;
    ui_.fake.shown.clear();  // the start-up's notes (no printer, no station folder)
    app::InputComplete = true;  // as screen 1's check leaves it for the sample
  }
  void TearDown() override {
    ui_.onWait = nullptr;
    app::PlaybackRunning = false;
    app::Calculating = false;
    app::InputComplete = false;
    main_.reset();
    apptest::FlushDeletes();
  }

  // Execute, answering the confirmation with yes.
  void Execute() {
    ASSERT_TRUE(form_->BBTN1->isEnabled());
    form_->BBTN1->click();
  }
  // The status text without the marks in front of it.
  std::string Status() const {
    const std::string text = U(main_->SBAR->PanelText(0));
    for (const char* start : {"※", "【", "〔"})
      if (size_t at = text.find(start); at != std::string::npos) return text.substr(at);
    return text;
  }
  std::string Shown(QLabel* label) const { return label->text().toStdString(); }
  std::string DateShown() const { return Shown(form_->LBL_10); }
  // The daily file of a year, as written.
  std::vector<std::string> DayLines(int year) const {
    std::vector<std::string> lines;
    platform::ReadTextLines(form_->DayFileName(year), lines);
    return lines;
  }
  // Presses an up-down button as the user does (its handler runs from the event loop).
  void Press(int tag, int step) {
    form_->UPDN[tag]->triggerAction(step > 0 ? QAbstractSlider::SliderSingleStepAdd
                                             : QAbstractSlider::SliderSingleStepSub);
    QApplication::processEvents();
  }
  std::string DateOfRow(const std::vector<std::string>& lines, int row) const { return lines[row + 3].substr(0, 10); }

  ProbeUi ui_;
  apptest::InstalledTree tree_;
  std::unique_ptr<app::THARVForm> main_;
  app::THARV2Form* form_ = nullptr;
};

TEST_F(Screen2Test, ExecuteOnTheSampleWritesEveryResultAndShowsTheFirstDay) {
  EXPECT_EQ(form_->windowTitle(), Q8("計算〔画面２〕"));
  EXPECT_EQ(form_->LBL1->text(), Q8("-<未計算>-"));
  EXPECT_FALSE(form_->GBOX2->isVisibleTo(form_));
  EXPECT_EQ(form_->SBTN1_1->text(), Q8("（変動あり）"));  // the sample's sprinkling varies by month
  EXPECT_EQ(form_->LBL_10x[1]->text(), Q8("トイレ 124 ﾘｯﾄﾙ"));
  EXPECT_EQ(form_->LBL_10x[2]->text(), Q8("散水 60 ﾘｯﾄﾙ"));
  EXPECT_EQ(form_->LBL1_1x[6]->text(), Q8("214㍑"));

  Execute();
  ASSERT_EQ(ui_.Texts(), (std::vector<std::string>{"この計算条件で実行しますか？", "雨水利用計算を終了しました。"}));
  const std::string prefix = app::ResultPrefix;
  for (int year = 1981; year <= 1995; ++year) {
    EXPECT_EQ(DayLines(year).size(), 4u + 365) << year;
  }
  for (const char* suffix : {"(FULL).DAT", "(1981-1995).MON", "(1981-1995).YER"})
    EXPECT_TRUE(platform::FileExists(prefix + suffix)) << suffix;
  EXPECT_TRUE(fw::LookupResultName(app::CalcFilePath));
  EXPECT_FALSE(app::Calculating);

  EXPECT_EQ(DateShown(), "1981年  1月  1日");
  EXPECT_EQ(fw::ResultLines, DayLines(1981));
  EXPECT_EQ(form_->LBL1->text(), Q8("計算済み"));
  EXPECT_TRUE(form_->GBOX2->isVisibleTo(form_));
  EXPECT_TRUE(form_->BBTN1->isEnabled());
  EXPECT_TRUE(main_->SBTN7->isEnabled());  // the result screens can be opened now
}

TEST_F(Screen2Test, AFacilityShowsItsUseAndTheUsesWithoutVariation) {
  ASSERT_TRUE(fw::LoadInputData(tree_.Path("CAL/HVS/SAMPLE_FACILITY.HVS"), fw::CalcData));
  form_->FormActivate();
  form_->RefreshConditions();
  EXPECT_EQ(form_->LBL1_1x[2]->text(), Q8("事務所"));  // the facility's use, from its detail block
  EXPECT_EQ(form_->LBL1_1x[5]->text(), Q8("     100"));
  EXPECT_EQ(form_->LBL1_1x[6]->text(), Q8("3,752㍑"));
  EXPECT_EQ(form_->SBTN1_1->text(), Q8("（変動なし）"));  // sprinkling 200 in every month
  EXPECT_EQ(form_->LBL_10x[1]->text(), Q8("トイレ 3,552 ﾘｯﾄﾙ"));  // the detail's large and small totals
  EXPECT_TRUE(form_->LBL_10x[2]->isEnabled());
  EXPECT_EQ(form_->LBL_10x[3]->text(), Q8("その他１ 0 ﾘｯﾄﾙ"));
  EXPECT_FALSE(form_->LBL_10x[3]->isEnabled());
  EXPECT_FALSE(form_->LBL_10x[4]->isEnabled());
}

TEST_F(Screen2Test, ARunStartsOverAtTheFirstDayOfTheFirstYearAndFreesScreenThree) {
  Execute();
  Press(1, +1);
  main_->ACT_CRTExecute(3);  // screen 3 (its pages belong to the old results)
  ASSERT_NE(main_->ScreenWindow(3), nullptr);
  main_->ACT_CRTExecute(2);
  // Coming back to the screen activates it: the first day of the first year again.
  EXPECT_EQ(DateShown(), "1981年  1月  1日");
  Press(1, +1);
  Press(1, +1);
  ASSERT_EQ(DateShown(), "1983年  1月  1日");

  Execute();
  EXPECT_EQ(main_->ScreenWindow(3), nullptr);
  EXPECT_EQ(DateShown(), "1981年  1月  1日");
  const auto lines = DayLines(1981);
  EXPECT_EQ(fw::ResultLines, lines);  // the first year's file, not the year shown before
  EXPECT_EQ(form_->LBL2_1x[1]->text().toStdString(),
            fw::FloatToTextDigits(fw::ReadTableCell(lines, 1, 1), 7, 1));
}

TEST_F(Screen2Test, WhileTheRunIsUnderWayNothingCanBeClosedOrStarted) {
  form_->Sim().PauseEachYear = true;  // the pause between years handles the window's messages
  int probes = 0;
  ui_.onWait = [&] {
    if (!app::Calculating) return;
    ++probes;
    EXPECT_FALSE(form_->BBTN1->isEnabled());
    EXPECT_FALSE(form_->GBOX2->isVisibleTo(form_));
    EXPECT_FALSE(main_->SBTN5->isEnabled());
    EXPECT_FALSE(main_->SBTN7->isEnabled());
    EXPECT_FALSE(form_->parentWidget()->close());  // the screen's window
    EXPECT_FALSE(main_->close());
    form_->ExecuteClick();  // a second run cannot start inside the first
  };
  Execute();
  EXPECT_GE(probes, 15);
  EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{"この計算条件で実行しますか？", "雨水利用計算を終了しました。"}));
  EXPECT_NE(main_->ScreenForm(2), nullptr);
  EXPECT_TRUE(main_->isVisible());
}

TEST_F(Screen2Test, AMissingWeatherFileEndsTheRunWithoutACompletionNote) {
  Execute();
  Press(3, +1);
  ASSERT_EQ(DateShown(), "1981年  1月  2日");
  ui_.fake.shown.clear();
  const std::string temperature = fw::CalDir + S("気温(日次).DAT");
  ASSERT_TRUE(platform::RemoveFile(temperature));

  Execute();
  EXPECT_EQ(ui_.Texts(), (std::vector<std::string>{"この計算条件で実行しますか？",
                                                   "<" + U(temperature) + ">ファイルが見つかりません。"}));
  EXPECT_FALSE(app::Calculating);
  EXPECT_NE(Status(), "〔計算完了〕");
  EXPECT_EQ(DateShown(), "1981年  1月  2日");  // the view is left as it was
  // Saving removed the old results, so the results are not shown.
  EXPECT_EQ(form_->LBL1->text(), Q8("-<未計算>-"));
  EXPECT_FALSE(form_->GBOX2->isVisibleTo(form_));
  EXPECT_TRUE(form_->BBTN1->isEnabled());
}

TEST_F(Screen2Test, DeclinedConfirmationRunsNothing) {
  ui_.fake.answers.push_back(platform::ModalResult::No);
  Execute();
  EXPECT_FALSE(platform::FileExists(form_->DayFileName(1981)));
  EXPECT_EQ(ui_.Texts(), std::vector<std::string>{"この計算条件で実行しますか？"});
}

TEST_F(Screen2Test, TheDayViewShowsTheRowOfTheDate) {
  Execute();
  form_->GotoDay(1984, 3, 1);
  EXPECT_EQ(DateShown(), "1984年  3月  1日");
  const auto lines = DayLines(1984);
  ASSERT_EQ(DateOfRow(lines, 60), "1984/03/01");
  // Loaded by the year up-down; here the list is the 1981 file still: the view finds its year.
  EXPECT_EQ(form_->LBL2_1x[1]->text().toStdString(), fw::FloatToTextDigits(fw::ReadTableCell(lines, 1, 60), 7, 1));
  EXPECT_EQ(fw::ResultLines, lines);
  EXPECT_EQ(form_->LBL_01->text(), Q8("1984年"));
  EXPECT_EQ(form_->LBL_02->text(), Q8(" 3月"));
  EXPECT_EQ(form_->LBL_03->text(), Q8(" 1日"));
  EXPECT_EQ(form_->UPDN[1]->value(), 1984);
  EXPECT_EQ(form_->UPDN[2]->value(), 3);
  EXPECT_EQ(form_->UPDN[3]->value(), 1);

  // Every tank size: its level and its fill against its own capacity; the mains label never
  // goes below zero.
  const app::Simulation& sim = form_->Sim();
  bool sawFullTank = false;
  for (int row : {60, 200, 300}) {
    fw::TDayRecord rec;
    int count = 0;
    ASSERT_TRUE(fw::ReadDayRow(lines, row, count, rec));
    form_->GotoDay(1984, rec.Month, rec.Day);
    for (int tank = 1; tank <= 8; ++tank) {
      form_->RADG2Items->button(tank - 1)->click();
      const double level = rec.Values[5 + tank];
      const double fill = level / sim.Parameters.TankCapacity[tank] * 100;
      EXPECT_EQ(form_->LBL2_1x[7]->text().toStdString(), fw::FloatToTextDigits(level, 7, 0)) << row << " " << tank;
      EXPECT_EQ(form_->LBL2_1x[8]->text().toStdString(), fw::FloatToTextDigits(fill, 7, 0)) << row << " " << tank;
      EXPECT_EQ(form_->PBAR2->value(), fw::Round(fill));
      const double mains = sim.Parameters.MonthlyUse[rec.Month] - level;
      char expected[64];
      std::snprintf(expected, sizeof expected, "水道水%7.0f ﾘｯﾄﾙ", mains > 0 ? mains : 0.0);
      EXPECT_EQ(form_->LBL_1x[4]->text().toStdString(), expected);
      if (mains < 0) sawFullTank = true;
    }
  }
  EXPECT_TRUE(sawFullTank);  // the floor at zero was exercised

  // Another window put another table into the shared list: the view reads its year again.
  platform::ReadTextLines(app::ResultPrefix + "(1981-1995).MON", fw::ResultLines);
  form_->GotoDay(1984, 3, 1);
  EXPECT_EQ(DateShown(), "1984年  3月  1日");
  EXPECT_EQ(fw::ResultLines, lines);

  // A year without its daily file shows nothing.
  platform::RemoveFile(form_->DayFileName(1990));
  Press(1, +1);  // 1985
  form_->GotoDay(1990, 1, 1);
  EXPECT_EQ(DateShown(), "");
  EXPECT_EQ(form_->LBL2_1x[1]->text(), QString());
}

TEST_F(Screen2Test, ABasicTankOfZeroShowsAnEmptyTank) {
  fw::ResetRecordKind("VV8");  // every tank size 0 litres
  ASSERT_TRUE(fw::WriteRecVV8(fw::CalcData, 3100, "--------"));
  form_->FormActivate();
  Execute();
  const auto lines = DayLines(1981);
  for (int row : {1, 150, 300}) {
    fw::TDayRecord rec;
    int count = 0;
    ASSERT_TRUE(fw::ReadDayRow(lines, row, count, rec));
    form_->GotoDay(1981, rec.Month, rec.Day);
    for (int tank : {1, 3, 8}) {
      form_->RADG2Items->button(tank - 1)->click();
      EXPECT_EQ(form_->LBL2_1x[7]->text().toStdString(), fw::FloatToTextDigits(0, 7, 0)) << row << " " << tank;
      EXPECT_EQ(form_->LBL2_1x[8]->text().toStdString(), fw::FloatToTextDigits(0, 7, 0)) << row << " " << tank;
      EXPECT_EQ(form_->PBAR2->value(), 0) << row << " " << tank;
    }
  }
}

TEST_F(Screen2Test, UpDownsFollowTheirRules) {
  Execute();
  struct Case {
    int year, month, day;
    int tag, step;
    const char* shown;
  } cases[] = {
      {1981, 1, 31, 3, +1, "1981年  2月  1日"},   // day 31 up: the next month
      {1981, 4, 30, 3, +1, "1981年  5月  1日"},
      {1981, 3, 1, 3, -1, "1981年  2月 28日"},
      {1981, 1, 1, 3, -1, "1981年  1月  1日"},    // 1981/1/1 down stays
      {1995, 12, 31, 3, +1, "1995年 12月 31日"},  // 1995/12/31 up stays
      {1981, 6, 10, 3, +1, "1981年  6月 11日"},
      {1981, 1, 15, 2, +1, "1981年  2月  1日"},   // month: day back to 1
      {1981, 1, 15, 2, -1, "1981年  1月  1日"},   // held at January
      {1981, 12, 5, 2, +1, "1981年 12月  1日"},   // held at December
      {1981, 5, 5, 1, +1, "1982年  1月  1日"},    // year: month and day back to 1
      {1995, 5, 5, 1, +1, "1995年  1月  1日"},    // held at 1995
      {1981, 5, 5, 1, -1, "1981年  1月  1日"},    // held at 1981
  };
  for (const Case& c : cases) {
    if (fw::ResultLines != DayLines(c.year)) platform::ReadTextLines(form_->DayFileName(c.year), fw::ResultLines);
    form_->GotoDay(c.year, c.month, c.day);
    Press(c.tag, c.step);
    EXPECT_EQ(DateShown(), c.shown) << c.year << "/" << c.month << "/" << c.day << " tag " << c.tag << " "
                                    << c.step;
    EXPECT_EQ(form_->UPDN[1]->value(), form_->ViewYear);
    EXPECT_EQ(form_->UPDN[2]->value(), form_->ViewMonth);
    EXPECT_EQ(form_->UPDN[3]->value(), form_->ViewDay);
  }
  // The year up-down loads that year's file.
  EXPECT_EQ(fw::ResultLines, DayLines(1981));
  form_->GotoDay(1981, 5, 5);
  Press(1, +1);
  EXPECT_EQ(fw::ResultLines, DayLines(1982));
}

TEST_F(Screen2Test, NextPrecipitationFindsTheNextWetDay) {
  Execute();
  const auto lines = DayLines(1981);
  auto wet = [&](int row) { return fw::ReadTableCell(lines, 2, row) > 0; };
  // From 1 January: the first wet day after it.
  int expected = 2;
  while (!wet(expected)) ++expected;
  form_->SBTN_02->click();
  EXPECT_EQ(DateShown().substr(0, 4), "1981");
  EXPECT_EQ(form_->ViewMonth * 100 + form_->ViewDay,
            std::stoi(DateOfRow(lines, expected).substr(5, 2)) * 100 + std::stoi(DateOfRow(lines, expected).substr(8, 2)));
  // From the last wet day of the year: 31 December; on 31 December nothing happens.
  int lastWet = 365;
  while (!wet(lastWet)) --lastWet;
  ASSERT_LT(lastWet, 365);
  fw::TDayRecord rec;
  int count = 0;
  ASSERT_TRUE(fw::ReadDayRow(lines, lastWet, count, rec));
  form_->GotoDay(1981, rec.Month, rec.Day);
  form_->SBTN_02->click();
  EXPECT_EQ(DateShown(), "1981年 12月 31日");
  form_->SBTN_02->click();
  EXPECT_EQ(DateShown(), "1981年 12月 31日");
}

TEST_F(Screen2Test, PlaybackAdvancesDayByDayToTheEndOfTheYear) {
  Execute();
  form_->GotoDay(1981, 12, 25);
  std::vector<std::string> dates;
  ui_.onWait = [&] {
    if (!app::PlaybackRunning) return;
    dates.push_back(DateShown());
    EXPECT_FALSE(form_->BBTN1->isEnabled());
    EXPECT_FALSE(form_->UPDN[3]->isEnabled());
    EXPECT_FALSE(form_->SBTN_02->isEnabled());
    EXPECT_EQ(form_->SBTN_01->text(), Q8("再生停止"));
    EXPECT_EQ(Status(), "※連続再生中．．．");
  };
  form_->SBTN_01->click();
  // Each day waits 0.2 s (the fake clock moves 10 ms per round of messages).
  dates.erase(std::unique(dates.begin(), dates.end()), dates.end());
  std::vector<std::string> expected;
  for (int d = 25; d <= 31; ++d) expected.push_back("1981年 12月 " + std::to_string(d) + "日");
  EXPECT_EQ(dates, expected);
  EXPECT_GE(ui_.fake.nowMs, 7u * 200);
  EXPECT_FALSE(app::PlaybackRunning);
  EXPECT_EQ(form_->SBTN_01->text(), Q8("連続再生"));
  EXPECT_EQ(Status(), "【再生終了】");
  EXPECT_TRUE(form_->BBTN1->isEnabled());
  EXPECT_TRUE(form_->UPDN[3]->isEnabled());
}

TEST_F(Screen2Test, PlaybackFromTheLastDayRestartsAndASecondPressStopsIt) {
  Execute();
  form_->GotoDay(1981, 12, 31);
  int rounds = 0;
  std::string stoppedOn;
  ui_.onWait = [&] {
    if (!app::PlaybackRunning) return;
    // The guards hold while it plays.
    EXPECT_FALSE(main_->close());
    EXPECT_FALSE(form_->parentWidget()->close());
    EXPECT_FALSE(main_->SBTN5->isEnabled());
    if (++rounds == 50) {
      stoppedOn = DateShown();
      form_->SBTN_01->click();
    }
  };
  form_->SBTN_01->click();
  EXPECT_EQ(stoppedOn.rfind("1981年  1月", 0), 0u) << stoppedOn;
  EXPECT_EQ(DateShown(), stoppedOn);
  EXPECT_NE(stoppedOn, "1981年  1月  1日");
  EXPECT_FALSE(app::PlaybackRunning);
  EXPECT_EQ(form_->SBTN_01->text(), Q8("連続再生"));
  EXPECT_EQ(Status(), "【再生終了】");
  EXPECT_NE(main_->ScreenForm(2), nullptr);
  EXPECT_TRUE(main_->SBTN5->isEnabled());
}

}  // namespace
