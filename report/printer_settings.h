// Printer settings. TBandReportPrinterSettings is the report's published PrinterSettings:
// what the report's designer chose, stored with the report. TPrinterSettings belongs to each
// report printer: it reads the capabilities and current values of a platform printer from its
// device mode and writes the wanted values back into it before printing.
//
// The paper of a report's settings follows its page: PaperSize and Orientation read the
// page's, so a report never goes out on another paper than the one it was laid out on.
//
// Paper width and length are those of the portrait sheet (0.1 mm): ten times the paper
// table's values for a standard paper, else the sheet read from the printer (turned back to
// portrait when the device mode is landscape) or the custom size set.
//
// Nothing is reported: a printer that lacks a capability keeps its value (the guarded
// setters answer false); the two callbacks can take over reading or writing completely by
// answering handled.
#pragma once

#include <array>
#include <functional>
#include <string>

#include "platform/printer.h"
#include "report/units.h"

namespace rpt {

class TCustomBandReport;
class TPrinterSettings;

// Called with (settings, var handled, device mode) before reading or writing a device mode.
using TPrinterSettingsEvent = std::function<void(TPrinterSettings&, bool&, platform::DeviceMode&)>;

// The settings a report carries.
class TRptPrinterSettings {
 public:
  virtual ~TRptPrinterSettings() = default;

  int Copies = 1;
  TRptBin OutputBin = TRptBin::Auto;
  bool Duplex = false;
  int FirstPage = 0;  // 0: from the first page
  int LastPage = 0;   // 0: to the last page
  bool UseStandardprinter = false;
  bool UseCustomBinCode = false;
  int CustomBinCode = 0;
  int ExtendedDuplex = 0;
  bool UseCustomPaperCode = false;
  int CustomPaperCode = 0;
  bool PrintMetaFile = false;
  int MemoryLimit = 250000;
  int PrintQuality = 0;  // stored unless 600
  int Collate = 0;
  int ColorOption = 0;
  std::string Title;
  int PrinterIndex = -1;  // -1: the current printer

  virtual TRptPaperSize PaperSize() const { return paper_; }
  virtual void SetPaperSize(TRptPaperSize size) { paper_ = size; }
  virtual TRptOrientation Orientation() const { return orientation_; }
  virtual void SetOrientation(TRptOrientation o) { orientation_ = o; }

 private:
  TRptPaperSize paper_ = TRptPaperSize::Letter;
  TRptOrientation orientation_ = TRptOrientation::Portrait;
};

// The report's settings: paper size and orientation are the report page's.
class TBandReportPrinterSettings final : public TRptPrinterSettings {
 public:
  explicit TBandReportPrinterSettings(TCustomBandReport* report) : report_(report) {}
  TRptPaperSize PaperSize() const override;
  void SetPaperSize(TRptPaperSize size) override;
  TRptOrientation Orientation() const override;
  void SetOrientation(TRptOrientation o) override;

 private:
  TCustomBandReport* report_;
};

class TPrinterSettings {
 public:
  TPrinterSettings() = default;
  TPrinterSettings(const TPrinterSettings&) = delete;
  TPrinterSettings& operator=(const TPrinterSettings&) = delete;

  // Stores the printer and, when the system lists a printer, reads the settings.
  void SetPrinter(platform::Printer* printer);
  platform::Printer* Printer() const { return printer_; }
  void ReadSettings();
  void ApplySettings();
  // A printer and its device mode exist and the mode's field mask holds every bit of `flag`.
  bool Supports(uint32_t flag) const;
  bool HasDeviceMode() const { return hasMode_; }
  const platform::DeviceMode& DeviceMode() const { return mode_; }

  const std::string& Device() const { return device_; }
  const std::string& Driver() const { return driver_; }
  const std::string& Port() const { return port_; }

  // Guarded setters: each answers whether the value was taken.
  bool SetCopies(int copies);
  bool SetOrientation(TRptOrientation o);
  bool SetDuplex(bool duplex);
  bool SetOutputBin(TRptBin bin);
  bool SetPaperSize(TRptPaperSize size);  // Default always; otherwise a paper the driver lists

  int Copies() const { return copies_; }
  TRptOrientation Orientation() const { return orientation_; }
  bool Duplex() const { return duplex_; }
  TRptBin OutputBin() const { return bin_; }
  TRptPaperSize PaperSize() const { return paper_; }
  int ExtendedDuplex() const { return extendedDuplex_; }
  void SetExtendedDuplex(int v) { extendedDuplex_ = v; }

  int PixelsPerInchX() const { return ppiX_; }
  int PixelsPerInchY() const { return ppiY_; }
  // The printer's unprintable top and left margins (0.1 mm).
  int TopOffset() const { return topOffset_; }
  int LeftOffset() const { return leftOffset_; }
  // The portrait sheet (0.1 mm): the paper table's for a standard paper, else the stored one.
  int PaperWidth() const;
  int PaperLength() const;
  void SetCustomPaperWidth(int v) { paperWidth_ = v; }
  void SetCustomPaperLength(int v) { paperLength_ = v; }
  bool PaperSupported(TRptPaperSize size) const { return supported_[static_cast<size_t>(size)]; }
  bool PaperListRead() const { return paperListRead_; }

  int PrintQuality = 0;
  int Collate = 0;
  int ColorOption = 0;
  int CustomBinCode = 0;
  bool UseCustomBinCode = false;
  int CustomPaperCode = 0;
  bool UseCustomPaperCode = false;
  bool PrintMetaFile = false;
  bool UseStandardprinter = false;
  int MemoryLimit = 250000;
  TPrinterSettingsEvent OnGetPrinterSettings;
  TPrinterSettingsEvent OnApplyPrinterSettings;

 private:
  bool TakeMode();
  platform::Printer* printer_ = nullptr;
  std::string device_, driver_, port_;
  bool hasMode_ = false;
  platform::DeviceMode mode_;
  TRptPaperSize paper_ = TRptPaperSize::A4;
  TRptOrientation orientation_ = TRptOrientation::Portrait;
  TRptBin bin_ = TRptBin::First;
  int copies_ = 1;
  bool duplex_ = false;
  int extendedDuplex_ = 0;
  int ppiX_ = 0, ppiY_ = 0;
  int topOffset_ = 0, leftOffset_ = 0;
  int paperWidth_ = 0, paperLength_ = 0;
  std::array<bool, kPaperSizeCount> supported_{};
  bool paperListRead_ = false;
};

}  // namespace rpt
