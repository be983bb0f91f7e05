#include "views/monthly_window.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <bit>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <set>
#include <sstream>

#include "framework/ui/updown_frame.h"
#include "chart/axis.h"
#include "chart/bar.h"
#include "chart/fast_line.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/drawing.h"
#include "framework/fake_status_bar.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/picture_save.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"
#include "views/chart_panel.h"
#include "views/station_choosers.h"

using testsupport::S;
using testsupport::U;

namespace views {
namespace {

std::string RightAligned(const std::string& text, size_t width) {
  return text.size() >= width ? text : std::string(width - text.size(), ' ') + text;
}

void WriteTable(const std::string& path, const std::vector<int>& widths,
                const std::vector<std::vector<std::string>>& rowsUtf8) {
  std::vector<std::string> lines;
  lines.push_back(RightAligned(std::to_string(rowsUtf8.size()), 6) + RightAligned(std::to_string(widths.size()), 6));
  std::string w;
  for (int width : widths) w += RightAligned(std::to_string(width), 6);
  lines.push_back(w);
  for (const auto& r : rowsUtf8) {
    std::string line;
    for (size_t j = 0; j < widths.size(); ++j) line += RightAligned(S(j < r.size() ? r[j] : ""), widths[j]);
    lines.push_back(line);
  }
  ASSERT_TRUE(platform::MakeFolders(path.substr(0, path.rfind('\\') + 1)));
  ASSERT_TRUE(platform::WriteTextLinesAtomic(path, lines));
}

// A value of the fixture's monthly records: item r (1..36), month m (0..11, 12 the year).
// Station 1 misses December's mean temperature and so its year; station 3 has no figures at all.
float FixtureValue(int station, int r, int m) {
  const float missing = std::numeric_limits<float>::quiet_NaN();
  if (station == 1 && r == 1 && m >= 11) return missing;
  if (station == 3) return missing;
  if (r == 1 || (r >= 9 && r <= 12) || r == 24) return static_cast<float>(2.5 + m * 2 + (r - 8) * 0.5 + station);
  if (r >= 13 && r <= 21) return static_cast<float>(2000 + 150 * m + 10 * (r - 13));
  if (r == 2) return static_cast<float>(40 + 20 * m);
  if (r == 23) return static_cast<float>(55 + m);
  return static_cast<float>(r * 10 + m);
}

std::string MonthlyBytes(int records, float (*value)(int station, int r, int m) = FixtureValue) {
  std::string bytes;
  for (int k = 1; k <= records; ++k) {
    std::string rec(fw::kMonthlyRecordBytes, '\0');
    auto put = [&](size_t at, float v) {
      const uint32_t bits = std::bit_cast<uint32_t>(v);
      for (int b = 0; b < 4; ++b) rec[at + b] = static_cast<char>((bits >> (8 * b)) & 0xFF);
    };
    const std::string name = "ST" + std::to_string(k);
    rec[18] = static_cast<char>(name.size());
    std::memcpy(&rec[19], name.data(), name.size());
    put(27, 43.0f);
    put(31, 141.3f);
    put(35, 17.0f);
    put(39, 10.5f);
    put(43, 35.2f);
    put(47, -12.4f);
    for (int r = 1; r <= fw::kMonthlyItems; ++r)
      for (int m = 0; m < 13; ++m) put(75 + 52 * (r - 1) + 4 * m, value(k, r, m));
    bytes += rec;
  }
  return bytes;
}

void CopyDataFile(const std::string& nameUtf8) {
  std::ifstream in(testsupport::SourceDir() + "/data/tree/DATA/DAT/" + nameUtf8, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  ASSERT_FALSE(bytes.str().empty()) << nameUtf8;
  ASSERT_TRUE(platform::WriteFileBytesAtomic(fw::DatDir + S(nameUtf8), bytes.str()));
}

// A small installed tree: two areas, three stations, the program's weather-item tables and a
// monthly file of three records (see FixtureValue).
class MonthlyWindowTest : public ::testing::Test {
 protected:
  testsupport::TempFolder tmp;
  testsupport::FakeUi ui;
  testsupport::StatusBarScope statusBar;

  void SetUp() override {
    fw::BaseDrive = tmp.inside().substr(0, 2);
    fw::BaseFolder = tmp.inside().substr(2);
    fw::SetFolderTable(tmp.inside());
    fw::CountryNo = 1;
    fw::ProgramNameVersion = "HarvSim Ver.2.00";
    fw::StationSel = fw::WCD_DataType();
    fw::MonthlyFile.clear();
    fw::DefaultStationNo = fw::RememberedStationNo = fw::FirstStationNo = 0;
    fw::SetUnitSystem(S("工学単位"));
    WriteTable(fw::DatDir + S("国名.DAT"), {20, 20, 8}, {{"日本", "JAPAN", "JPN"}});
    WriteTable(fw::DatDir + S("観測年度.DAT"), {8, 8, 8}, {{"標準年", "1985", "AV"}});
    WriteTable(tmp.Path("WCD/JPN_STAT.DAT"), {20, 8, 8, 8, 8, 8, 30},
               {{"北海道", "HK", "1", "1", "1", "1", "北海道"}, {"静岡県", "SZ", "2", "2", "2", "2", "静岡県"}});
    WriteTable(tmp.Path("WCD/JPN_WPNT.DAT"), {20, 8, 8, 8, 8, 8, 8, 8, 8, 8, 30},
               {{"SAPPORO", "HK", "47412", "1", "43.06", "141.3", "17.0", "8.9", "1130.0", "14163", "札幌"},
                {"SHIZUOKA", "SZ", "47656", "22", "34.97", "138.4", "14.0", "16.5", "2300.0", "50331", "静岡"},
                {"HAMAMATSU", "SZ", "47654", "22", "34.75", "137.7", "46.0", "16.3", "1800.0", "50456", "浜松"}});
    CopyDataFile("気象項目.DAT");
    CopyDataFile("気象項目.EXP");
    fw::WCD_Data_Init();
    ASSERT_TRUE(fw::SelectStation(2));
    fw::SetWeatherDataPaths();
    ASSERT_TRUE(platform::WriteFileBytesAtomic(fw::MonthlyFile, MonthlyBytes(3)));
    frame = std::make_unique<TMWDDispFrame>();
    frame->resize(760, 390);
    frame->show();
    frame->Setup();
  }

  std::string LastShown() { return ui.shown.empty() ? std::string() : U(ui.shown.back().text); }

  // Types `text` into the station number box and presses Enter, as a user does.
  void TypeStation(const char* text) {
    frame->window()->activateWindow();
    fw::TEditEx* edit = frame->PNOINPFM->EDIT_No;
    edit->setFocus();
    QApplication::processEvents();
    edit->selectAll();
    QTest::keyClicks(edit, text);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
  }

  std::unique_ptr<TMWDDispFrame> frame;
};

TEST(ChartError, ShowsAnErrorBoxWithAnEmptyCaption) {
  testsupport::FakeUi ui;
  chartops::ShowChartError("Wrong *.drx file format");
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "Wrong *.drx file format");
  EXPECT_EQ(ui.shown[0].caption, "");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Error);
}

// The window holding the charts is their error handler's owner: what a chart cannot raise is
// shown by the program's message.
TEST_F(MonthlyWindowTest, ChartErrorsAreShownByTheWindow) {
  ui.shown.clear();
  chart::ReportChartError("Missing > at B");
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(ui.shown[0].text, "Missing > at B");
  EXPECT_EQ(ui.shown[0].kind, platform::DialogKind::Error);
}

TEST(MonthlyClickText, SentencesByRowAndColumn) {
  fw::SetUnitSystem(S("工学単位"));
  const std::string temp = "平均気温：日平均気温の平均。（℃，月平均）";
  const std::string radiation = "全天日射量：水平面が受ける日射。（kcal/㎡h，月平均）";
  struct Case {
    int row, col;
    std::string explanation, item, cell, sentence;
  } cases[] = {
      {1, 2, temp, " 平均気温", "   5.2", "１月の平均気温は5.2 （℃，月平均）です。"},
      {1, 14, temp, " 平均気温", "  15.1", "年間の平均気温は15.1 （℃，年平均）です。"},
      {5, 3, "風速：日平均風速の平均。（m/s，月平均）", " 風速", "   3.1", "２月の平均風速は3.1 （m/s，月平均）です。"},
      {6, 14, radiation, " 全天日射量", "   120", "年間の１日平均全天日射量は120 （kcal/㎡h，年平均）です。"},
      {12, 13, "極寒気温：日最低気温の最低。（℃，月最低）", " 極寒気温", " -12.5", "１２月の極寒気温は-12.5 （℃，月最低）です。"},
      {13, 5, "全日射量：一日量。（kcal/㎡日，月平均）", " 全日射量", "  2400", "４月の積算全日射量は2400 （kcal/㎡日，月平均）です。"},
      {13, 14, "全日射量：一日量。（kcal/㎡日，月平均）", " 全日射量", "  2400", "年間の積算全日射量は2400 （kcal/㎡日，年平均）です。"},
      {1, 4, temp, " 平均気温", "", "３月の平均気温はデータがありません。"},
  };
  for (const Case& c : cases) {
    const std::string text = U(MonthlyClickText(c.row, c.col, S(c.explanation), S(c.item), S(c.cell)));
    const size_t split = text.find("\r\r");
    ASSERT_NE(split, std::string::npos) << c.row << "," << c.col;
    EXPECT_EQ(text.substr(split + 2), c.sentence) << c.row << "," << c.col;
    EXPECT_EQ(text.find("年平均") != std::string::npos, c.col == 14 && c.explanation.find("月") != std::string::npos)
        << c.row << "," << c.col;
  }
}

TEST_F(MonthlyWindowTest, GridDecimalsRowColoursAndAMissingCell) {
  EXPECT_EQ(U(frame->STRG1->Cells(0, 1)), " 平均気温");
  for (int row = 1; row <= 24; ++row) {
    const bool oneDecimal = row == 1 || row == 4 || row == 5 || (row >= 9 && row <= 12) || row == 23 || row == 24;
    EXPECT_EQ(frame->STRG1->Cells(2, row).find('.') != std::string::npos, oneDecimal) << row;
  }
  EXPECT_EQ(fw::TextToFloat(frame->STRG1->Cells(2, 13)), 2000);
  // Station 2 has all values; station 1 misses December's mean temperature.
  frame->ShowStation(1);
  EXPECT_EQ(frame->STRG1->Cells(13, 1), "");
  ui.shown.clear();
  frame->GridClick(13, 1);
  EXPECT_NE(LastShown().find("１２月の平均気温はデータがありません。"), std::string::npos) << LastShown();

  struct Colour {
    int row, number;
  } colours[] = {{1, 164}, {24, 164}, {6, 168}, {8, 168}, {9, 176}, {11, 176}, {10, 187}, {12, 187},
                 {23, 187}, {13, 201}, {2, 0},    {14, 0}};
  frame->STRG1->resize(706, 37 * 19 + 4);
  for (const Colour& c : colours) {
    EXPECT_EQ(MonthlyRowColorNumber(c.row), c.number) << c.row;
    frame->STRG1->SetTopRow(1);
    const QRect cell = frame->STRG1->CellRect(3, c.row);
    ASSERT_FALSE(cell.isEmpty()) << c.row;
    const QColor painted = frame->STRG1->PixelAt(QPoint(cell.right() - 2, cell.bottom() - 2));
    const uint32_t want = c.number ? fw::ColorOf(c.number) : 0xFFFFFF;
    EXPECT_EQ(painted, QColor(want & 0xFF, (want >> 8) & 0xFF, (want >> 16) & 0xFF)) << c.row;
  }
}

TEST_F(MonthlyWindowTest, SiUnitsConvertTheRadiationRows) {
  fw::SetUnitSystem(S("ＳＩ単位"));
  frame->ShowStation(2);
  for (int row = 1; row <= 24; ++row) {
    const bool converted = (row >= 6 && row <= 8) || (row >= 13 && row <= 21);
    const double raw = FixtureValue(2, row, 0);
    const double want = converted ? raw * fw::UnitFactor[6] : raw;
    EXPECT_NEAR(fw::TextToFloat(frame->STRG1->Cells(2, row)), want, converted || raw > 100 ? 0.51 : 0.051) << row;
  }
  EXPECT_EQ(frame->STRG1->Cells(1, 13), fw::UnitSymbolText(S("kcal/㎡日")));
  EXPECT_NE(frame->STRG1->Cells(1, 13), S("kcal/㎡日"));
  fw::SetUnitSystem(S("工学単位"));
}

TEST_F(MonthlyWindowTest, StationNumbersOutsideTheTableAreRefused) {
  TPNOINPFrame* chooser = frame->PNOINPFM;
  for (int refused : {0, fw::StationCount + 1}) {
    EXPECT_FALSE(chooser->CommitValue(refused)) << refused;
    EXPECT_EQ(fw::StationSel.StationNo, 2);
    EXPECT_EQ(chooser->Value(), 2);
    EXPECT_EQ(chooser->UPDN_No->Position(), 2);
  }
  EXPECT_TRUE(chooser->CommitValue(3));
  EXPECT_EQ(fw::StationSel.StationNo, 3);
  EXPECT_EQ(fw::RememberedStationNo, 3);
}

TEST_F(MonthlyWindowTest, TypedStationNumbersOutsideTheTableAreRefused) {
  fw::TEditEx* edit = frame->PNOINPFM->EDIT_No;
  for (const std::string& refused : {std::string("0"), std::to_string(fw::StationCount + 1)}) {
    TypeStation(refused.c_str());
    EXPECT_EQ(fw::StationSel.StationNo, 2) << refused;
    EXPECT_EQ(frame->PNOINPFM->UPDN_No->Position(), 2) << refused;
    EXPECT_EQ(frame->LBL7->text().toStdString(), "静岡県 SHIZUOKA") << refused;
    EXPECT_TRUE(statusBar.bar.Showed(S("＜地点№＞の入力範囲は 1 ～ 3 です。"))) << refused;
    statusBar.bar.panel0History.clear();
  }
  TypeStation("3");
  EXPECT_EQ(fw::StationSel.StationNo, 3);
  EXPECT_EQ(edit->text().trimmed().toStdString(), "3");
  EXPECT_EQ(frame->LBL7->text().toStdString(), "静岡県 HAMAMATSU");
}

TEST_F(MonthlyWindowTest, NumberEditCommitsOnEnterAndShowsTheStation) {
  frame->window()->activateWindow();
  fw::TEditEx* edit = frame->PNOINPFM->EDIT_No;
  edit->setFocus();
  QApplication::processEvents();
  edit->selectAll();
  QTest::keyClicks(edit, "1");
  QTest::keyClick(edit, Qt::Key_Return);
  QApplication::processEvents();
  EXPECT_EQ(fw::StationSel.StationNo, 1);
  EXPECT_EQ(U(frame->LBL8->text().toStdString()), "ST1");
}

TEST_F(MonthlyWindowTest, UnregisteredOnlyForAStationWithoutAnyMonthlyFigure) {
  struct Case {
    int station;
    bool unregistered;
  } cases[] = {{2, false}, {1, false}, {3, true}, {2, false}};
  for (const Case& c : cases) {
    frame->ShowStation(c.station);
    EXPECT_EQ(frame->LBL_ERR->isVisibleTo(frame.get()), c.unregistered) << c.station;
  }
  // Station 1 shows its months and leaves December and the year blank.
  frame->ShowStation(1);
  EXPECT_FALSE(frame->STRG1->Cells(12, 1).empty());
  EXPECT_EQ(frame->STRG1->Cells(13, 1), "");
  EXPECT_EQ(frame->STRG1->Cells(14, 1), "");
  EXPECT_FALSE(frame->STRG1->Cells(14, 2).empty());
}

TEST_F(MonthlyWindowTest, AStationBeyondACutMonthlyFileShowsNoFiguresAndIsUnregistered) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(fw::MonthlyFile, MonthlyBytes(3).substr(0, 2 * fw::kMonthlyRecordBytes)));
  frame->window()->activateWindow();
  fw::TEditEx* edit = frame->PNOINPFM->EDIT_No;
  for (const char* typed : {"2", "3"}) {
    edit->setFocus();
    QApplication::processEvents();
    edit->selectAll();
    QTest::keyClicks(edit, typed);
    QTest::keyClick(edit, Qt::Key_Return);
    QApplication::processEvents();
  }
  EXPECT_EQ(fw::StationSel.StationNo, 3);
  EXPECT_EQ(frame->LBL7->text().toStdString(), "静岡県 HAMAMATSU");
  EXPECT_EQ(frame->LBL8->text().toStdString(), "");  // not station 2's "ST2"
  EXPECT_EQ(frame->LBL3->text().toStdString(), "(北)緯度  －  (東)経度  －");
  EXPECT_EQ(frame->LBL5->text().toStdString(), "最高気温    － ℃   最低気温    － ℃");
  for (int row = 1; row <= fw::kMonthlyItems; ++row)
    for (int col = 2; col <= 14; ++col) EXPECT_EQ(frame->STRG1->Cells(col, row), "") << col << "," << row;
  EXPECT_EQ(U(frame->STRG1->Cells(0, 1)), " 平均気温");  // the item names stay
  EXPECT_TRUE(frame->LBL_ERR->isVisibleTo(frame.get()));
  // The last whole record still shows.
  frame->ShowStation(2);
  EXPECT_EQ(frame->LBL8->text().toStdString(), "ST2");
  EXPECT_FALSE(frame->LBL_ERR->isVisibleTo(frame.get()));
}

