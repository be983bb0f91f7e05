// Screen 3 on the golden results of the sample case (tests/app/fixtures/golden, copied into a
// temporary result folder): the report metafiles made once, the pages with their tables, the
// year choice, the analysis grids, the weather page, and saving a graph.
#include <gtest/gtest.h>

#include <QApplication>
#include <QButtonGroup>
#include <QMouseEvent>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <QLabel>
#include <QRadioButton>
#include <QListWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>
#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "model/sim/run_state.h"
#include "app/ui/program_state.h"
#include "app/ui/screen3.h"
#include "app/ui/screen3_graphs.h"
#include "app/ui/screen3_save.h"
#include "framework/ui/updown_frame.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/fake_status_bar.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "platform/files.h"
#include "platform/path.h"
#include "support/test_support.h"
#include "framework/ui/picture_save.h"

namespace {

using testsupport::S;
using testsupport::U;

std::string Inside(const std::string& native) { return platform::ToInsidePath(native).value_or(""); }

class Screen3Test : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(fw::LoadInputData(Inside(testsupport::SourceDir() + "/data/tree/CAL/HVS/TEST_HVS.HVS"), fw::CalcData));
    app::CalcFilePath = tf.Path("CAL/HVS/TEST_HVS.HVS");
    resultDir = tf.Path("CAL/HVS/") + fw::ResultFolderName();
    ASSERT_TRUE(platform::MakeFolders(resultDir));
    app::ResultPrefix = resultDir + "HarvSim";
    app::ClearPageRendered();
    fw::ColorFileName = Inside(testsupport::SourceDir() + "/data/tree/DATA/COLOR/標準色.COL");
  }
  void TearDown() override {
    form.reset();
    app::PictureSaveHook = nullptr;
    fw::MakingReportMetafiles = false;
  }

  void CopyGoldenResults() {
    const std::string golden = Inside(testsupport::SourceDir() + "/tests/app/fixtures/golden/");
    std::vector<std::string> names = {"HarvSim(FULL).DAT", "HarvSim(1981-1995).MON", "HarvSim(1981-1995).YER"};
    for (int year = 1981; year <= 1995; ++year) names.push_back("HarvSim(" + std::to_string(year) + ").DAY");
    for (const auto& name : names) ASSERT_TRUE(platform::CopyFileBytes(golden + name, resultDir + name)) << name;
  }

  // Opens the screen as the main window does: activation, refresh, then the page.
  app::THARV3Form& Open(int page) {
    form = std::make_unique<app::THARV3Form>();
    form->FormActivate();
    form->RefreshScreen();
    form->ShowPage(page);
    return *form;
  }

  std::set<std::string> Metafiles() const {
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(resultDir, entries);
    std::set<std::string> names;
    for (const auto& e : entries)
      if (e.name.size() > 4 && e.name.substr(e.name.size() - 4) == ".EMF") names.insert(e.name);
    return names;
  }

  int DialogsShown(const char* utf8) const {
    return static_cast<int>(std::count_if(ui.shown.begin(), ui.shown.end(),
                                          [&](const auto& s) { return s.text.find(S(utf8)) != std::string::npos; }));
  }

  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;
  testsupport::TempFolder tf;
  std::string resultDir;
  std::unique_ptr<app::THARV3Form> form;
};

// Little-endian 32-bit value at a byte offset.
int32_t Int32At(const std::string& bytes, size_t offset) {
  uint32_t v = 0;
  for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(bytes[offset + static_cast<size_t>(i)]);
  return static_cast<int32_t>(v);
}

