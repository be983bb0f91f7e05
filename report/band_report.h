// The report model: a report (TBandReport) is a widget laid out like a sheet of paper at a
// zoom; it holds bands (horizontal strips of a kind such as title, page header, detail, page
// footer or summary) and printable controls, on the bands or directly on the report. Report,
// bands and printables are QWidgets named by their objectName (the names the program looks
// them up by). Geometry is kept in 0.1 mm by the unit objects of units.h.
//
// Band order (SortBands) and the design layout (LayoutBands) follow the report's structure:
// page headers, the title, column headers, the levels of the controllers (header, groups,
// sub-details before the detail, detail, sub-details after, group footers in reverse order,
// footer), page footers, then any band left, each band followed by its chain of child bands.
// Bands are sorted once when loading ends (a band's kind read from a description re-sorts
// nothing), and a sort takes steps in proportion to the number of bands.
// The layout places the bands on screen in pixels at the zoom, but a band's stored width (which
// prints its fill and frame, and whose detail band's width is the step between columns) is the
// printable or column width laid out at zoom 100, in whole pixels taken to 0.1 mm: the zoom the
// report is shown at changes nothing printed.
// A band's link, a child band's parent band and a controller band's or group's master may
// not lead back to the band itself: such settings are refused (the setter answers false).
// Out-of-range settings are ignored: Zoom outside 1 to 300, Columns below 1, Width or
// Length on a paper other than Custom.
//
// Painting goes through the platform device context (the panels are canvas widgets). With the
// design flag set, the report
// draws its margins as a dotted rectangle and the gaps between columns, bands draw their
// outline and their kind's name, and with the page's Ruler a grid in the report's units
// (inches: a line every quarter inch from zoom 50, numbered every inch; mm: a line every
// 5 mm from zoom 60, numbered every cm; characters: the character cells; none in pixels
// or native units). Without it the report is white paper.
//
// A group (TRptGroup) or controller band placed on a report without a master takes the report
// as its master. While a controller band sits on a report, its name is an entry of the
// report's environment (Functions), renamed with the band and removed when it leaves.
//
// Data sets are not part of stored descriptions: DataSet is set in code (the caller keeps the
// data set alive while it is set).
//
// Printing (report_run.cpp, printable.cpp): a run prints the bands through the report's
// controller at a current position (0.1 mm), starting columns and pages where a band does not
// fit; Print runs it onto the printer with the progress form and answers what came of it. The
// height of a band with linked bands counts each linked band once. Bands printed while a
// column or page is being started (page headers, column headers, repeated group headers)
// force no further break, so such a band with ForceNewPage never starts pages for ever.
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dc_canvas.h"
#include "platform/qt/canvas_widget.h"
#include "report/expr_env.h"
#include "report/printable.h"
#include "report/printer_settings.h"
#include "report/units.h"

namespace platform {
class QtDc;
}

namespace rpt {

class TCustomBandReport;
class TRptCustomController;
class TRptController;
class TRptExportFilter;
class TRptPrinter;
class TRptCompositeReport;

enum class TRptBandType : uint8_t {
  rbTitle, rbPageHeader, rbDetail, rbPageFooter, rbSummary, rbGroupHeader, rbGroupFooter, rbSubDetail,
  rbColumnHeader, rbOverlay, rbChild
};
constexpr int kBandTypeCount = 11;
const char* BandTypeName(TRptBandType type);  // "rbTitle" ...
std::optional<TRptBandType> BandTypeByName(std::string_view name);
const char* BandNamePrefix(TRptBandType type);   // "TitleBand" ...
const char* BandDisplayName(TRptBandType type);  // "Title" ...

enum class TBandReportOption : uint8_t { FirstPageHeader, LastPageFooter, Compression };
const char* OptionName(TBandReportOption option);
std::optional<TBandReportOption> OptionByName(std::string_view name);

struct TBandReportOptions {
  uint8_t bits = 0;
  bool Has(TBandReportOption o) const { return bits & (1u << static_cast<int>(o)); }
  TBandReportOptions& Set(TBandReportOption o, bool on = true) {
    if (on) {
      bits = static_cast<uint8_t>(bits | (1u << static_cast<int>(o)));
    } else {
      bits = static_cast<uint8_t>(bits & ~(1u << static_cast<int>(o)));
    }
    return *this;
  }
  bool operator==(const TBandReportOptions&) const = default;
};

enum class TRptZoomState : uint8_t { rpZoomToFit, rpZoomToWidth, rpZoomOther };
const char* ZoomStateName(TRptZoomState state);
std::optional<TRptZoomState> ZoomStateByName(std::string_view name);

// ---- Panels ------------------------------------------------------------------------------

class TRptBasePanel : public platform::CanvasWidget {
  Q_OBJECT
 public:
  explicit TRptBasePanel(QWidget* parent);

