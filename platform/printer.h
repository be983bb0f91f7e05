// Printers. The printer list is the system's printers (CUPS) followed by one built-in printer
// named "PDF" that writes a PDF file; when the system has no printer, "PDF" is the default,
// so every print path works on any machine. The program installs the Qt implementation
// (qt/printer_qt.h); without one, a headless service lists no printer and refuses every job.
//
// A print job hands out a device context for its pages (origin at the top-left of the
// printable area, device pixels of the printer). The printer text device writes text line
// by line onto a job the way a text file opened on the printer does: each piece at the
// current position with the canvas font, a line end moving down by the line's height and
// starting a new page when the next line would not fit.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/dc_canvas.h"

namespace platform {

// The name of the built-in printer.
inline const char* const kPdfPrinterName = "PDF";

struct PrinterCaps {
  std::string deviceName;  // CP932
  std::string formName;    // the paper's name, as "A4"
  int physicalWidth = 0, physicalHeight = 0;  // whole sheet, device pixels
  int horzRes = 0, vertRes = 0;               // printable area
  int offsetX = 0, offsetY = 0;               // printable area's top-left on the sheet
  int dpiX = 0, dpiY = 0;
  int scale = 100;
  bool scaleSet = false;  // whether the driver reports a scale
  int quality = 0;        // print quality (dots per inch)
  int color = 1;          // 1 monochrome, 2 colour
  bool landscape = false;
  bool isPdf = false;     // the built-in PDF printer
  DeviceCaps ToDeviceCaps() const;
};

class PrintJob {
 public:
  virtual ~PrintJob() = default;
  // The same context serves every page of the job.
  virtual DeviceContext& Dc() = 0;
  // Ends the current page and starts the next.
  virtual bool NewPage() = 0;
  // Ends the document; false when it could not be written.
  virtual bool End() = 0;
  virtual void Abort() = 0;
  int PageCount() const { return pages_; }

 protected:
  int pages_ = 1;
};

class PrinterService {
 public:
  virtual ~PrinterService() = default;
  // CP932 names; the system's printers, then kPdfPrinterName.
  virtual std::vector<std::string> PrinterNames() = 0;
  // The printer jobs go to; empty when there is none.
  virtual std::string CurrentPrinter() = 0;
  virtual bool SelectPrinter(const std::string& name) = 0;
  virtual void SetLandscape(bool landscape) = 0;
  // The current printer's metrics; false when there is no printer.
  virtual bool Caps(PrinterCaps& out) = 0;
  // The printer setup dialog (printer and orientation); true when the user confirmed.
  virtual bool SetupDialog() = 0;
  // Starts a document on the current printer; null when refused or cancelled (the PDF
  // printer asks for its file unless one was set).
  virtual std::unique_ptr<PrintJob> BeginDoc(const std::string& title) = 0;
  // The file (inside path) the PDF printer writes next; empty: ask with a file dialog.
  virtual void SetPdfOutputFile(const std::string& path) = 0;
};

PrinterService& CurrentPrinterService();
// Installs `service` (not owned); nullptr reinstalls the headless one. Returns the previous.
PrinterService* InstallPrinterService(PrinterService* service);

class PrinterTextDevice {
 public:
  // Writes on `job` with `canvas` (a canvas on job.Dc(), whose font is used).
  PrinterTextDevice(PrintJob& job, Canvas& canvas);
  // Text (CP932) at the current position; the position moves right by its width.
  void Write(const std::string& text);
  // Ends the line: down by the tallest font used on it, a new page when the next line would
  // not fit on this one.
  void NewLine();
  void WriteLine(const std::string& text) {
    Write(text);
    NewLine();
  }
  int Line() const { return y_; }

 private:
  int CurrentLineHeight();
  PrintJob& job_;
  Canvas& canvas_;
  int x_ = 0, y_ = 0;
  int lineHeight_ = 0;
};

}  // namespace platform