TEST_F(Screen3Test, TheReportMetafilesAreMadeOnceWithTheTableNames) {
  CopyGoldenResults();
  app::THARV3Form& f = Open(1);
  // Lowest 1985, highest 1984, average 1981.
  EXPECT_EQ(app::RepresentativeYears, (std::array<int, 4>{0, 5, 4, 1}));
  const std::set<std::string> expected = {
      "HarvSim(1-1981).EMF", "HarvSim(1-1984).EMF", "HarvSim(1-1985).EMF", "HarvSim(2).EMF",   "HarvSim(3).EMF",
      "HarvSim(4-1).EMF",    "HarvSim(4-2).EMF",    "HarvSim(4-3).EMF",    "HarvSim(4-4).EMF", "HarvSim(5).EMF"};
  EXPECT_EQ(Metafiles(), expected);
  EXPECT_EQ(DialogsShown("事前に報告書用のメタファイルを作成します。"), 1);
  EXPECT_EQ(DialogsShown("報告書用のメタファイルを作成しました。"), 1);
  EXPECT_FALSE(fw::MakingReportMetafiles);
  EXPECT_TRUE(f.PCON->isVisibleTo(&f));
  EXPECT_FALSE(f.TXT_Meta->isVisibleTo(&f));

  // Each file is an enhanced metafile whose frame (0.01 mm at 96 dpi) has the page's size.
  const std::pair<const char*, app::PictureSize> sizes[] = {
      {"HarvSim(1-1985).EMF", {700, 210}}, {"HarvSim(3).EMF", {700, 210}},
      {"HarvSim(4-2).EMF", {350, 360}},    {"HarvSim(5).EMF", {700, 400}}};
  for (const auto& [name, size] : sizes) {
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(resultDir + name, bytes)) << name;
    ASSERT_GE(bytes.size(), 88u);
    EXPECT_EQ(Int32At(bytes, 0), 1) << name;             // EMR_HEADER
    EXPECT_EQ(bytes.substr(40, 4), " EMF") << name;      // signature
    const double w = (Int32At(bytes, 32) - Int32At(bytes, 24)) * 96.0 / 2540.0;
    const double h = (Int32At(bytes, 36) - Int32At(bytes, 28)) * 96.0 / 2540.0;
    EXPECT_NEAR(w, size.width, 1.5) << name;
    EXPECT_NEAR(h, size.height, 1.5) << name;
  }

  // Opened again: the set is complete, nothing is made and nothing asked.
  ASSERT_TRUE(platform::RemoveFile(resultDir + "HarvSim(2).EMF"));
  ui.shown.clear();
  form.reset();
  Open(1);
  EXPECT_TRUE(ui.shown.empty());
  EXPECT_EQ(Metafiles().count("HarvSim(2).EMF"), 0u);
}

TEST_F(Screen3Test, WithoutResultsNothingIsMadeAndThePagesStayEmpty) {
  for (int page = 1; page <= 5; ++page) {
    app::THARV3Form& f = Open(page);
    EXPECT_EQ(f.Data().page, page);
  }
  EXPECT_TRUE(Metafiles().empty());
  EXPECT_TRUE(ui.shown.empty());
  app::THARV3Form& f = Open(2);
  EXPECT_FALSE(f.MEMO2->isVisibleTo(&f));
  EXPECT_EQ(f.Data().rowCount, 0);
  EXPECT_EQ(f.Data().yearNumber, 0);
}

TEST_F(Screen3Test, AResultTableLongerThanFifteenYearsOfDaysIsRefusedByName) {
  CopyGoldenResults();
  const std::string monthly = app::ResultPrefix + "(1981-1995).MON";
  ASSERT_TRUE(platform::WriteFileBytesAtomic(monthly, std::string(app::kMaxResultRows + 10, '\n')));
  app::THARV3Form& f = Open(2);
  EXPECT_EQ(f.Data().rowCount, 0);
  EXPECT_FALSE(f.MEMO2->isVisibleTo(&f));
  // Refused where the page is drawn for the report metafiles and where it is shown.
  EXPECT_EQ(DialogsShown("の行数が結果表の最大行数を超えています"), 2);
  for (const auto& d : ui.shown) {
    if (d.text.find(S("最大行数")) == std::string::npos) continue;
    EXPECT_NE(d.text.find(monthly), std::string::npos);
  }
}

TEST_F(Screen3Test, PageOneShowsTheAverageYearFirstAndFollowsTheYearChoice) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));  // set complete
  app::THARV3Form& f = Open(1);
  EXPECT_EQ(f.Data().yearNumber, 1);
  EXPECT_EQ(f.PCON->tabText(0).toStdString(), "計算結果(1981)年");
  EXPECT_EQ(f.MEMO1->LineCount(), 369);
  EXPECT_EQ(f.MEMO1->Lines()[4].substr(0, 10), "1981/01/01");
  EXPECT_EQ(f.Data().rowCount, 365);
  EXPECT_TRUE(f.PNL1->isVisibleTo(&f));
  EXPECT_EQ(f.RADG1Items->checkedId(), 0);
  EXPECT_FALSE(f.IMAG[1]->Picture().isNull());
  EXPECT_EQ(U(fw::Cp932Of(f.LBL1_1->text())), "年平均降水量 2535 mm");

  // A year chosen in the year panel selects its tab and its table.
  f.RADG1Items->button(4)->setChecked(true);
  f.RADG1Click();
  EXPECT_EQ(f.Data().yearNumber, 5);
  EXPECT_EQ(f.TABC1->currentIndex(), 4);
  EXPECT_EQ(U(f.Data().dailyFileName), U(app::ResultPrefix + "(1985).DAY"));
  EXPECT_EQ(f.MEMO1->Lines()[4].substr(0, 10), "1985/01/01");
  EXPECT_EQ(f.PCON->tabText(0).toStdString(), "計算結果(1985)年");

  // The monthly page shows its own table; back on page 1 the chart still draws the daily one.
  f.ShowPage(2);
  EXPECT_EQ(f.Data().rowCount, 180);
  f.ShowPage(1);
  EXPECT_EQ(f.Data().rowCount, 365);
  EXPECT_EQ(f.Data().resultLines[4].substr(0, 10), "1985/01/01");
  EXPECT_EQ(U(status.bar.panels[0]), "　　※右クリックすると現在のグラフを保存できます。〔計算結果(1985)年グラフ表示〕");

  // A tab chosen directly moves the radio group.
  f.TABC1->setCurrentIndex(9);
  EXPECT_EQ(f.Data().yearNumber, 10);
  EXPECT_EQ(f.RADG1Items->checkedId(), 9);
}