TEST_F(MonthlyWindowTest, CancellingTheNameChooserRestoresAreaAndStation) {
  frame->NameChooserClick();
  TPSTINPFrame* chooser = frame->PSTINPFM;
  ASSERT_TRUE(chooser->isVisible());
  EXPECT_EQ(chooser->CBOX_St1->ItemIndex(), 1);  // 静岡県
  EXPECT_EQ(chooser->CBOX_St2->ItemIndex(), 0);  // 静岡
  chooser->CommitArea(1);
  EXPECT_EQ(fw::StationSel.AreaNo, 1);
  EXPECT_EQ(chooser->CBOX_St2->ItemIndex(), -1);
  chooser->SBTN_StClick();
  EXPECT_FALSE(chooser->isVisible());
  EXPECT_EQ(fw::StationSel.AreaNo, 2);
  EXPECT_EQ(fw::StationSel.StationNo, 2);
  EXPECT_EQ(U(fw::StationSel.AreaName), "静岡県");

  // Choosing by name: 札幌 in 北海道.
  frame->NameChooserClick();
  chooser->CommitArea(1);
  chooser->CommitStation(1);
  EXPECT_EQ(fw::StationSel.StationNo, 1);
  EXPECT_EQ(U(fw::StationSel.StationNote), "札幌");
  EXPECT_EQ(U(frame->LBL8->text().toStdString()), "ST1");
}

