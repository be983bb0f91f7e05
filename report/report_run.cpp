// The report run: pages and columns, the current position, page headers and footers, the
// report's own printables and frame, the evaluator constants PAGENUMBER and COLUMNNUMBER, and
// printing on the printer with the progress form.
//
// Decisions beyond the run's rules:
// - Both evaluator environments (the program-wide one and the report's Functions) are in use
//   from before PAGENUMBER is looked up until the run ends, so their entries are compiled and
//   the constants can be set; the expression module is started for the run's duration.
// - A run that is cancelled (by the report or on its printer, where the progress form cancels)
//   aborts its document and never ends it; a run that fails aborts its document too (a PDF
//   being written is dropped and an older file of the name stays) and then raises its own
//   error: when the abort fails as well (the page store cannot take the last page), that
//   failure is dropped, and the report is available again either way.
// - Overlay bands print at every page end, before the report's own printables: at the top
//   margin and the left margin, over what the page holds, without room checks and without
//   moving the position.
// - An export filter hears of a page's end only for a page that was begun.
// - Bands printed while a new column or page is being started (page headers, column headers,
//   repeated group headers) force no further column or page break.
// - A composite prints on its own paper and orientation (its PrinterSettings); each report is
//   laid out on them for the run and gets its own page back afterwards.
// - A run lays its pages out on the one sheet the job prints on, the printer's paper as the
//   device settings took it: the room check, the page end (where the page footer starts) and
//   the page frame alike. A report whose paper the printer does not offer (its choice refused)
//   is laid out on the printer's paper, so nothing is drawn below the sheet.
// - On page 1 further columns start below the title band and its child bands.
// - The forced new page skipped after a printed title or column header is the first one on
//   that page only: bands printed in between (a group header) keep the skip, but once another
//   page has begun it is gone, so a summary or group footer with ForceNewPage after several
//   detail pages still starts a page of its own.
#include <QEvent>
#include <algorithm>
#include <cmath>
#include <exception>

#include "platform/emf_player.h"
#include "platform/ui.h"
#include "report/band_report.h"
#include "report/controller.h"
#include "report/export_filter.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_printer.h"
#include "report/ui/print_dialog.h"
#include "report/ui/progress_form.h"

namespace rpt {

namespace {

// Increments a counter for the lifetime of the object.
class CountScope {
 public:
  explicit CountScope(int& n) : n_(n) { ++n_; }
  ~CountScope() { --n_; }
  CountScope(const CountScope&) = delete;
  CountScope& operator=(const CountScope&) = delete;

