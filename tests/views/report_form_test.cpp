// The report form on the sample case: the golden results of its calculation are copied into a
// result folder and screen 3 makes the report's page metafiles from them, as it does for the
// user. Then the form opens, builds its pages, switches modes, fits its preview and prints each
// page to the PDF printer, which is read back with poppler (text, and each image area compared
// with the metafile played by our own player).
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <QToolButton>
#include <QWheelEvent>
#include <QtTest/qtestspontaneevent.h>
#include <algorithm>
#include <cmath>

#include "model/results/page_metafiles.h"
#include "model/sim/run_state.h"
#include "app/ui/program_state.h"
#include "app/ui/screen3.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/drawing.h"
#include "framework/calc_store.h"
#include "framework/fake_status_bar.h"
#include "framework/file_names.h"
#include "framework/printing.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "report/band_report.h"
#include "report/pdf_pages.h"
#include "report/report_text.h"
#include "report/rpt_ctrls.h"
#include "report/ui/progress_form.h"
#include "support/test_support.h"
#include "views/report_content.h"
#include "views/report_form.h"
#include "views/report_layouts.h"
#include "views/report_layout_checks.h"
#include "views/report_pages.h"

namespace {

using testsupport::S;
using testsupport::U;

std::string Inside(const std::string& native) { return platform::ToInsidePath(native).value_or(""); }

class ReportFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    savedStore_ = fw::CalcData;
    ASSERT_TRUE(fw::LoadInputData(Inside(testsupport::SourceDir() + "/data/tree/CAL/HVS/TEST_HVS.HVS"), fw::CalcData));
    app::CalcFilePath = tf.Path("CAL/HVS/TEST_HVS.HVS");
    resultDir = tf.Path("CAL/HVS/") + fw::ResultFolderName();
    ASSERT_TRUE(platform::MakeFolders(resultDir));
    app::ResultPrefix = resultDir + "HarvSim";
    fw::ColorFileName = Inside(testsupport::SourceDir() + "/data/tree/DATA/COLOR/標準色.COL");
    fw::InstallPrintConfirmDialog(nullptr);  // the question goes to the scripted message box
    const std::string golden = Inside(testsupport::SourceDir() + "/tests/app/fixtures/golden/");
    std::vector<std::string> names = {"HarvSim(FULL).DAT", "HarvSim(1981-1995).MON", "HarvSim(1981-1995).YER"};
    for (int year = 1981; year <= 1995; ++year) names.push_back("HarvSim(" + std::to_string(year) + ").DAY");
    for (const auto& name : names) ASSERT_TRUE(platform::CopyFileBytes(golden + name, resultDir + name)) << name;
    // Screen 3 makes the report's metafiles the first time it opens.
    app::ClearPageRendered();
    {
      app::THARV3Form screen3;
      screen3.FormActivate();
      screen3.RefreshScreen();
    }
    ASSERT_TRUE(platform::FileExists(app::ResultPrefix + "(5).EMF"));
    ui.shown.clear();
  }
  void TearDown() override { fw::CalcData = savedStore_; }

  // The form as the Report command opens it (shown, without waiting).
  std::unique_ptr<views::THARVRPTForm> Open() {
    auto form = std::make_unique<views::THARVRPTForm>();
    form->show();
    return form;
  }

  std::vector<std::string> Folder() const {
    std::vector<platform::FolderEntry> entries;
    platform::ListFolder(resultDir, entries);
    std::vector<std::string> names;
    for (const auto& e : entries) names.push_back(e.name + " " + std::to_string(e.info.size));
    return names;
  }

  static std::string Caption(views::THARVRPTForm& form, int page, const std::string& line) {
    rpt::TRptLabel* label = views::FindRptLabel(form, page, line);
    return label ? label->Caption() : "<none>";
  }
  static std::string Bytes(rpt::TRptImage* image) {
    auto* mf = image ? dynamic_cast<const platform::TMetafile*>(image->Picture().Graphic()) : nullptr;
    return mf ? mf->Bytes() : std::string();
  }
  std::string File(const std::string& suffix) const {
    std::string bytes;
    EXPECT_TRUE(platform::ReadFileBytes(app::ResultPrefix + suffix, bytes)) << suffix;
    return bytes;
  }

  testsupport::FakeUi ui;
  testsupport::StatusBarScope status;
  testsupport::TempFolder tf;
  std::string resultDir;
  fw::StringList savedStore_;
};