  int Zoom() const { return zoom_; }
  virtual void SetZoom(int zoom);
  // The font size (points) the Characters unit is measured with.
  int CharacterFontSize() const { return charFontSize_; }
  void SetCharacterFontSize(int points) { charFontSize_ = points; }
  // The report this panel belongs to (itself for a report).
  virtual TCustomBandReport* Report() const = 0;
  // Whether design painting is on (the report's design flag).
  bool Designing() const;

  // Paints the panel on `canvas` (its own pixel coordinates).
  void Paint(platform::Canvas& canvas) override = 0;
  // The ruler grid in `units` over the panel.
  virtual void PaintRuler(platform::Canvas& canvas, TRptUnit units);

 private:
  int zoom_ = 100;
  int charFontSize_ = 12;
};

// ---- Bands -------------------------------------------------------------------------------

class TRptCustomBand : public TRptBasePanel {
  Q_OBJECT
 public:
  TRptCustomBand(QWidget* parent, TRptBandType type);
  ~TRptCustomBand() override;

  TRptBandType BandType() const { return type_; }
  TCustomBandReport* Report() const override { return report_; }
  TCustomBandReport* ParentReport() const { return report_; }
  // Puts the band into `report`'s band list (or takes it out with nullptr).
  virtual void SetParentReport(TCustomBandReport* report);
  virtual const char* DisplayName() const { return BandDisplayName(type_); }
  virtual const char* NamePrefix() const { return BandNamePrefix(type_); }

  TRptBandSize& Size() { return size_; }
  const TRptBandSize& Size() const { return size_; }
  // The band's zoom, which its size object converts pixels at too.
  void SetZoom(int zoom) override;
  // The band's height in pixels at its zoom.
  int PixelHeight() const;

  std::function<void(TRptCustomBand*, bool)> AfterPrint;
  std::function<void(TRptCustomBand*, bool&)> BeforePrint;

  bool AlignToBottom() const { return alignToBottom_; }
  void SetAlignToBottom(bool v) { alignToBottom_ = v; }
  uint32_t Color() const { return color_; }
  void SetColor(uint32_t c);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v);
  bool TransparentBand() const { return transparent_; }
  void SetTransparentBand(bool v);
  // The band's font (the report's while ParentFont is set).
  const platform::CanvasFont& Font() const;
  platform::CanvasFont& MutableFont();  // clears ParentFont
  bool ParentFont() const { return parentFont_; }
  void SetParentFont(bool v);
  bool ForceNewColumn() const { return forceNewColumn_; }
  void SetForceNewColumn(bool v) { forceNewColumn_ = v; }
  bool ForceNewPage() const { return forceNewPage_; }
  void SetForceNewPage(bool v) { forceNewPage_ = v; }
  bool PreCaluculateBandHeight() const { return preCalculate_; }
  void SetPreCaluculateBandHeight(bool v) { preCalculate_ = v; }
  bool KeepOnOnePage() const { return keepOnOnePage_; }
  void SetKeepOnOnePage(bool v) { keepOnOnePage_ = v; }

  // The child band: the TRptChildBand of the same report whose ParentBand is this band.
  class TRptChildBand* ChildBand() const;
  bool HasChild() const { return ChildBand() != nullptr; }
  // Creates or removes the child band.
  void SetHasChild(bool v);

  TRptCustomBand* LinkBand() const { return linkBand_; }
  // False (and nothing changes) when the chain of links would lead back to this band.
  bool SetLinkBand(TRptCustomBand* band);

  TRptFrame& Frame() { return frame_; }
  const TRptFrame& Frame() const { return frame_; }

