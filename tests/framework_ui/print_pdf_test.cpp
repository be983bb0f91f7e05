// Printing through the Qt printers to the built-in PDF printer, checked with poppler's tools,
// and the print confirmation form.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QButtonGroup>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "framework/ui/hardcopy.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/printer.h"
#include "platform/qt/printer_qt.h"
#include "support/test_support.h"

using namespace fw;
using testsupport::S;

namespace {

// Pictures are kept to be looked at only in the folder HARVSIM_KEEP_PICTURES names.
void Keep(const QImage& image, const std::string& name) {
  const QString folder = qEnvironmentVariable("HARVSIM_KEEP_PICTURES");
  if (!folder.isEmpty()) image.save(folder + QString::fromStdString("/" + name + ".png"));
}

class PdfPrintTest : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::InstallQtPrinting();
    InstallPrintConfirmDialog(nullptr);  // questions go to the scripted message box
    ASSERT_TRUE(platform::QtPrinterService::Instance().SelectPrinter(platform::kPdfPrinterName));
    savedDatDir_ = DatDir;
    DatDir = *platform::ToInsidePath(testsupport::BinDir() + "/DATA/DAT/");
    pdf_ = tmp.Path("out.pdf");
    platform::CurrentPrinterService().SetPdfOutputFile(pdf_);
    ResetPrintKind('D');
  }
  void TearDown() override {
    DatDir = savedDatDir_;
    platform::CurrentPrinterService().SetPdfOutputFile("");
    platform::InstallPrinterService(nullptr);
  }
  std::string PdfNative() const { return *platform::ToNativePath(pdf_); }

  testsupport::TempFolder tmp;
  testsupport::FakeUi ui;
  std::string pdf_;
  std::string savedDatDir_;
};

}  // namespace

TEST_F(PdfPrintTest, PrinterInfoOfThePdfPrinterIsA4) {
  ReadPrinterInfo(true);
  const TPrinterInfo& p = PrinterInfoType;
  EXPECT_EQ(p.DeviceName, "PDF");
  EXPECT_TRUE(p.IsPDF);
  EXPECT_EQ(p.PhysicalWidthMM, 210);
  EXPECT_EQ(p.PhysicalHeightMM, 297);
  EXPECT_EQ(p.PixelsPerInchX, 600);
  EXPECT_EQ(p.LeftMargin, 100);
  EXPECT_EQ(p.PrintableWidth + p.LeftMargin + p.RightMargin, p.PhysicalWidth);
  EXPECT_NE(p.PaperLine.find("(210x297"), std::string::npos) << testsupport::U(p.PaperLine);
  EXPECT_TRUE(Print_DataType.Portrait);
  EXPECT_EQ(PrintConfirmText(), S("PDF（ＰＤＦファイル）でいいですか？"));
}

TEST_F(PdfPrintTest, TextFileBecomesAPdfThatRenders) {
  std::vector<std::string> lines;
  for (int i = 1; i <= 120; ++i) lines.push_back(S("雨水利用 line ") + std::to_string(i));
  std::string path = tmp.Path("report.txt");
  ASSERT_TRUE(platform::WriteTextLinesAtomic(path, lines));
  ASSERT_TRUE(PrintTextFile(path, true));
  ASSERT_TRUE(platform::FileExists(pdf_));
  EXPECT_FALSE(platform::FileExists(pdf_ + ".part"));
  std::string info = testsupport::CommandOutput("pdfinfo '" + PdfNative() + "'");
  ASSERT_NE(info.find("Pages:"), std::string::npos) << info;
  EXPECT_EQ(std::atoi(info.c_str() + info.find("Pages:") + 6), 2) << info;
  std::string text = testsupport::CommandOutput("pdftotext -layout '" + PdfNative() + "' -");
  EXPECT_NE(text.find("1:雨水利用 line 1"), std::string::npos) << text.substr(0, 600);
  EXPECT_NE(text.find("120:雨水利用 line 120"), std::string::npos);
  EXPECT_NE(text.find("テキストファイル"), std::string::npos);
  EXPECT_NE(text.find(" 印刷"), std::string::npos);
  const std::string png = tmp.native() + "page";
  ASSERT_EQ(std::system(("pdftoppm -png -r 60 '" + PdfNative() + "' '" + png + "'").c_str()), 0);
  QImage page(QString::fromStdString(png + "-1.png"));
  ASSERT_FALSE(page.isNull());
  EXPECT_NEAR(page.width(), 496, 2);  // 210 mm at 60 dpi
  Keep(page, "harvsim-print-textfile");
}

