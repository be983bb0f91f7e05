// The built-in PDF printer with device modes: any paper of the Windows paper codes, either way
// round, on a private printer object while the program's printer stays as it was.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/path.h"
#include "platform/printer.h"
#include "platform/qt/printer_qt.h"
#include "support/test_support.h"

namespace {

TEST(PdfPrinterModes, PapersEitherWayRound) {
  using namespace platform;
  InstallQtPrinting();
  QtPrinterService& service = QtPrinterService::Instance();
  ASSERT_TRUE(service.SelectPrinter(kPdfPrinterName));
  testsupport::TempFolder tmp;

  DeviceMode pdf;
  ASSERT_TRUE(service.DefaultMode(kPdfPrinterName, pdf));
  EXPECT_EQ(pdf.paperSize, DMPAPER_A4);
  EXPECT_EQ(pdf.fields & (DM_COPIES | DM_DEFAULTSOURCE | DM_DUPLEX | DM_COLLATE), 0u);
  EXPECT_EQ(service.PaperCodes(kPdfPrinterName).size(), 69u);  // 1 to 68 and the user size

  struct Case {
    int code, width, length, orientation;
    const char* pageSize;  // as pdfinfo reports it
  };
  const Case cases[] = {
      {1, 2159, 2794, DMORIENT_PORTRAIT, "612 x 792 pts"},
      {8, 2970, 4200, DMORIENT_LANDSCAPE, "1191 x 842 pts"},
      {DMPAPER_USER, 1000, 1500, DMORIENT_LANDSCAPE, "425 x 283 pts"},
      {13, 0, 0, DMORIENT_PORTRAIT, "516 x 729 pts"},  // by the code alone: B5 (JIS)
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    Printer printer;
    DeviceMode mode = pdf;
    mode.paperSize = c.code;
    mode.paperWidth = c.width;
    mode.paperLength = c.length;
    if (c.width == 0) mode.fields &= ~(DM_PAPERWIDTH | DM_PAPERLENGTH);
    mode.orientation = c.orientation;
    printer.SetMode(mode);
    std::string file = tmp.Path("p" + std::to_string(c.code) + ".pdf");
    service.SetPdfOutputFile(file);
    printer.title = "modes";
    ASSERT_TRUE(printer.BeginDoc());
    EXPECT_EQ(printer.Output(), file);
    printer.Dc()->Rectangle(0, 0, 100, 100);
    ASSERT_TRUE(printer.EndDoc());
    EXPECT_NE(testsupport::CommandOutput("pdfinfo '" + *ToNativePath(file) + "'").find("Page size:       " + std::string(c.pageSize)),
              std::string::npos);
  }
  // The program's printer kept A4 portrait.
  PrinterCaps caps;
  ASSERT_TRUE(service.Caps(caps));
  EXPECT_FALSE(caps.landscape);
  EXPECT_EQ(caps.formName, "A4");
  service.SetPdfOutputFile("");
  InstallPrinterService(nullptr);
}

}  // namespace
