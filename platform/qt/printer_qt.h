// The Qt implementation of the printers: the system's printers through QPrinterInfo (CUPS)
// and the built-in "PDF" printer, an A4 page at 600 dpi with 100-pixel (4.2 mm) margins
// written by QPdfWriter. The PDF is written to a temporary file beside the target and
// renamed over it when the document ends (one rename, the old file is never removed first),
// so a failed print never leaves half a file and never loses the previous one.
#pragma once

#include "platform/printer.h"

namespace platform {

class QtPrinterService final : public PrinterService {
 public:
  static QtPrinterService& Instance();

  std::vector<std::string> PrinterNames() override;
  std::string CurrentPrinter() override;
  bool SelectPrinter(const std::string& name) override;
  void SetLandscape(bool landscape) override { landscape_ = landscape; }
  bool Caps(PrinterCaps& out) override;
  bool SetupDialog() override;
  std::unique_ptr<PrintJob> BeginDoc(const std::string& title) override;
  void SetPdfOutputFile(const std::string& path) override { pdfFile_ = path; }

 private:
  std::string current_;
  bool chosen_ = false;
  bool landscape_ = false;
  std::string pdfFile_;
};

// Installs the Qt printers and the Qt font engine (the program calls this at start-up).
void InstallQtPrinting();

}  // namespace platform
