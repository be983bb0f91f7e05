// A printer service for the report tests: printers with chosen device modes, papers and
// resolutions; every job page is a device-context trace. Installed for the object's lifetime.
#pragma once

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "platform/dc_trace.h"
#include "platform/printer.h"

namespace rpttest {

class FakePrinters final : public platform::PrinterService {
 public:
  struct Printer {
    std::string name;
    platform::DeviceMode mode;  // the driver's default
    std::vector<int> papers;
    std::string driver = "C:\\drivers\\fake.drv";
    int dpiX = 600, dpiY = 600;
    int offsetX = 100, offsetY = 100;  // unprintable margins, device pixels
  };
  struct Job {
    std::string printer, title;
    platform::DeviceMode mode;
    std::vector<std::vector<std::string>> pages;  // trace lines per page
    bool ended = false, aborted = false;
  };

  // An A4 printer at 600 dpi that supports everything.
  static Printer FullPrinter(const std::string& name) {
    using namespace platform;
    Printer p;
    p.name = name;
    p.mode.fields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_DEFAULTSOURCE |
                    DM_PRINTQUALITY | DM_COLOR | DM_DUPLEX | DM_COLLATE;
    p.mode.paperSize = DMPAPER_A4;
    p.mode.paperWidth = 2100;
    p.mode.paperLength = 2970;
    p.mode.printQuality = 600;
    p.papers = {1, 9, 8, 11};
    return p;
  }

  FakePrinters() { previous_ = platform::InstallPrinterService(this); }
  ~FakePrinters() override { platform::InstallPrinterService(previous_); }

  std::vector<Printer> printers;
  std::string current;
  platform::DeviceMode currentMode;
  bool hasCurrentMode = false;
  std::vector<Job> jobs;
  bool endOk = true;
  // Jobs refused by the printer, or declined by the user (a file dialog closed).
  bool refuseJobs = false, declineJobs = false;

  Printer* Find(const std::string& name) {
    for (Printer& p : printers) {
      if (p.name == name) return &p;
    }
    return nullptr;
  }

  std::vector<std::string> PrinterNames() override {
    std::vector<std::string> names;
    for (const Printer& p : printers) names.push_back(p.name);
    return names;
  }
  std::string CurrentPrinter() override {
    if (current.empty() && !printers.empty()) current = printers.front().name;
    return current;
  }
  bool SelectPrinter(const std::string& name) override {
    if (!Find(name)) return false;
    if (name != current) hasCurrentMode = false;
    current = name;
    return true;
  }
  void SetLandscape(bool) override {}
  bool Caps(platform::PrinterCaps& out) override {
    platform::DeviceMode mode;
    return CurrentMode(mode) && CapsWith(CurrentPrinter(), mode, out);
  }
  bool SetupDialog() override { return false; }
  std::unique_ptr<platform::PrintJob> BeginDoc(const std::string& title) override {
    platform::DeviceMode mode;
    return CurrentMode(mode) ? BeginDocWith(CurrentPrinter(), mode, title) : nullptr;
  }
  void SetPdfOutputFile(const std::string&) override {}
  bool LastDocDeclined() const override { return declined_; }

  bool DefaultMode(const std::string& printer, platform::DeviceMode& out) override {
    Printer* p = Find(printer);
    if (!p) return false;
    out = p->mode;
    return true;
  }
  std::vector<int> PaperCodes(const std::string& printer) override {
    Printer* p = Find(printer);
    return p ? p->papers : std::vector<int>{};
  }
  std::string DriverName(const std::string& printer) override {
    Printer* p = Find(printer);
    return p ? p->driver : std::string();
  }
  bool CapsWith(const std::string& printer, const platform::DeviceMode& mode, platform::PrinterCaps& out) override {
    Printer* p = Find(printer);
    if (!p) return false;
    out = platform::PrinterCaps{};
    out.deviceName = printer;
    out.dpiX = p->dpiX;
    out.dpiY = p->dpiY;
    int w = mode.paperWidth > 0 ? mode.paperWidth : 2100, l = mode.paperLength > 0 ? mode.paperLength : 2970;
    out.landscape = mode.orientation == platform::DMORIENT_LANDSCAPE;
    if (out.landscape) std::swap(w, l);
    out.physicalWidth = static_cast<int>(std::lround(w / 254.0 * p->dpiX));
    out.physicalHeight = static_cast<int>(std::lround(l / 254.0 * p->dpiY));
    out.offsetX = p->offsetX;
    out.offsetY = p->offsetY;
    out.horzRes = out.physicalWidth - 2 * p->offsetX;
    out.vertRes = out.physicalHeight - 2 * p->offsetY;
    out.quality = mode.printQuality;
    out.color = mode.color;
    return true;
  }
  std::unique_ptr<platform::PrintJob> BeginDocWith(const std::string& printer, const platform::DeviceMode& mode,
                                                   const std::string& title) override;
  bool CurrentMode(platform::DeviceMode& out) override {
    Printer* p = Find(CurrentPrinter());
    if (!p) return false;
    if (!hasCurrentMode) {
      currentMode = p->mode;
      hasCurrentMode = true;
    }
    out = currentMode;
    return true;
  }
  void SetCurrentMode(const platform::DeviceMode& mode) override {
    currentMode = mode;
    hasCurrentMode = true;
  }

 private:
  class TraceJob;
  platform::PrinterService* previous_;
  bool declined_ = false;
};

class FakePrinters::TraceJob final : public platform::PrintJob {
 public:
  TraceJob(FakePrinters& owner, size_t index, const platform::DeviceCaps& caps)
      : owner_(owner), index_(index), dc_(caps) {}
  platform::DeviceContext& Dc() override { return dc_; }
  bool NewPage() override {
    Flush();
    ++pages_;
    return true;
  }
  bool End() override {
    Flush();
    owner_.jobs[index_].ended = true;
    return owner_.endOk;
  }
  void Abort() override { owner_.jobs[index_].aborted = true; }

 private:
  void Flush() {
    owner_.jobs[index_].pages.push_back(dc_.log);
    dc_.log.clear();
  }
  FakePrinters& owner_;
  size_t index_;
  platform::TraceDc dc_;
};

inline std::unique_ptr<platform::PrintJob> FakePrinters::BeginDocWith(const std::string& printer,
                                                                      const platform::DeviceMode& mode,
                                                                      const std::string& title) {
  declined_ = declineJobs;
  platform::PrinterCaps caps;
  if (refuseJobs || declineJobs || !CapsWith(printer, mode, caps)) return nullptr;
  jobs.push_back(Job{printer, title, mode, {}, false, false});
  return std::make_unique<TraceJob>(*this, jobs.size() - 1, caps.ToDeviceCaps());
}

}  // namespace rpttest
