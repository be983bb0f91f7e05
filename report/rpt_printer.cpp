#include "report/rpt_printer.h"

#include <QCoreApplication>
#include <algorithm>
#include <cctype>
#include <cmath>

#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/shell.h"
#include "platform/ui.h"
#include "report/band_report.h"
#include "report/ui/preview.h"
#include "report/ui/progress_form.h"

namespace rpt {

// ---- Messages ----------------------------------------------------------------------------

QEvent::Type RptMessageEvent::EventType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

void PostRptMessage(QObject* window, int message, intptr_t wParam, intptr_t lParam) {
  if (window) QCoreApplication::postEvent(window, new RptMessageEvent(message, wParam, lParam));
}

void SendRptMessage(QObject* window, int message, intptr_t wParam, intptr_t lParam) {
  if (!window) return;
  RptMessageEvent event(message, wParam, lParam);
  QCoreApplication::sendEvent(window, &event);
}

// ---- Hyperlinks --------------------------------------------------------------------------

namespace {

std::vector<std::pair<std::string, HyperlinkHandler>>& Handlers() {
  static std::vector<std::pair<std::string, HyperlinkHandler>> handlers;
  return handlers;
}

bool StartsWithNoCase(const std::string& text, const std::string& prefix) {
  if (text.size() < prefix.size()) return false;
  for (size_t i = 0; i < prefix.size(); ++i) {
    if (std::toupper(static_cast<unsigned char>(text[i])) != std::toupper(static_cast<unsigned char>(prefix[i]))) {
      return false;
    }
  }
  return true;
}

// Offers `link` to the handlers; true when one took it.
bool OfferLink(TRptPrinter& printer, const std::string& link) {
  for (auto& [prefix, handler] : Handlers()) {
    if (StartsWithNoCase(link, prefix)) {
      handler(printer, link.substr(prefix.size()));
      return true;
    }
  }
  return false;
}

constexpr Real kScreenFactor = 96.0L / 254;

}  // namespace

void RegisterHyperlinkHandler(const std::string& prefix, HyperlinkHandler handler) {
  Handlers().emplace_back(prefix, std::move(handler));
}

void ClearHyperlinkHandlers() { Handlers().clear(); }

// ---- Paper guess -------------------------------------------------------------------------

bool GuessPaper(int w, int h, TRptPaperSize& size, TRptOrientation& orientation) {
  for (int i = static_cast<int>(TRptPaperSize::Letter); i <= static_cast<int>(TRptPaperSize::ESheet); ++i) {
    const PaperDimensions& d = PaperOf(static_cast<TRptPaperSize>(i));
    int tw = Round(std::trunc(d.width / 4)), tl = Round(std::trunc(d.length / 4));
    if ((tw == w && tl == h) || (tw == h && tl == w)) {
      size = static_cast<TRptPaperSize>(i);
      orientation = tw == w && tl == h ? TRptOrientation::Portrait : TRptOrientation::Landscape;
      return true;
    }
  }
  return false;
}

// ---- TRptPrinter -------------------------------------------------------------------------

TRptPrinter::TRptPrinter(TCustomBandReport* report) : report_(report), xFactor_(kScreenFactor), yFactor_(kScreenFactor) {
  printersAvailable_ = !platform::CurrentPrinterService().PrinterNames().empty();
  if (report_) {
    settings_.UseStandardprinter = report_->PrinterSettings().UseStandardprinter;
    settings_.MemoryLimit = report_->PrinterSettings().MemoryLimit;
  }
  if (settings_.UseStandardprinter) {
    printer_ = &platform::Printer::Global();
  } else {
    ownPrinter_ = std::make_unique<platform::Printer>();
    printer_ = ownPrinter_.get();
  }
  if (printersAvailable_) {
    if (ownPrinter_) {
      int index = platform::Printer::Global().Index();
      if (index >= 0 && index < static_cast<int>(ownPrinter_->Printers().size()) && index != ownPrinter_->Index()) {
        ownPrinter_->SetIndex(index);
      }
    }
    settings_.SetPrinter(printer_);
  }
  topWaste_ = settings_.TopOffset();
  leftWaste_ = settings_.LeftOffset();
}

TRptPrinter::~TRptPrinter() {
  // A preview showing these pages lets go of them.
  if (auto* preview = qobject_cast<TRptPreview*>(notified_.data())) preview->PrinterFreed(this);
  if (status_ != kReady) Cleanup();
}

void TRptPrinter::SetScreenFactors() { xFactor_ = yFactor_ = kScreenFactor; }

// The printer's pixels per 0.1 mm; a resolution under 0.1 per 0.1 mm takes the screen's.
void TRptPrinter::SetDeviceFactors() {
  platform::PrinterCaps caps;
  if (!printer_->Caps(caps)) caps = platform::PrinterCaps{};
  xFactor_ = static_cast<Real>(caps.dpiX) / 254;
  yFactor_ = static_cast<Real>(caps.dpiY) / 254;
  if (xFactor_ < 0.1L) xFactor_ = kScreenFactor;
  if (yFactor_ < 0.1L) yFactor_ = kScreenFactor;
}

bool TRptPrinter::InRange() const {
  return (FirstPage <= 0 || pageCount_ >= FirstPage) && (LastPage <= 0 || pageCount_ <= LastPage);
}

void TRptPrinter::BeginDoc() {
  metafile_.reset();
  canvas_.reset();
  availablePages_ = 0;
  cancelled_ = false;
  if (destination_ == kPrinter) {
    settings_.ApplySettings();
    topWaste_ = settings_.TopOffset();
    leftWaste_ = settings_.LeftOffset();
  } else {
    topWaste_ = leftWaste_ = 0;
  }
  if (status_ != kReady) throw ERptError("RptPrinter not ready");
  pageNumber_ = 0;
  pageCount_ = 0;
  status_ = kBusy;
  if (destination_ == kPageList) {
    stream_ = std::make_shared<TRptStream>(settings_.MemoryLimit);
    pageList_.Clear();
    pageList_.SetStream(stream_);
    SetScreenFactors();
  } else {
    SetDeviceFactors();
  }
}

void TRptPrinter::BeginMetafilePage() {
  SetScreenFactors();
  metafile_ = std::make_unique<platform::EmfRecorder>(std::max(1, XSize(PaperWidth())), std::max(1, YSize(PaperLength())));
  canvas_ = std::make_unique<platform::Canvas>(*metafile_);
}

void TRptPrinter::FreeMetafilePage() {
  canvas_.reset();
  metafile_.reset();
  pageObjects_.clear();
}

void TRptPrinter::PagesAvailable() {
  ++availablePages_;
  PostRptMessage(notified_, CM_RPTPAGEAVAILABLE, availablePages_);
}

// Ends the open page: into the page list, or onto the printer (nothing to do until the
// next page in range, which starts a new sheet), or thrown away outside the print range.
void TRptPrinter::FinishPage() {
  if (destination_ == kPageList) {
    canvas_.reset();
    if (metafile_) {
      std::string bytes = metafile_->Finish();
      metafile_.reset();
      pageObjects_.clear();
      pageList_.AddPage(bytes);
    }
  } else if (metafile_) {
    FreeMetafilePage();
  } else {
    canvas_.reset();
  }
  PagesAvailable();
}

void TRptPrinter::NewPage() {
  if (status_ != kBusy) throw ERptError("Illegal call to NewPage");
  if (pageNumber_ > 0) FinishPage();
  ++pageCount_;
  ++pageNumber_;
  if (destination_ == kPageList || !InRange()) {
    BeginMetafilePage();
    return;
  }
  if (printer_->Printing()) {
    printer_->NewPage();
  } else {
    printer_->title = Title;
    if (!printer_->BeginDoc()) {
      // The user closed the printer's file dialog: the run ends as cancelled, not as failed.
      if (printer_->Declined()) cancelled_ = true;
      throw ERptError("The document cannot be printed on " + printer_->Device());
    }
  }
  canvas_ = std::make_unique<platform::Canvas>(*printer_->Dc());
  SetDeviceFactors();
}

void TRptPrinter::EndDoc() {
  if (status_ != kBusy) return;
  bool written = true;
  std::string output;
  if (pageNumber_ > 0) FinishPage();
  if (destination_ == kPrinter && printer_->Printing()) {
    written = printer_->EndDoc();
    output = printer_->Output();
  }
  status_ = kFinished;
  PostRptMessage(notified_, CM_RPTPAGEAVAILABLE, availablePages_);
  platform::CurrentUi().ProcessEvents(platform::PumpScope::ExceptUserInput);
  if (destination_ == kPageList) {
    pageList_.WriteHeader();
  } else if (!written) {
    throw ERptError("The document could not be written: " + output);
  } else if (AfterPrint) {
    AfterPrint();
  }
}

void TRptPrinter::AbortDoc() {
  if (destination_ == kPrinter) {
    printer_->Abort();
    FreeMetafilePage();
  } else if (metafile_) {
    canvas_.reset();
    std::string bytes = metafile_->Finish();
    metafile_.reset();
    pageObjects_.clear();
    if (!(report_ && report_->FilterAttached())) pageList_.AddPage(bytes);
  }
  if (destination_ == kPageList && pageList_.Stream()) pageList_.WriteHeader();
  canvas_.reset();
  status_ = kFinished;
}

void TRptPrinter::Cleanup() {
  if (status_ == kBusy) Cancel();
  FreeMetafilePage();
  printer_->Abort();
  pageList_.SetStream(nullptr);
  stream_.reset();
  pageList_.Clear();
  availablePages_ = 0;
  status_ = kReady;
}

std::optional<std::string> TRptPrinter::GetPage(int n) {
  if ((status_ != kBusy && status_ != kFinished) || n < 1 || n > pageCount_) return std::nullopt;
  return pageList_.GetPage(n);
}

void TRptPrinter::SetPageNumber(int n) {
  if (pageNumber_ >= 1 && pageNumber_ <= pageCount_) pageNumber_ = n;
}

// The sheet across (or down) as it lies: a standard paper from the table, else the settings'.
Real TRptPrinter::PaperSide(bool across) const {
  TRptPaperSize size = settings_.PaperSize();
  bool width = across != (settings_.Orientation() == TRptOrientation::Landscape);
  if (size == TRptPaperSize::Default || size == TRptPaperSize::Custom) {
    return width ? settings_.PaperWidth() : settings_.PaperLength();
  }
  return (width ? PaperOf(size).width : PaperOf(size).length) * 10;
}

void TRptPrinter::SetPrinterIndex(int index) {
  if (!printersAvailable_ || printer_->IsGlobal()) return;
  if (!printer_->SetIndex(index)) return;
  printer_->ResetMode();
  settings_.ReadSettings();
}

void TRptPrinter::Save(const std::string& fileName) {
  if (status_ != kFinished) return;
  if (!pageList_.Stream()) throw ERptError(fileName + ": there are no pages to save");
  pageList_.WriteFile(fileName);
}

void TRptPrinter::Export(TRptExportFilter* filter, const std::string& fileName) {
  if (!filter || !OnExport) throw ERptError(fileName + ": the pages cannot be exported in this format");
  OnExport(filter);
}

void TRptPrinter::Load(const std::string& fileName) {
  // The file is read and checked before anything shown is given up.
  TRptPageList loaded;
  loaded.LoadFromFile(fileName);
  std::optional<std::string> first;
  if (loaded.PageCount() > 0) first = loaded.GetPage(1);
  if (status_ != kReady) Cleanup();
  stream_ = loaded.Stream();
  pageList_.SetStream(stream_);
  pageList_.ReadHeader();
  pageCount_ = pageList_.PageCount();
  availablePages_ = pageCount_;  // every page of a file is finished
  SetScreenFactors();
  if (first) {
    if (auto header = platform::emf::ReadHeader(*first)) {
      platform::Size px = platform::emf::FrameSizePixels(*header);
      int w = static_cast<int>(std::trunc(px.cx / xFactor_ / 40)), h = static_cast<int>(std::trunc(px.cy / xFactor_ / 40));
      TRptPaperSize size;
      TRptOrientation orientation;
      guessedPaper_ = TRptPaperSize::Default;
      if (GuessPaper(w, h, size, orientation)) {
        settings_.SetPaperSize(size);
        settings_.SetOrientation(orientation);
        guessedPaper_ = size;
        guessedOrientation_ = orientation;
      }
    }
  }
  status_ = kFinished;
  OnPrintSetup = nullptr;
  OnExport = nullptr;
  loadedFromFile_ = true;
}

void TRptPrinter::PrintStoredPages() {
  if (previewForm_ && !loadedFromFile_ && !settings_.PrintMetaFile) {
    if (status_ == kFinished) PostRptMessage(previewForm_, CM_RPTPRINT, 0);
    return;
  }
  if (status_ != kFinished || !printersAvailable_) return;
  int first = std::max(1, FirstPage);
  int last = LastPage > 0 ? std::min(LastPage, pageCount_) : pageCount_;
  if (first > last) return;
  printer_->title = Title;
  printer_->Abort();
  settings_.ApplySettings();
  if (!printer_->BeginDoc()) {
    if (printer_->Declined()) return;  // the user closed the printer's file dialog: nothing to print
    throw ERptError("The document cannot be printed on " + printer_->Device());
  }
  const Real px = settings_.PixelsPerInchX(), py = settings_.PixelsPerInchY();
  // The pages of a run were laid out on the printer's sheet (a report whose paper the printer
  // lacks too); a loaded file's pages go onto the report's page as before.
  const bool reportPage = report_ && loadedFromFile_;
  const Real width = reportPage ? report_->Page().Native(TRptPage::kWidth) : PaperWidth();
  const Real length = reportPage ? report_->Page().Native(TRptPage::kLength) : PaperLength();
  const Real left = settings_.LeftOffset(), top = settings_.TopOffset();
  const platform::Rect dest{-Round(left * px / 254), -Round(top * py / 254), Round((width - left) * px / 254),
                            Round((length - top) * py / 254)};
  std::unique_ptr<TRptProgressForm> progress;
  QPointer<QObject> notified = notified_;
  if (report_ && report_->ShowProgress) {
    progress = std::make_unique<TRptProgressForm>(this);
    progress->show();
    notified_ = progress.get();
  }
  struct Restore {
    TRptPrinter& printer;
    QPointer<QObject> notified;
    ~Restore() { printer.notified_ = notified; }
  } restore{*this, notified};
  bool ended = false;
  try {
    for (int p = first; p <= last; ++p) {
      platform::CurrentUi().ProcessEvents(platform::PumpScope::WithUserInput);  // a cancel button works
      SetProgress(Round(static_cast<Real>(p - first + 1) / (last - first + 1) * 100));
      SetPageNumber(p);
      if (std::optional<std::string> page = pageList_.GetPage(p)) platform::PlayEnhMetafile(*printer_->Dc(), *page, dest);
      if (cancelled_) break;
      if (p != last) printer_->NewPage();
    }
    if (cancelled_) {
      printer_->Abort();
    } else {
      std::string output = printer_->Output();
      ended = true;
      if (!printer_->EndDoc()) throw ERptError("The document could not be written: " + output);
    }
  } catch (...) {
    if (!ended) printer_->Abort();
    throw;
  }
  if (!cancelled_ && report_ && report_->AfterPrint) report_->AfterPrint(report_);
}

void TRptPrinter::SetProgress(int percent) {
  progress_ = percent;
  PostRptMessage(notified_, CM_RPTPROGRESSUPDATE, percent);
}

void TRptPrinter::SetShowingPreview(bool showing) {
  bool was = showingPreview_;
  showingPreview_ = showing;
  if (was && !showing) {
    if (status_ == kBusy) Cancel();
    if (AfterPreview) AfterPreview();
  }
}

void TRptPrinter::FollowHyperlink(const std::string& link) {
  if (StartsWithNoCase(link, "EXT:")) {
    platform::ShellOpen(link.substr(4));
  } else if (StartsWithNoCase(link, "INT:")) {
    OfferLink(*this, link.substr(4));
  } else if (!OfferLink(*this, link)) {
    platform::ShellOpen(link);
  }
}

}  // namespace rpt