// The values of a chart's series, NaN for a null point.
std::vector<double> SeriesValues(chart::TChartSeries* s) {
  std::vector<double> v;
  for (int i = 0; i < s->Count(); ++i) v.push_back(s->IsNull(i) ? std::nan("") : s->YValue(i));
  return v;
}

TEST_F(MonthlyWindowTest, TemperatureChartDrawsTheGridRows) {
  frame->ShowStation(1);
  frame->SBTN1Click();
  frame->ChooseChart(2);
  chart::TChart* c = frame->CHAT2;
  ASSERT_TRUE(c->isVisible());
  ASSERT_EQ(c->SeriesCount(), 6);
  const int rows[6] = {9, 10, 11, 12, 24, 1};
  for (int k = 0; k < 6; ++k) {
    const std::vector<double> values = SeriesValues(c->SeriesAt(k));
    ASSERT_EQ(values.size(), 12u);
    for (int m = 0; m < 12; ++m) {
      const std::string cell = frame->STRG1->Cells(2 + m, rows[k]);
      if (cell.empty()) {
        EXPECT_TRUE(std::isnan(values[m])) << k << "," << m;  // a null point, never 0
      } else {
        EXPECT_DOUBLE_EQ(values[m], fw::TextToFloat(cell)) << k << "," << m;
      }
      EXPECT_EQ(U(c->SeriesAt(k)->XLabel(m)), U(chartops::MonthLabel(m + 1)));
    }
  }
  EXPECT_TRUE(std::isnan(SeriesValues(c->SeriesAt(5))[11]));
  // A refill keeps the month labels.
  frame->ShowStation(2);
  EXPECT_EQ(U(c->SeriesAt(0)->XLabel(0)), "１月");
  EXPECT_EQ(U(fw::FileNameExt), "静岡(C2).EMF");
  // Closing the chart brings the grid back.
  frame->Panel(2)->SBTN_6Click();
  EXPECT_FALSE(frame->PNL2->isVisible());
  EXPECT_TRUE(frame->SBTN1->isEnabled());
}