TEST_F(Screen3Test, AnalysisGridsFollowTheGraphAndTheYearTicks) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(4);
  EXPECT_EQ(f.Data().graph, 1);
  EXPECT_EQ(f.STRG4->Cells(2, 17), "   2535");
  EXPECT_EQ(f.STRG4->Cells(6, 17), "    157");
  EXPECT_EQ(f.STRG4_1->Cells(1, 2), "   88");
  EXPECT_EQ(U(f.STRG4_1->Cells(0, 17)), "15年平均");
  EXPECT_EQ(U(fw::Cp932Of(f.LBL4_2->text())).substr(0, 18), "※貯水槽容量");
  EXPECT_TRUE(f.SBTN4_2->isVisibleTo(&f));
  f.SBTN4_2Click();
  EXPECT_TRUE(f.STRG4_1->isVisibleTo(&f));
  EXPECT_EQ(U(status.bar.panels[0]), "　　※グラフ保存済み〔分析結果グラフ表示〕");

  f.PCON4->setCurrentIndex(2);  // graph 3
  EXPECT_EQ(f.Data().graph, 3);
  EXPECT_EQ(f.STRG4->Cells(6, 17), "   60.5");
  EXPECT_FALSE(f.SBTN4_2->isVisibleTo(&f));
  EXPECT_FALSE(f.STRG4_1->isVisibleTo(&f));
  EXPECT_EQ(f.CurrentImage(), f.IMAG4[3]);
  EXPECT_FALSE(f.IMAG4[3]->Picture().isNull());

  // Unticking every year leaves only the average drawn.
  f.SBTN3_2Click(0);
  for (int y = 1; y <= 15; ++y) EXPECT_FALSE(f.Data().yearChecked[static_cast<size_t>(y)]);
  EXPECT_TRUE(f.Data().yearChecked[16]);
  EXPECT_EQ(f.CLBOX3->item(3)->checkState(), Qt::Unchecked);
  f.CLBOX3->item(3)->setCheckState(Qt::Checked);
  f.CLBOX3Click(3);
  EXPECT_TRUE(f.Data().yearChecked[4]);
  EXPECT_FALSE(f.Data().yearChecked[5]);
  f.SBTN3_2Click(1);
  EXPECT_TRUE(f.Data().yearChecked[5]);

  // The explanation of the current graph.
  f.SBTN4_1Click();
  ASSERT_FALSE(ui.shown.empty());
  EXPECT_NE(U(ui.shown.back().text).find("どの程度残りが下水道に流れ込むのかを表します。"), std::string::npos);
}

// A click on a year of the check list toggles its tick once, on the box or on the text.
TEST_F(Screen3Test, ClickingAYearTogglesItsTickOnce) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(4);
  f.show();
  f.BTN3Click();
  ASSERT_TRUE(f.PNL3->isVisible());
  QListWidget* list = f.CLBOX3;
  const auto click = [list](int row, int x) {
    const QRect r = list->visualItemRect(list->item(row));
    const QPoint at(r.left() + x, r.center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, at, list->viewport()->mapToGlobal(at), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(list->viewport(), &e);
    }
  };
  click(2, 80);  // on the text
  EXPECT_EQ(list->item(2)->checkState(), Qt::Unchecked);
  EXPECT_FALSE(f.Data().yearChecked[3]);
  click(2, 80);
  EXPECT_TRUE(f.Data().yearChecked[3]);
  const QRect r = list->visualItemRect(list->item(5));
  QStyleOptionViewItem option;
  option.rect = r;
  option.features = QStyleOptionViewItem::HasCheckIndicator;
  const QRect box = list->style()->subElementRect(QStyle::SE_ItemViewItemCheckIndicator, &option, list);
  click(5, box.center().x() - r.left());  // on the box
  EXPECT_EQ(list->item(5)->checkState(), Qt::Unchecked);
  EXPECT_FALSE(f.Data().yearChecked[6]);
  EXPECT_TRUE(f.Data().yearChecked[5]);
}