TEST_F(ReportFormTest, OpensWithoutAPageAndBuildsEachPageOnceWhenItsTabIsChosen) {
  auto form = Open();
  EXPECT_EQ(form->SelectedPage(), 0);
  EXPECT_EQ(views::ReportPage, 0);
  EXPECT_FALSE(form->BBTN1->isEnabled());
  EXPECT_FALSE(form->RBTN_Z1->isEnabled());
  EXPECT_TRUE(status.bar.Showed(S("レポート作成〔プレビュー画面〕")));
  EXPECT_EQ(U(Caption(*form, 1, "1")), "");

  form->TAB1->click();
  EXPECT_EQ(views::ReportPage, 1);
  EXPECT_TRUE(form->BBTN1->isEnabled());
  EXPECT_TRUE(views::PageBuilt[1]);
  EXPECT_FALSE(views::PageBuilt[2]);
  const auto conditions = views::ConditionLines();
  for (int i = 1; i <= 9; ++i) EXPECT_EQ(Caption(*form, 1, std::to_string(i)), conditions[static_cast<size_t>(i)]) << i;
  EXPECT_EQ(Caption(*form, 1, "F"), "TEST_HVS.HVS");
  EXPECT_TRUE(U(Caption(*form, 1, "D")).ends_with(" 1/3"));
  EXPECT_EQ(form->Memo(1)->Lines(), views::YearlyTableLines(fw::ResultLines, 1));
  ASSERT_EQ(form->Memo(1)->Lines().size(), 18u);
  // The lowest, highest and average years with their daily graphs.
  EXPECT_EQ(U(Caption(*form, 1, "11")), "1985年 (最低降水年)");
  EXPECT_EQ(U(Caption(*form, 1, "12")), "1984年 (最高降水年)");
  EXPECT_EQ(U(Caption(*form, 1, "13")), "1981年 (平均降水年)");
  EXPECT_EQ(Bytes(form->Image(1, 1)), File("(1-1985).EMF"));
  EXPECT_EQ(Bytes(form->Image(1, 2)), File("(1-1984).EMF"));
  EXPECT_EQ(Bytes(form->Image(1, 3)), File("(1-1981).EMF"));

  // A page is built once per opening: a change made to it stays when the tab is chosen again.
  views::FindRptLabel(*form, 1, "9")->SetCaption("kept");
  form->TAB3->click();
  EXPECT_TRUE(views::PageBuilt[3]);
  EXPECT_EQ(U(Caption(*form, 3, "1")), "気象観測地点 ： 浜松");
  EXPECT_TRUE(U(Caption(*form, 3, "D")).ends_with(" 3/3"));
  EXPECT_TRUE(U(Caption(*form, 3, "01")).starts_with("1981年                   13.2 ℃"));
  EXPECT_TRUE(U(Caption(*form, 3, "16")).starts_with("15年平均"));
  EXPECT_EQ(Bytes(form->Image(3, 1)), File("(5).EMF"));
  form->TAB1->click();
  EXPECT_EQ(Caption(*form, 1, "9"), "kept");
}

