// Export filters: a report run can hand its output to a filter, which writes some other file
// format. The program-wide library lists the filters the application supplies (no concrete
// filter is part of the report library) and builds the file-type text of a save dialog.
//
// The calls of one run, in order: Start (when not started yet) -> for each page: NewPage,
// then graphics, texts and band ends in printing order, then EndPage -> Finish. A filter
// whose Continuous answers true receives the whole report on one endless page. While a
// filter is attached, band backgrounds, frame lines and full-height vertical lines reach it
// as shape controls, the back image on every new page, and an aborted run to the page store
// does not keep its open page.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/dc_canvas.h"
#include "report/units.h"

class QWidget;

namespace rpt {

class TRptCustomBand;

enum class TRptAlignment : uint8_t { Left, Right, Center };

class TRptExportFilter {
 public:
  virtual ~TRptExportFilter() = default;

  bool Started() const { return started_; }
  void SetStarted(bool started) { started_ = started; }

  // True: one endless page (no page breaks for lack of room).
  virtual bool Continuous() { return false; }
  // Once per run: the page size (0.1 mm) and the report font.
  virtual void Start(int paperWidth, int paperLength, const platform::CanvasFont& font) = 0;
  virtual void EndPage() = 0;
  // After the last page of a run.
  virtual void Finish() = 0;
  virtual void NewPage() = 0;
  // A shape or image control to reproduce at a device-pixel position.
  virtual void Graphic(QWidget* control, int top, int left) = 0;
  // A band ended: its expanded height, and its top and left (0.1 mm).
  virtual void BandEnd(TRptCustomBand* band, Real expanded, Real top, Real left) = 0;
  // One printed line of a text control at a device-pixel position.
  virtual void TextOut(int x, int y, const platform::CanvasFont& font, uint32_t color, TRptAlignment alignment,
                       const std::string& text) = 0;

 private:
  bool started_ = false;
};

class TRptExportFilterLibrary {
 public:
  struct Entry {
    std::string description;  // CP932
    std::string extension;    // without the dot, "TXT"
    // Makes a filter writing the file named (inside path).
    std::function<std::unique_ptr<TRptExportFilter>(const std::string& fileName)> create;
  };

  // The library of the whole program.
  static TRptExportFilterLibrary& Instance();

  void Add(Entry entry) { entries_.push_back(std::move(entry)); }
  void Clear() { entries_.clear(); }
  const std::vector<Entry>& Entries() const { return entries_; }
  // "Report file (*.RPT)|*.RPT", then "|description (*.ext)|*.ext" per entry in list order.
  std::string SaveDialogFilter() const;

 private:
  std::vector<Entry> entries_;
};

// The text naming saved report files in a save dialog.
inline const char* const kSavedReportsText = "Report file ";
inline const char* const kSavedReportExtension = "RPT";

}  // namespace rpt
