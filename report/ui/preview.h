// The preview control: TRptPreview, a scroll area that shows one page of a report printer's
// page store at a zoom, follows a run as its pages are finished, reports progress and makes
// the hyperlink areas of the page clickable. Its one child, TRptPreviewImage, paints the page:
// the page metafile is played onto a picture of the image's size once per page and zoom, and
// that picture is shown on every repaint.
//
// - The image measures round(XSize(paper width x zoom / 100)) + 4 by round(YSize(paper length
//   x zoom / 100)) + 4 pixels (the printer's paper and conversions; without a printer the
//   Letter size in mm stands in for the paper in pixels). It is centred in the box when
//   smaller and placed at the top or left otherwise.
// - The painted page: white, the metafile stretched over the whole image, a black outline
//   from (0, 0) to (w - 3, h - 3) and a two-pixel black shadow along the right and bottom
//   edges.
// - Zoom 2 to 2000; other values change nothing. Fit: min(round(box height / page height x
//   95), round(box width / page width x 95)); width: round(box width / page width x 90), both
//   from the whole box. A resize of the box applies the fit or width again.
// - PageNumber accepts a page from 1 up to the pages finished so far: a page still being drawn
//   is refused until its page-available message arrives, which shows it when it is the page
//   waited for.
// - Hyperlink areas (rectangles in page pixels at zoom 100, inclusive; the first match wins)
//   belong to whoever fills them; a mouse over one shows the hand cursor and reports moving
//   over and away, a press reports the link and, unless the handler says it took it, the
//   printer follows it.
// - The printer reports to the preview (its notified window) while attached; a printer that
//   is freed detaches itself from the preview first.
//
// TRptPreviewInterface makes preview windows for reports; PreviewInterfaceClass names the one
// used (the standard preview window unless replaced).
#pragma once

#include <QPointer>
#include <QScrollArea>
#include <QImage>
#include <QTreeWidget>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/input.h"
#include "report/band_report.h"

namespace rpt {

class TRptPrinter;
struct TRptOutlineEntry;

enum class TRptHyperlinkEventType { heCursorMoveOver, heCursorMoveAway, heGoto, heGotoNewWindow };

// (printer, event, var handled, link)
using TRptPreviewHyperlinkEvent =
    std::function<void(TRptPrinter* printer, TRptHyperlinkEventType type, bool& handled, const std::string& link)>;

// A clickable area of the page shown: page pixels at zoom 100, edges included; `link` CP932.
struct TRptHyperlinkArea {
  platform::Rect area;
  std::string link;
};

using TRptMouseEvent = std::function<void(platform::TMouseButton button, platform::TShiftState shift, int x, int y)>;
using TRptMouseMoveEvent = std::function<void(platform::TShiftState shift, int x, int y)>;

class TRptPreviewImage : public QWidget {
  Q_OBJECT
 public:
  explicit TRptPreviewImage(QWidget* parent = nullptr);
  ~TRptPreviewImage() override;

  int Zoom() const { return zoom_; }
  // Stores the zoom and takes the size it gives.
  void SetZoom(int zoom);
  TRptPrinter* Printer() const { return printer_; }
  void SetPrinter(TRptPrinter* printer);
  int PageNumber() const { return pageNumber_; }
  // Whether a page picture is held.
  bool HasPage() const { return !page_.empty(); }
  // Reads page n from the printer; the page number becomes n, with nothing shown when the
  // page cannot be read.
  void LoadPage(int n);
  void ClearPage();
  // The image's size at its zoom for its printer's paper.
  QSize PageSize() const;
  // The picture shown (drawn when the page or the size changed).
  const QImage& Picture();

  std::vector<TRptHyperlinkArea> Hyperlinks;
  TRptPreviewHyperlinkEvent OnHyperlink;
  // Whether the mouse is over a link, and the last link it was over.
  bool OverLink() const { return overLink_; }
  const std::string& LastLink() const { return lastLink_; }
  // The link under a point of the image (empty when none).
  const TRptHyperlinkArea* LinkAt(int x, int y) const;

