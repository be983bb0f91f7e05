#include "report/printer_settings.h"

#include "platform/mbcs.h"
#include "platform/ui.h"
#include "report/band_report.h"

namespace rpt {

// ---- TBandReportPrinterSettings ----------------------------------------------------------

TRptPaperSize TBandReportPrinterSettings::PaperSize() const {
  return report_ ? report_->Page().PaperSize() : TRptPrinterSettings::PaperSize();
}

void TBandReportPrinterSettings::SetPaperSize(TRptPaperSize size) {
  if (report_) {
    report_->Page().SetPaperSize(size);
  } else {
    TRptPrinterSettings::SetPaperSize(size);
  }
}

TRptOrientation TBandReportPrinterSettings::Orientation() const {
  return report_ ? report_->Page().Orientation() : TRptPrinterSettings::Orientation();
}

void TBandReportPrinterSettings::SetOrientation(TRptOrientation o) {
  if (report_) {
    report_->Page().SetOrientation(o);
  } else {
    TRptPrinterSettings::SetOrientation(o);
  }
}

// ---- TPrinterSettings --------------------------------------------------------------------

namespace {

// `text` cut to at most `max` bytes, never inside a double-byte character.
std::string Cut(const std::string& text, size_t max) {
  if (text.size() <= max) return text;
  size_t n = max;
  if (platform::ByteRoleAt(text, n) == platform::ByteRole::Trail) --n;
  return text.substr(0, n);
}

// The file name of a driver path.
std::string FileNameOf(const std::string& path) {
  size_t cut = std::string::npos;
  for (size_t i = 0; i < path.size(); ++i) {
    if (platform::ByteRoleAt(path, i) != platform::ByteRole::Single) continue;
    if (path[i] == '\\' || path[i] == '/') cut = i;
  }
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

// round(pixels / ppi x 254): a device length in 0.1 mm (0 without a resolution).
int Tenths(int pixels, int ppi) { return ppi > 0 ? Round(static_cast<Real>(pixels) / ppi * 254) : 0; }

constexpr size_t kNameBuffer = 1023;  // 1024-character buffers with their terminator
constexpr size_t kDriverName = 63;

}  // namespace

void TPrinterSettings::SetPrinter(platform::Printer* printer) {
  printer_ = printer;
  if (printer_ && !printer_->Printers().empty()) ReadSettings();
}

bool TPrinterSettings::TakeMode() {
  device_ = Cut(printer_->Device(), kNameBuffer);
  port_ = Cut(printer_->Port(), kNameBuffer);
  hasMode_ = printer_->GetMode(mode_);
  if (!hasMode_) hasMode_ = printer_->GetMode(mode_);  // a second attempt, as the first may come too early
  return hasMode_;
}

void TPrinterSettings::ReadSettings() {
  if (!printer_) return;
  platform::CurrentUi().ProcessEvents(platform::PumpScope::ExceptUserInput);
  TakeMode();
  driver_ = Cut(FileNameOf(printer_->Driver()), kDriverName);
  if (!hasMode_) return;
  bool handled = false;
  if (OnGetPrinterSettings) OnGetPrinterSettings(*this, handled, mode_);
  if (handled) return;
  platform::PrinterCaps caps;
  if (!printer_->Caps(caps)) caps = platform::PrinterCaps{};
  ppiX_ = caps.dpiX;
  ppiY_ = caps.dpiY;
  copies_ = (mode_.fields & platform::DM_COPIES) ? mode_.copies : 1;
  bin_ = TRptBin::First;
  if (mode_.fields & platform::DM_DEFAULTSOURCE) {
    for (int b = 0; b < kBinCount; ++b) {
      if (BinCode(static_cast<TRptBin>(b)) == mode_.defaultSource) {
        bin_ = static_cast<TRptBin>(b);
        break;
      }
    }
  }
  if (mode_.fields & platform::DM_DUPLEX) {
    duplex_ = mode_.duplex != platform::DMDUP_SIMPLEX;
    extendedDuplex_ = mode_.duplex;
  }
  topOffset_ = Tenths(caps.offsetY, ppiY_);
  leftOffset_ = Tenths(caps.offsetX, ppiX_);
  paper_ = TRptPaperSize::Default;
  if (mode_.fields & platform::DM_PAPERSIZE) {
    for (int p = 0; p < kPaperSizeCount; ++p) {
      if (PaperCode(static_cast<TRptPaperSize>(p)) == mode_.paperSize) {
        paper_ = static_cast<TRptPaperSize>(p);
        break;
      }
    }
  }
  // The sheet as the device measures it, turned back to portrait.
  int w = Tenths(caps.physicalWidth, ppiX_), l = Tenths(caps.physicalHeight, ppiY_);
  if (caps.landscape) std::swap(w, l);
  paperWidth_ = w;
  paperLength_ = l;
  supported_.fill(false);
  for (int code : printer_->PaperCodes()) {
    for (int p = static_cast<int>(TRptPaperSize::Letter); p < kPaperSizeCount; ++p) {
      if (PaperCode(static_cast<TRptPaperSize>(p)) == code) {
        supported_[static_cast<size_t>(p)] = true;
        break;
      }
    }
  }
  paperListRead_ = true;
  PrintQuality = mode_.printQuality;
  Collate = mode_.collate;
  ColorOption = mode_.color;
}

void TPrinterSettings::ApplySettings() {
  if (!printer_ || !TakeMode()) return;
  using namespace platform;
  mode_.fields |= DM_PAPERLENGTH;
  mode_.paperLength = PaperLength();
  mode_.fields |= DM_PAPERWIDTH;
  mode_.paperWidth = PaperWidth();
  if ((mode_.fields & DM_PAPERSIZE) && paper_ != TRptPaperSize::Default) {
    mode_.paperSize = UseCustomPaperCode ? CustomPaperCode : PaperCode(paper_);
  }
  mode_.fields |= DM_COPIES;
  mode_.copies = copies_;
  if (mode_.fields & DM_DUPLEX) {
    mode_.duplex = extendedDuplex_ != 0 ? extendedDuplex_ : duplex_ ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX;
  }
  mode_.fields |= DM_DEFAULTSOURCE;
  mode_.defaultSource = UseCustomBinCode ? CustomBinCode : BinCode(bin_);
  mode_.fields |= DM_ORIENTATION;
  mode_.orientation = orientation_ == TRptOrientation::Landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
  if (mode_.fields & DM_COLLATE) mode_.collate = Collate;
  bool handled = false;
  if (OnApplyPrinterSettings) OnApplyPrinterSettings(*this, handled, mode_);
  if (!handled) printer_->SetMode(mode_);
}

bool TPrinterSettings::Supports(uint32_t flag) const {
  return printer_ && hasMode_ && (mode_.fields & flag) == flag;
}

bool TPrinterSettings::SetCopies(int copies) {
  if (!Supports(platform::DM_COPIES)) return false;
  copies_ = copies;
  return true;
}

bool TPrinterSettings::SetOrientation(TRptOrientation o) {
  if (!Supports(platform::DM_ORIENTATION)) return false;
  orientation_ = o;
  return true;
}

bool TPrinterSettings::SetDuplex(bool duplex) {
  if (!Supports(platform::DM_DUPLEX)) return false;
  duplex_ = duplex;
  return true;
}

bool TPrinterSettings::SetOutputBin(TRptBin bin) {
  if (!Supports(platform::DM_DEFAULTSOURCE)) return false;
  bin_ = bin;
  return true;
}

bool TPrinterSettings::SetPaperSize(TRptPaperSize size) {
  if (size != TRptPaperSize::Default && !supported_[static_cast<size_t>(size)]) return false;
  paper_ = size;
  return true;
}

int TPrinterSettings::PaperWidth() const {
  if (paper_ == TRptPaperSize::Default || paper_ == TRptPaperSize::Custom) return paperWidth_;
  return Round(PaperOf(paper_).width * 10);
}

int TPrinterSettings::PaperLength() const {
  if (paper_ == TRptPaperSize::Default || paper_ == TRptPaperSize::Custom) return paperLength_;
  return Round(PaperOf(paper_).length * 10);
}

}  // namespace rpt
