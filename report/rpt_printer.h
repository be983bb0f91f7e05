// The report printer: the output target of one report run. A run opens a document
// (BeginDoc), asks for a page whenever it needs one (NewPage), draws on Canvas() in device
// coordinates (XPos, YPos, XSize, YSize of report positions in 0.1 mm) and closes the document
// (EndDoc, or AbortDoc when cancelled). Pages go either to the page store (destination 0:
// each page an enhanced metafile of the paper's size at the screen's resolution, appended to
// the page list) or to a printer (destination 1: pages outside the print range are drawn into
// metafiles that are thrown away; the printer gets only the pages in range, with no empty
// sheet after the last). The printer also prints stored pages, saves and loads page files and
// tells a preview or progress window how far the run is.
//
// Messages reach windows as RptMessageEvent, a custom event posted to the window's QObject
// and delivered when pending messages run: CM_RPTPAGEAVAILABLE with the number of finished
// pages whenever a page is finished and once more at the end, CM_RPTPROGRESSUPDATE with the
// percentage; CM_RPTPRINT asks the preview's report to print itself anew.
//
// Status: 0 ready -> BeginDoc -> 1 busy -> EndDoc or AbortDoc -> 2 finished; Load goes to 2
// from any status, Cleanup back to 0. BeginDoc out of turn raises ERptError "RptPrinter not
// ready", NewPage out of turn "Illegal call to NewPage".
//
// Beyond the plain cycle:
// - A document that cannot be begun or written on the printer (the PDF file among them), and a
//   page file that cannot be saved, raise ERptError naming the printer or the file.
// - A zero resolution reported by a printer gives 96/254 pixels per 0.1 mm for that axis,
//   at the document's start and on every page.
// - EndDoc counts the last page once; AbortDoc writes the page-list header again, so a page
//   file saved after a cancel holds every finished page.
// - Load reads and checks the file before anything else: a bad file raises and keeps the
//   pages shown. The paper is guessed from page 1, the first match of the paper table winning.
// - PrintStoredPages prints the pages of the range that exist (a first page above the last
//   prints nothing), counts its progress from the range's first page, and stops at a cancel:
//   the job is aborted, not ended. With the report's ShowProgress it shows the progress form,
//   whose Cancel button cancels it. A run's own pages go onto the sheet they were laid out on
//   (the printer's paper, PaperWidth x PaperLength), not onto the report's page, which differs
//   when the printer lacks the report's paper; a loaded file's pages go onto the report's page.
// - The finished pages (AvailablePages) of a loaded file are all its pages. A printer that is
//   freed detaches the preview control it reports to.
#pragma once

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc_canvas.h"
#include "platform/emf_recorder.h"
#include "platform/printer.h"
#include "report/page_store.h"
#include "report/printer_settings.h"
#include "report/rpt_error.h"
#include "report/units.h"

namespace rpt {

class TCustomBandReport;
class TRptPrinter;
class TRptExportFilter;

constexpr int CM_RPTPROGRESSUPDATE = 1024, CM_RPTPAGEAVAILABLE = 1025, CM_RPTPRINT = 1026,
              CM_RPTPREVIEWCLOSE = 1028;

// A report message for a window.
class RptMessageEvent final : public QEvent {
 public:
  static QEvent::Type EventType();
  RptMessageEvent(int message, intptr_t wParam, intptr_t lParam)
      : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam) {}
  int message;
  intptr_t wParam, lParam;
};
// Posts a message (delivered when pending messages run); nothing for a null window.
void PostRptMessage(QObject* window, int message, intptr_t wParam, intptr_t lParam = 0);
// Delivers a message at once.
void SendRptMessage(QObject* window, int message, intptr_t wParam, intptr_t lParam = 0);

// Hyperlinks: handlers registered for a prefix receive the printer and what follows it.
using HyperlinkHandler = std::function<void(TRptPrinter& printer, const std::string& rest)>;
void RegisterHyperlinkHandler(const std::string& prefix, HyperlinkHandler handler);
void ClearHyperlinkHandlers();

// The paper size of the table (Letter to ESheet) whose width and length in 4 mm steps equal
// `w` x `h` (portrait) or `h` x `w` (landscape); the first match wins. False when none.
bool GuessPaper(int w, int h, TRptPaperSize& size, TRptOrientation& orientation);

class TRptPrinter {
 public:
  enum Destination : uint8_t { kPageList = 0, kPrinter = 1 };
  enum Status : uint8_t { kReady = 0, kBusy = 1, kFinished = 2 };

  // A printer for `report` (or for no report).
  explicit TRptPrinter(TCustomBandReport* report);
  ~TRptPrinter();
  TRptPrinter(const TRptPrinter&) = delete;
  TRptPrinter& operator=(const TRptPrinter&) = delete;

