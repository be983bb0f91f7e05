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
PrintDialogHook gPrintDialogHook;

}  // namespace

PrinterService& CurrentPrinterService() { return *gService; }

bool RunPrintDialog(PrintDialogData& data) {
  if (gPrintDialogHook) return gPrintDialogHook(data);
  return gService->PrintDialog(data);
}

PrintDialogHook InstallPrintDialogHook(PrintDialogHook hook) {
  PrintDialogHook previous = std::move(gPrintDialogHook);
  gPrintDialogHook = std::move(hook);
  return previous;
}

PrinterService* InstallPrinterService(PrinterService* service) {
  PrinterService* previous = gService;
  gService = service ? service : &gHeadless;
  return previous == &gHeadless ? nullptr : previous;
}

bool PrinterService::DefaultMode(const std::string&, DeviceMode&) { return false; }
std::vector<int> PrinterService::PaperCodes(const std::string&) { return {}; }
std::string PrinterService::DriverName(const std::string&) { return std::string(); }
bool PrinterService::CapsWith(const std::string&, const DeviceMode&, PrinterCaps&) { return false; }
std::unique_ptr<PrintJob> PrinterService::BeginDocWith(const std::string&, const DeviceMode&, const std::string&) {
  return nullptr;
}
bool PrinterService::CurrentMode(DeviceMode&) { return false; }
void PrinterService::SetCurrentMode(const DeviceMode&) {}

// ---- Printer objects ----------------------------------------------------------------------

Printer::Printer() {
  name_ = CurrentPrinterService().CurrentPrinter();
  ResetMode();
}

Printer::~Printer() { Abort(); }

Printer& Printer::Global() {
  static Printer global(true);
  return global;
}

std::vector<std::string> Printer::Printers() const { return CurrentPrinterService().PrinterNames(); }

int Printer::Index() const {
  std::vector<std::string> names = Printers();
  auto it = std::find(names.begin(), names.end(), Device());
  return it == names.end() ? -1 : static_cast<int>(it - names.begin());
}

bool Printer::SetIndex(int index) {
  std::vector<std::string> names = Printers();
  if (index < 0 || index >= static_cast<int>(names.size())) return false;
  if (global_) return CurrentPrinterService().SelectPrinter(names[static_cast<size_t>(index)]);
  name_ = names[static_cast<size_t>(index)];
  ResetMode();
  return true;
}

std::string Printer::Device() const { return global_ ? CurrentPrinterService().CurrentPrinter() : name_; }

std::string Printer::Driver() const {
  std::string device = Device();
  return device.empty() ? std::string() : CurrentPrinterService().DriverName(device);
}

bool Printer::GetMode(DeviceMode& out) const {
  if (global_) return CurrentPrinterService().CurrentMode(out);
  if (!hasMode_) return false;
  out = mode_;
  return true;
}

void Printer::SetMode(const DeviceMode& mode) {
  if (global_) {
    CurrentPrinterService().SetCurrentMode(mode);
    return;
  }
  mode_ = mode;
  hasMode_ = true;
}

void Printer::ResetMode() {
  PrinterService& service = CurrentPrinterService();
  if (global_) {
    DeviceMode mode;
    if (service.DefaultMode(Device(), mode)) service.SetCurrentMode(mode);
    return;
  }
  mode_ = DeviceMode{};
  hasMode_ = !name_.empty() && service.DefaultMode(name_, mode_);
}

std::vector<int> Printer::PaperCodes() const {
  std::string device = Device();
  return device.empty() ? std::vector<int>{} : CurrentPrinterService().PaperCodes(device);
}

bool Printer::Caps(PrinterCaps& out) const {
  PrinterService& service = CurrentPrinterService();
  DeviceMode mode;
  if (GetMode(mode)) return service.CapsWith(Device(), mode, out);
  return global_ && service.Caps(out);
}

bool Printer::BeginDoc() {
  declined_ = false;
  if (job_) return false;
  PrinterService& service = CurrentPrinterService();
  std::string device = Device();
  if (device.empty()) return false;
  DeviceMode mode;
  if (GetMode(mode)) {
    job_ = service.BeginDocWith(device, mode, title);
  } else if (global_) {
    job_ = service.BeginDoc(title);
  } else {
    return false;
  }
  output_ = job_ && !job_->OutputName().empty() ? job_->OutputName() : device;
  declined_ = !job_ && service.LastDocDeclined();
  return job_ != nullptr;
}

bool Printer::NewPage() { return job_ && job_->NewPage(); }

bool Printer::EndDoc() {
  if (!job_) return false;
  std::unique_ptr<PrintJob> job = std::move(job_);
  return job->End();
}

void Printer::Abort() {
  if (!job_) return;
  std::unique_ptr<PrintJob> job = std::move(job_);
  job->Abort();
}

// ---- Text device --------------------------------------------------------------------------

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