TEST_F(ReportFormTest, ModesRebuildTheirPage) {
  auto form = Open();
  form->TAB1->click();
  form->RBTN1_2->click();
  EXPECT_EQ(form->ReportMode1, 2);
  rpt::TRptImage* daily = form->Image(1, 1);
  EXPECT_TRUE(daily->isHidden());
  EXPECT_FALSE(daily->IsShown());  // neither shown nor printed
  EXPECT_FALSE(views::FindRptLabel(*form, 1, "11")->IsShown());
  EXPECT_EQ(Bytes(form->Image(1, 2)), File("(2).EMF"));
  EXPECT_EQ(Bytes(form->Image(1, 3)), File("(3).EMF"));
  EXPECT_NEAR(static_cast<double>(form->Image(1, 2)->Size().Native(rpt::TRptPrintableSize::kTop)), 640 * 254.0 / 96, 1e-6);
  form->RBTN1_1->click();
  EXPECT_TRUE(form->Image(1, 1)->IsShown());
  EXPECT_NEAR(static_cast<double>(form->Image(1, 2)->Size().Native(rpt::TRptPrintableSize::kTop)), 616 * 254.0 / 96, 1e-6);

  form->TAB2->click();
  EXPECT_EQ(Bytes(form->Image(2, 1)), File("(4-1).EMF"));
  EXPECT_EQ(Bytes(form->Image(2, 2)), File("(4-2).EMF"));
  EXPECT_EQ(U(Caption(*form, 2, "12")), "");
  form->RBTN2_3->click();
  EXPECT_EQ(Bytes(form->Image(2, 2)), File("(4-4).EMF"));
  EXPECT_EQ(form->Memo(2)->Lines().back(), views::ReportAverages(fw::ResultLines, 3));
  EXPECT_EQ(Caption(*form, 2, "12"), views::Findings(fw::ResultLines, 3)[1]);
  EXPECT_TRUE(U(Caption(*form, 2, "11")).starts_with("所見１：年間78.2m3"));
}

TEST_F(ReportFormTest, MissingFilesLeaveWhiteImagesAndEmptyTablesAndWriteNothing) {
  ASSERT_TRUE(platform::RemoveFile(app::ResultPrefix + "(1981-1995).YER"));
  ASSERT_TRUE(platform::RemoveFile(app::ResultPrefix + "(4-1).EMF"));
  const std::vector<std::string> before = Folder();
  auto form = Open();
  form->TAB2->click();
  EXPECT_TRUE(form->Memo(2)->Lines().empty());
  EXPECT_EQ(Caption(*form, 2, "11"), "");
  EXPECT_EQ(Caption(*form, 2, "12"), "");
  // The missing graph is a white picture of the image's size; the other graph is there.
  auto* blank = dynamic_cast<const platform::TBitmapGraphic*>(form->Image(2, 1)->Picture().Graphic());
  ASSERT_NE(blank, nullptr);
  EXPECT_EQ(blank->Width(), 350);
  EXPECT_EQ(blank->Height(), 360);
  const platform::Dib& dib = blank->Bitmap();
  bool white = true;
  for (int y = 0; y < dib.height && white; ++y)
    for (int x = 0; x < dib.width && white; ++x) white = dib.Pixel(x, y) == 0xFFFFFF;
  EXPECT_TRUE(white);
  EXPECT_EQ(Bytes(form->Image(2, 2)), File("(4-2).EMF"));
  form->TAB1->click();
  form->TAB3->click();
  EXPECT_TRUE(form->Memo(1)->Lines().empty());
  EXPECT_EQ(U(Caption(*form, 1, "11")), "19??年 (最低降水年)");
  EXPECT_EQ(Caption(*form, 3, "01"), views::WeatherLineCaption(1));  // no figures
  EXPECT_EQ(Folder(), before);
}

TEST_F(ReportFormTest, PreviewKeepsTheA4ProportionAndShowsTheWholePageAtFullSize) {
  auto form = Open();
  form->TAB1->click();
  form->resize(616, 968);  // a page area of 600 x 900
  EXPECT_EQ(form->PageAreaSize(), QSize(600, 848));
  EXPECT_EQ(form->size(), QSize(616, 916));
  EXPECT_EQ(form->RPT1->Zoom(), 76);
  EXPECT_EQ(form->RBTN_Z2->text(), QString::fromUtf8("76％縮小"));
  EXPECT_EQ(form->SBOX[1]->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
  form->RBTN_Z1->click();
  EXPECT_EQ(form->RPT1->Zoom(), 100);
  EXPECT_EQ(form->RPT2->Zoom(), 100);
  EXPECT_EQ(form->SBOX[1]->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
  // A wheel turn towards the user over the page (delivered as the window system delivers it,
  // which lets Qt hand an unused turn to the parent) scrolls the page down.
  QApplication::processEvents();
  QScrollBar* bar = form->SBOX[1]->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  EXPECT_EQ(bar->value(), 0);
  const QPointF over(100, 100);
  QWheelEvent wheel(over, form->RPT1->mapToGlobal(over), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QSpontaneKeyEvent::setSpontaneous(&wheel);
  qApp->notify(form->RPT1, &wheel);
  EXPECT_GT(bar->value(), 0);
  form->RBTN_Z2->click();
  EXPECT_EQ(form->RPT1->Zoom(), 76);
}

}  // namespace

namespace {

// Mean difference of grey levels between two pictures of the same size, compared over blocks of
// 6 x 6 pixels (thin lines and text edges, rasterised differently by the two renderers, fall
// within a block).
double BlockDifference(const QImage& a, const QImage& b) {
  constexpr int kBlock = 6;
  double total = 0;
  int blocks = 0;
  for (int by = 0; by + kBlock <= std::min(a.height(), b.height()); by += kBlock) {
    for (int bx = 0; bx + kBlock <= std::min(a.width(), b.width()); bx += kBlock) {
      double sa = 0, sb = 0;
      for (int y = by; y < by + kBlock; ++y)
        for (int x = bx; x < bx + kBlock; ++x) sa += qGray(a.pixel(x, y)), sb += qGray(b.pixel(x, y));
      total += std::fabs(sa - sb) / (kBlock * kBlock);
      ++blocks;
    }
  }
  return blocks ? total / blocks : 255;
}

// The metafile file played by our player into a white picture of `size`.
QImage Played(const std::string& file, QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  std::string bytes;
  if (platform::ReadFileBytes(file, bytes)) {
    platform::QtDc dc(image);
    platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, size.width(), size.height()});
  }
  return image;
}

}  // namespace