  // Printing (printable.cpp). The controller that prints the band (set by the run).
  TRptCustomController* Controller() const { return controller_; }
  void SetController(TRptCustomController* c) { controller_ = c; }
  // The growth of the current print (0.1 mm).
  Real Expanded() const { return expanded_; }
  void SetExpanded(Real v) { expanded_ = v; }
  platform::Rect LastPrinted() const { return lastPrinted_; }
  void SetLastPrinted(const platform::Rect& r) { lastPrinted_ = r; }
  int LoadedHeight() const { return loadedHeight_; }
  // Prints the band at the report's current position with its printables, passing on to new
  // columns or pages while stretching printables have more to print; then its child band.
  // `makeRoom` false prints it where the position is, without starting a column or page.
  void PrintBand(bool makeRoom = true);
  // Whether the band can grow by `h` (0.1 mm) on this page.
  bool CanExpand(Real h) const;
  // Grows the band by `h` when it can and this is the first call of the pass (`first` false)
  // or `h` is at least the growth so far: false then; true when the growth so far suffices.
  // False when the band cannot grow. `bottom` receives the growth, `first` is set.
  bool ExpandBand(Real h, Real& bottom, bool& first);
  // The height the band's content needs (0.1 mm): its own height, or more where its labels
  // need more (their needed height at their top, plus the distance below the lowest of them).
  Real PreCalculatedHeight();
  // The height with the bands linked to it, and with its chain of child bands (0.1 mm).
  Real HeightWithLinks() const;
  Real HeightWithChildren() const;
  // Whether the band's current print is a pass after a column or page break.
  bool StretchPass() const { return stretchPass_; }
  // The printables on the band in control order.
  std::vector<TRptPrintable*> Printables() const;

  // The size object changed: the band's pixel height follows and the report is re-laid.
  void SizeChanged();
  void Paint(platform::Canvas& canvas) override;

 protected:
  void SetBandTypeValue(TRptBandType type) { type_ = type; }
  // A band moved onto another widget belongs to that report (or to none).
  bool event(QEvent* e) override;
  // Printables aligned to the band follow its size.
  void Resized() override;

 private:
  void PrintPasses();
  TRptBandType type_;
  TCustomBandReport* report_ = nullptr;
  TRptBandSize size_;
  bool alignToBottom_ = false;
  uint32_t color_ = 0xFFFFFF;
  bool enabled_ = true;
  bool transparent_ = false;
  platform::CanvasFont font_;
  bool parentFont_ = true;
  bool forceNewColumn_ = false, forceNewPage_ = false, preCalculate_ = false, keepOnOnePage_ = false;
  QPointer<TRptCustomBand> linkBand_;
  TRptCustomController* controller_ = nullptr;
  Real expanded_ = 0;
  platform::Rect lastPrinted_;
  int loadedHeight_ = 40;
  TRptFrame frame_{*this};
  bool stretchPass_ = false;
};

class TRptBand : public TRptCustomBand {
  Q_OBJECT
 public:
  explicit TRptBand(QWidget* parent, TRptBandType type = TRptBandType::rbTitle);
  // Changing the kind re-sorts and re-lays the report.
  void SetBandType(TRptBandType type);
};

class TRptChildBand : public TRptCustomBand {
  Q_OBJECT
 public:
  explicit TRptChildBand(QWidget* parent);
  TRptCustomBand* ParentBand() const { return parentBand_; }
  // False when the chain of parent bands would lead back to this band.
  bool SetParentBand(TRptCustomBand* band);

 private:
  QPointer<TRptCustomBand> parentBand_;
};

// A band that prints a level of its own (sub-details), with a controller whose detail band is
// the band itself.
class TRptControllerBand : public TRptCustomBand {
  Q_OBJECT
 public:
  TRptControllerBand(QWidget* parent, TRptBandType type);
  ~TRptControllerBand() override;
  TRptController& Controller() { return *controller_; }
  const TRptController& Controller() const { return *controller_; }
  // A report or another controller band.
  QObject* Master() const;
  // False when the chain of masters would lead back to this band.
  bool SetMaster(QObject* master);
  void SetParentReport(TCustomBandReport* report) override;
  // The environment entry named after the band, and whether the band made it.
  std::string FunctionName() const { return objectName().toStdString(); }
  bool FunctionRegistered() const { return !registered_.empty(); }

 private:
  void RegisterFunction();
  void UnregisterFunction();
  std::unique_ptr<TRptController> controller_;
  std::string registered_;  // the entry made in the report's environment
};

