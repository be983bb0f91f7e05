// The chart legend.
#include "chart/legend.h"

#include <algorithm>
#include <cstdlib>

#include "chart/chart.h"
#include "chart/html.h"
#include "chart/messages.h"
#include "chart/procs.h"

namespace chart {

// ---- Symbol -------------------------------------------------------------------------------

TLegendSymbol::TLegendSymbol(TNotify onChange) : onChange_(onChange), gradient_(onChange), pen_(onChange) {}

int TLegendSymbol::CalcWidth(int itemWidth, int itemHeight) const {
  if (!visible_) return 0;
  if (squared_) return itemHeight - 5;
  if (widthUnits_ == lcsPixels) return width_;
  return Round(itemWidth * width_ / 100.0);
}

void TLegendSymbol::Assign(const TLegendSymbol& source) {
  continuous_ = source.continuous_;
  defaultPen_ = source.defaultPen_;
  gradient_.Assign(source.gradient_);
  pen_.Assign(source.pen_);
  position_ = source.position_;
  squared_ = source.squared_;
  visible_ = source.visible_;
  width_ = source.width_;
  widthUnits_ = source.widthUnits_;
  if (onChange_) onChange_();
}

// ---- Title --------------------------------------------------------------------------------

TLegendTitle::TLegendTitle(TCustomPlotPanel* chart) : TPlotShape(chart) {
  SetDefaultTransparent(true);
  Font().SetStyle(platform::fsBold);
  InitShadow(Shadow());
}

void TLegendTitle::InitShadow(TPlotShadow& shadow) {
  shadow.SetColor(clSilver);
  shadow.SetSize(2);
  shadow.SetStoredDefaults(clSilver, 2);
}

void TLegendTitle::SetText(const std::vector<std::string>& lines) {
  if (text_ == lines) return;
  text_ = lines;
  InvalidateParent();
}

void TLegendTitle::SetTextAlignment(TAlignment v) {
  if (textAlignment_ == v) return;
  textAlignment_ = v;
  InvalidateParent();
}

int TLegendTitle::TitleWidth() {
  TCanvas3D& c = Parent()->Canvas();
  c.SelectFont(Font());
  int widest = 0;
  for (const std::string& line : text_) widest = std::max(widest, c.TextWidth(line));
  int width = widest + c.TextWidth("W");
  if (!Transparent()) width += 2 * (Pen().Visible() ? Pen().Width() : 0) + ShadowHorizSize();
  return width;
}

int TLegendTitle::TitleHeight() {
  TCanvas3D& c = Parent()->Canvas();
  c.SelectFont(Font());
  int height = static_cast<int>(text_.size()) * c.TextHeight("W");
  if (!Transparent()) height += 2 + 2 * (Pen().Visible() ? Pen().Width() : 0);
  return height;
}

void TLegendTitle::CopyFrom(const TPlotCustomShape& source) {
  TPlotShape::CopyFrom(source);
  if (const auto* s = dynamic_cast<const TLegendTitle*>(&source)) {
    text_ = s->text_;
    textAlignment_ = s->textAlignment_;
  }
}

TChartLegendGradient::TChartLegendGradient(TNotify onChange) : TPlotGradient(std::move(onChange)) {
  SetDirection(gdRightLeft);
  SetStartColor(clSilver);
  SetEndColor(clWhite);
}

TLegendItem& TLegendItems::At(int index) {
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  return items_[static_cast<size_t>(index)];
}

// ---- Legend -------------------------------------------------------------------------------

TCustomChartLegend::TCustomChartLegend(TCustomChart* chart)
    : TPlotCustomShapePosition(chart),
      chart_(chart),
      dividingLines_([this] { InvalidateParent(); }),
      symbol_([this] { InvalidateParent(); }),
      title_(chart) {}

void TCustomChartLegend::SetFirstValue(int v) {
  if (v < 0) throw LegendException(MsgLegendFirstValue);
  Change(firstValue_, v);
}

void TCustomChartLegend::SetCheckBoxesStyle(TCheckBoxesStyle v) {
  if (checkBoxesStyle_ == v) return;
  checkBoxesStyle_ = v;
  if (v == cbsRadio) {
    bool first = true;
    for (int i = 0; i < chart_->SeriesCount(); ++i) {
      TChartSeries* s = chart_->SeriesAt(i);
      if (!s->Active() || !s->ShowInLegend()) continue;
      if (!first) s->SetActive(false);
      first = false;
    }
  }
  InvalidateParent();
}

void TCustomChartLegend::AssignSeries(TChartSeries* series) {
  series_ = series;
  InvalidateParent();
}

TLegendStyle TCustomChartLegend::ResolveStyle() const {
  if (legendStyle_ != lsAuto) return legendStyle_;
  int active = 0;
  for (int i = 0; i < chart_->SeriesCount(); ++i) active += chart_->SeriesAt(i)->Active() ? 1 : 0;
  return checkBoxes_ || active > 1 ? lsSeries : lsValues;
}

bool TCustomChartLegend::CheckBoxesShown() const { return checkBoxes_ && ResolveStyle() != lsValues; }

bool TCustomChartLegend::Shown() const {
  return Visible() && (CheckBoxesShown() || chart_->FirstActiveSeries() != nullptr);
}

TChartSeries* TCustomChartLegend::ListedSeries() const {
  if (series_) return series_;
  TChartSeries* first = chart_->FirstActiveSeries();
  if (first && first->ShowInLegend()) return first;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (s->Active() && s->ShowInLegend()) return s;
  }
  return first;
}