TEST_F(ReportFormTest, EachPagePrintsToPdfWithItsTextsAndPictures) {
  auto form = Open();
  constexpr int kDpi = 150;
  struct Page {
    int page;
    std::vector<const char*> texts;
  } pages[] = {
      {1, {"TEST_HVS.HVS", "1/3", "計算名", "戸建住宅", "平均値", "1985年 (最低降水年)"}},
      {2, {"2/3", "計算名", "平均値", "所見１：年間78.2m3の水使用量"}},
      {3, {"3/3", "気象観測地点", "1981年", "2,536", "1995年", "15年平均", "2,535"}},
  };
  for (const Page& p : pages) {
    SCOPED_TRACE(p.page);
    const std::string pdf = tf.Path("page" + std::to_string(p.page) + ".pdf");
    rpttest::PdfPrinterScope printer(pdf);
    (p.page == 1 ? form->TAB1 : p.page == 2 ? form->TAB2 : form->TAB3)->click();
    status.bar.panel0History.clear();
    form->BBTN1->click();
    EXPECT_TRUE(status.bar.Showed(S("〔印刷完了〕")));
    ASSERT_EQ(rpttest::PdfPages(pdf), 1);
    const std::string text = rpttest::PdfText(pdf);
    for (const char* piece : p.texts) EXPECT_NE(text.find(piece), std::string::npos) << piece << "\n" << text;
    // Every image area holds its metafile as our player draws it; the page's other metafiles
    // do not match it.
    const QImage page = rpttest::RenderPdfPage(pdf, 1, kDpi, "report-form-page" + std::to_string(p.page));
    ASSERT_FALSE(page.isNull());
    int number = 0;
    for (const views::ReportControlLayout& c : views::PlacedControls(p.page, 1)) {
      if (c.kind != views::ReportControlKind::Image) continue;
      ++number;
      auto px = [](double tenths) { return static_cast<int>(std::lround(tenths / 254 * kDpi)); };
      const QRect area(px(c.left), px(c.top), px(c.width), px(c.height));
      const QImage printed = page.copy(area);
      const std::string file =
          views::ReportImageFile(app::ResultPrefix, p.page, 1, number, app::RepresentativeYears);
      const double same = BlockDifference(printed, Played(file, area.size()));
      const double white = BlockDifference(printed, Played("", area.size()));
      EXPECT_LT(same, 8) << c.name;
      EXPECT_GT(white, 3 * same) << c.name;
      if (p.page == 1) {  // the three daily graphs are told apart
        const std::string other = views::ReportImageFile(app::ResultPrefix, 1, 1, number % 3 + 1, app::RepresentativeYears);
        const double cross = BlockDifference(printed, Played(other, area.size()));
        EXPECT_GT(cross, 2 * same) << c.name;
      }
    }
  }
  // The question was asked once for the three prints.
  EXPECT_EQ(std::count_if(ui.shown.begin(), ui.shown.end(),
                          [](const auto& s) { return s.text.find(S("でいいですか？")) != std::string::npos; }),
            1);
}

