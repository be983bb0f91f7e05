// The chart legend: a framed box listing either the chart's series (one item per series,
// optionally with a check box that switches the series on and off) or the values of one
// series (one item per point). It stands in one column at the chart's left or right side, in
// rows and columns above or below it, or at a position of its own, and takes its room from
// the chart rectangle. Each item draws a symbol and up to two text columns (a legend text is
// cut into columns at the column separator). `ItemAt` maps a point back to an item.
#pragma once

#include <algorithm>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "chart/errors.h"
#include "chart/series.h"
#include "chart/walls_titles.h"

namespace chart {

class TCustomChart;

enum TLegendAlignment { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle { cbsCheck, cbsRadio };
enum TLegendStyle { lsAuto, lsSeries, lsValues, lsLastValues };
enum TLegendSymbolPosition { spLeft, spRight };
enum TLegendSymbolSize { lcsPercent, lcsPixels };

class LegendException : public ChartException {
 public:
  using ChartException::ChartException;
};

// The symbol before (or after) each item's text.
class TLegendSymbol {
 public:
  explicit TLegendSymbol(TNotify onChange);
  TLegendSymbol(const TLegendSymbol&) = delete;
  TLegendSymbol& operator=(const TLegendSymbol&) = delete;

  bool Continuous() const { return continuous_; }
  void SetContinuous(bool v) { Change(continuous_, v); }
  bool DefaultPen() const { return defaultPen_; }
  void SetDefaultPen(bool v) { Change(defaultPen_, v); }
  TPlotGradient& Gradient() { return gradient_; }
  const TPlotGradient& Gradient() const { return gradient_; }
  TChartPen& Pen() { return pen_; }
  const TChartPen& Pen() const { return pen_; }
  TLegendSymbolPosition Position() const { return position_; }
  void SetPosition(TLegendSymbolPosition v) { Change(position_, v); }
  bool Squared() const { return squared_; }
  void SetSquared(bool v) { Change(squared_, v); }
  bool Visible() const { return visible_; }
  void SetVisible(bool v) { Change(visible_, v); }
  int Width() const { return width_; }
  void SetWidth(int v) { Change(width_, v); }
  TLegendSymbolSize WidthUnits() const { return widthUnits_; }
  void SetWidthUnits(TLegendSymbolSize v) { Change(widthUnits_, v); }
  // Draws the symbol of a series' item itself (series, item's value index or -1, rectangle).
  std::function<void(TLegendSymbol&, TChartSeries*, const TRect&, int)> OnDraw;

  // The symbol width in pixels for an item of `itemWidth` and `itemHeight`.
  int CalcWidth(int itemWidth, int itemHeight) const;
  void Assign(const TLegendSymbol& source);

 private:
  template <class V>
  void Change(V& field, V value) {
    if (field == value) return;
    field = value;
    if (onChange_) onChange_();
  }
  TNotify onChange_;
  bool continuous_ = false;
  bool defaultPen_ = true;
  TPlotGradient gradient_;
  TChartPen pen_;
  TLegendSymbolPosition position_ = spLeft;
  bool squared_ = false;
  bool visible_ = true;
  int width_ = 20;
  TLegendSymbolSize widthUnits_ = lcsPercent;
};

// The heading of a legend.
class TLegendTitle : public TPlotShape {
 public:
  explicit TLegendTitle(TCustomPlotPanel* chart);
  const std::vector<std::string>& Text() const { return text_; }
  void SetText(const std::vector<std::string>& lines);
  // The lines themselves (a stored description fills them while the chart is read).
  std::vector<std::string>& TextLines() { return text_; }
  TAlignment TextAlignment() const { return textAlignment_; }
  void SetTextAlignment(TAlignment v);
  // The size of the title's box in the title font.
  int TitleWidth();
  int TitleHeight();
  void CopyFrom(const TPlotCustomShape& source) override;

 protected:
  void InitShadow(TPlotShadow& shadow) override;

