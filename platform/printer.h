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
//
// Device modes: each printer has a device mode, the settings a job is printed with (paper
// by Windows paper code or by width and length, orientation, copies, paper source, quality,
// colour, duplex, collate); its field mask says which fields the printer supports. A printer
// object (Printer) is either the program's printer, which follows the service's current
// printer and its current device mode, or a private one with a printer and a device mode of
// its own: jobs begin on a named printer with a device mode, so a private printer object
// never changes what the rest of the program prints with.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/dc_canvas.h"

namespace platform {

// The name of the built-in printer.
inline const char* const kPdfPrinterName = "PDF";

// Field mask bits of a device mode.
constexpr uint32_t DM_ORIENTATION = 0x1, DM_PAPERSIZE = 0x2, DM_PAPERLENGTH = 0x4, DM_PAPERWIDTH = 0x8,
                   DM_COPIES = 0x100, DM_DEFAULTSOURCE = 0x200, DM_PRINTQUALITY = 0x400, DM_COLOR = 0x800,
                   DM_DUPLEX = 0x1000, DM_COLLATE = 0x8000;
constexpr int DMORIENT_PORTRAIT = 1, DMORIENT_LANDSCAPE = 2;
constexpr int DMDUP_SIMPLEX = 1, DMDUP_VERTICAL = 2, DMDUP_HORIZONTAL = 3;
constexpr int DMCOLOR_MONOCHROME = 1, DMCOLOR_COLOR = 2;
// Windows paper codes: 1 (Letter) to 68 name standard papers, 256 a paper of the mode's width
// and length.
constexpr int DMPAPER_A4 = 9, DMPAPER_LAST = 68, DMPAPER_USER = 256;
// Windows paper source (bin) codes as far as the print system has them.
constexpr int DMBIN_UPPER = 1, DMBIN_LOWER = 2, DMBIN_MIDDLE = 3, DMBIN_MANUAL = 4, DMBIN_ENVELOPE = 5,
              DMBIN_ENVMANUAL = 6, DMBIN_AUTO = 7, DMBIN_TRACTOR = 8, DMBIN_SMALLFMT = 9, DMBIN_LARGEFMT = 10,
              DMBIN_LARGECAPACITY = 11, DMBIN_CASSETTE = 14, DMBIN_FORMSOURCE = 15;

struct DeviceMode {
  uint32_t fields = 0;                    // DM_* bits: what the printer supports / what is set
  int orientation = DMORIENT_PORTRAIT;
  int paperSize = DMPAPER_A4;             // Windows paper code
  int paperLength = 0, paperWidth = 0;    // 0.1 mm, of the portrait sheet; 0: by the paper code
  int copies = 1;
  int defaultSource = DMBIN_AUTO;
  int printQuality = 0;                   // dots per inch
  int color = DMCOLOR_COLOR;
  int duplex = DMDUP_SIMPLEX;
  int collate = 0;                        // 1: collated copies
  bool operator==(const DeviceMode&) const = default;
};

// The print dialog: the printer and its device mode, copies, collation, the page range and
// printing to a file. What the dialog offers follows the chosen printer's device mode: copies,
// collation, paper, orientation, duplex and paper source only where its field mask holds them.
// A printer that takes copies in its device mode gets them there and the dialog answers 1 copy.
struct PrintDialogData {
  enum Range : uint8_t { kAllPages = 0, kSelection = 1, kPageNumbers = 2 };
  std::string printer;  // CP932; in: the printer selected, out: the one chosen
  DeviceMode mode;      // in: its device mode, out: the mode chosen
  int copies = 1;
  bool collate = false;
  Range range = kAllPages;
  int fromPage = 0, toPage = 0, minPage = 0, maxPage = 0;
  bool printToFile = false;
  // What the dialog offers.
  bool showPrintToFile = false, disablePrintToFile = false, allowPageNumbers = false, allowSelection = false;
  // Called when the window shows and closes; a Help button calls onHelp when it is set.
  std::function<void()> onShow, onClose, onHelp;
};

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
  // What the job writes to: the file of a printer that writes files (inside path), else the
  // printer's name.
  virtual std::string OutputName() const { return std::string(); }
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
  // Whether the last BeginDoc or BeginDocWith gave no job because the user closed the PDF
  // printer's file dialog without a file (a choice, not a fault of the printer).
  virtual bool LastDocDeclined() const { return false; }

