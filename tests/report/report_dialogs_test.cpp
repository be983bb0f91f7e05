// The report library's small windows: the print progress form, the print dialog component (with
// the printer setup of a report) and the text-search dialog.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QSpinBox>
#include <QTimer>
#include <QToolButton>
#include <tuple>

#include "platform/cp932.h"
#include "platform/qt/printer_qt.h"
#include "report/band_report.h"
#include "report/rpt_printer.h"
#include "report/ui/print_dialog.h"
#include "report/ui/progress_form.h"
#include "report/ui/search_dialog.h"
#include "fake_printers.h"
#include "report_fixtures.h"

using namespace rpt;
using rpttest::FakePrinters;

namespace {

TEST(ProgressForm, MovesOnlyAtMultiplesOfFiveAndCancelsItsPrinter) {
  TRptPrinter printer(nullptr);
  TRptProgressForm form(&printer);
  EXPECT_EQ(form.windowTitle(), "Printing progress");
  EXPECT_EQ(form.size(), QSize(149, 97));
  EXPECT_TRUE(form.windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_EQ(form.windowModality(), Qt::ApplicationModal);
  EXPECT_EQ(form.findChild<QProgressBar*>("Gauge")->geometry(), QRect(16, 18, 114, 16));
  EXPECT_EQ(form.findChild<QLabel*>("Info")->geometry(), QRect(0, 44, 145, 13));
  EXPECT_EQ(form.findChild<QPushButton*>("CancelButton")->geometry(), QRect(36, 60, 75, 25));
  printer.SetNotifiedWindow(&form);
  printer.SetProgress(3);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(form.Gauge->value(), 0);
  EXPECT_EQ(form.Info->text(), "");
  printer.SetProgress(100);
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(form.Gauge->value(), 100);
  EXPECT_EQ(form.Info->text(), "100%  Completed");
  EXPECT_FALSE(printer.Cancelled());
  form.CancelButton->click();
  EXPECT_TRUE(printer.Cancelled());
}

class PrintDialogTest : public ::testing::Test {
 protected:
  PrintDialogTest() {
    fake.printers.push_back(FakePrinters::FullPrinter("First"));
    fake.printers.push_back(FakePrinters::FullPrinter("Second"));
    fake.printers[0].mode.copies = 3;
  }
  ~PrintDialogTest() override { platform::InstallPrintDialogHook(nullptr); }
  rpttest::LocaleScope locale{false, false};
  FakePrinters fake;
};

TEST_F(PrintDialogTest, ChoiceComesBackFromTheDeviceModeAndOneCopyLeavesThePrintersCount) {
  platform::PrintDialogData shown;
  platform::InstallPrintDialogHook([&](platform::PrintDialogData& data) {
    shown = data;
    data.printer = "Second";
    data.mode.paperSize = 11;
    data.mode.orientation = platform::DMORIENT_LANDSCAPE;
    data.mode.duplex = platform::DMDUP_VERTICAL;
    data.mode.defaultSource = platform::DMBIN_MANUAL;
    data.mode.copies = 5;
    data.copies = 1;  // the printer takes the copies in its device mode
    data.range = platform::PrintDialogData::kPageNumbers;
    data.fromPage = 2;
    data.toPage = 4;
    return true;
  });
  platform::Printer printer;  // a private printer object on "First"
  TRptPrintDialog dialog;
  dialog.SetPrinter(&printer);
  dialog.MinPage = 1;
  dialog.MaxPage = 9;
  dialog.Options = {TPrintDialogOption::poPageNums};
  dialog.Orientation = 1;
  ASSERT_TRUE(dialog.RunDialog());
  EXPECT_EQ(shown.printer, "First");
  EXPECT_EQ(shown.maxPage, 9);
  EXPECT_TRUE(shown.allowPageNumbers);
  EXPECT_FALSE(shown.allowSelection);
  EXPECT_EQ(printer.Device(), "Second");
  platform::DeviceMode mode;
  ASSERT_TRUE(printer.GetMode(mode));
  EXPECT_EQ(mode.paperSize, 11);
  EXPECT_EQ(dialog.Copies(), 5);
  EXPECT_EQ(dialog.PaperSize, 11);
  EXPECT_EQ(dialog.Orientation, 2);
  EXPECT_TRUE(dialog.Duplex);
  EXPECT_EQ(dialog.DuplexCode, platform::DMDUP_VERTICAL);
  EXPECT_EQ(dialog.OutputBin, platform::DMBIN_MANUAL);
  EXPECT_EQ(dialog.PrintRange, TPrintRange::prPageNums);
  EXPECT_EQ(dialog.FromPage, 2);
  EXPECT_EQ(dialog.ToPage, 4);
  EXPECT_EQ(dialog.FieldMask(), fake.printers[1].mode.fields);
}

TEST_F(PrintDialogTest, CancelChangesNothingAndSetupKeepsTheChoiceInTheReport) {
  TBandReport report;
  report.PrinterSettings().Copies = 2;
  platform::InstallPrintDialogHook([](platform::PrintDialogData&) { return false; });
  EXPECT_FALSE(report.PrinterSetup());
  EXPECT_EQ(report.Tag, 1);
  EXPECT_EQ(report.PrinterSettings().Copies, 2);
  EXPECT_EQ(report.Page().PaperSize(), TRptPaperSize::A4);
  platform::InstallPrintDialogHook([](platform::PrintDialogData& data) {
    data.printer = "Second";
    data.mode.paperSize = PaperCode(TRptPaperSize::B5);
    data.mode.orientation = platform::DMORIENT_LANDSCAPE;
    data.mode.defaultSource = platform::DMBIN_LOWER;
    data.copies = 4;
    data.range = platform::PrintDialogData::kAllPages;
    return true;
  });
  EXPECT_TRUE(report.PrinterSetup());
  EXPECT_EQ(report.Tag, 0);
  const TBandReportPrinterSettings& s = report.PrinterSettings();
  EXPECT_EQ(s.Copies, 4);
  EXPECT_EQ(s.PrinterIndex, 1);
  EXPECT_EQ(s.OutputBin, TRptBin::Lower);
  EXPECT_EQ(report.Page().PaperSize(), TRptPaperSize::B5);
  EXPECT_EQ(report.Page().Orientation(), TRptOrientation::Landscape);
  EXPECT_EQ(s.FirstPage, 0);  // no page range chosen
  EXPECT_EQ(report.DeviceSettings().PaperSize(), TRptPaperSize::B5);
}

// The setup dialog shows the paper the report prints on: its own where the printer offers it,
// else the printer's.
TEST_F(PrintDialogTest, SetupShowsThePaperTheReportPrintsOn) {
  fake.printers[0].papers = {1, 5, 9};  // Letter, Legal, A4; the current paper is A4
  fake.printers[1].papers = {9};
  for (const auto& [printer, paper, shownCode] : {std::tuple{0, TRptPaperSize::Legal, 5},
                                                 std::tuple{1, TRptPaperSize::Legal, 9},
                                                 std::tuple{0, TRptPaperSize::A4, 9}}) {
    SCOPED_TRACE(printer);
    platform::Printer::Global().SetIndex(printer);
    TBandReport report;
    report.Page().SetPaperSize(paper);
    int shown = 0;
    platform::InstallPrintDialogHook([&](platform::PrintDialogData& data) {
      shown = data.mode.paperSize;
      return false;
    });
    EXPECT_FALSE(report.PrinterSetup());
    EXPECT_EQ(shown, shownCode);
    EXPECT_EQ(report.Page().PaperSize(), paper);
  }
  platform::Printer::Global().SetIndex(0);
}

// A bin code that names two bins (1: First and Upper, 14: Cassette and Last) is taken as the
// first of them, as reading a device mode takes it.
TEST_F(PrintDialogTest, SetupTakesTheFirstBinOfACode) {
  const std::pair<int, TRptBin> cases[] = {
      {1, TRptBin::First}, {14, TRptBin::Cassette}, {platform::DMBIN_LOWER, TRptBin::Lower}};
  for (auto [code, bin] : cases) {
    SCOPED_TRACE(code);
    TBandReport report;
    platform::InstallPrintDialogHook([code = code](platform::PrintDialogData& data) {
      data.mode.defaultSource = code;
      return true;
    });
    ASSERT_TRUE(report.PrinterSetup());
    EXPECT_EQ(report.PrinterSettings().OutputBin, bin);
    EXPECT_EQ(report.DeviceSettings().OutputBin(), bin);
  }
}

// The window itself, answered as a user would: centred across the screen, a third of the free
// height from the top, offering what the PDF printer's device mode supports.
TEST(PrintDialogWindow, PlacedAndEnabledByTheDeviceMode) {
  rpttest::LocaleScope locale{false, true};
  platform::InstallQtPrinting();
  auto& qt = platform::QtPrinterService::Instance();
  ASSERT_TRUE(qt.SelectPrinter(platform::kPdfPrinterName));
  platform::PrintDialogData data;
  data.printer = platform::kPdfPrinterName;
  qt.DefaultMode(data.printer, data.mode);
  data.allowPageNumbers = true;
  data.minPage = 1;
  data.maxPage = 3;
  data.fromPage = 1;
  data.toPage = 3;
  int shows = 0, closes = 0;
  data.onShow = [&] { ++shows; };
  data.onClose = [&] { ++closes; };
  QRect geometry, screen;
  bool copiesEnabled = true, paperEnabled = false, orientationEnabled = false, duplexEnabled = true;
  QTimer::singleShot(0, [&] {
    QWidget* w = QApplication::activeModalWidget();
    ASSERT_NE(w, nullptr);
    geometry = w->frameGeometry();
    screen = w->screen()->availableGeometry();
    copiesEnabled = w->findChild<QSpinBox*>("CopiesEdit")->isEnabled();
    paperEnabled = w->findChild<QComboBox*>("PaperCombo")->isEnabled();
    orientationEnabled = w->findChild<QComboBox*>("OrientationCombo")->isEnabled();
    duplexEnabled = w->findChild<QComboBox*>("DuplexCombo")->isEnabled();
    auto* orientation = w->findChild<QComboBox*>("OrientationCombo");
    orientation->setCurrentIndex(1);
    w->findChild<QSpinBox*>("ToEdit")->setValue(2);
    w->findChild<QWidget*>("PagesRadio")->setProperty("checked", true);
    w->findChild<QDialogButtonBox*>("Buttons")->button(QDialogButtonBox::Ok)->click();
  });
  ASSERT_TRUE(qt.PrintDialog(data));
  EXPECT_EQ(shows, 1);
  EXPECT_EQ(closes, 1);
  EXPECT_NEAR(geometry.left(), screen.left() + (screen.width() - geometry.width()) / 2, 2);
  EXPECT_NEAR(geometry.top(), screen.top() + (screen.height() - geometry.height()) / 3, 2);
  EXPECT_FALSE(copiesEnabled);
  EXPECT_TRUE(paperEnabled);
  EXPECT_TRUE(orientationEnabled);
  EXPECT_FALSE(duplexEnabled);
  EXPECT_EQ(data.mode.orientation, platform::DMORIENT_LANDSCAPE);
  EXPECT_EQ(data.range, platform::PrintDialogData::kPageNumbers);
  EXPECT_EQ(data.toPage, 2);
  platform::InstallPrinterService(nullptr);
}

TEST(SearchDialog, TextsAndWhichButtonClosedIt) {
  TSearchDlg dialog;
  EXPECT_EQ(dialog.windowTitle(), "Search for Text");
  EXPECT_EQ(dialog.size(), QSize(305, 118));
  EXPECT_EQ(dialog.Label1->text(), "Search Text");
  EXPECT_EQ(dialog.CheckBox1->text(), "Match case");
  EXPECT_EQ(dialog.SpeedButton2->text(), "Search");
  EXPECT_EQ(dialog.SpeedButton1->text(), "Cancel");
  QTimer::singleShot(0, [&] {
    dialog.Edit1->setText(QString::fromUtf8("雨水 rain"));
    dialog.CheckBox1->setChecked(true);
    dialog.SpeedButton2->click();
  });
  dialog.exec();
  EXPECT_FALSE(dialog.Cancelled());
  EXPECT_EQ(dialog.SearchText(), platform::J("雨水 rain"));
  EXPECT_TRUE(dialog.MatchCase());
  QTimer::singleShot(0, [&] { dialog.SpeedButton1->click(); });
  dialog.exec();
  EXPECT_TRUE(dialog.Cancelled());
}

}  // namespace
