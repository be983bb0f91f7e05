// Printer settings against printers with chosen capabilities, and the real PDF printer.
#include <gtest/gtest.h>

#include "platform/qt/printer_qt.h"
#include "report/printer_settings.h"
#include "fake_printers.h"
#include "support/test_support.h"

using namespace rpt;
using namespace platform;
using rpttest::FakePrinters;

namespace {

TEST(PrinterSettings, NoPrinterReadsNothingAndRefusesEverything) {
  FakePrinters service;
  Printer printer;
  TPrinterSettings s;
  s.SetPrinter(&printer);
  EXPECT_FALSE(s.HasDeviceMode());
  EXPECT_FALSE(s.Supports(DM_COPIES));
  EXPECT_FALSE(s.SetCopies(3));
  EXPECT_FALSE(s.SetOrientation(TRptOrientation::Landscape));
  EXPECT_FALSE(s.SetDuplex(true));
  EXPECT_FALSE(s.SetOutputBin(TRptBin::Lower));
  EXPECT_FALSE(s.SetPaperSize(TRptPaperSize::A3));
  EXPECT_EQ(s.Copies(), 1);
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::A4);
  EXPECT_EQ(s.PixelsPerInchX(), 0);
  // Applying without a printer changes nothing and does not fail.
  s.ApplySettings();
  EXPECT_TRUE(service.jobs.empty());
}

TEST(PrinterSettings, ReadsTheDeviceMode) {
  FakePrinters service;
  FakePrinters::Printer p = FakePrinters::FullPrinter("Office");
  p.driver = "C:\\WINDOWS\\system32\\spool\\DRIVERS\\W32X86\\3\\" + std::string(80, 'D') + ".DLL";
  p.mode.copies = 2;
  p.mode.duplex = DMDUP_VERTICAL;
  p.mode.collate = 1;
  p.mode.color = DMCOLOR_MONOCHROME;
  p.dpiX = 300;
  p.dpiY = 600;
  p.offsetX = 50;   // round(50 / 300 x 254) = 42
  p.offsetY = 118;  // round(118 / 600 x 254) = 50
  p.papers = {9, 1, 256, 999, 10};
  service.printers.push_back(p);

  struct Case {
    int source;
    TRptBin bin;
  };
  for (const Case& c : {Case{1, TRptBin::First}, Case{7, TRptBin::Auto}, Case{14, TRptBin::Cassette},
                        Case{12, TRptBin::First}}) {
    service.printers[0].mode.defaultSource = c.source;
    Printer printer;
    TPrinterSettings s;
    s.SetPrinter(&printer);
    EXPECT_EQ(s.OutputBin(), c.bin) << c.source;
  }
  Printer printer;
  TPrinterSettings s;
  s.SetPrinter(&printer);
  ASSERT_TRUE(s.HasDeviceMode());
  EXPECT_EQ(s.Device(), "Office");
  EXPECT_EQ(s.Driver(), std::string(63, 'D'));  // the driver file's name, cut to 63
  EXPECT_EQ(s.PixelsPerInchX(), 300);
  EXPECT_EQ(s.PixelsPerInchY(), 600);
  EXPECT_EQ(s.Copies(), 2);
  EXPECT_TRUE(s.Duplex());
  EXPECT_EQ(s.ExtendedDuplex(), DMDUP_VERTICAL);
  EXPECT_EQ(s.LeftOffset(), 42);
  EXPECT_EQ(s.TopOffset(), 50);
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::A4);
  EXPECT_EQ(s.PaperWidth(), 2100);
  EXPECT_EQ(s.PaperLength(), 2970);
  EXPECT_EQ(s.Collate, 1);
  EXPECT_EQ(s.ColorOption, DMCOLOR_MONOCHROME);
  EXPECT_EQ(s.PrintQuality, 600);
  EXPECT_TRUE(s.PaperListRead());
  EXPECT_TRUE(s.PaperSupported(TRptPaperSize::A4));
  EXPECT_TRUE(s.PaperSupported(TRptPaperSize::Letter));
  EXPECT_TRUE(s.PaperSupported(TRptPaperSize::Custom));
  EXPECT_TRUE(s.PaperSupported(TRptPaperSize::A4Small));
  EXPECT_FALSE(s.PaperSupported(TRptPaperSize::A3));
  // A paper the driver does not list is refused and the previous one stays; Default is taken.
  EXPECT_FALSE(s.SetPaperSize(TRptPaperSize::A3));
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::A4);
  EXPECT_TRUE(s.SetPaperSize(TRptPaperSize::Letter));
  EXPECT_TRUE(s.SetPaperSize(TRptPaperSize::Default));
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::Default);
}