 private:
  std::vector<std::string> text_;
  TAlignment textAlignment_ = taLeftJustify;
};

class TChartLegendGradient : public TPlotGradient {
 public:
  explicit TChartLegendGradient(TNotify onChange = {});
};

// What the layout keeps of one drawn item.
struct TLegendItem {
  int x = 0, y = 0;
  std::string text;
  TAlignment align = taLeftJustify;
  TRect symbolRect{};
};

class TLegendItems {
 public:
  // The item at `index`, the list growing as needed.
  TLegendItem& At(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  void Clear() { items_.clear(); }

 private:
  std::vector<TLegendItem> items_;
};

class TCustomChartLegend : public TPlotCustomShapePosition {
 public:
  explicit TCustomChartLegend(TCustomChart* chart);
  TCustomChart* Chart() const { return chart_; }

  // ---- Published settings ----
  TLegendAlignment Alignment() const { return alignment_; }
  void SetAlignment(TLegendAlignment v) { Change(alignment_, v); }
  bool CheckBoxes() const { return checkBoxes_; }
  void SetCheckBoxes(bool v) { Change(checkBoxes_, v); }
  TCheckBoxesStyle CheckBoxesStyle() const { return checkBoxesStyle_; }
  // Radio style leaves only the first active series of the legend on.
  void SetCheckBoxesStyle(TCheckBoxesStyle v);
  int ColorWidth() const { return symbol_.Width(); }
  void SetColorWidth(int v) { symbol_.SetWidth(v); }
  bool CurrentPage() const { return currentPage_; }
  void SetCurrentPage(bool v) { Change(currentPage_, v); }
  TChartHiddenPen& DividingLines() { return dividingLines_; }
  const TChartHiddenPen& DividingLines() const { return dividingLines_; }
  int FirstValue() const { return firstValue_; }
  // Raises LegendException below 0.
  void SetFirstValue(int v);
  bool FontSeriesColor() const { return fontSeriesColor_; }
  void SetFontSeriesColor(bool v) { Change(fontSeriesColor_, v); }
  int HorizMargin() const { return horizMargin_; }
  void SetHorizMargin(int v) { Change(horizMargin_, v); }
  int VertMargin() const { return vertMargin_; }
  void SetVertMargin(int v) { Change(vertMargin_, v); }
  bool Inverted() const { return inverted_; }
  void SetInverted(bool v) { Change(inverted_, v); }
  int LeftPercent() const { return leftPercent_; }
  void SetLeftPercent(int v) { Change(leftPercent_, v); }
  int TopPercent() const { return topPercent_; }
  void SetTopPercent(int v) { Change(topPercent_, v); }
  TLegendStyle LegendStyle() const { return legendStyle_; }
  void SetLegendStyle(TLegendStyle v) { Change(legendStyle_, v); }
  // Row counts, positions and spacings beyond this either way are taken as this, so that
  // the layout's sums and products stay in the int range.
  static constexpr int kMaxStoredSize = 100000;
  int MaxNumRows() const { return maxNumRows_; }
  void SetMaxNumRows(int v) { Change(maxNumRows_, std::clamp(v, -kMaxStoredSize, kMaxStoredSize)); }
  TPlotUnits PositionUnits() const { return positionUnits_; }
  void SetPositionUnits(TPlotUnits v) { Change(positionUnits_, v); }
  bool ResizeChart() const { return resizeChart_; }
  void SetResizeChart(bool v) { Change(resizeChart_, v); }
  TLegendSymbol& Symbol() { return symbol_; }
  const TLegendSymbol& Symbol() const { return symbol_; }
  TLegendTextStyle TextStyle() const { return textStyle_; }
  void SetTextStyle(TLegendTextStyle v) { Change(textStyle_, v); }
  TLegendTitle& Title() { return title_; }
  const TLegendTitle& Title() const { return title_; }
  int TopPos() const { return topPos_; }
  void SetTopPos(int v) { Change(topPos_, std::clamp(v, -kMaxStoredSize, kMaxStoredSize)); }
  int VertSpacing() const { return vertSpacing_; }
  void SetVertSpacing(int v) { Change(vertSpacing_, std::clamp(v, -kMaxStoredSize, kMaxStoredSize)); }