// A print replaces the old PDF by renaming the new one over it; when that rename fails, the old
// PDF is still there, whole.
TEST_F(PdfPrintTest, AFailedReplaceKeepsTheOldPdf) {
  ASSERT_TRUE(platform::WriteFileBytesAtomic(pdf_, "old pdf"));
  std::unique_ptr<platform::PrintJob> job = platform::CurrentPrinterService().BeginDoc("title");
  ASSERT_NE(job, nullptr);
  job->Dc().TextOutA(100, 100, "text");
  // The finished file cannot take the old one's place: a folder stands where it is written.
  const std::filesystem::path part = PdfNative() + ".part";
  std::filesystem::remove(part);
  std::filesystem::create_directory(part);
  std::ofstream(part / "x") << "x";
  EXPECT_FALSE(job->End());
  std::string bytes;
  ASSERT_TRUE(platform::ReadFileBytes(pdf_, bytes));
  EXPECT_EQ(bytes, "old pdf");
  std::filesystem::remove_all(part);

  // A print that works replaces it.
  job = platform::CurrentPrinterService().BeginDoc("title");
  ASSERT_NE(job, nullptr);
  job->Dc().TextOutA(100, 100, "text");
  EXPECT_TRUE(job->End());
  ASSERT_TRUE(platform::ReadFileBytes(pdf_, bytes));
  EXPECT_EQ(bytes.substr(0, 5), "%PDF-");
  EXPECT_FALSE(std::filesystem::exists(part));
}

TEST_F(PdfPrintTest, ConfirmationFormLayoutAndAnswer) {
  ReadPrinterInfo(false);
  PrinterInfoType.HardCopyKind = 1;
  {
    TPRYNForm form;
    EXPECT_EQ(form.height(), 217);
    EXPECT_FALSE(form.RADG1->isHidden());
    EXPECT_TRUE(form.SBTN1->isEnabled());
    EXPECT_EQ(form.LBL1->text().toStdString(), "PDF（ＰＤＦファイル）でいいですか？");
    QTimer::singleShot(0, &form, [&form] {
      form.Items->button(1)->click();
      form.BTN1->click();
    });
    form.exec();
    EXPECT_TRUE(DialogYes);
    EXPECT_FALSE(DialogCancel);
    EXPECT_EQ(Input.SelectedNo, 2);
  }
  PrinterInfoType.HardCopyKind = -1;
  TPRYNForm plain;
  EXPECT_EQ(plain.height(), 118);
  EXPECT_TRUE(plain.RADG1->isHidden());
  EXPECT_FALSE(plain.SBTN1->isEnabled());
  QTimer::singleShot(0, &plain, [&plain] { plain.BTN2->click(); });
  plain.exec();
  EXPECT_FALSE(DialogYes);
  EXPECT_TRUE(DialogCancel);
  EXPECT_EQ(Input.SelectedNo, 0);
}

TEST_F(PdfPrintTest, HardCopyOfAWindowPrintsItsPicture) {
  QWidget window;
  window.resize(240, 120);
  window.setAutoFillBackground(true);
  QPalette pal = window.palette();
  pal.setColor(QPalette::Window, Qt::red);
  window.setPalette(pal);
  platform::RemoveFile(HardCopyPicturePath());
  ASSERT_TRUE(PrintFormHardCopy(&window));  // the message box answers yes: proportional
  EXPECT_TRUE(platform::FileExists(HardCopyPicturePath()));
  const std::string png = tmp.native() + "copy";
  ASSERT_EQ(std::system(("pdftoppm -png -r 96 '" + PdfNative() + "' '" + png + "'").c_str()), 0);
  QImage page(QString::fromStdString(png + "-1.png"));
  ASSERT_FALSE(page.isNull());
  Keep(page, "harvsim-print-hardcopy");
  // At the screen's size: 240 x 120 pixels at 96 dpi, inside the 16-pixel margin.
  auto red = [&page](int x, int y) {
    QColor c = page.pixelColor(x, y);
    return c.red() > 240 && c.green() < 20 && c.blue() < 20;
  };
  EXPECT_TRUE(red(20, 20));
  EXPECT_TRUE(red(16 + 235, 16 + 115));
  EXPECT_FALSE(red(16 + 246, 16 + 60));
  EXPECT_FALSE(red(16 + 120, 16 + 126));
}