TEST(PrinterSettings, MissingCapabilitiesKeepTheirValues) {
  FakePrinters service;
  FakePrinters::Printer p = FakePrinters::FullPrinter("Plain");
  p.mode.fields = DM_ORIENTATION | DM_PAPERLENGTH | DM_PAPERWIDTH;  // no paper code, copies, source, duplex
  p.mode.copies = 5;
  p.mode.duplex = DMDUP_HORIZONTAL;
  p.mode.paperWidth = 2000;
  p.mode.paperLength = 3000;
  p.mode.orientation = DMORIENT_LANDSCAPE;
  service.printers.push_back(p);
  Printer printer;
  TPrinterSettings s;
  s.SetPrinter(&printer);
  EXPECT_EQ(s.Copies(), 1);
  EXPECT_FALSE(s.Duplex());
  EXPECT_EQ(s.OutputBin(), TRptBin::First);
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::Default);
  // The sheet of a landscape device mode is kept as the portrait sheet.
  EXPECT_EQ(s.PaperWidth(), 2000);
  EXPECT_EQ(s.PaperLength(), 3000);
  EXPECT_FALSE(s.SetCopies(2));
  EXPECT_FALSE(s.SetDuplex(true));
  EXPECT_FALSE(s.SetOutputBin(TRptBin::Lower));
  EXPECT_TRUE(s.SetOrientation(TRptOrientation::Landscape));
  EXPECT_TRUE(s.Supports(DM_ORIENTATION | DM_PAPERWIDTH));
  EXPECT_FALSE(s.Supports(DM_ORIENTATION | DM_COPIES));
}