  // ---- Layout state ----
  // The style after resolution (never lsAuto after a layout).
  TLegendStyle ResolvedStyle() const { return resolvedStyle_; }
  TLegendStyle ResolveStyle() const;
  bool CheckBoxesShown() const;
  // The series whose values are listed (values style).
  TChartSeries* ListedSeries() const;
  TChartSeries* AssignedSeries() const { return series_; }
  // Sets the listed series (nullptr: automatic) and repaints.
  void AssignSeries(TChartSeries* series);
  // The series an item of a series style stands for, in legend order.
  std::vector<TChartSeries*> LegendSeries() const;
  int TotalItems() const;
  int LastValue() const { return lastValue_; }
  int Columns() const { return columns_; }
  int Rows() const { return rows_; }
  int ItemHeight() const { return itemHeight_; }
  int FirstItemTop() const { return firstItemTop_; }
  int ColumnWidth(int column) const { return columnWidths_[static_cast<size_t>(column)]; }
  TLegendItems& Items() { return items_; }
  bool Vertical() const { return alignment_ == laLeft || alignment_ == laRight; }
  // Visible, and check boxes shown or some series active.
  bool Shown() const;

  // The text of an item by the resolved style (the chart's text event may replace it).
  std::string TextOfItem(int index);
  // Lays the legend out, draws it and takes its room from the chart rectangle.
  void PaintLegend();
  // The item under (x, y), or -1: the item the drawing put at that row and column. Positions
  // count along the rows; an inverted legend draws the item total - 1 - position there, so a
  // point on an inverted legend whose last row is partly filled answers the item shown under
  // it rather than the one a full grid would hold at that place.
  int ItemAt(int x, int y) const;
  // Switches the series of the item under (x, y) when check boxes are shown; true when handled.
  bool ClickItem(int x, int y);

  // A size event: extra width on the legend's right.
  std::function<void(TCustomChartLegend&, int& extraWidth)> OnLegendExtraWidth;

  void CopyFrom(const TPlotCustomShape& source) override;

 private:
  template <class V>
  void Change(V& field, V value) {
    if (field == value) return;
    field = value;
    InvalidateParent();
  }
  void GatherTexts();
  void DrawItem(int index, int position);
  int ItemValueIndex(int index) const;

  TCustomChart* chart_;
  TLegendAlignment alignment_ = laRight;
  bool checkBoxes_ = false;
  TCheckBoxesStyle checkBoxesStyle_ = cbsCheck;
  bool currentPage_ = true;
  TChartHiddenPen dividingLines_;
  int firstValue_ = 0;
  bool fontSeriesColor_ = false;
  int horizMargin_ = 0, vertMargin_ = 0;
  bool inverted_ = false;
  int leftPercent_ = 0, topPercent_ = 0;
  TLegendStyle legendStyle_ = lsAuto;
  int maxNumRows_ = 10;
  TPlotUnits positionUnits_ = muPixels;
  bool resizeChart_ = true;
  TLegendSymbol symbol_;
  TLegendTextStyle textStyle_ = ltsLeftValue;
  TLegendTitle title_;
  int topPos_ = 10;
  int vertSpacing_ = 0;

  // Layout of the last paint.
  TLegendStyle resolvedStyle_ = lsAuto;
  TChartSeries* series_ = nullptr;
  int totalItems_ = 0;
  int lastValue_ = -1;
  int columns_ = 0, rows_ = 0;
  int symbolWidth_ = 0;
  std::array<int, 2> columnWidths_{0, 0};
  bool titleShown_ = false;
  int itemHeight_ = 0, itemWidth_ = 0, blank_ = 0, firstItemTop_ = 0;
  int boxX_ = 0, itemsLeft_ = 0, extraWidth_ = 0;
  std::vector<std::array<std::string, 2>> texts_;
  std::vector<bool> htmlTexts_;  // drawn as HTML (the format asks for it and the text reads)
  TLegendItems items_;
};

class TChartLegend : public TCustomChartLegend {
 public:
  using TCustomChartLegend::TCustomChartLegend;
};

}  // namespace chart