std::vector<TChartSeries*> TCustomChartLegend::LegendSeries() const {
  std::vector<TChartSeries*> list;
  for (int i = 0; i < chart_->SeriesCount(); ++i) {
    TChartSeries* s = chart_->SeriesAt(i);
    if (s->ShowInLegend() && (checkBoxes_ || s->Active())) list.push_back(s);
  }
  return list;
}

int TCustomChartLegend::TotalItems() const {
  int total = 0;
  if (ResolveStyle() == lsValues) {
    TChartSeries* s = ListedSeries();
    total = s && s->ShowInLegend() ? s->CountLegendItems() : 0;
  } else {
    total = static_cast<int>(LegendSeries().size());
  }
  return std::max(0, total - firstValue_);
}

int TCustomChartLegend::ItemValueIndex(int index) const {
  TChartSeries* s = ListedSeries();
  return s ? s->LegendToValueIndex(index) : index;
}

std::string TCustomChartLegend::TextOfItem(int index) {
  std::string text;
  const TLegendStyle style = ResolveStyle();
  if (style == lsValues) {
    if (TChartSeries* s = ListedSeries()) {
      text = chart_->SeriesLegendText(s, ItemValueIndex(index));
      std::replace(text.begin(), text.end(), '\r', ' ');
    }
  } else {
    const std::vector<TChartSeries*> list = LegendSeries();
    if (index >= 0 && index < static_cast<int>(list.size())) {
      TChartSeries* s = list[static_cast<size_t>(index)];
      if (style == lsSeries) {
        text = SeriesTitleOrDefault(*s);
      } else if (s->Count() > 0) {
        text = chart_->SeriesLegendText(s, s->Count() - 1);
        std::replace(text.begin(), text.end(), '\r', ' ');
      }
    }
  }
  if (chart_->OnGetLegendText) chart_->OnGetLegendText(*chart_, style, index, text);
  return text;
}

void TCustomChartLegend::GatherTexts() {
  texts_.clear();
  columnWidths_ = {0, 0};
  TCanvas3D& c = chart_->Canvas();
  const bool html = TextFormat() == ttfHtml;
  htmlTexts_.clear();
  for (int i = firstValue_; i <= lastValue_; ++i) {
    const std::string text = TextOfItem(i);
    std::array<std::string, 2> columns;
    const size_t cut = text.find(kColumnSeparator);
    columns[0] = text.substr(0, cut);
    if (cut != std::string::npos) {
      columns[1] = text.substr(cut + 1);
      const size_t next = columns[1].find(kColumnSeparator);
      if (next != std::string::npos) columns[1].resize(next);
    }
    const bool readable = html && ReadableHtml(c, columns[0]) && ReadableHtml(c, columns[1]);
    htmlTexts_.push_back(readable);
    for (size_t k = 0; k < 2; ++k) {
      const int w = readable ? MeasureHtmlText(c, columns[k]).width : c.TextWidth(columns[k]);
      columnWidths_[k] = std::max(columnWidths_[k], w);
    }
    texts_.push_back(std::move(columns));
  }
}