// What ApplySettings writes, printer by printer and setting by setting.
TEST(PrinterSettings, ApplyWritesTheDeviceMode) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("Office"));
  FakePrinters::Printer simple = FakePrinters::FullPrinter("Simple");
  simple.mode.fields &= ~(DM_DUPLEX | DM_COLLATE | DM_PAPERSIZE);
  simple.mode.duplex = 0;
  simple.mode.paperSize = 0;
  service.printers.push_back(simple);

  struct Case {
    const char* name;
    const char* printer;
    std::function<void(TPrinterSettings&)> set;
    std::function<void(const DeviceMode&)> check;
  };
  const Case cases[] = {
      // A run first copies the report's extended duplex (0 unless chosen) into the settings.
      {"duplex on", "Office", [](TPrinterSettings& s) { s.SetDuplex(true), s.SetExtendedDuplex(0); },
       [](const DeviceMode& m) { EXPECT_EQ(m.duplex, 3); }},
      {"duplex off", "Office", [](TPrinterSettings& s) { s.SetDuplex(false), s.SetExtendedDuplex(0); },
       [](const DeviceMode& m) { EXPECT_EQ(m.duplex, 1); }},
      {"extended duplex wins", "Office", [](TPrinterSettings& s) { s.SetDuplex(false), s.SetExtendedDuplex(2); },
       [](const DeviceMode& m) { EXPECT_EQ(m.duplex, 2); }},
      {"no duplex", "Simple", [](TPrinterSettings& s) { s.SetExtendedDuplex(2); },
       [](const DeviceMode& m) { EXPECT_EQ(m.duplex, 0); }},
      {"bin auto", "Office", [](TPrinterSettings& s) { s.SetOutputBin(TRptBin::Auto); },
       [](const DeviceMode& m) { EXPECT_EQ(m.defaultSource, 7); }},
      {"bin cassette", "Office", [](TPrinterSettings& s) { s.SetOutputBin(TRptBin::Cassette); },
       [](const DeviceMode& m) { EXPECT_EQ(m.defaultSource, 14); }},
      {"bin last", "Office", [](TPrinterSettings& s) { s.SetOutputBin(TRptBin::Last); },
       [](const DeviceMode& m) { EXPECT_EQ(m.defaultSource, 14); }},
      {"custom bin", "Office", [](TPrinterSettings& s) { s.UseCustomBinCode = true, s.CustomBinCode = 261; },
       [](const DeviceMode& m) { EXPECT_EQ(m.defaultSource, 261); }},
      {"paper letter", "Office", [](TPrinterSettings& s) { s.SetPaperSize(TRptPaperSize::Letter); },
       [](const DeviceMode& m) {
         EXPECT_EQ(m.paperSize, 1);
         EXPECT_EQ(m.paperWidth, 2159);
         EXPECT_EQ(m.paperLength, 2794);
       }},
      {"custom paper code", "Office",
       [](TPrinterSettings& s) { s.SetPaperSize(TRptPaperSize::A3), s.UseCustomPaperCode = true, s.CustomPaperCode = 300; },
       [](const DeviceMode& m) { EXPECT_EQ(m.paperSize, 300); }},
      {"paper default keeps the code", "Office", [](TPrinterSettings& s) { s.SetPaperSize(TRptPaperSize::Default); },
       [](const DeviceMode& m) { EXPECT_EQ(m.paperSize, 9); }},
      {"no paper codes", "Simple", [](TPrinterSettings& s) { s.SetPaperSize(TRptPaperSize::Letter); },
       [](const DeviceMode& m) {
         EXPECT_EQ(m.paperSize, 0);
         EXPECT_FALSE(m.fields & DM_PAPERSIZE);
         EXPECT_EQ(m.paperWidth, 2159);
       }},
      {"copies and orientation", "Office",
       [](TPrinterSettings& s) { s.SetCopies(4), s.SetOrientation(TRptOrientation::Landscape); },
       [](const DeviceMode& m) {
         EXPECT_EQ(m.copies, 4);
         EXPECT_EQ(m.orientation, DMORIENT_LANDSCAPE);
       }},
      {"collate", "Office", [](TPrinterSettings& s) { s.Collate = 1; },
       [](const DeviceMode& m) { EXPECT_EQ(m.collate, 1); }},
      {"no collate", "Simple", [](TPrinterSettings& s) { s.Collate = 1; },
       [](const DeviceMode& m) { EXPECT_EQ(m.collate, 0); }},
      {"quality and colour are only read", "Office", [](TPrinterSettings& s) { s.PrintQuality = 1200, s.ColorOption = 1; },
       [](const DeviceMode& m) {
         EXPECT_EQ(m.printQuality, 600);
         EXPECT_EQ(m.color, DMCOLOR_COLOR);
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Printer printer;
    ASSERT_TRUE(printer.SetIndex(std::string(c.printer) == "Office" ? 0 : 1));
    TPrinterSettings s;
    s.SetPrinter(&printer);
    c.set(s);
    s.ApplySettings();
    DeviceMode m;
    ASSERT_TRUE(printer.GetMode(m));
    EXPECT_TRUE(m.fields & DM_COPIES);
    EXPECT_TRUE(m.fields & DM_DEFAULTSOURCE);
    c.check(m);
  }
}

TEST(PrinterSettings, CallbacksTakeOver) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("Office"));
  service.printers[0].mode.copies = 3;
  Printer printer;
  TPrinterSettings s;
  int gets = 0, applies = 0;
  s.OnGetPrinterSettings = [&](TPrinterSettings&, bool& handled, DeviceMode& mode) {
    ++gets;
    EXPECT_EQ(mode.copies, 3);
    handled = true;
  };
  s.SetPrinter(&printer);
  EXPECT_EQ(gets, 1);
  EXPECT_EQ(s.Copies(), 1);  // not read
  EXPECT_EQ(s.PixelsPerInchX(), 0);
  s.OnApplyPrinterSettings = [&](TPrinterSettings&, bool& handled, DeviceMode& mode) {
    ++applies;
    EXPECT_EQ(mode.copies, 1);
    mode.copies = 9;
    handled = applies == 1;  // the first time the mode is not given back
  };
  s.ApplySettings();
  DeviceMode m;
  printer.GetMode(m);
  EXPECT_EQ(m.copies, 3);
  s.ApplySettings();
  printer.GetMode(m);
  EXPECT_EQ(m.copies, 9);
}