TEST_F(MonthlyWindowTest, PanelModesSizeTheFrameAndShowTheZoomButtons) {
  chart::TChart c;
  c.resize(600, 300);
  auto* panel = new TCPNLFrame(&c);
  chartops::CurrentChart = &c;
  struct Mode {
    int mode, width, height;
    bool zoom;
  } modes[] = {{11, 80, 41, false}, {12, 135, 41, false}, {21, 80, 57, true},
               {22, 135, 57, true}, {31, 80, 93, true},   {32, 135, 93, true}};
  for (const Mode& m : modes) {
    panel->AttachChart(m.mode);
    EXPECT_EQ(panel->size(), QSize(m.width, m.height)) << m.mode;
    EXPECT_EQ(panel->pos(), QPoint(600 - m.width - 5, 5)) << m.mode;
    EXPECT_EQ(panel->SBTN_3->isVisibleTo(panel), m.zoom) << m.mode;
  }
  chartops::CurrentChart = nullptr;
}

TEST_F(MonthlyWindowTest, ZoomScrollAndWholeViewOnAZoomableChart) {
  chart::TChart c;
  SetupMonthlyChart(c, 2);
  c.Zoom().SetAllow(true);
  c.resize(600, 300);
  c.show();
  auto* panel = new TCPNLFrame(&c);
  std::vector<std::string> rows;
  fw::GridToStrings(frame->STRG1, MonthlyChartRows(2), 10, rows);
  chartops::FillChartSeriesFromRows(&c, &rows, 0, 5, 20, 10, 12, 1.0);
  panel->AttachChart(21);
  QApplication::processEvents();
  EXPECT_FALSE(panel->SBTN_L->isEnabled());
  panel->ZoomClick(1);
  QApplication::processEvents();
  for (QToolButton* b : {panel->SBTN_4, panel->SBTN_7, panel->SBTN_LL, panel->SBTN_L, panel->SBTN_AL, panel->SBTN_R,
                         panel->SBTN_RR})
    EXPECT_TRUE(b->isEnabled()) << b->objectName().toStdString();
  EXPECT_GT(panel->State().Ratio, 1.0);
  // One step right moves the bottom axis by one month, not by the point count.
  const double before = c.BottomAxis()->Minimum();
  panel->ScrollClick(4);
  EXPECT_NEAR(c.BottomAxis()->Minimum() - before, 1.0, 1e-9);
  panel->SBTN_7->click();
  QApplication::processEvents();
  EXPECT_FALSE(panel->SBTN_L->isEnabled());
  EXPECT_FALSE(panel->SBTN_7->isEnabled());
  EXPECT_DOUBLE_EQ(panel->State().Ratio, 1.0);
  EXPECT_FALSE(panel->State().Zoomed);
  c.FreeAllSeries();
}