  std::function<void()> OnClick, OnDblClick;
  TRptMouseEvent OnMouseDown, OnMouseUp;
  TRptMouseMoveEvent OnMouseMove;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void Render();
  void Hover(int x, int y);

  int zoom_ = 100;
  TRptPrinter* printer_ = nullptr;
  std::string page_;  // the page's metafile bytes
  int pageNumber_ = 1;
  QImage picture_;
  bool stale_ = true;
  bool overLink_ = false;
  std::string lastLink_;
  bool pressed_ = false;
};

class TRptPreview : public QScrollArea {
  Q_OBJECT
 public:
  explicit TRptPreview(QWidget* parent = nullptr);
  ~TRptPreview() override;

  TRptPrinter* Printer() const { return printer_; }
  // Detaches from the printer shown (when it reports here) and attaches `printer`: it reports
  // to this preview, shows page 1 and shows its outline in the Outline tree.
  void SetPrinter(TRptPrinter* printer);
  // The printer's pages were replaced (a file was loaded): page 1 is shown at the zoom, on
  // the printer's paper.
  void PagesReplaced();
  // Called by a printer that is being freed.
  void PrinterFreed(TRptPrinter* printer);

  int PageNumber() const;
  void SetPageNumber(int n);
  // The pages that can be shown: the printer's finished pages (0 without a printer).
  int FinishedPages() const;

  int Zoom() const { return image_->Zoom(); }
  void SetZoom(int zoom);
  void ZoomToFit();
  void ZoomToWidth();
  TRptZoomState ZoomState() const { return zoomState_; }

  // A tree that shows the outline of the printer's pages; choosing an entry calls
  // OnOutlineChange with it.
  QTreeWidget* Outline() const { return outline_; }
  void SetOutline(QTreeWidget* tree);

  TRptPreviewImage* Image() const { return image_; }

  std::function<void(TRptPreview*, int pageCount)> OnPageAvailable;
  std::function<void(TRptPreview*, int percent)> OnProgressUpdate;
  std::function<void(TRptPreview*, const TRptOutlineEntry& entry)> OnOutlineChange;
  // Mouse events of the page, passed on to the image.
  std::function<void()> OnClick, OnDblClick;
  TRptMouseEvent OnMouseDown, OnMouseUp;
  TRptMouseMoveEvent OnMouseMove;

 protected:
  bool event(QEvent* e) override;
  void resizeEvent(QResizeEvent* e) override;

 private:
  // The page's size in pixels at zoom 100.
  QSize PaperPixels() const;
  void ApplyZoomState();
  void ResetScroll();
  void OutlineItemChosen(QTreeWidgetItem* item);

  TRptPreviewImage* image_;
  TRptPrinter* printer_ = nullptr;
  TRptZoomState zoomState_ = TRptZoomState::rpZoomOther;
  QPointer<QTreeWidget> outline_;
  QMetaObject::Connection outlineConnection_;
};

// Makes the preview window of a report. The base makes none.
class TRptPreviewInterface {
 public:
  virtual ~TRptPreviewInterface() = default;
  // Shows the preview of `report` without waiting; the window, or null.
  virtual QPointer<QWidget> Show(TCustomBandReport* report);
  // Shows it and waits until it closes; the window (already closing) or null.
  virtual QPointer<QWidget> ShowModal(TCustomBandReport* report);
};

// The standard preview window (standard_preview.h) for the report's printer.
class TRptStandardPreviewInterface : public TRptPreviewInterface {
 public:
  QPointer<QWidget> Show(TCustomBandReport* report) override;
  QPointer<QWidget> ShowModal(TCustomBandReport* report) override;
};

// The kind of preview interface in use: a maker of it.
using TRptPreviewInterfaceClass = std::function<std::unique_ptr<TRptPreviewInterface>()>;
// The standard preview interface unless replaced.
extern TRptPreviewInterfaceClass PreviewInterfaceClass;

}  // namespace rpt