TEST_F(ReportFormTest, AMissingMetafilePrintsWhiteAndADeclinedQuestionPrintsNothing) {
  ASSERT_TRUE(platform::RemoveFile(app::ResultPrefix + "(4-1).EMF"));
  auto form = Open();
  form->TAB2->click();
  const std::string pdf = tf.Path("page2.pdf");
  rpttest::PdfPrinterScope printer(pdf);
  ui.answers.push_back(platform::ModalResult::No);
  form->BBTN1->click();
  EXPECT_FALSE(platform::FileExists(pdf));
  EXPECT_FALSE(status.bar.Showed(S("〔印刷")));
  form->BBTN1->click();  // asked again, and answered yes
  EXPECT_TRUE(status.bar.Showed(S("〔印刷完了〕")));
  const QImage page = rpttest::RenderPdfPage(pdf, 1, 150, "report-form-missing");
  ASSERT_FALSE(page.isNull());
  const views::ReportControlLayout c = views::PlacedControls(2, 1)[0].name == "RPTIMAG2_1" ? views::PlacedControls(2, 1)[0] : [] {
    for (const auto& l : views::PlacedControls(2, 1))
      if (l.name == "RPTIMAG2_1") return l;
    return views::ReportControlLayout{};
  }();
  auto px = [](double tenths) { return static_cast<int>(std::lround(tenths / 254 * 150)); };
  const QRect area(px(c.left) + 2, px(c.top) + 2, px(c.width) - 4, px(c.height) - 4);
  const QImage printed = page.copy(area);
  int dark = 0;
  for (int y = 0; y < printed.height(); ++y)
    for (int x = 0; x < printed.width(); ++x) dark += qGray(printed.pixel(x, y)) < 250;
  EXPECT_EQ(dark, 0);
}

TEST_F(ReportFormTest, CancelOnTheProgressFormClaimsNoPrint) {
  auto form = Open();
  form->TAB1->click();
  const std::string pdf = tf.Path("page1.pdf");
  rpttest::PdfPrinterScope printer(pdf);
  // The user clicks Cancel as soon as the progress form is up; the click is taken by the first
  // pump that takes user input.
  bool cancelled = false;
  ui.onPump = [&](platform::PumpScope scope) {
    if (scope != platform::PumpScope::WithUserInput || cancelled) return;
    for (QWidget* w : QApplication::topLevelWidgets()) {
      auto* progress = qobject_cast<rpt::TRptProgressForm*>(w);
      if (!progress || !progress->isVisible()) continue;
      progress->CancelButton->click();
      cancelled = true;
    }
  };
  form->BBTN1->click();
  EXPECT_TRUE(cancelled);
  EXPECT_TRUE(status.bar.Showed(S("〔印刷中止〕")));
  EXPECT_FALSE(status.bar.Showed(S("〔印刷完了〕")));
  EXPECT_FALSE(platform::FileExists(pdf));
}

TEST_F(ReportFormTest, ClosingThePdfFileDialogClaimsNoPrintAndShowsNoError) {
  auto form = Open();
  form->TAB1->click();
  rpttest::PdfPrinterScope printer("");  // no file chosen yet: the PDF printer asks for one
  // The user closes the file dialog as soon as it is up.
  bool closed = false;
  QTimer poll;
  poll.setInterval(10);
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) {
      dialog->reject();
      closed = true;
    }
  });
  poll.start();
  form->BBTN1->click();
  EXPECT_TRUE(closed);
  EXPECT_TRUE(status.bar.Showed(S("〔印刷中止〕")));
  EXPECT_FALSE(status.bar.Showed(S("〔印刷完了〕")));
  // Only the print question was shown, no error.
  ASSERT_EQ(ui.shown.size(), 1u);
  EXPECT_NE(ui.shown[0].text.find(S("でいいですか？")), std::string::npos);
  EXPECT_TRUE(form->isEnabled());
}