// The year panel follows the mouse while its button is held, and stays inside the form.
TEST_F(Screen3Test, TheYearPanelCanBeDragged) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(1);
  f.show();
  QWidget* panel = f.PNL1;
  ASSERT_TRUE(panel->isVisible());
  const QPoint start = panel->pos();
  const auto send = [panel](QEvent::Type type, QPoint local) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, local, panel->mapToGlobal(local), Qt::LeftButton, held, Qt::NoModifier);
    QApplication::sendEvent(panel, &e);
  };
  send(QEvent::MouseButtonPress, {100, 10});
  send(QEvent::MouseMove, {101, 11});
  send(QEvent::MouseMove, {102, 12});
  send(QEvent::MouseMove, {102 - 150, 12 + 40});
  send(QEvent::MouseButtonRelease, {102 - 150, 12 + 40});
  EXPECT_EQ(panel->pos(), start + QPoint(-150, 40));
  EXPECT_FALSE(fw::FormDragging);
  // Dragged beyond the form's edge, it comes back inside.
  send(QEvent::MouseButtonPress, {100, 10});
  send(QEvent::MouseMove, {101, 11});
  send(QEvent::MouseMove, {102, 12});
  send(QEvent::MouseMove, {102 - 2000, 12});
  send(QEvent::MouseButtonRelease, {102 - 2000, 12});
  EXPECT_EQ(panel->x(), 0);
}

TEST_F(Screen3Test, WeatherPageListsFiltersAndCountsTheRainyDays) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(5);
  std::vector<std::string> written;
  ASSERT_TRUE(platform::ReadTextLines(app::ResultPrefix + "(HARV).DAT", written));
  ASSERT_FALSE(written.empty());
  EXPECT_EQ(f.MEMO5->Lines(), written);
  EXPECT_EQ(f.Data().weatherLines, written);
  int counted = 0;
  for (int y = 1; y <= 15; ++y) counted += app::PrecipDayCount(f.Data().frequency, y);
  EXPECT_EQ(counted, static_cast<int>(written.size()));

  f.BTN5Click();
  EXPECT_TRUE(f.PNL5->isVisibleTo(&f));
  f.INPUDFM5->UPDN_1->setValue(50);
  fw::UpDownValue = 50;
  f.INPUDFM5UPDN_1Click();
  EXPECT_EQ(f.Data().threshold, 50);
  const std::vector<std::string> heavy = f.MEMO5_1->Lines();
  size_t expectedHeavy = 0;
  for (const auto& line : written) expectedHeavy += app::WeatherLinePrecip(line) >= 50 ? 1 : 0;
  EXPECT_EQ(heavy.size(), expectedHeavy);
  for (const auto& line : heavy) EXPECT_GE(app::WeatherLinePrecip(line), 50) << U(line);

  // The frequency panel shows only with the data panel.
  EXPECT_FALSE(f.PNL5_1->isVisibleTo(&f));
  f.SBTN5_0Click();
  EXPECT_TRUE(f.PNL5_1->isVisibleTo(&f));
  EXPECT_TRUE(f.Data().frequencyPanelShown);
  f.ClosePanelClick(0);
  EXPECT_FALSE(f.PNL5->isVisibleTo(&f));
  EXPECT_FALSE(f.PNL5_1->isVisibleTo(&f));
}

TEST_F(Screen3Test, ATankButtonHidesAndShowsItsTank) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(2);
  EXPECT_TRUE(f.PNL2->isVisibleTo(&f));
  EXPECT_EQ(U(fw::Cp932Of(f.SBTN_T[3]->text())), "1000ﾘｯﾄﾙ");
  const QImage before = f.IMAG[2]->Picture();
  f.SBTN_T1Click(3);
  EXPECT_EQ(f.Data().tankShownColor[3], app::kHiddenTankColor);
  EXPECT_NE(f.IMAG[2]->Picture(), before);
  f.SBTN_T1Click(3);
  EXPECT_EQ(f.Data().tankShownColor[3], 4);
  EXPECT_EQ(f.IMAG[2]->Picture(), before);
}