TEST_F(MonthlyWindowTest, ClearWithTheYearBoxKeepsTheLastSeries) {
  frame->SBTN1Click();
  TCPNLFrame* panel = frame->Panel(1);
  panel->CBTN_1->setChecked(true);
  panel->CBTN_1->setVisible(true);
  panel->SBTN_2Click();
  chart::TChart* c = frame->CHAT1;
  for (int i = 0; i < c->SeriesCount(); ++i) EXPECT_EQ(c->SeriesAt(i)->Active(), i == c->SeriesCount() - 1) << i;
  EXPECT_EQ(panel->SBTN_2->text(), QString::fromUtf8("ﾁｪｯｸ"));
  panel->SBTN_2Click();
  for (int i = 0; i < c->SeriesCount(); ++i) EXPECT_TRUE(c->SeriesAt(i)->Active()) << i;
}

TEST_F(MonthlyWindowTest, SavingToABitmapNameGivesTheExtensionWarning) {
  frame->SBTN1Click();
  frame->Panel(1)->SetSaveFileName("C:\\tmp\\chart.BMP");
  ui.shown.clear();
  frame->Panel(1)->SBTN_5Click();
  EXPECT_EQ(LastShown(), "保存ファイル名 ： C:\\tmp\\chart.BMP\r\rファイル名の拡張子が正しくありません。（拡張子は'.EMF'です）");
}

// The colour of a COLORREF as Qt has it.
QColor Rgb(chart::TColor c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

TEST_F(MonthlyWindowTest, OverviewChartPixelsLieWhereTheAxesMapThem) {
  frame->SBTN1Click();
  chart::TChart* c = frame->CHAT1;
  c->resize(700, 300);
  QApplication::processEvents();
  QImage image = c->grab().toImage();
  const chart::TRect r = c->ChartRect();
  ASSERT_FALSE(r.IsEmpty());
  const auto yOf = [&](double v, double lo, double hi) {
    return r.top + (hi - v) / (hi - lo) * (r.bottom - r.top);
  };
  const double januaryX = c->BottomAxis()->ValueToX(0);
  // January's radiation bar (the first of three side by side, left of the month's centre).
  const double radiation = fw::TextToFloat(frame->STRG1->Cells(2, 13));
  const QColor barColour = Rgb(c->SeriesAt(0)->SeriesColor());
  int top = -1;
  for (int y = r.top; y < r.bottom && top < 0; ++y)
    for (int x = static_cast<int>(januaryX) - 30; x < januaryX; ++x)
      if (image.pixelColor(x, y) == barColour) {
        top = y;
        break;
      }
  EXPECT_NEAR(top, yOf(radiation, -3000, 6000), 2.0);
  // January's mean temperature.
  const double mean = fw::TextToFloat(frame->STRG1->Cells(2, 1));
  const QColor lineColour = Rgb(c->SeriesAt(3)->SeriesColor());
  const int wantY = static_cast<int>(std::lround(yOf(mean, -20, 40)));
  bool found = false;
  for (int y = wantY - 2; y <= wantY + 2; ++y)
    for (int x = static_cast<int>(januaryX) - 1; x <= januaryX + 1; ++x) found |= image.pixelColor(x, y) == lineColour;
  EXPECT_TRUE(found) << "no mean-temperature pixel near y " << wantY;

  // A click on the radiation series' legend check box hides it.
  int clickX = -1, clickY = -1;
  for (int y = 0; y < r.top && clickX < 0; ++y)
    for (int x = 0; x < c->width(); ++x)
      if (c->Legend().ItemAt(x, y) == 0) {
        clickX = x + 4;
        clickY = y + 4;
        break;
      }
  ASSERT_GE(clickX, 0);
  QTest::mouseClick(c, Qt::LeftButton, Qt::NoModifier, QPoint(clickX, clickY));
  QApplication::processEvents();
  EXPECT_FALSE(c->SeriesAt(0)->Active());
  image = c->grab().toImage();
  int left = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x) left += image.pixelColor(x, y) == barColour;
  EXPECT_EQ(left, 0);
}

