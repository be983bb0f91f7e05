// The Qt implementation of the printers: the system's printers through QPrinterInfo (CUPS)
// and the built-in "PDF" printer, a page at 600 dpi with 100-pixel (4.2 mm) margins written
// by QPdfWriter. The PDF is written to a temporary file beside the target and renamed over
// it when the document ends (one rename, the old file is never removed first), so a failed
// print never leaves half a file and never loses the previous one.
//
// Device modes: the PDF printer takes every Windows paper code (1 to 68 and the user size)
// either way round, A4 portrait by default, at 600 dpi in colour; it has no copies, paper
// sources, duplex or collation. A CUPS printer offers the papers, duplex modes and custom
// sizes QPrinterInfo reports, and its jobs get paper, orientation, copies, collation, duplex,
// source and colour through QPrinter. The paper of a job is the mode's width and length
// when both are set, else its paper code (QPageSize::id of the Windows code), else A4.
#pragma once

#include "platform/printer.h"

namespace platform {

class QtPrinterService final : public PrinterService {
 public:
  static QtPrinterService& Instance();

  std::vector<std::string> PrinterNames() override;
  std::string CurrentPrinter() override;
  bool SelectPrinter(const std::string& name) override;
  void SetLandscape(bool landscape) override;
  bool Caps(PrinterCaps& out) override;
  bool SetupDialog() override;
  std::unique_ptr<PrintJob> BeginDoc(const std::string& title) override;
  void SetPdfOutputFile(const std::string& path) override { pdfFile_ = path; }
  bool LastDocDeclined() const override { return declined_; }

  bool DefaultMode(const std::string& printer, DeviceMode& out) override;
  std::vector<int> PaperCodes(const std::string& printer) override;
  std::string DriverName(const std::string& printer) override;
  bool CapsWith(const std::string& printer, const DeviceMode& mode, PrinterCaps& out) override;
  std::unique_ptr<PrintJob> BeginDocWith(const std::string& printer, const DeviceMode& mode,
                                         const std::string& title) override;
  bool CurrentMode(DeviceMode& out) override;
  void SetCurrentMode(const DeviceMode& mode) override;
  // The print dialog (see PrintDialogData), centred across the screen and a third of the free
  // height from its top. Its controls are named: PrinterCombo, CopiesEdit, CollateCheck,
  // AllRadio, SelectionRadio, PagesRadio, FromEdit, ToEdit, PrintToFileCheck, PaperCombo,
  // OrientationCombo, DuplexCombo, SourceCombo, HelpButton and the button box Buttons.
  bool PrintDialog(PrintDialogData& data) override;

 private:
  DeviceMode& Mode();  // the current printer's device mode
  std::string current_;
  bool chosen_ = false;
  DeviceMode mode_;
  bool hasMode_ = false;
  std::string pdfFile_;
  bool declined_ = false;
};

// Installs the Qt printers and the Qt font engine (the program calls this at start-up).
void InstallQtPrinting();

}  // namespace platform