TEST_F(ReportFormTest, AFailedPrintShowsItsReasonAndClaimsNoPrint) {
  auto form = Open();
  form->TAB3->click();
  const std::string taken = tf.Path("taken");  // a folder where the PDF file should go
  ASSERT_TRUE(platform::MakeFolder(taken));
  rpttest::PdfPrinterScope printer(taken);
  form->BBTN1->click();
  EXPECT_TRUE(status.bar.Showed(S("〔印刷中止〕")));
  EXPECT_FALSE(status.bar.Showed(S("〔印刷完了〕")));
  ASSERT_FALSE(ui.shown.empty());
  EXPECT_NE(ui.shown.back().text.find(taken), std::string::npos) << U(ui.shown.back().text);
  EXPECT_TRUE(form->isEnabled());
}

TEST_F(ReportFormTest, BuiltPagesKeepTheirControlsInsideTheMarginsAndApart) {
  auto form = Open();
  struct Mode {
    int page, mode;
    QRadioButton* radio;
  } modes[] = {{1, 1, form->RBTN1_1}, {1, 2, form->RBTN1_2}, {2, 1, form->RBTN2_1},
               {2, 2, form->RBTN2_2}, {2, 3, form->RBTN2_3}, {3, 1, nullptr}};
  for (const Mode& m : modes) {
    SCOPED_TRACE("page " + std::to_string(m.page) + " mode " + std::to_string(m.mode));
    (m.page == 1 ? form->TAB1 : m.page == 2 ? form->TAB2 : form->TAB3)->click();
    if (m.radio) m.radio->click();
    // The controls that print, where the report holds them after their texts were set.
    std::vector<views::ReportControlLayout> shown;
    for (rpt::TRptPrintable* p : form->Report(m.page)->findChildren<rpt::TRptPrintable*>()) {
      if (!p->IsShown()) continue;
      views::ReportControlLayout c;
      c.name = p->objectName().toStdString();
      c.left = static_cast<double>(p->Size().Native(rpt::TRptPrintableSize::kLeft));
      c.top = static_cast<double>(p->Size().Native(rpt::TRptPrintableSize::kTop));
      c.width = static_cast<double>(p->Size().Native(rpt::TRptPrintableSize::kWidth));
      c.height = static_cast<double>(p->Size().Native(rpt::TRptPrintableSize::kHeight));
      shown.push_back(c);
    }
    EXPECT_EQ(shown.size(), views::PlacedControls(m.page, m.mode).size());
    reporttest::ExpectInsideAndApart(shown);
  }
}

// Each of the three built pages, filled with the sample's results, is written as a stored
// description, read back and written again unchanged; every control of its layout comes back
// at its place.
TEST_F(ReportFormTest, EachPageReadsBackFromItsStoredDescription) {
  auto form = Open();
  for (int page = 1; page <= 3; ++page) {
    SCOPED_TRACE("page " + std::to_string(page));
    (page == 1 ? form->TAB1 : page == 2 ? form->TAB2 : form->TAB3)->click();
    const std::string text = rpt::WriteReport(*form->Report(page));
    QWidget holder;
    rpt::ReportTextError error;
    QObject* back = rpt::ReadReport(text, "RPT" + std::to_string(page) + ".txt", &holder, error);
    ASSERT_NE(back, nullptr) << error.Text();
    EXPECT_EQ(rpt::WriteReport(*back), text);
    for (const views::ReportControlLayout& c : views::ReportLayout(page)) {
      auto* original = form->Report(page)->findChild<rpt::TRptPrintable*>(QString::fromStdString(c.name));
      auto* copy = back->findChild<rpt::TRptPrintable*>(QString::fromStdString(c.name));
      ASSERT_NE(original, nullptr) << c.name;
      ASSERT_NE(copy, nullptr) << c.name;
      for (int edge : {rpt::TRptPrintableSize::kLeft, rpt::TRptPrintableSize::kTop,
                       rpt::TRptPrintableSize::kWidth, rpt::TRptPrintableSize::kHeight}) {
        EXPECT_NEAR(copy->Size().Native(edge), original->Size().Native(edge), 1e-9) << c.name;
      }
      if (auto* label = qobject_cast<rpt::TRptLabel*>(copy)) {
        EXPECT_EQ(label->Caption(), qobject_cast<rpt::TRptLabel*>(original)->Caption()) << c.name;
      }
    }
  }
}