  // Device modes. The defaults describe a service without them (nothing read, no job).
  // The driver's default device mode of `printer`; its field mask lists what it supports.
  virtual bool DefaultMode(const std::string& printer, DeviceMode& out);
  // The Windows paper codes the printer takes.
  virtual std::vector<int> PaperCodes(const std::string& printer);
  virtual std::string DriverName(const std::string& printer);
  // The metrics of `printer` printing with `mode`.
  virtual bool CapsWith(const std::string& printer, const DeviceMode& mode, PrinterCaps& out);
  // A document on `printer` with `mode`, whichever printer is current.
  virtual std::unique_ptr<PrintJob> BeginDocWith(const std::string& printer, const DeviceMode& mode,
                                                 const std::string& title);
  // The device mode Caps() and BeginDoc() use for the current printer (selecting a printer
  // resets it to that printer's default).
  virtual bool CurrentMode(DeviceMode& out);
  virtual void SetCurrentMode(const DeviceMode& mode);
  // The print dialog, modal; true when the user confirmed (none without a window system).
  virtual bool PrintDialog(PrintDialogData& /*data*/) { return false; }
};

// Runs the print dialog of the current printer service; an installed hook answers in its place
// (tests), with the data as the dialog would have shown it.
using PrintDialogHook = std::function<bool(PrintDialogData& data)>;
bool RunPrintDialog(PrintDialogData& data);
// Installs `hook` (empty: the service's dialog again); returns the previous one.
PrintDialogHook InstallPrintDialogHook(PrintDialogHook hook);

PrinterService& CurrentPrinterService();
// Installs `service` (not owned); nullptr reinstalls the headless one. Returns the previous.
PrinterService* InstallPrinterService(PrinterService* service);

// A printer object: a printer of the service, its device mode and at most one open job.
class Printer {
 public:
  // A private printer object, on the service's current printer with its default device mode.
  Printer();
  ~Printer();
  Printer(const Printer&) = delete;
  Printer& operator=(const Printer&) = delete;

  // The program's printer object: the service's current printer and current device mode.
  static Printer& Global();

  bool IsGlobal() const { return global_; }
  std::vector<std::string> Printers() const;
  // Index of the printer in Printers(); -1 when there is none.
  int Index() const;
  // Selects a printer by index with its driver's default device mode; false when out of range.
  bool SetIndex(int index);
  std::string Device() const;
  std::string Driver() const;
  std::string Port() const { return std::string(); }
  // The device mode; false when the printer has none.
  bool GetMode(DeviceMode& out) const;
  void SetMode(const DeviceMode& mode);
  // Drops the device mode so that the driver's default applies again.
  void ResetMode();
  std::vector<int> PaperCodes() const;
  // The metrics with the device mode.
  bool Caps(PrinterCaps& out) const;

  // The job title.
  std::string title;
  // Begins a document (its first page open); false when the printer refused it or the user
  // declined it (Declined).
  bool BeginDoc();
  // Whether the last BeginDoc failed because the user closed the printer's file dialog.
  bool Declined() const { return declined_; }
  // Ends the page and begins the next.
  bool NewPage();
  // Ends the document; false when it could not be finished (nothing is printing afterwards).
  bool EndDoc();
  void Abort();
  bool Printing() const { return job_ != nullptr; }
  // What the open (or the last) job writes to (PrintJob::OutputName, else the printer's name).
  const std::string& Output() const { return output_; }
  // The open job's device context; null when not printing.
  DeviceContext* Dc() { return job_ ? &job_->Dc() : nullptr; }

 private:
  explicit Printer(bool global) : global_(global) {}
  bool global_ = false;
  bool declined_ = false;
  std::string name_;        // private: the selected printer; empty: the current one
  bool hasMode_ = false;
  DeviceMode mode_;
  std::unique_ptr<PrintJob> job_;
  std::string output_;
};

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