class TRptSubDetail;

// Header and footer switches of a sub-detail: each creates or frees a group-header or
// group-footer band linked to it.
class TRptSubDetailGroupBands {
 public:
  explicit TRptSubDetailGroupBands(TRptSubDetail& owner) : owner_(owner) {}
  bool HasHeader() const;
  bool HasFooter() const;
  void SetHasHeader(bool v);
  void SetHasFooter(bool v);

 private:
  TRptSubDetail& owner_;
};

class TRptSubDetail : public TRptControllerBand {
  Q_OBJECT
 public:
  explicit TRptSubDetail(QWidget* parent);
  TRptSubDetailGroupBands& Bands() { return bands_; }
  TRptCustomBand* HeaderBand() const;
  TRptCustomBand* FooterBand() const;
  void SetHeaderBand(TRptCustomBand* band);
  void SetFooterBand(TRptCustomBand* band);
  bool PrintBefore() const;
  void SetPrintBefore(bool v);
  bool PrintIfEmpty() const;
  void SetPrintIfEmpty(bool v);
  std::function<void(QObject*, bool&)>& OnNeedData();
  TRptDataSet* DataSet() const;
  void SetDataSet(TRptDataSet* dataSet);

 private:
  TRptSubDetailGroupBands bands_;
};

class TRptGroup : public TRptCustomBand {
  Q_OBJECT
 public:
  explicit TRptGroup(QWidget* parent);
  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& text) { expression_ = text; }
  TRptBand* FooterBand() const { return footer_; }
  void SetFooterBand(TRptBand* band);
  QObject* Master() const { return master_; }
  // False when the chain of masters would lead back to this band.
  bool SetMaster(QObject* master);
  bool ReprintOnNewPage() const { return reprint_; }
  void SetReprintOnNewPage(bool v) { reprint_ = v; }
  void SetParentReport(TCustomBandReport* report) override;

  // Run state (controller.cpp): the evaluator of Expression, its last value and the flags.
  TRptEvaluator& Evaluator() { return evaluator_; }
  // Evaluates the expression: the first check of an execution (or `force`) stores the value
  // and marks the group changed; later checks mark it changed when the value differs.
  bool Check(bool force = false);
  bool Changed() const { return changed_; }
  void SetChanged(bool v) { changed_ = v; }
  bool Started() const { return started_; }
  void SetStarted(bool v) { started_ = v; }
  bool HeaderPrinted() const { return headerPrinted_; }
  void SetHeaderPrinted(bool v) { headerPrinted_ = v; }
  int HeaderPage() const { return headerPage_; }
  void SetHeaderPage(int page) { headerPage_ = page; }
  const TRptEvResult& LastValue() const { return lastValue_; }

 private:
  std::string expression_;
  QPointer<TRptBand> footer_;
  QPointer<QObject> master_;
  bool reprint_ = false;
  TRptEvaluator evaluator_;
  TRptEvResult lastValue_;
  bool changed_ = false, started_ = false, headerPrinted_ = false;
  int headerPage_ = 0;
};

// Boolean switches of the report's bands by kind: reading is true when a band of that kind
// exists; setting true creates one (CreateBand), false frees the existing one.
class TBandReportBands {
 public:
  explicit TBandReportBands(TCustomBandReport& report) : report_(report) {}
  bool HasTitle() const { return Has(TRptBandType::rbTitle); }
  bool HasPageHeader() const { return Has(TRptBandType::rbPageHeader); }
  bool HasColumnHeader() const { return Has(TRptBandType::rbColumnHeader); }
  bool HasDetail() const { return Has(TRptBandType::rbDetail); }
  bool HasPageFooter() const { return Has(TRptBandType::rbPageFooter); }
  bool HasSummary() const { return Has(TRptBandType::rbSummary); }
  void SetHasTitle(bool v) { Set(TRptBandType::rbTitle, v); }
  void SetHasPageHeader(bool v) { Set(TRptBandType::rbPageHeader, v); }
  void SetHasColumnHeader(bool v) { Set(TRptBandType::rbColumnHeader, v); }
  void SetHasDetail(bool v) { Set(TRptBandType::rbDetail, v); }
  void SetHasPageFooter(bool v) { Set(TRptBandType::rbPageFooter, v); }
  void SetHasSummary(bool v) { Set(TRptBandType::rbSummary, v); }
  bool Has(TRptBandType type) const;
  void Set(TRptBandType type, bool v);