 private:
  int& n_;
};

}  // namespace

// ---- Printers of the report --------------------------------------------------------------

void TCustomBandReport::SetPrinter(TRptPrinter* printer) {
  if (printer != ownPrinter_.get()) ownPrinter_.reset();
  printer_ = printer;
}

void TCustomBandReport::FreePrinter() {
  printer_ = nullptr;
  ownPrinter_.reset();
}

bool TCustomBandReport::PreparePrinter() {
  if (!available_) return false;
  QObject* notified = printer_ ? printer_->NotifiedWindow() : nullptr;
  auto printer = std::make_unique<TRptPrinter>(this);
  printer->SetNotifiedWindow(notified);
  printer->AfterPreview = [this] {
    if (AfterPreview) AfterPreview(this);
  };
  printer->AfterPrint = [this] {
    if (AfterPrint) AfterPrint(this);
  };
  ownPrinter_ = std::move(printer);
  printer_ = ownPrinter_.get();
  return true;
}

void TCustomBandReport::ClearPreviewPage() {
  if (previewPage_.empty()) return;
  previewPage_.clear();
  update();
}

bool TCustomBandReport::RunCancelled() const { return cancelled_ || (printer_ && printer_->Cancelled()); }

void TCustomBandReport::Cancel() {
  if (available_) return;
  cancelled_ = true;
  if (printer_) printer_->Cancel();
}

// ---- Print -------------------------------------------------------------------------------

TRptPrintOutcome TCustomBandReport::Print() {
  if (Composite) return Composite->Print();
  TRptPrintOutcome outcome;
  if (!available_) return outcome;
  // The printer the report had (a preview's) comes back afterwards.
  std::unique_ptr<TRptPrinter> keptOwn = std::move(ownPrinter_);
  TRptPrinter* kept = printer_;
  auto restore = [&] {
    FreePrinter();
    ownPrinter_ = std::move(keptOwn);
    printer_ = kept;
  };
  if (!PreparePrinter() || !printer_->PrintersAvailable()) {
    restore();
    return outcome;
  }
  printer_->SetDestination(TRptPrinter::kPrinter);
  auto progress = std::make_unique<TRptProgressForm>(printer_);
  if (ShowProgress) progress->show();
  printer_->SetNotifiedWindow(progress.get());
  try {
    RunReport(false);
    if (RunCancelled()) {
      outcome.kind = TRptPrintOutcome::Cancelled;
    } else if (printer_->PageCount() > 0 && printer_->GetStatus() == TRptPrinter::kFinished) {
      outcome.kind = TRptPrintOutcome::Printed;
    }
  } catch (const std::exception& e) {
    // A run the user cancelled while its document began (its file dialog closed) is no failure.
    if (RunCancelled()) {
      outcome.kind = TRptPrintOutcome::Cancelled;
    } else {
      outcome.kind = TRptPrintOutcome::Failed;
      outcome.message = e.what();
    }
  }
  restore();
  progress.reset();
  return outcome;
}

// ---- The run -----------------------------------------------------------------------------

namespace {

// Aborts the printer's document after a failed run, whose error is the one to report.
void AbortQuietly(TRptPrinter& printer) {
  try {
    printer.AbortDoc();
  } catch (...) {
  }
}

// A report's (or a composite's) printer settings onto the run's printer, on `paper` in
// `orientation` (a Custom paper of `width` x `length`, 0.1 mm).
void ApplySettings(TRptPrinter& printer, const TRptPrinterSettings& s, TRptPaperSize paper,
                   TRptOrientation orientation, Real width, Real length) {
  TPrinterSettings& device = printer.Settings();
  if (s.PrinterIndex >= 0) printer.SetPrinterIndex(s.PrinterIndex);
  device.SetPaperSize(paper);
  if (paper == TRptPaperSize::Custom) {
    device.SetCustomPaperWidth(Round(width));
    device.SetCustomPaperLength(Round(length));
  }
  device.SetOrientation(orientation);
  device.SetCopies(s.Copies);
  device.SetOutputBin(s.OutputBin);
  printer.FirstPage = s.FirstPage;
  printer.LastPage = s.LastPage;
  device.SetDuplex(s.Duplex);
  device.UseStandardprinter = s.UseStandardprinter;
  device.PrintMetaFile = s.PrintMetaFile;
  device.CustomBinCode = s.CustomBinCode;
  device.UseCustomBinCode = s.UseCustomBinCode;
  device.CustomPaperCode = s.CustomPaperCode;
  device.UseCustomPaperCode = s.UseCustomPaperCode;
  device.PrintQuality = s.PrintQuality;
  device.Collate = s.Collate;
  device.ColorOption = s.ColorOption;
  device.SetExtendedDuplex(s.ExtendedDuplex);
}

}  // namespace

void TCustomBandReport::ApplyPrinterSettings() {
  TPrinterSettings& device = printer_->Settings();
  device.OnGetPrinterSettings = nullptr;
  device.OnApplyPrinterSettings = nullptr;
  ApplySettings(*printer_, *printerSettings_, printerSettings_->PaperSize(), printerSettings_->Orientation(),
                page_.Native(TRptPage::kWidth), page_.Native(TRptPage::kLength));
  device.OnGetPrinterSettings = deviceSettings_->OnGetPrinterSettings;
  device.OnApplyPrinterSettings = deviceSettings_->OnApplyPrinterSettings;
}

Real TCustomBandReport::RunPaperSide(bool down) const {
  const TPrinterSettings& device = printer_->Settings();
  const bool turned = device.Orientation() == TRptOrientation::Landscape && device.PaperSize() != TRptPaperSize::Custom;
  return turned == down ? device.PaperWidth() : device.PaperLength();
}

Real TCustomBandReport::RunPaperLength() const { return RunPaperSide(true); }

void TCustomBandReport::RunReport(bool composite) {
  if (!available_ || !printer_) return;
  ClearPreviewPage();
  const Real width = page_.Native(TRptPage::kWidth), length = page_.Native(TRptPage::kLength);
  if (width - page_.Native(TRptPage::kLeftMargin) - page_.Native(TRptPage::kRightMargin) < 0) {
    page_.SetNative(TRptPage::kLeftMargin, 0);
    page_.SetNative(TRptPage::kRightMargin, 0);
  }
  if (length - page_.Native(TRptPage::kTopMargin) - page_.Native(TRptPage::kBottomMargin) < 0) {
    page_.SetNative(TRptPage::kTopMargin, 0);
    page_.SetNative(TRptPage::kBottomMargin, 0);
  }
  cancelled_ = lastPage_ = headerPrinted_ = forcedColumn_ = false;
  runDataSets_.clear();
  backImage_ = nullptr;
  for (TRptImage* image : findChildren<TRptImage*>(Qt::FindDirectChildrenOnly)) {
    if (!BackImageControl.empty() &&
        image->objectName().compare(QString::fromStdString(BackImageControl), Qt::CaseInsensitive) == 0) {
      backImage_ = image;
    }
  }
  bool print = true;
  if (BeforePrint && !designing_) BeforePrint(this, print);
  if (!print) return;
  available_ = false;

  const TRptUnit units = Units();
  ExprModuleStartup();
  TRptEvEnvironment* global = GlobalEnvironment();
  bool inUse = false, activated = false, prepared = false;
  // Steps that must run whatever happens: units, printables, controller, environments.
  auto finish = [&] {
    SetUnits(units);
    if (prepared) {
      for (TRptPrintable* p : findChildren<TRptPrintable*>()) p->Unprepare();
    }
    if (activated) controller_->Deactivate();
    if (inUse) {
      pageNumber_ = columnNumber_ = reportTitle_ = nullptr;
      functions_->Reset();
      functions_->EndUse();
      if (global) {
        global->Reset();
        global->EndUse();
      }
      functions_->SetDataSets(nullptr);
    }
    prepared = activated = inUse = false;
    ExprModuleShutdown();
  };
  try {
    SetUnits(TRptUnit::Native);
    if (composite) {
      page_.SetOrientation(printer_->Settings().Orientation());
      if (printer_->Settings().PaperSize() != TRptPaperSize::Default) page_.SetPaperSize(printer_->Settings().PaperSize());
    } else {
      ApplyPrinterSettings();
      printer_->Title = ReportTitle;
      printer_->SetCompression(Options.Has(TBandReportOption::Compression));
      printer_->BeginDoc();
      StartDocument();
    }
    currentColumn_ = page_.Columns();
    if (filter_ && !filter_->Started()) {
      filter_->Start(Round(page_.Native(TRptPage::kWidth)), Round(page_.Native(TRptPage::kLength)), font_);
      filter_->SetStarted(true);
    }
    footerSpace_ = 0;
    for (TRptCustomBand* band : allBands_) {
      if (band->BandType() == TRptBandType::rbPageFooter && band->Enabled()) footerSpace_ += band->HeightWithChildren();
    }
    currentX_ = Round(page_.Native(TRptPage::kLeftMargin));
    HandBandsToController();
    controller_->Prepare();
    controller_->AddDataSets();
    if (global) global->Reset();
    functions_->Reset();
    functions_->SetDataSets(&runDataSets_);
    if (global) global->BeginUse();
    functions_->BeginUse();
    inUse = true;
    pageNumber_ = functions_->ConstantElement("PAGENUMBER");
    columnNumber_ = functions_->ConstantElement("COLUMNNUMBER");
    reportTitle_ = functions_->ConstantElement("REPORTTITLE");
    TRptEvEnvironment::StoreString(reportTitle_, ReportTitle);
    if (composite) TRptEvEnvironment::StoreInteger(pageNumber_, pageCount_);
    controller_->Activate();
    activated = true;
    for (TRptPrintable* p : findChildren<TRptPrintable*>()) p->Prepare();
    prepared = true;

    Execute();

    if (!composite) {
      currentX_ = Round(page_.Native(TRptPage::kLeftMargin));
      lastPage_ = true;
      if (!RunCancelled()) EndPage();
      if (filter_) filter_->Finish();
    } else if (Tag == 999) {
      lastPage_ = true;
      EndPage();
      if (filter_) filter_->Finish();
    }
    finish();
  } catch (...) {
    // The run's own error is the one reported: an abort that fails as well (its last page not
    // stored) does not replace it, nor keeps the report from running again.
    const std::exception_ptr error = std::current_exception();
    finish();
    if (!composite) AbortQuietly(*printer_);
    available_ = true;
    std::rethrow_exception(error);
  }
  try {
    if (RunCancelled()) {
      if (!composite) printer_->AbortDoc();
    } else if (!composite) {
      printer_->EndDoc();
    }
  } catch (...) {
    available_ = true;
    throw;
  }
  available_ = true;
}

void TCustomBandReport::Execute() { controller_->Execute(); }

void TBandReport::Execute() {
  SortBands();
  ReportController().OnNeedData = OnNeedData;
  ReportController().Execute();
}

// ---- Pages and columns -------------------------------------------------------------------

void TCustomBandReport::PrintBandsOfKind(TRptBandType type) {
  // A copy: printing may re-sort nothing, but the list must not change under the loop.
  const std::vector<TRptCustomBand*> order = printOrder_;
  for (TRptCustomBand* band : order) {
    if (band->BandType() == type) PrintBand(band);
  }
}

void TCustomBandReport::NewPage() {
  EndPage();
  headerPrinted_ = false;  // the skip is for a forced new page on the header's own page
  if (filter_) filter_->NewPage();
  ++pageCount_;
  TRptEvEnvironment::StoreInteger(pageNumber_, pageCount_);
  printer_->NewPage();
  currentY_ = Round(page_.Native(TRptPage::kTopMargin));
  if (OnStartPage && !designing_) OnStartPage(this);
  if (auto* image = qobject_cast<TRptImage*>(backImage_.data()); image && printer_->Canvas()) {
    const TRptPrintableSize& s = image->Size();
    const int left = printer_->XPos(s.Native(TRptPrintableSize::kLeft));
    const int top = printer_->YPos(s.Native(TRptPrintableSize::kTop));
    const platform::Rect r{left, top, left + Round(s.Native(TRptPrintableSize::kWidth) * printer_->XFactor()),
                           top + Round(s.Native(TRptPrintableSize::kHeight) * printer_->YFactor())};
    if (const platform::TGraphic* graphic = image->Picture().Graphic()) graphic->Draw(*printer_->Canvas(), r);
    if (filter_) filter_->Graphic(image, top, left);
  }
  if (pageCount_ > 1 || (pageCount_ == 1 && Options.Has(TBandReportOption::FirstPageHeader))) {
    PrintBandsOfKind(TRptBandType::rbPageHeader);
  }
  columnTop_ = currentY_;
  currentColumn_ = 1;
  if (pageCount_ == 1) {
    // Further columns start below the title and the bands chained to it as its children.
    if (TRptBand* title = FirstBandOf(TRptBandType::rbTitle)) columnTop_ += Round(title->HeightWithChildren());
  }
}

void TCustomBandReport::EndPage() {
  if (pageCount_ <= 0) return;
  currentY_ = Round(RunPaperLength() - page_.Native(TRptPage::kBottomMargin) - footerSpace_);
  currentX_ = Round(page_.Native(TRptPage::kLeftMargin));
  if (!(lastPage_ && !Options.Has(TBandReportOption::LastPageFooter))) PrintBandsOfKind(TRptBandType::rbPageFooter);
  PrintOverlays();
  PrintPageObjects();
  if (OnEndPage && !designing_) OnEndPage(this);
  if (filter_) filter_->EndPage();
}

void TCustomBandReport::PrintOverlays() {
  const int x = currentX_, y = currentY_;
  const std::vector<TRptCustomBand*> order = printOrder_;
  for (TRptCustomBand* band : order) {
    if (band->BandType() != TRptBandType::rbOverlay || !band->Enabled()) continue;
    currentX_ = Round(page_.Native(TRptPage::kLeftMargin));
    currentY_ = Round(page_.Native(TRptPage::kTopMargin));
    band->PrintBand(false);
  }
  currentX_ = x;
  currentY_ = y;
}

void TCustomBandReport::PrintPageObjects() {
  for (TRptPrintable* p : findChildren<TRptPrintable*>(Qt::FindDirectChildrenOnly)) {
    if (p != backImage_.data()) p->PrintControl(0, 0);
  }
  if (frame_.AnyFrame() && printer_->Canvas()) {
    const platform::Rect r{printer_->XPos(page_.Native(TRptPage::kLeftMargin)),
                           printer_->YPos(page_.Native(TRptPage::kTopMargin)),
                           printer_->XPos(RunPaperSide(false) - page_.Native(TRptPage::kRightMargin)),
                           printer_->YPos(RunPaperLength() - page_.Native(TRptPage::kBottomMargin))};
    frame_.PaintFrame(*printer_->Canvas(), r, printer_->YFactor(), printer_->XFactor());
  }
}

void TCustomBandReport::NewColumn() {
  CountScope breaking(inBreak_);
  const int columns = page_.Columns();
  if (currentColumn_ < columns) {
    int columnWidth;
    if (TRptBand* detail = FirstBandOf(TRptBandType::rbDetail)) {
      columnWidth = Round(detail->Size().Native(TRptBandSize::kWidth));
    } else {
      columnWidth = (Round(page_.Native(TRptPage::kWidth) -
                           (page_.Native(TRptPage::kLeftMargin) + page_.Native(TRptPage::kRightMargin))) -
                     Round(page_.Native(TRptPage::kColumnSpace)) * (columns - 1)) /
                    columns;
    }
    currentX_ += columnWidth + Round(page_.Native(TRptPage::kColumnSpace));
    currentY_ = columnTop_;
    ++currentColumn_;
  } else {
    currentColumn_ = 1;
    currentX_ = Round(page_.Native(TRptPage::kLeftMargin));
    NewPage();
  }
  TRptEvEnvironment::StoreInteger(columnNumber_, currentColumn_);
  if (!(currentColumn_ == 1 && pageCount_ == 1)) {
    PrintBandsOfKind(TRptBandType::rbColumnHeader);
    controller_->ReprintGroupHeaders();
  }
}

void TCustomBandReport::ForceNewPage() {
  if (available_) return;
  if (headerPrinted_) {
    headerPrinted_ = false;
    return;
  }
  do {
    NewColumn();
  } while (currentColumn_ != 1);
}

void TCustomBandReport::ForceNewColumn() {
  if (available_) return;
  if (forcedColumn_ || currentColumn_ > 1) {
    NewColumn();
  } else {
    forcedColumn_ = true;
  }
}

int TCustomBandReport::AvailableSpace() const {
  if (available_ || pageCount_ <= 0 || !printer_) return 0;
  if (filter_ && filter_->Continuous()) return Round(page_.Native(TRptPage::kLength));
  return Round(RunPaperLength() - page_.Native(TRptPage::kBottomMargin) - footerSpace_ - currentY_);
}

void TCustomBandReport::MakeRoom(TRptCustomBand& band) {
  if (pageCount_ <= 0) {
    NewColumn();
    return;
  }
  if (band.BandType() == TRptBandType::rbPageFooter) return;
  const Real height = band.HeightWithLinks();
  const Real page = page_.Native(TRptPage::kLength) - page_.Native(TRptPage::kTopMargin) -
                    page_.Native(TRptPage::kBottomMargin);
  if (height > AvailableSpace() && height <= page) NewColumn();
}

void TCustomBandReport::PrintBand(TRptCustomBand* band) {
  if (!band) return;
  if (band->AlignToBottom() && printer_) {
    if (band->BandType() == TRptBandType::rbSummary && !Options.Has(TBandReportOption::LastPageFooter)) {
      footerSpace_ = 0;
    }
    const Real paper = RunPaperLength();
    const Real height = band->Size().Native(TRptBandSize::kHeight);
    const Real bottom = page_.Native(TRptPage::kBottomMargin) + footerSpace_;
    if (paper - currentY_ >= Round(height + bottom)) currentY_ = Round(paper) - Round(height) - Round(bottom);
  }
  band->PrintBand();
}

void TCustomBandReport::ContinueFrom(const TCustomBandReport& previous) {
  currentY_ = previous.currentY_;
  pageCount_ = previous.pageCount_;
  currentColumn_ = previous.currentColumn_;
  currentX_ = previous.currentX_;
  columnTop_ = previous.columnTop_;
}

void TCustomBandReport::StartDocument() {
  currentY_ = -1;
  pageCount_ = 0;
}

void TCustomBandReport::RegisterExpressionControl(TRptPrintable* control) { controller_->AddNotifyExpression(control); }

// ---- Messages ----------------------------------------------------------------------------

bool TCustomBandReport::event(QEvent* e) {
  if (e->type() != RptMessageEvent::EventType()) return TRptBasePanel::event(e);
  const auto* m = static_cast<RptMessageEvent*>(e);
  switch (m->message) {
    case CM_RPTPAGEAVAILABLE:
      if (m->wParam == 1 && printer_) {
        if (std::optional<std::string> page = printer_->GetPage(1)) {
          previewPage_ = std::move(*page);
          update();
        }
      }
      break;
    case CM_RPTPRINT: Print(); break;
    case CM_RPTPREVIEWCLOSE:
      if (available_ && printer_) {
        if (printer_->ShowingPreview()) printer_->SetShowingPreview(false);
        FreePrinter();
      } else if (!available_) {
        Cancel();
      }
      break;
    default: break;
  }
  return true;
}

// ---- Printer setup -----------------------------------------------------------------------

bool TCustomBandReport::PrinterSetup() {
  platform::Printer& platformPrinter = platform::Printer::Global();
  TRptPrintDialog dialog;
  dialog.SetPrinter(&platformPrinter);
  const TBandReportPrinterSettings& mine = *printerSettings_;
  if (mine.PrinterIndex >= 0) platformPrinter.SetIndex(mine.PrinterIndex);
  dialog.Orientation = mine.Orientation() == TRptOrientation::Landscape ? 2 : 1;
  // The dialog shows the paper the report prints on: its own when the printer offers it, else
  // the printer's.
  {
    TPrinterSettings used;
    used.SetPrinter(&platformPrinter);
    used.SetPaperSize(mine.PaperSize());
    if (used.PaperSize() != TRptPaperSize::Default) dialog.PaperSize = PaperCode(used.PaperSize());
  }
  dialog.SetCopies(mine.Copies);
  dialog.MinPage = 0;
  dialog.MaxPage = 9999;
  if (printer_ && printer_->GetStatus() == TRptPrinter::kFinished) {
    dialog.MinPage = 1;
    dialog.MaxPage = std::max(1, printer_->PageCount());
  }
  dialog.FromPage = dialog.MinPage;
  dialog.ToPage = dialog.MaxPage;
  dialog.Options = {TPrintDialogOption::poPageNums};
  if (!dialog.RunDialog()) {
    Tag = 1;
    return false;
  }
  Tag = 0;
  const int index = platformPrinter.Index();
  // The first bin of the code, as reading a device mode takes it (codes 1 and 14 name two bins).
  TRptBin bin = TRptBin::Auto;
  for (int b = 0; b < kBinCount; ++b) {
    if (BinCode(static_cast<TRptBin>(b)) == dialog.OutputBin) {
      bin = static_cast<TRptBin>(b);
      break;
    }
  }
  TRptPaperSize paper = TRptPaperSize::Default;
  for (int p = 0; p < kPaperSizeCount; ++p) {
    if (PaperCode(static_cast<TRptPaperSize>(p)) == dialog.PaperSize) paper = static_cast<TRptPaperSize>(p);
  }
  const TRptOrientation orientation = dialog.Orientation == 2 ? TRptOrientation::Landscape : TRptOrientation::Portrait;
  const bool range = dialog.PrintRange == TPrintRange::prPageNums;
  TBandReportPrinterSettings& s = *printerSettings_;
  s.Copies = dialog.Copies();
  s.PrinterIndex = index;
  s.OutputBin = bin;
  s.Duplex = dialog.Duplex;
  s.PrintQuality = dialog.PrintQuality;
  s.Collate = dialog.Collate;
  s.ColorOption = dialog.ColorOption;
  if (paper != TRptPaperSize::Default) s.SetPaperSize(paper);
  s.SetOrientation(orientation);
  s.FirstPage = range ? dialog.FromPage : 0;
  s.LastPage = range ? dialog.ToPage : 0;
  TPrinterSettings& d = *deviceSettings_;
  d.SetPrinter(&platformPrinter);
  d.SetCopies(s.Copies);
  d.SetOutputBin(bin);
  d.SetDuplex(s.Duplex);
  d.PrintQuality = s.PrintQuality;
  d.Collate = s.Collate;
  d.ColorOption = s.ColorOption;
  if (paper != TRptPaperSize::Default) d.SetPaperSize(paper);
  d.SetOrientation(orientation);
  return true;
}

// ---- Composite printing ------------------------------------------------------------------

TRptPrintOutcome TRptCompositeReport::Print() {
  TRptPrintOutcome outcome;
  if (Reports.empty()) return outcome;
  TBandReport holder;
  TCustomBandReport& first = *Reports.front();
  holder.Page().SetOrientation(first.Page().Orientation());
  holder.Page().SetPaperSize(first.Page().PaperSize());
  holder.SetPreviewWidth(first.PreviewWidth());
  holder.SetPreviewHeight(first.PreviewHeight());
  holder.PrinterSettings().UseStandardprinter = PrinterSettings.UseStandardprinter;
  holder.PrinterSettings().MemoryLimit = PrinterSettings.MemoryLimit;
  TRptPrinter printer(&holder);
  if (!printer.PrintersAvailable()) return outcome;
  printer.SetDestination(TRptPrinter::kPrinter);
  // The composite's own paper and orientation (a Custom paper takes the first report's size).
  ApplySettings(printer, PrinterSettings, PrinterSettings.PaperSize(), PrinterSettings.Orientation(),
                first.Page().Native(TRptPage::kWidth), first.Page().Native(TRptPage::kLength));
  printer.Title = Title;
  printer_ = &printer;
  struct Reset {
    TRptPrinter*& p;
    ~Reset() { p = nullptr; }
  } reset{printer_};
  if (BeforePrint) BeforePrint(*this);
  bool cancelled = false;
  try {
    printer.BeginDoc();
    TCustomBandReport* previous = nullptr;
    for (size_t i = 0; i < Reports.size() && !cancelled; ++i) {
      TCustomBandReport& report = *Reports[i];
      // The report's printer (its own one moved out, so that lending the composite's does not
      // free it) comes back afterwards, as Print does it; so does its page, which the run lays
      // out on the composite's paper.
      struct Back {
        TCustomBandReport& r;
        std::unique_ptr<TRptPrinter> own;
        TRptPrinter* printer;
        TRptCompositeReport* composite;
        int tag;
        TRptPaperSize paper;
        TRptOrientation orientation;
        std::vector<Real> page;
        ~Back() {
          r.Tag = tag;
          r.Composite = composite;
          r.FreePrinter();
          r.ownPrinter_ = std::move(own);
          r.printer_ = printer;
          r.page_.SetOrientation(orientation);
          r.page_.SetPaperSize(paper);
          r.page_.SetValues(page);
        }
      } back{report,
             std::move(report.ownPrinter_),
             report.printer_ == &printer ? nullptr : report.printer_,
             report.Composite,
             report.Tag,
             report.page_.PaperSize(),
             report.page_.Orientation(),
             report.page_.Values()};
      report.Composite = nullptr;
      report.SetPrinter(&printer);
      if (previous) {
        report.ContinueFrom(*previous);
      } else {
        report.StartDocument();
      }
      if (i + 1 == Reports.size()) report.Tag = 999;
      report.RunReport(true);
      if (report.AfterPrint) report.AfterPrint(&report);
      cancelled = report.RunCancelled();
      previous = &report;
    }
  } catch (const std::exception& e) {
    AbortQuietly(printer);
    if (printer.Cancelled()) {
      outcome.kind = TRptPrintOutcome::Cancelled;
    } else {
      outcome.kind = TRptPrintOutcome::Failed;
      outcome.message = e.what();
    }
    return outcome;
  }
  if (cancelled || printer.Cancelled()) {
    printer.AbortDoc();
    outcome.kind = TRptPrintOutcome::Cancelled;
    return outcome;
  }
  try {
    printer.EndDoc();
  } catch (const std::exception& e) {
    outcome.kind = TRptPrintOutcome::Failed;
    outcome.message = e.what();
    return outcome;
  }
  if (printer.PageCount() > 0) outcome.kind = TRptPrintOutcome::Printed;
  if (AfterPrint) AfterPrint(*this);
  return outcome;
}

}  // namespace rpt