void TCustomChartLegend::PaintLegend() {
  TCanvas3D& c = chart_->Canvas();
  // 1. Style and a custom position in percent.
  resolvedStyle_ = ResolveStyle();
  const TRect chartRect = chart_->ChartRect();
  const int chartWidth = chartRect.Width(), chartHeight = chartRect.Height();
  TRect r = ShapeBounds();
  if (CustomPosition() && positionUnits_ == muPercent) {
    const int w = r.Width(), h = r.Height();
    r.left = Round(leftPercent_ * chart_->Width() / 100.0);
    r.top = Round(topPercent_ * chart_->Height() / 100.0);
    r.right = r.left + w;
    r.bottom = r.top + h;
  }
  // 2. Paging.
  totalItems_ = TotalItems();
  const int perPage = chart_->MaxPointsPerPage();
  if (perPage > 0) {
    if (resolvedStyle_ == lsValues && currentPage_) {
      firstValue_ = (chart_->Page() - 1) * perPage;
      totalItems_ = std::min(TotalItems(), perPage);
    } else if (resolvedStyle_ != lsValues) {
      firstValue_ = 0;
      totalItems_ = TotalItems();
    }
  }
  // 3. Font, blank, item height, title.
  c.SelectFont(Font());
  blank_ = c.TextWidth(" ");
  const bool boxes = CheckBoxesShown();
  itemHeight_ = c.TextHeight("W");
  if (boxes) itemHeight_ = std::max(itemHeight_, 17);
  itemHeight_ += vertSpacing_;
  if (Vertical() && dividingLines_.Visible()) itemHeight_ += dividingLines_.Width();
  const int h = itemHeight_;
  int f = Pen().Visible() ? Pen().Width() : 0;
  if (Bevel() != bvNone) f = BevelWidth();
  titleShown_ = title_.Visible() && !title_.Text().empty();
  int titleRoom = 0;
  if (titleShown_) {
    titleRoom = title_.TitleHeight() + 2;
    if (!title_.Transparent()) titleRoom += std::abs(title_.ShadowVertSize());
  }
  const int panelShadowV = chart_->Shadow().VertSize(), panelShadowH = chart_->Shadow().HorizSize();
  extraWidth_ = 0;
  if (Vertical()) {
    // 4. One column beside the chart.
    if (!CustomPosition()) {
      const int height = r.Height();
      r.top = chartRect.top + Round(topPos_ * chartHeight / 100.0);
      r.bottom = r.top + height;
    }
    firstItemTop_ = r.top + titleRoom;
    rows_ = h > 0 ? std::min((chartRect.top + chartHeight - 2 * f - firstItemTop_) / h, totalItems_) : 0;
    rows_ = std::max(rows_, 0);
    columns_ = 1;
    lastValue_ = firstValue_ + std::min(totalItems_, rows_) - 1;
    GatherTexts();
    // Side legends measure their columns as top and bottom legends do.
    itemWidth_ = columnWidths_[0] + columnWidths_[1] + 2 * blank_ - 1;
    symbolWidth_ = symbol_.CalcWidth(itemWidth_ + 10, h);
  } else {
    // 5. Rows and columns above or below the chart.
    lastValue_ = firstValue_ + totalItems_ - 1;
    GatherTexts();
    itemWidth_ = columnWidths_[0] + columnWidths_[1] + 2 * blank_ - 1;
    symbolWidth_ = symbol_.CalcWidth(itemWidth_, h);
    if (!CustomPosition()) {
      const int height = r.Height();
      if (alignment_ == laBottom) {
        int distance = panelShadowV + f + 1;
        if (OnLegendExtraWidth) OnLegendExtraWidth(*this, distance);
        r.bottom = chartRect.bottom - distance;
        r.top = r.bottom - height;
      } else {
        r.top = chartRect.top + f + 1;
        r.bottom = r.top + height;
      }
    }
    const int cell = symbolWidth_ + itemWidth_ + (boxes ? 35 : 8);
    columns_ = cell > 0 ? std::min((chartWidth - 2 * f - 8) / cell, totalItems_) : 0;
    columns_ = std::max(columns_, 0);
    rows_ = columns_ > 0 ? std::min((totalItems_ + columns_ - 1) / columns_, maxNumRows_) : 0;
    lastValue_ = firstValue_ + std::min(totalItems_, columns_ * rows_) - 1;
    if (static_cast<int>(texts_.size()) > lastValue_ - firstValue_ + 1) {
      texts_.resize(static_cast<size_t>(std::max(0, lastValue_ - firstValue_ + 1)));
      htmlTexts_.resize(texts_.size());
    }
  }
  // 6. Nothing to list: nothing drawn, the chart keeps its room.
  if (lastValue_ < firstValue_) {
    SetShapeBounds(r);
    return;
  }
  int height = h * rows_ + 2 + 2 * Round(h * 0.1) + titleRoom;
  if (alignment_ == laBottom && !CustomPosition()) {
    r.top = r.bottom - height;
  } else {
    r.bottom = r.top + height;
  }
  if (!Vertical()) firstItemTop_ = r.top + titleRoom;
  // 7. Horizontal placement.
  const int titleWidth = titleShown_ ? title_.TitleWidth() : 0;
  if (Vertical()) {
    int width = itemWidth_ + 10 + symbolWidth_;
    if (OnLegendExtraWidth) {
      int extra = 0;
      OnLegendExtraWidth(*this, extra);
      extraWidth_ = std::max(0, extra);
      width += extraWidth_;
    }
    if (boxes) width += 15;
    width = std::max(width, titleWidth);
    if (CustomPosition()) {
      r.right = r.left + width;
    } else if (alignment_ == laRight) {
      r.right = chartRect.right - panelShadowH - f - 1;
      r.left = r.right - width;
    } else {
      r.left = chartRect.left + f + 1;
      r.right = r.left + width;
    }
  } else {
    int total = columns_ * (itemWidth_ + symbolWidth_ + 6) + 10;
    if (boxes) total += 13 * columns_ + 8;
    total = std::min(std::max(total, titleWidth), chartWidth);
    const int half = total / 2;
    if (!CustomPosition()) {
      r.left = (chartRect.left + chartRect.right) / 2 - half + Round(topPos_ * (chartWidth - 2 * half) / 100.0);
    }
    r.right = r.left + total;
  }
  boxX_ = r.left + 4;
  itemsLeft_ = boxes ? r.left + 15 : r.left;
  // 9. The chart's rectangle event, frame and title.
  if (chart_->OnGetLegendRect) chart_->OnGetLegendRect(*chart_, r);
  SetShapeBounds(r);
  DrawFramedBox(r, 0, 0);
  if (titleShown_) {
    TRect tr{r.left + 2, r.top + 2, r.right - 2, r.top + 2 + title_.TitleHeight()};
    title_.SetShapeBounds(tr);
    title_.DrawFramedBox(tr, 0, 0);
    c.SelectFont(title_.Font());
    c.SetBackMode(cbmTransparent);
    c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
    const int lh = c.TextHeight("W");
    const int halfW = c.TextWidth("W") / 2;
    for (size_t i = 0; i < title_.Text().size(); ++i) {
      const std::string& line = title_.Text()[i];
      int x = r.left + halfW;
      if (title_.TextAlignment() == taRightJustify) {
        x = tr.right - c.TextWidth(line) - halfW;
      } else if (title_.TextAlignment() == taCenter) {
        x = (tr.left + tr.right) / 2 - c.TextWidth(line) / 2;
      }
      c.DrawText2D(x, tr.top + static_cast<int>(i) * lh, line);
    }
  }
  // 10. Items.
  const int count = lastValue_ - firstValue_ + 1;
  for (int n = 0; n < count; ++n) DrawItem(inverted_ ? lastValue_ - n : firstValue_ + n, n);
  // 11. The chart's room.
  if (chart_->ChartRectFixed() || !resizeChart_ || CustomPosition()) return;
  TRect cr = chart_->ChartRect();
  switch (alignment_) {
    case laLeft: cr.left = r.right + (horizMargin_ ? horizMargin_ : Round(chartWidth * 3 / 100.0)); break;
    case laRight: cr.right = r.left - (horizMargin_ ? horizMargin_ : Round(chartWidth * 3 / 100.0)); break;
    case laTop: cr.top = r.bottom + panelShadowV + (vertMargin_ ? vertMargin_ : Round(chartHeight * 4 / 100.0)); break;
    case laBottom: cr.bottom = r.top - (vertMargin_ ? vertMargin_ : Round(chartHeight * 4 / 100.0)); break;
  }
  chart_->SetChartRect(cr);
  chart_->NormalizeChartRect();
}