// Station 2 with January to July missing in every temperature row, October missing in the
// minimum temperatures, and no humidity at all.
float GappedValue(int station, int r, int m) {
  const bool temperature = r == 1 || (r >= 9 && r <= 12) || r == 24;
  if (station == 2 && ((temperature && m <= 6) || r == 23 || (r == 10 && m == 9)))
    return std::numeric_limits<float>::quiet_NaN();
  return FixtureValue(station, r, m);
}

TEST_F(MonthlyWindowTest, MissingMonthsAreGapsInTheOverviewLines) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(fw::MonthlyFile, MonthlyBytes(3, GappedValue)));
  frame->ShowStation(2);
  frame->SBTN1Click();
  chart::TChart* c = frame->CHAT1;
  c->resize(700, 300);
  QApplication::processEvents();
  const QImage image = c->grab().toImage();
  const chart::TRect r = c->ChartRect();
  const auto monthX = [&](int m) { return static_cast<int>(c->BottomAxis()->ValueToX(m)); };
  // Pixels of a series' colour in columns x0..x1, rows y0..y1.
  const auto count = [&](int series, int x0, int x1, int y0, int y1) {
    const QColor colour = Rgb(c->SeriesAt(series)->SeriesColor());
    int n = 0;
    for (int y = std::max(y0, r.top); y <= std::min(y1, r.bottom); ++y)
      for (int x = std::max(x0, r.left); x <= std::min(x1, r.right); ++x) n += image.pixelColor(x, y) == colour;
    return n;
  };
  const int zero = c->LeftAxis()->ValueToPixel(0);
  // The lines (series 3 to 9): nothing along the zero row from January to July.
  for (int k = 3; k <= 9; ++k)
    EXPECT_EQ(count(k, monthX(0) - 2, monthX(6) + 2, zero - 3, zero + 3), 0) << U(c->SeriesAt(k)->Title());
  // No humidity at all: no humidity line anywhere.
  EXPECT_EQ(count(8, r.left, r.right, r.top, r.bottom), 0);
  // The minimum temperatures: no line into or out of October, the months around it keep theirs.
  EXPECT_EQ(count(5, monthX(8) + 3, monthX(10) - 3, r.top, r.bottom), 0);
  EXPECT_GT(count(5, monthX(7) + 2, monthX(8) - 2, r.top, r.bottom), 0);
  EXPECT_GT(count(5, monthX(10) + 2, monthX(11) - 2, r.top, r.bottom), 0);
  // The other temperatures run on from August.
  for (int k : {3, 4, 6, 7, 9}) EXPECT_GT(count(k, monthX(7) + 2, monthX(11) - 2, r.top, r.bottom), 0) << k;
  // The bars of the months stay.
  EXPECT_GT(count(0, monthX(0) - 30, monthX(0), r.top, r.bottom), 0);
}

TEST_F(MonthlyWindowTest, FirstActivationShowsTheNoticeOnceAndDeactivationWritesTheSelection) {
  const std::string selection = fw::DataDir + fw::WeatherInfoFileName();
  platform::RemoveFile(selection);
  TMONForm form;
  form.show();
  ui.shown.clear();
  for (int k = 0; k < 2; ++k) {
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(&form, &activate);
  }
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_EQ(LastShown().rfind("※ご注意\r\rこの【月次気象データ】は、", 0), 0u) << LastShown();
  EXPECT_FALSE(form.FirstActivation());
  // The station chosen in the window is the one the selection file keeps.
  ASSERT_TRUE(form.MWDDispFM->PNOINPFM->CommitValue(3));
  QEvent deactivate(QEvent::WindowDeactivate);
  QApplication::sendEvent(&form, &deactivate);
  ASSERT_TRUE(platform::FileExists(selection));
  ASSERT_TRUE(fw::DataLoad(selection));
  EXPECT_EQ(U(fw::TableBuffer.TableKeys[7]), "静岡県 HAMAMATSU");
  EXPECT_EQ(fw::TableBuffer.TableKeys[8], "[   1][   2][   3]");
}

