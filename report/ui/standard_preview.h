// The standard preview window: a finished or still-running report looked at page by page,
// with zoom, navigation, thumbnails, text search over the stored pages, printer setup,
// printing, and saving and loading page files. It works on one report printer (not owned) and
// shows its pages in a preview control (preview.h).
//
// - Creation takes the report's preview settings (window style, size and state, thumbnails,
//   search, initial zoom, title); a printer without a report gives a maximised window with
//   thumbnails and search at zoom 100.
// - Navigation and the status bar ("Page n of m") count the finished pages: while the report
//   runs, the page being drawn is neither shown nor listed. The status bar names the page
//   actually shown.
// - Keys work on the whole window (whatever control has the focus): Esc closes, Page Up and
//   Page Down go back and on (with Ctrl to the first and last page), Home and End to the first
//   and last page, Up and Down scroll by the scroll bar's step and carry on into the page
//   before or after at the page's edge (at the first or last page they stop at its edge). The
//   mouse wheel over the page turns into Up and Down.
// - Find searches every stored page (metafile_search.h) and lists the pages with a hit on the
//   search tab; choosing an entry shows its page.
// - Print runs the report anew on the printer, or prints the stored pages of a loaded file;
//   Printer setup runs the report's print dialog, and the choice applies to the preview's
//   printer (a loaded file's settings stay out of the report).
// - Save writes the page file through a temporary file renamed over the target (or hands the
//   pages to an export filter of the library); Load checks the whole file first, so a damaged
//   file leaves the pages shown as they were; both report failures in a message naming the
//   file.
// - Closing is refused while the report runs; otherwise the printer hears that the preview is
//   gone, its report gets CM_RPTPREVIEWCLOSE, and the window deletes itself.
#pragma once

#include <QImage>
#include <QWidget>
#include <map>
#include <string>

#include "platform/input.h"
#include "report/band_report.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QProgressBar;
class QSplitter;
class QStatusBar;
class QTabWidget;
class QTableWidget;
class QToolButton;
class QPainter;

namespace rpt {

class TRptPreview;
class TRptPrinter;

class TRptStandardPreview : public QWidget {
  Q_OBJECT
 public:
  explicit TRptStandardPreview(TRptPrinter* printer, QWidget* parent = nullptr);
  ~TRptStandardPreview() override;

  TRptPrinter* Printer() const { return printer_; }

  QWidget* ToolBar1;
  QToolButton *ZoomFit, *ZoomToWidth, *Zoom100, *FirstPage, *PreviousPage, *nextPage, *LastPage, *GotoPageButton,
      *FindButton, *PrintSetup, *Print, *SaveReport, *LoadReport, *ExitButton;
  TRptPreview* RptPreview;
  QSplitter* Splitter1;
  QTabWidget* Tabs;
  QWidget *TabThumbs, *TabSearchResult;
  QTableWidget* ThumbGrid;
  QGroupBox* GroupBox1;
  QLabel* SearchTextLabel;
  QListWidget* SearchResultBox;
  QStatusBar* StatusBar;
  // The status bar's panels: 0 progress, 1 page, 2 file or link text.
  QLabel* Panel(int i) const { return panels_[i]; }

  bool ShowThumbs() const { return showThumbs_; }
  bool ShowSearch() const { return showSearch_; }
  // The page file loaded into the window (inside path; empty when none).
  const std::string& LoadedFile() const { return loadedFile_; }

  // Navigation: every page change goes through GoToPage.
  void GoToPage(int n);
  void GoFirst();
  void GoPrevious();
  void GoNext();
  void GoLast();
  // Asks for a page number; one outside 1 to the page count shows page 1.
  void GotoPageDialog();
  void ScrollUp();
  void ScrollDown();
  // A key of the window (virtual-key code); true when it was used.
  bool HandleKey(int key, platform::TShiftState shift);

  // Lists the pages that show `text` (CP932) on the search tab.
  void Search(const std::string& text, bool matchCase);
  // Shows the page of search result `row`.
  void SearchResultChosen(int row);

  // Asks for a text with the search dialog (not while the report runs) and searches for it.
  void Find();
  // Prints: the report anew on the printer, or the stored pages of a loaded file.
  void PrintReport();
  // The print dialog of the report (or of a stand-in for a loaded file); the choice goes into
  // the preview's printer and, unless a file is shown, stays with the report.
  void PrinterSetupDialog();
  // Saves the pages as `fileName` (inside path) with the filter of the save dialog's list
  // (1: the page file, k above 1: export filter k - 1 of the library).
  void SaveTo(const std::string& fileName, int filterIndex);
  void SaveDialog();
  // Loads the page file `fileName` (inside path).
  void LoadFrom(const std::string& fileName);
  void LoadDialog();

  // The thumbnail of page n as drawn in its cell (cached until the size or the pages change).
  QImage Thumbnail(int page);
  // Forgets the drawn thumbnails (they are drawn again when next shown).
  void ClearThumbnails();
  QSize ThumbnailSize() const { return QSize(thumbWidth_, thumbHeight_); }

 protected:
  bool eventFilter(QObject* watched, QEvent* e) override;
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;

 private:
  friend class ThumbDelegate;
  void BuildForm();
  void TakeReportSettings();
  void SetThumbRows(int rows);
  void LayoutThumbs();
  void DrawThumbCell(QPainter* painter, const QRect& cell, int row, bool selected);
  void UpdateStatus();
  void PageAvailable(int count);
  void ProgressUpdate(int percent);
  void EnableCommands(bool finished);
  void ShowError(const std::string& text);
  int PageCount() const;

  TRptPrinter* printer_;
  QLabel* panels_[3];
  QProgressBar* progressBar_;
  bool showThumbs_ = true;
  bool showSearch_ = true;
  TRptZoomState initialZoom_ = TRptZoomState::rpZoomOther;
  int initialZoomValue_ = 100;
  Qt::WindowStates initialState_ = Qt::WindowMaximized;
  int lastProgress_ = 0;
  int textHeight_ = 0;
  int thumbWidth_ = 0, thumbHeight_ = 0, thumbLeft_ = 0;
  std::map<int, QImage> thumbs_;
  std::string loadedFile_;
  bool loaded_ = false;
  bool selectingRow_ = false;   // guards: a page change that selects a thumbnail or
  bool selectingPage_ = false;  // a thumbnail selection that changes the page
};

}  // namespace rpt