namespace {

// Whether a text column of a value style holds a number (drawn right-aligned).
bool NumberColumn(TLegendTextStyle style, int column) {
  if (column == 0) {
    return style == ltsLeftValue || style == ltsLeftPercent || style == ltsXValue || style == ltsValue ||
           style == ltsPercent || style == ltsXAndValue || style == ltsXAndPercent;
  }
  return style == ltsRightValue || style == ltsRightPercent || style == ltsXAndValue || style == ltsXAndPercent;
}

}  // namespace

void TCustomChartLegend::DrawItem(int index, int position) {
  TCanvas3D& c = chart_->Canvas();
  const bool boxes = CheckBoxesShown();
  const int h = itemHeight_;
  const TRect& r = ShapeBounds();
  c.Brush().SetColor(Color());
  c.Brush().SetStyle(platform::BrushStyle::Clear);
  const int row = Vertical() ? position : position / std::max(1, columns_);
  int offset = 0;
  if (!Vertical()) offset = (position % std::max(1, columns_)) * (itemWidth_ + symbolWidth_ + 6 + (boxes ? 15 : 0));
  const int start = itemsLeft_ + offset;
  int symbolX = symbol_.Position() == spLeft ? start + 6 : start + itemWidth_ + 6;
  int textX = symbol_.Position() == spLeft ? start + symbolWidth_ + 10 : start + 6;
  int y = firstItemTop_ + Round(h * 0.1) + 1 + row * h + vertSpacing_ / 2;
  if (chart_->OnGetLegendPos) chart_->OnGetLegendPos(*chart_, index, textX, y, symbolX);

  // The series or the value the item stands for.
  TChartSeries* series = nullptr;
  int valueIndex = -1;
  if (resolvedStyle_ == lsValues) {
    series = ListedSeries();
    valueIndex = ItemValueIndex(index);
  } else {
    const std::vector<TChartSeries*> list = LegendSeries();
    if (index < static_cast<int>(list.size())) series = list[static_cast<size_t>(index)];
  }
  c.SelectFont(Font());
  if (fontSeriesColor_ && series) {
    c.Font().SetColor(resolvedStyle_ == lsValues ? series->LegendItemColor(valueIndex) : series->SeriesColor());
  }
  c.SetBackMode(cbmTransparent);
  const bool html = htmlTexts_[static_cast<size_t>(index - firstValue_)];
  const std::array<std::string, 2>& texts = texts_[static_cast<size_t>(index - firstValue_)];
  TLegendItem& item = items_.At(position);
  item.x = textX;
  item.y = y;
  item.text = texts[0];
  item.align = taLeftJustify;
  int x = textX;
  for (int k = 0; k < 2; ++k) {
    const bool number = resolvedStyle_ != lsSeries && NumberColumn(textStyle_, k);
    if (k == 0) item.align = number ? taRightJustify : taLeftJustify;
    if (!texts[static_cast<size_t>(k)].empty()) {
      if (number) {
        c.SetTextAlign(platform::TA_RIGHT | platform::TA_TOP);
        c.DrawTextMaybeHtml(x + columnWidths_[static_cast<size_t>(k)], y + (boxes ? 1 : 0), html,
                            texts[static_cast<size_t>(k)]);
      } else {
        c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
        c.DrawTextMaybeHtml(x, y + (boxes ? 1 : 0), html, texts[static_cast<size_t>(k)]);
      }
    }
    x += columnWidths_[static_cast<size_t>(k)] + blank_;
  }
  c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);

  // Symbol rectangle.
  TRect symbolRect{symbolX, y + 2, symbolX + symbolWidth_, y + h + 1 - (vertSpacing_ + 3)};
  if (symbol_.Continuous()) {
    const int count = lastValue_ - firstValue_ + 1;
    symbolRect.top = position == 0 ? y + 2 : y;
    symbolRect.bottom = position == count - 1 ? y + h + 1 - (vertSpacing_ + 3) : y + h + 1;
  }
  item.symbolRect = symbolRect;
  if (resolvedStyle_ != lsValues && boxes && series) {
    if (platform::Canvas* canvas = c.ReferenceCanvas()) {
      PaintCheckBox(boxX_ + offset, y - 1 + (h - vertSpacing_ - 11) / 2, *canvas, series->Active(),
                    checkBoxesStyle_ == cbsCheck);
    }
  }
  if (symbolWidth_ > 0) {
    const TColor color = !series ? clWhite
                         : resolvedStyle_ == lsValues ? series->LegendItemColor(valueIndex)
                                                      : series->SeriesColor();
    if (symbol_.Gradient().Visible()) {
      TPlotGradient& g = symbol_.Gradient();
      const TColor end = g.EndColor();
      g.SetOnChange({});
      g.SetEndColor(color);
      g.PaintRect(c, symbolRect);
      g.SetEndColor(end);
      g.SetOnChange([this] { InvalidateParent(); });
    } else if (series) {
      series->PaintLegendSymbol(resolvedStyle_ == lsValues ? valueIndex : -1, symbolRect);
    } else {
      c.Brush().SetStyle(platform::BrushStyle::Solid);
      c.Brush().SetColor(clWhite);
      c.SelectPen(symbol_.Pen());
      c.DrawRectangleR(symbolRect);
    }
    if (symbol_.OnDraw) symbol_.OnDraw(symbol_, series, symbolRect, valueIndex);
  }
  // Dividing lines between items.
  if (position > 0 && dividingLines_.Visible()) {
    c.SelectPen(dividingLines_);
    if (Vertical()) {
      c.DrawHorizLine(r.left, r.right, y - vertSpacing_ / 2);
    } else {
      c.DrawVertLine(r.left + offset + 2, r.top, r.bottom);
    }
  }
}