 private:
  TCustomBandReport& report_;
};

// ---- The report --------------------------------------------------------------------------

// What Print did: printed (the document ended on the printer), cancelled (the job was aborted),
// nothing printed (no printer, a run already under way, the report's BeforePrint said no, or no
// page), or failed with the error's text (the job was aborted).
struct TRptPrintOutcome {
  enum Kind : uint8_t { Printed, Cancelled, NothingPrinted, Failed };
  Kind kind = NothingPrinted;
  std::string message;  // CP932
};

class TCustomBandReport : public TRptBasePanel {
  Q_OBJECT
 public:
  explicit TCustomBandReport(QWidget* parent = nullptr);
  ~TCustomBandReport() override;

  TCustomBandReport* Report() const override { return const_cast<TCustomBandReport*>(this); }

  // Builds the report's parts with their defaults (run by the constructor).
  virtual void InitReport();
  // Creates a band of `type` on the report, named by its kind's prefix and the smallest
  // free number among the components of the report's form.
  TRptBand* CreateBand(TRptBandType type);
  // The printing order of the bands, and the design layout.
  void SortBands();
  void LayoutBands();
  // The work SortBands has done since the report was made: one step for each band it looked
  // at (the tests count it).
  int64_t SortSteps() const { return sortSteps_; }
  // Units of the page, of every band size and of every printable on the report.
  virtual void SetUnits(TRptUnit units);
  TRptUnit Units() const;
  void SetZoom(int zoom) override;  // 1 to 300

  // Events (no handler at creation).
  std::function<void(TCustomBandReport*)> AfterPrint, AfterPreview, OnEndPage, OnStartPage, OnPreview;
  std::function<void(TCustomBandReport*, bool&)> BeforePrint;
  // Asked for more data (sender, var more-data); handed to the controller by a run.
  std::function<void(QObject*, bool&)> OnNeedData;

  std::string BackImageControl;
  TBandReportBands& Bands() { return bands_; }
  std::vector<std::string> Description;
  // The report's font: "Arial" 10, or the inherited font in a Japanese locale.
  platform::CanvasFont& Font() { return font_; }
  const platform::CanvasFont& Font() const { return font_; }
  TBandReportOptions Options;
  // The report's environment: PAGENUMBER, COLUMNNUMBER and REPORTTITLE at creation.
  TRptEvEnvironment& Functions() { return *functions_; }
  const TRptEvEnvironment& Functions() const { return *functions_; }
  // The data set of the report's controller (none for a report without one).
  TRptDataSet* DataSet() const;
  void SetDataSet(TRptDataSet* dataSet);
  TRptPage& Page() { return page_; }
  const TRptPage& Page() const { return page_; }
  TBandReportPrinterSettings& PrinterSettings() { return *printerSettings_; }
  const TBandReportPrinterSettings& PrinterSettings() const { return *printerSettings_; }
  // The second printer-settings object (what the print dialog chose for the device).
  TPrinterSettings& DeviceSettings() { return *deviceSettings_; }
  bool PrintIfEmpty() const;
  void SetPrintIfEmpty(bool v);
  std::string ReportTitle;
  bool ShowProgress = true;
  bool SnapToGrid = true;
  int PrevFormStyle = 0;          // 0 normal, 1 stays on top
  int PreviewInitialState = 0;    // 0 normal, 1 minimized, 2 maximized
  bool PrevShowThumbs = true;
  bool PrevShowSearch = true;
  TRptZoomState PrevInitialZoom = TRptZoomState::rpZoomToFit;
  // A stored value of 0 or less reads as 500.
  int PreviewWidth() const { return previewWidth_ > 0 ? previewWidth_ : 500; }
  int PreviewHeight() const { return previewHeight_ > 0 ? previewHeight_ : 500; }
  void SetPreviewWidth(int v) { previewWidth_ = v; }
  void SetPreviewHeight(int v) { previewHeight_ = v; }

