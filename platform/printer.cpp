// Printer service registry, the headless service and the printer text device.
#include "platform/printer.h"

#include <algorithm>
#include <cmath>

namespace platform {

DeviceCaps PrinterCaps::ToDeviceCaps() const {
  DeviceCaps c;
  c.technology = DT_RASPRINTER;
  c.horzRes = horzRes;
  c.vertRes = vertRes;
  c.logPixelsX = dpiX > 0 ? dpiX : kReferenceDpi;
  c.logPixelsY = dpiY > 0 ? dpiY : kReferenceDpi;
  c.horzSizeMm = static_cast<int>(std::lround(horzRes * 25.4 / c.logPixelsX));
  c.vertSizeMm = static_cast<int>(std::lround(vertRes * 25.4 / c.logPixelsY));
  c.physicalWidth = physicalWidth;
  c.physicalHeight = physicalHeight;
  c.offsetX = offsetX;
  c.offsetY = offsetY;
  c.bitsPixel = color == 2 ? 24 : 1;
  return c;
}

namespace {

class HeadlessPrinters final : public PrinterService {
 public:
  std::vector<std::string> PrinterNames() override { return {}; }
  std::string CurrentPrinter() override { return std::string(); }
  bool SelectPrinter(const std::string&) override { return false; }
  void SetLandscape(bool) override {}
  bool Caps(PrinterCaps&) override { return false; }
  bool SetupDialog() override { return false; }
  std::unique_ptr<PrintJob> BeginDoc(const std::string&) override { return nullptr; }
  void SetPdfOutputFile(const std::string&) override {}
};

HeadlessPrinters gHeadless;
PrinterService* gService = &gHeadless;

}  // namespace

PrinterService& CurrentPrinterService() { return *gService; }

PrinterService* InstallPrinterService(PrinterService* service) {
  PrinterService* previous = gService;
  gService = service ? service : &gHeadless;
  return previous == &gHeadless ? nullptr : previous;
}

PrinterTextDevice::PrinterTextDevice(PrintJob& job, Canvas& canvas) : job_(job), canvas_(canvas) {}

int PrinterTextDevice::CurrentLineHeight() {
  canvas_.RealizeFont();
  TextMetrics tm = canvas_.Dc().GetTextMetrics();
  return tm.height + tm.externalLeading;
}

void PrinterTextDevice::Write(const std::string& text) {
  int h = CurrentLineHeight();
  if (x_ == 0 && y_ > 0 && y_ + h > job_.Dc().GetDeviceCaps(VERTRES)) {
    job_.NewPage();
    y_ = 0;
  }
  lineHeight_ = std::max(lineHeight_, h);
  if (text.empty()) return;
  canvas_.Brush().SetStyle(BrushStyle::Clear);
  canvas_.TextOut(x_, y_, text);
  x_ += canvas_.TextWidth(text);
}

void PrinterTextDevice::NewLine() {
  int h = std::max(lineHeight_, CurrentLineHeight());
  x_ = 0;
  y_ += h;
  lineHeight_ = 0;  // the next Write starts a new page when its line does not fit
}

}  // namespace platform