int TCustomChartLegend::ItemAt(int x, int y) const {
  const TRect& r = ShapeBounds();
  if (lastValue_ < firstValue_ || rows_ <= 0) return -1;
  if (x < r.left || x > r.right - extraWidth_ || y < r.top || y > r.bottom) return -1;
  const int h = itemHeight_;
  int row = -1;
  for (int k = 0; k < rows_; ++k) {
    const int top = firstItemTop_ + k * h + 1;
    if (y >= top && y <= top + h) {
      row = k;
      break;
    }
  }
  if (row < 0) return -1;
  // The drawing puts the item of position n (counted along the rows) there; inverted, that is
  // the item total - 1 - n, so a partly filled last row holds the first items.
  const int total = lastValue_ - firstValue_ + 1;
  auto drawnAt = [&](int position) {
    if (position >= total) return -1;
    return (inverted_ ? total - 1 - position : position) + firstValue_;
  };
  if (Vertical()) return drawnAt(row);
  // A legend that found no room for a column has no items to hit.
  if (columns_ <= 0) return -1;
  const int width = r.Width() / columns_;
  int column = -1;
  for (int k = 0; k < columns_; ++k) {
    const int left = r.left + k * width + 1;
    if (x >= left && x <= left + width) {
      column = k;
      break;
    }
  }
  if (column < 0) return -1;
  return drawnAt(row * columns_ + column);
}