  TRptCustomController& Controller() { return *controller_; }
  // The bands in the order they were put on the report, and in printing order.
  const std::vector<TRptCustomBand*>& AllBands() const { return allBands_; }
  const std::vector<TRptCustomBand*>& PrintOrder() const { return printOrder_; }
  // The report's printer while a run or a preview exists: its own (made by PreparePrinter, freed
  // with FreePrinter or the report) or one lent to it (a composite's).
  TRptPrinter* Printer() const { return printer_; }
  void SetPrinter(TRptPrinter* printer);
  void FreePrinter();
  TRptFrame& Frame() { return frame_; }
  const TRptFrame& Frame() const { return frame_; }
  int Tag = 0;
  // The composite report that prints this one (none: printed alone).
  TRptCompositeReport* Composite = nullptr;

  // ---- The run (report_run.cpp) ----
  // Prints the report's data: the controller's level (TBandReport sorts the bands first and
  // hands its OnNeedData to the controller).
  virtual void Execute();
  // Prints the report (or its composite) on the printer with the progress form.
  TRptPrintOutcome Print();
  // A new printer of the report's own, when no run is under way.
  bool PreparePrinter();
  // One run onto the report's printer; `composite`: one of several reports of one document.
  // Errors are raised after the document was aborted and the report made available again.
  void RunReport(bool composite);
  void Cancel();
  bool Available() const { return available_; }
  bool Cancelled() const { return cancelled_; }
  void NewPage();
  void EndPage();
  void NewColumn();
  void ForceNewPage();
  void ForceNewColumn();
  // Prints `band` (a band with AlignToBottom moved down first).
  void PrintBand(TRptCustomBand* band);
  // The 0.1 mm left above the footer on this page.
  int AvailableSpace() const;
  // The room check before a band prints: a new column when the band does not fit, or when no
  // page has started.
  void MakeRoom(TRptCustomBand& band);
  // Shows the print dialog and keeps what was chosen; Tag 0 and true when confirmed, Tag 1 and
  // false when cancelled.
  bool PrinterSetup();
  int CurrentX() const { return currentX_; }
  int CurrentY() const { return currentY_; }
  void SetCurrentY(int y) { currentY_ = y; }
  void SetCurrentX(int x) { currentX_ = x; }
  int ColumnTop() const { return columnTop_; }
  int CurrentColumn() const { return currentColumn_; }
  int PageCount() const { return pageCount_; }
  bool LastPage() const { return lastPage_; }
  bool HeaderPrinted() const { return headerPrinted_; }
  void SetHeaderPrinted(bool v) { headerPrinted_ = v; }
  // Whether a new column or page is being started (bands printed meanwhile force no break).
  bool InBreak() const { return inBreak_ > 0; }
  // Cancelled by the report or on its printer.
  bool RunCancelled() const;
  // The data sets of the run, given to the evaluators.
  TRptDataSetList& RunDataSets() { return runDataSets_; }
  // The preview of page 1 shown over the report (a metafile), after a run told it so.
  const std::string& PreviewPage() const { return previewPage_; }
  void ClearPreviewPage();
  // Continues the position of `previous` (the report printed before in one document).
  void ContinueFrom(const TCustomBandReport& previous);
  // Starts the position and page count of a new document (the first report of a composite).
  void StartDocument();
  // The attached export filter (nullptr: none).
  TRptExportFilter* ExportFilter() const { return filter_; }
  bool FilterAttached() const { return filter_ != nullptr; }
  void SetExportFilter(TRptExportFilter* filter) { filter_ = filter; }

  // Text measures with the report font on the screen: width plus 1 pixel, and height.
  int TextWidth(const std::string& cp932);
  int TextHeight(const std::string& cp932);
  // The same with another font (a control's).
  int TextWidth(const platform::CanvasFont& font, const std::string& cp932);
  int TextHeight(const platform::CanvasFont& font, const std::string& cp932);

  // Loading: values are kept and applied, bands sorted and laid out once afterwards.
  bool Loading() const { return loading_; }
  void SetLoading(bool loading);
  bool Designing() const { return designing_; }
  void SetDesigning(bool designing);

  // The form that owns the report's components (the top-level window, or the report).
  QWidget* OwnerForm() const;
  // `prefix` followed by the smallest number from 1 that no component of the form uses.
  QString FreeName(const char* prefix) const;
  // The printable sizes of the controls on the report and its bands.
  const std::vector<TRptPrintableSize*>& PrintableSizes() const { return printables_; }