  // Device pixels of report positions and lengths (0.1 mm).
  int XPos(Real x) const { return Round((x - leftWaste_) * xFactor_); }
  int YPos(Real y) const { return Round((y - topWaste_) * yFactor_); }
  int XSize(Real x) const { return Round(x * xFactor_); }
  int YSize(Real y) const { return Round(y * yFactor_); }
  Real XFactor() const { return xFactor_; }
  Real YFactor() const { return yFactor_; }
  int TopWaste() const { return topWaste_; }
  int LeftWaste() const { return leftWaste_; }

  // The canvas of the current page; null when no page is open.
  platform::Canvas* Canvas() { return canvas_.get(); }

  void BeginDoc();
  void NewPage();
  void EndDoc();
  void AbortDoc();
  void Cancel() { cancelled_ = true; }
  void Cleanup();

  // The bytes of page n (an enhanced metafile); empty unless finished or busy and
  // 1 <= n <= the page count.
  std::optional<std::string> GetPage(int n);
  void SetPageNumber(int n);
  // The paper (0.1 mm) as the printer's settings have it, turned for landscape.
  Real PaperWidth() const { return PaperSide(true); }
  Real PaperLength() const { return PaperSide(false); }

  // Saves the page stream as a page file (when finished).
  void Save(const std::string& fileName);
  void Load(const std::string& fileName);
  // Exports the pages through `filter` (made for `fileName`) with the export callback; raises
  // when there is no filter or no callback, since nothing would be written.
  void Export(TRptExportFilter* filter, const std::string& fileName);
  void PrintStoredPages();
  void SetShowingPreview(bool showing);
  void FollowHyperlink(const std::string& link);

  Destination GetDestination() const { return destination_; }
  void SetDestination(Destination d) { destination_ = d; }
  Status GetStatus() const { return status_; }
  bool Cancelled() const { return cancelled_; }
  int PageCount() const { return pageCount_; }
  int PageNumber() const { return pageNumber_; }
  int AvailablePages() const { return availablePages_; }
  int Progress() const { return progress_; }
  // Stores the progress (percent) and tells the notified window.
  void SetProgress(int percent);
  bool PrintersAvailable() const { return printersAvailable_; }
  bool LoadedFromFile() const { return loadedFromFile_; }
  bool ShowingPreview() const { return showingPreview_; }
  TCustomBandReport* ParentReport() const { return report_; }
  TRptPageList& PageList() { return pageList_; }
  // The paper guessed from page 1 of the last loaded file (Default when none matched).
  TRptPaperSize GuessedPaper() const { return guessedPaper_; }
  TRptOrientation GuessedOrientation() const { return guessedOrientation_; }

  std::string Title;
  // The print range: 0 means no limit.
  int FirstPage = 0;
  int LastPage = 0;
  // The window told of pages and progress, and the preview form asked to reprint.
  void SetNotifiedWindow(QObject* window) { notified_ = window; }
  QObject* NotifiedWindow() const { return notified_; }
  void SetPreviewForm(QObject* form) { previewForm_ = form; }

  // The device settings and the printer object in use.
  TPrinterSettings& Settings() { return settings_; }
  platform::Printer& PlatformPrinter() { return *printer_; }
  // Selects a printer of the list (not while the program's printer is used) and reads its
  // driver's default settings.
  void SetPrinterIndex(int index);
  void SetCompression(bool compress) { pageList_.SetCompression(compress); }
  // Objects that live until the current page ends.
  void AddPageObject(std::unique_ptr<QObject> object) { pageObjects_.push_back(std::move(object)); }

  std::function<void()> AfterPreview;
  std::function<void()> AfterPrint;
  std::function<void()> OnPrintSetup;
  std::function<void(TRptExportFilter*)> OnExport;

 private:
  bool InRange() const;
  Real PaperSide(bool across) const;
  void SetScreenFactors();
  void SetDeviceFactors();
  void FinishPage();
  void BeginMetafilePage();
  void FreeMetafilePage();
  void PagesAvailable();

  TCustomBandReport* report_ = nullptr;
  std::vector<std::unique_ptr<QObject>> pageObjects_;
  QPointer<QObject> notified_;
  QPointer<QObject> previewForm_;
  std::unique_ptr<platform::EmfRecorder> metafile_;
  int pageCount_ = 0;
  int pageNumber_ = 0;
  bool printersAvailable_ = false;
  Destination destination_ = kPageList;
  int progress_ = 0;
  int topWaste_ = 0, leftWaste_ = 0;
  bool showingPreview_ = false;
  Status status_ = kReady;
  bool cancelled_ = false;
  Real xFactor_, yFactor_;
  TRptPageList pageList_;
  std::shared_ptr<TRptStream> stream_;
  bool loadedFromFile_ = false;
  TPrinterSettings settings_;
  std::unique_ptr<platform::Printer> ownPrinter_;
  platform::Printer* printer_ = nullptr;
  std::unique_ptr<platform::Canvas> canvas_;
  int availablePages_ = 0;
  TRptPaperSize guessedPaper_ = TRptPaperSize::Default;
  TRptOrientation guessedOrientation_ = TRptOrientation::Portrait;
};

}  // namespace rpt