// A private printer object has its own printer and device mode: applying settings to it never
// changes the program's printer.
TEST(PrinterObjects, PrivatePrintersLeaveTheProgramsPrinter) {
  FakePrinters service;
  service.printers.push_back(FakePrinters::FullPrinter("First"));
  service.printers.push_back(FakePrinters::FullPrinter("Second"));
  Printer& global = Printer::Global();
  EXPECT_EQ(global.Device(), "First");
  Printer mine;
  ASSERT_TRUE(mine.SetIndex(1));
  EXPECT_EQ(mine.Device(), "Second");
  EXPECT_EQ(global.Device(), "First");
  TPrinterSettings s;
  s.SetPrinter(&mine);
  s.SetCopies(7);
  s.ApplySettings();
  DeviceMode g;
  ASSERT_TRUE(global.GetMode(g));
  EXPECT_EQ(g.copies, 1);
  mine.title = "job";
  ASSERT_TRUE(mine.BeginDoc());
  EXPECT_FALSE(mine.BeginDoc());
  ASSERT_TRUE(mine.EndDoc());
  ASSERT_EQ(service.jobs.size(), 1u);
  EXPECT_EQ(service.jobs[0].printer, "Second");
  EXPECT_EQ(service.jobs[0].mode.copies, 7);
  EXPECT_FALSE(mine.SetIndex(2));
  // The program's printer object follows the service's choice and keeps its own mode.
  TPrinterSettings gs;
  gs.SetPrinter(&global);
  gs.SetCopies(2);
  gs.ApplySettings();
  EXPECT_EQ(service.currentMode.copies, 2);
  ASSERT_TRUE(global.SetIndex(1));
  EXPECT_EQ(service.current, "Second");
  global.GetMode(g);
  EXPECT_EQ(g.copies, 1);  // another printer: its default mode
}

TEST(PrinterSettings, ThePdfPrinter) {
  platform::InstallQtPrinting();
  auto& qt = QtPrinterService::Instance();
  ASSERT_TRUE(qt.SelectPrinter(kPdfPrinterName));
  Printer printer;
  ASSERT_TRUE(printer.SetIndex(printer.Index()));
  ASSERT_EQ(printer.Device(), kPdfPrinterName);
  TPrinterSettings s;
  s.SetPrinter(&printer);
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::A4);
  EXPECT_EQ(s.PixelsPerInchX(), 600);
  EXPECT_EQ(s.PixelsPerInchY(), 600);
  EXPECT_EQ(s.TopOffset(), 42);
  EXPECT_EQ(s.LeftOffset(), 42);
  EXPECT_EQ(s.PaperWidth(), 2100);
  for (auto size : {TRptPaperSize::Letter, TRptPaperSize::A3, TRptPaperSize::EnvMonarch, TRptPaperSize::A3ExtraTrans,
                    TRptPaperSize::Custom}) {
    EXPECT_TRUE(s.PaperSupported(size)) << PaperSizeName(size);
  }
  // No copies, bins or duplex on the PDF printer.
  EXPECT_FALSE(s.SetCopies(2));
  EXPECT_FALSE(s.SetOutputBin(TRptBin::Lower));
  EXPECT_FALSE(s.SetDuplex(true));
  // B5 landscape: the metrics follow, the program's printer stays A4 portrait.
  ASSERT_TRUE(s.SetPaperSize(TRptPaperSize::B5));
  ASSERT_TRUE(s.SetOrientation(TRptOrientation::Landscape));
  s.ApplySettings();
  PrinterCaps caps;
  ASSERT_TRUE(printer.Caps(caps));
  // Page sizes are whole points: within a millimetre.
  EXPECT_NEAR(caps.physicalWidth, 257 / 25.4 * 600, 600 / 25.4);
  EXPECT_NEAR(caps.physicalHeight, 182 / 25.4 * 600, 600 / 25.4);
  EXPECT_TRUE(caps.landscape);
  s.ReadSettings();
  EXPECT_EQ(s.PaperSize(), TRptPaperSize::B5);
  EXPECT_EQ(s.PaperWidth(), 1820);
  PrinterCaps global;
  ASSERT_TRUE(qt.Caps(global));
  EXPECT_NEAR(global.physicalWidth, 210 / 25.4 * 600, 600 / 25.4);
  EXPECT_FALSE(global.landscape);
  InstallPrinterService(nullptr);
}

}  // namespace