  void Paint(platform::Canvas& canvas) override;

  // Called by bands, sizes and the page.
  void AddBand(TRptCustomBand* band);
  void RemoveBand(TRptCustomBand* band);
  void AddPrintableSize(TRptPrintableSize* size);
  void RemovePrintableSize(TRptPrintableSize* size);
  void PageChanged();
  // The band's geometry changed: re-lay unless loading.
  void BandsChanged();
  // Registers an expression control with the report's controller.
  void RegisterExpressionControl(TRptPrintable* control);

 protected:
  bool event(QEvent* e) override;
  // Replaces the controller (the report's own level).
  void SetController(std::unique_ptr<TRptCustomController> controller);
  // Hands the title, detail and summary bands to the controller before sorting or a run.
  virtual void HandBandsToController() {}
  TRptBand* FirstBandOf(TRptBandType type) const;
  int previewWidth_ = 500, previewHeight_ = 500;

 private:
  struct Measure;
  platform::DeviceContext& ScreenDc();
  void TakePrinterPaper();
  struct SortState;
  void PlaceBand(SortState& sort, TRptCustomBand* band);
  void PlaceLevel(SortState& sort, TRptCustomController& controller, int depth);
  void PaintMargins(platform::Canvas& canvas);
  void FontChanged();

  TBandReportBands bands_;
  platform::CanvasFont font_;
  TRptPage page_;
  std::unique_ptr<TRptEvEnvironment> functions_;
  std::unique_ptr<TBandReportPrinterSettings> printerSettings_;
  std::unique_ptr<TPrinterSettings> deviceSettings_;
  std::unique_ptr<TRptCustomController> controller_;
  std::unique_ptr<Measure> measure_;
  std::vector<TRptCustomBand*> allBands_, printOrder_;
  std::vector<TRptPrintableSize*> printables_;
  TRptPrinter* printer_ = nullptr;
  std::unique_ptr<TRptPrinter> ownPrinter_;
  TRptExportFilter* filter_ = nullptr;
  TRptFrame frame_{*this};
  // Run state (0.1 mm).
  void ApplyPrinterSettings();
  void PrintPageObjects();
  void PrintBandsOfKind(TRptBandType type);
  // The sheet the run works with (0.1 mm): the device settings' paper as it lies, down or
  // across.
  Real RunPaperSide(bool down) const;
  Real RunPaperLength() const;
  void PrintOverlays();
  bool available_ = true, cancelled_ = false, lastPage_ = false, headerPrinted_ = false, forcedColumn_ = false;
  int currentX_ = 0, currentY_ = -1, columnTop_ = 0, currentColumn_ = 1, pageCount_ = 0;
  Real footerSpace_ = 0;
  int inBreak_ = 0;
  QPointer<QWidget> backImage_;
  TRptDataSetList runDataSets_;
  TRptEvElement* pageNumber_ = nullptr;
  TRptEvElement* columnNumber_ = nullptr;
  TRptEvElement* reportTitle_ = nullptr;
  std::string previewPage_;
  bool loading_ = false;
  bool designing_ = false;
  bool destroying_ = false;
  int layoutDepth_ = 0;
  int64_t sortSteps_ = 0;
  // A composite lends the report its printer and gives the report's own back afterwards.
  friend class TRptCompositeReport;
};

// Several reports printed one after the other into one document on one printer, each going on
// where the one before ended (position, page count, column).
class TRptCompositeReport {
 public:
  std::vector<TCustomBandReport*> Reports;
  TRptPrinterSettings PrinterSettings;
  std::string Title;
  // Before the document begins and after it ended.
  std::function<void(TRptCompositeReport&)> BeforePrint, AfterPrint;
  // Prints the reports; a cancelled report aborts the document.
  TRptPrintOutcome Print();
  // The printer while Print runs.
  TRptPrinter* Printer() const { return printer_; }

 private:
  TRptPrinter* printer_ = nullptr;
};

class TBandReport : public TCustomBandReport {
  Q_OBJECT
 public:
  explicit TBandReport(QWidget* parent = nullptr);
  void InitReport() override;
  TRptController& ReportController();
  void Execute() override;

 protected:
  void HandBandsToController() override;

 private:
  void InstallController();
};

}  // namespace rpt