TEST_F(MonthlyWindowTest, MonthlyFilePanelChoosesAFileAndShowsWhatItHolds) {
  CopyDataFile("単位系.EXP");
  const std::string first = fw::MonthlyFile;
  const std::string other = tmp.inside() + "WCD\\OTHER_MONT.DAT";
  const std::string missing = tmp.inside() + "WCD\\MISSING_MONT.DAT";
  std::string otherBytes = MonthlyBytes(2);
  otherBytes[19] = 'X';  // its records are named XT1, XT2
  otherBytes[fw::kMonthlyRecordBytes + 19] = 'X';
  ASSERT_TRUE(platform::WriteFileBytesAtomic(other, otherBytes));
  WriteTable(fw::DatDir + S("月次ﾌｧｲﾙ.DAT"), {70, 4}, {{U(first), "UY"}, {U(other), "QZ"}, {U(missing), "UY"}});

  QTest::mouseClick(frame->SBTN3, Qt::LeftButton);
  ASSERT_TRUE(frame->PNL3->isVisible());
  ASSERT_EQ(frame->CBOX3_1->count(), 3);
  EXPECT_EQ(frame->CBOX3_1->Items()[1], "  2:" + other);
  // The second file, chosen with the arrow key in the list.
  frame->CBOX3_1->SetItemIndex(0);
  frame->CBOX3_1->setFocus();
  QTest::keyClick(frame->CBOX3_1, Qt::Key_Down);
  EXPECT_EQ(fw::MonthlyFile, other);
  EXPECT_EQ(frame->LBL3_1->text().toStdString(), "ＱＺ");
  EXPECT_EQ(frame->LBL3_2->text().toStdString().rfind("作成日付　", 0), 0u);
  EXPECT_NE(frame->LBL3_2->text().toStdString().find("サイズ　3,894 バイト"), std::string::npos)
      << frame->LBL3_2->text().toStdString();
  EXPECT_EQ(frame->LBL8->text().toStdString(), "XT2");
  EXPECT_EQ(frame->LBL9->styleSheet().toStdString(), "color: black;");
  EXPECT_FALSE(frame->LBL_ERR->isVisibleTo(frame.get()));
  // A file that is not there is refused with a message.
  ui.shown.clear();
  QTest::keyClick(frame->CBOX3_1, Qt::Key_Down);
  EXPECT_EQ(fw::MonthlyFile, other);
  EXPECT_NE(LastShown().find("ファイルがみつかりません。"), std::string::npos) << LastShown();
  // The file in use gone: red "※ファイルなし", no figures, unregistered.
  ASSERT_TRUE(platform::RemoveFile(other));
  frame->ShowMonthlyFile("Z");
  EXPECT_EQ(frame->LBL9->text().toStdString(), "※ファイルなし");
  EXPECT_EQ(frame->LBL9->styleSheet().toStdString(), "color: red;");
  EXPECT_EQ(frame->LBL3_1->text().toStdString(), "？");
  EXPECT_EQ(frame->LBL3_2->text().toStdString(), "※ファイルなし");
  EXPECT_EQ(frame->STRG1->Cells(2, 1), "");
  EXPECT_TRUE(frame->LBL_ERR->isVisibleTo(frame.get()));
  // The unit panel names the unit system; a click explains the unit systems.
  EXPECT_EQ(frame->PNL_SI->text().toStdString(), "工学単位");
  ui.shown.clear();
  QTest::mouseClick(frame->PNL_SI, Qt::LeftButton);
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(LastShown().find("ＳＩ単位"), std::string::npos) << LastShown();
  QTest::mouseClick(frame->SBTN3_1, Qt::LeftButton);
  EXPECT_FALSE(frame->PNL3->isVisible());
}

TEST_F(MonthlyWindowTest, OverviewAndSolarChartsDrawTheirGridRows) {
  struct Chart {
    int number;
    std::vector<int> rows;
  } charts[] = {{1, {13, 2, 20, 1, 9, 10, 11, 12, 23, 24}}, {3, {13, 14, 15, 16, 17, 18, 19, 20, 21}}};
  frame->ShowStation(1);
  frame->SBTN1Click();
  for (const Chart& ch : charts) {
    QTest::mouseClick(static_cast<QWidget*>(ch.number == 1 ? frame->RBTN2_1 : frame->RBTN2_3), Qt::LeftButton);
    chart::TChart* c = frame->Chart(ch.number);
    ASSERT_TRUE(c->isVisible()) << ch.number;
    ASSERT_EQ(c->SeriesCount(), static_cast<int>(ch.rows.size())) << ch.number;
    for (size_t k = 0; k < ch.rows.size(); ++k) {
      const std::vector<double> values = SeriesValues(c->SeriesAt(static_cast<int>(k)));
      ASSERT_EQ(values.size(), 12u);
      for (int m = 0; m < 12; ++m) {
        const std::string cell = frame->STRG1->Cells(2 + m, ch.rows[k]);
        if (cell.empty()) {
          EXPECT_TRUE(std::isnan(values[m])) << ch.number << "," << k << "," << m;
        } else {
          EXPECT_DOUBLE_EQ(values[m], fw::TextToFloat(cell)) << ch.number << "," << k << "," << m;
        }
      }
    }
  }
  // December's missing mean temperature is a gap in the overview's line.
  EXPECT_TRUE(std::isnan(SeriesValues(frame->CHAT1->SeriesAt(3))[11]));
}

TEST_F(MonthlyWindowTest, TheOperationPanelSavesTheChartAsEmfAndBmp) {
  frame->SBTN1Click();
  chart::TChart* c = frame->CHAT1;
  EXPECT_EQ(frame->Panel(1)->SaveFileName(), fw::WcdDir + S("静岡(C1).EMF"));  // the chart's own file
  frame->Panel(1)->SetSaveFileName(tmp.inside() + "CHART.EMF");
  ui.answers = {platform::ModalResult::Yes};
  bool dialog = false;
  QTimer::singleShot(0, [&] {
    auto* form = qobject_cast<fw::TGRSVForm*>(QApplication::activeModalWidget());
    if (!form) return;
    dialog = true;
    form->CBTN2_1->setChecked(true);
    form->CBTN2_2->setChecked(true);
    form->BBTN1->click();
  });
  QTest::mouseClick(frame->Panel(1)->SBTN_5, Qt::LeftButton);
  ASSERT_TRUE(dialog);
  std::string emf, bmp;
  ASSERT_TRUE(platform::ReadFileBytes(tmp.inside() + "CHART.EMF", emf));
  ASSERT_TRUE(platform::ReadFileBytes(tmp.inside() + "CHART.BMP", bmp));
  ASSERT_GT(emf.size(), 108u);
  EXPECT_EQ(emf.substr(40, 4), " EMF");
  const QImage picture = QImage::fromData(reinterpret_cast<const uchar*>(bmp.data()), static_cast<int>(bmp.size()), "BMP");
  EXPECT_EQ(picture.size(), c->size());
}