bool TCustomChartLegend::ClickItem(int x, int y) {
  if (!CheckBoxesShown()) return false;
  const int index = ItemAt(x, y);
  if (index < 0) return false;
  const std::vector<TChartSeries*> list = LegendSeries();
  if (index >= static_cast<int>(list.size())) return false;
  if (checkBoxesStyle_ == cbsRadio) {
    for (size_t i = 0; i < list.size(); ++i) list[i]->SetActive(static_cast<int>(i) == index);
  } else {
    list[static_cast<size_t>(index)]->SetActive(!list[static_cast<size_t>(index)]->Active());
  }
  return true;
}

void TCustomChartLegend::CopyFrom(const TPlotCustomShape& source) {
  TPlotCustomShapePosition::CopyFrom(source);
  const auto* s = dynamic_cast<const TCustomChartLegend*>(&source);
  if (!s) return;
  alignment_ = s->alignment_;
  checkBoxes_ = s->checkBoxes_;
  checkBoxesStyle_ = s->checkBoxesStyle_;
  currentPage_ = s->currentPage_;
  dividingLines_.Assign(s->dividingLines_);
  firstValue_ = s->firstValue_;
  fontSeriesColor_ = s->fontSeriesColor_;
  horizMargin_ = s->horizMargin_;
  vertMargin_ = s->vertMargin_;
  inverted_ = s->inverted_;
  leftPercent_ = s->leftPercent_;
  topPercent_ = s->topPercent_;
  legendStyle_ = s->legendStyle_;
  maxNumRows_ = s->maxNumRows_;
  positionUnits_ = s->positionUnits_;
  resizeChart_ = s->resizeChart_;
  symbol_.Assign(s->symbol_);
  textStyle_ = s->textStyle_;
  title_.CopyFrom(s->title_);
  topPos_ = s->topPos_;
  vertSpacing_ = s->vertSpacing_;
  InvalidateParent();
}

}  // namespace chart