// Panels over the pages leave the charts' labels and the lists' marks whole.
TEST_F(Screen3Test, PanelsAndListsLeaveLabelsAndMarksWhole) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(1);
  f.show();
  QApplication::processEvents();
  // Pages 1 to 3: the chart's plot ends 40 pixels before the image's right edge and its right
  // axis labels begin 3 pixels after it; the tank panel's close button ends before them.
  for (int page = 1; page <= 3; ++page) {
    f.ShowPage(page);
    QApplication::processEvents();
    ASSERT_TRUE(f.PNL2->isVisible()) << page;
    fw::TImageEx* image = f.IMAG[static_cast<size_t>(page)];
    const QRect close(f.SBTN2_1->mapTo(&f, QPoint(0, 0)), f.SBTN2_1->size());
    EXPECT_LE(close.right(), image->mapTo(&f, QPoint(image->width() - 40, 0)).x()) << page;
    EXPECT_LE(f.SBTN_T[8]->geometry().right(), f.SBTN2_1->x()) << page;
    EXPECT_GE(f.SBTN_T[8]->width(), f.SBTN_T[8]->sizeHint().width()) << page;  // "5000ﾘｯﾄﾙ" whole
  }

  // Page 4: the full-tank grid covers the analysis grid under it.
  f.ShowPage(4);
  f.SBTN4_2Click();
  ASSERT_TRUE(f.STRG4_1->isVisible());
  EXPECT_EQ(f.STRG4_1->geometry(), f.STRG4->geometry());

  // Page 5: every line of both lists fits, the " ※" of a day of 100 mm or more included.
  f.ShowPage(5);
  f.BTN5Click();
  QApplication::processEvents();
  std::vector<std::string> lines = f.MEMO5->Lines();
  lines.push_back(S("1981/01/01 -10.0℃   100mm ※"));  // the widest a line can be
  for (const fw::TMemoEx* memo : {f.MEMO5, f.MEMO5_1}) {
    const int room = memo->viewport()->width() - 2 * static_cast<int>(memo->document()->documentMargin());
    for (const std::string& line : lines)
      EXPECT_LE(QFontMetrics(memo->font()).horizontalAdvance(QString::fromStdString(U(line))), room) << U(line);
  }
}

TEST_F(Screen3Test, SavingAGraphWritesOnlyTheFileTheUserConfirmed) {
  CopyGoldenResults();
  ASSERT_TRUE(platform::WriteFileBytesAtomic(app::ResultPrefix + "(5).EMF", "x"));
  app::THARV3Form& f = Open(4);
  f.PCON4->setCurrentIndex(1);  // graph 2
  std::string proposed;
  fw::TImageEx* asked = nullptr;
  const std::string chosen = tf.Path("my graph.EMF");
  bool confirm = false, metafile = true;
  app::PictureSaveHook = [&](fw::TImageEx* image, const std::string& name, app::PictureSaveChoice& choice) {
    asked = image;
    proposed = name;
    choice.path = chosen;
    choice.metafile = metafile;
    return confirm;
  };
  // Cancelled: nothing written.
  f.IMAG1MouseUp(f.IMAG4[2]);
  EXPECT_EQ(asked, f.IMAG4[2]);
  EXPECT_EQ(U(proposed), U(app::ResultPrefix + "(4-2).EMF"));
  EXPECT_FALSE(platform::FileExists(chosen));
  EXPECT_TRUE(Metafiles().count("HarvSim(4-2).EMF") == 0);

  // Confirmed with the bitmap only: the caller writes no metafile.
  confirm = true;
  metafile = false;
  f.IMAG1MouseUp(f.IMAG4[2]);
  EXPECT_FALSE(platform::FileExists(chosen));

  // Confirmed with the metafile under another name: that file only.
  metafile = true;
  f.IMAG1MouseUp(f.IMAG4[2]);
  EXPECT_TRUE(platform::FileExists(chosen));
  EXPECT_EQ(Metafiles().count("HarvSim(4-2).EMF"), 0u);
  EXPECT_EQ(DialogsShown("グラフを保存しました。"), 2);
  EXPECT_NE(U(fw::LastStatusText).find("〔グラフ保存完了〕"), std::string::npos);
  EXPECT_FALSE(f.IMAG4[2]->Picture().isNull());  // drawn again

  // The frequency chart proposes its own name.
  f.ShowPage(5);
  f.BTN5Click();
  f.SBTN5_0Click();
  confirm = false;
  f.IMAG5_1MouseUp();
  EXPECT_EQ(asked, f.IMAG5_1);
  EXPECT_EQ(U(proposed), U(app::ResultPrefix + "(5-1981).EMF"));
}

}  // namespace