// The program's start-up (tests/chart_views/main.cpp) starts the chart library: the axes format
// their values with thousands separators and a series without a colour of its own takes the
// palette's first colour.
TEST_F(MonthlyWindowTest, TheChartLibraryIsStartedAsTheProgramStartsIt) {
  frame->SBTN1Click();
  chart::TChart* c = frame->CHAT1;
  std::set<std::string> labels;
  c->OnGetAxisLabel = [&](chart::TChartAxis* axis, chart::TChartSeries* series, int, std::string& text) {
    if (axis == c->RightAxis() && !series) labels.insert(text);
  };
  c->resize(700, 300);
  c->grab();
  c->OnGetAxisLabel = nullptr;
  EXPECT_EQ(labels, (std::set<std::string>{"-3,000", "-1,500", "0", "1,500", "3,000", "4,500", "6,000"}));

  chart::TChart plain;
  auto* line = new chart::TFastLineSeries();
  plain.AddSeries(line);
  EXPECT_EQ(line->SeriesColor(), chart::DefaultPaletteColors()[0]);
  EXPECT_NE(line->SeriesColor(), chart::clBlack);
  plain.FreeAllSeries();
}

// Every point of the overview chart (the bars of radiation, precipitation and the south wall,
// the temperature and humidity lines) lies inside its axis for every station of the installed
// data, in engineering and in SI units.
TEST(MonthlyWindowInstalledData, OverviewPointsLieInsideTheirAxesForEveryStation) {
  const std::string bin = testsupport::BinDir() + "/";
  if (!std::filesystem::exists(bin + "WCD/JPN_MONT.DAT") || !std::filesystem::exists(bin + "WCD/JPN_WPNT.DAT")) {
    GTEST_SKIP() << "weather files not built in " << bin;
  }
  testsupport::FakeUi ui;
  testsupport::StatusBarScope statusBar;
  const std::string root = *platform::ToInsidePath(std::filesystem::canonical(bin).string() + "/");
  fw::BaseDrive = root.substr(0, 2);
  fw::BaseFolder = root.substr(2);
  fw::SetFolderTable(root);
  fw::CountryNo = 1;
  fw::StationSel = fw::WCD_DataType();
  fw::MonthlyFile.clear();
  fw::SetUnitSystem(S("工学単位"));
  fw::WCD_Data_Init();
  ASSERT_TRUE(fw::SelectStation(1));
  fw::SetWeatherDataPaths();
  ASSERT_GT(fw::StationCount, 800);
  TMWDDispFrame frame;
  frame.resize(760, 390);
  frame.show();
  frame.Setup();
  frame.SBTN1Click();
  chart::TChart* c = frame.CHAT1;
  for (const char* units : {"工学単位", "ＳＩ単位"}) {
    fw::SetUnitSystem(S(units));
    int outside = 0, reaching = 0;
    double highest = 0;
    for (int station = 1; station <= fw::StationCount; ++station) {
      frame.ShowStation(station);
      // Stations whose temperatures lie inside −20..40 keep the fixed axes.
      double coldest = 0, hottest = 0;
      for (int k = 0; k < c->SeriesCount(); ++k) {
        const chart::TChartSeries* s = c->SeriesAt(k);
        for (int i = 0; i < s->Count(); ++i) {
          if (s->VertAxis() != chart::aLeftAxis || s->IsNull(i)) continue;
          coldest = std::min(coldest, s->YValue(i));
          hottest = std::max(hottest, s->YValue(i));
        }
      }
      if (coldest >= -20 && hottest <= 40) {
        EXPECT_EQ(c->LeftAxis()->Minimum(), -20) << station;
        EXPECT_EQ(c->LeftAxis()->Maximum(), 40) << station;
      } else {
        ++reaching;
        // Zero and the grid lines stay level: every axis reaches out by the same steps.
        const double below = (-20 - c->LeftAxis()->Minimum()) / 10, above = (c->LeftAxis()->Maximum() - 40) / 10;
        EXPECT_EQ((-400 - c->CustomAxes().Axis(0)->Minimum()) / 200, below) << station;
        EXPECT_EQ((c->CustomAxes().Axis(1)->Maximum() - 100) / 25, above) << station;
      }
      for (int k = 0; k < c->SeriesCount(); ++k) {
        chart::TChartSeries* s = c->SeriesAt(k);
        const chart::TChartAxis* axis = s->GetVertAxis();
        for (int i = 0; i < s->Count(); ++i) {
          if (s->IsNull(i)) continue;
          const double v = s->YValue(i);
          if (k == 0) highest = std::max(highest, v);
          if (v < axis->Minimum() || v > axis->Maximum()) {
            if (++outside <= 5) {
              ADD_FAILURE() << units << " station " << station << " " << U(s->Title()) << " " << v << " outside "
                            << axis->Minimum() << ".." << axis->Maximum();
            }
          }
        }
      }
    }
    EXPECT_EQ(outside, 0) << units;
    EXPECT_GT(reaching, 0) << units << ": the cold stations reach below -20";
    // The SI values do pass the engineering range: the axis grew for them.
    if (std::string(units) == "ＳＩ単位") {
      EXPECT_GT(highest, 6000);
    }
  }
  fw::SetUnitSystem(S("工学単位"));
}

}  // namespace
}  // namespace views
