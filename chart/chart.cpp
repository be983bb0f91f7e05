// The chart component: titles, walls, legend, zoom, panning, the wheel and click dispatch.
#include "chart/chart.h"

#include <algorithm>
#include <cmath>

#include "chart/axis.h"
#include "chart/marks.h"
#include "chart/registry.h"
#include "chart/series.h"
#include "chart/series_tables.h"
#include "chart/stored_tables.h"
#include "chart/unit.h"

namespace chart {

bool TCustomChart::WheelScrollEnabled = true;
TShiftState TCustomChart::PanningKeyShift = 0;

namespace {

// Every key of `required` is held in `shift`.
bool KeysHeld(TShiftState shift, TShiftState required) { return (shift & required) == required; }

}  // namespace

TCustomChart::TCustomChart(QWidget* parent)
    : TCustomAxisPanel(parent),
      title_(std::make_unique<TChartTitle>(this)),
      subTitle_(std::make_unique<TChartTitle>(this)),
      foot_(std::make_unique<TChartFootTitle>(this)),
      subFoot_(std::make_unique<TChartFootTitle>(this)),
      walls_(std::make_unique<TChartWalls>(this)),
      legend_(std::make_unique<TChartLegend>(this)) {}

TCustomChart::~TCustomChart() { SetDestroying(); }

// ---- Chart services -----------------------------------------------------------------------

bool TCustomChart::UsesAxes() const {
  bool anyActive = false;
  for (int i = 0; i < SeriesCount(); ++i) {
    const TChartSeries* s = SeriesAt(i);
    if (!s->Active()) continue;
    anyActive = true;
    if (s->UsesAxes()) return true;
  }
  return !anyActive;
}

TColor TCustomChart::GetBackColor() { return BackWall().Transparent() ? Color() : BackWall().Color(); }

void TCustomChart::SetBackColor(TColor color) {
  BackWall().SetColor(color);
  if (parentWidget() && !Loading()) BackWall().Brush().SetStyle(platform::BrushStyle::Solid);
}

bool TCustomChart::ColorIsFree(TColor color, bool checkBackground, const TChartSeries* series) {
  for (int i = 0; i < SeriesCount(); ++i) {
    const TChartSeries* s = SeriesAt(i);
    if (s != series && s->SeriesColor() == color) return false;
  }
  return !(checkBackground && (color == Color() || color == BackWall().Color()));
}

std::string TCustomChart::SeriesLegendText(TChartSeries* series, int index) {
  return series->LegendItemText(index, legend_->TextStyle());
}

std::vector<std::string> TCustomChart::ValueSourceItems(const TChartSeries& series) {
  std::vector<std::string> names;
  if (const auto* source = dynamic_cast<const TChartSeries*>(series.DataSource())) {
    for (const auto& list : source->ValueLists()) names.push_back(list->Name());
  }
  return names;
}

void TCustomChart::Assign(const TCustomChart& source) {
  if (&source == this) return;
  colorPaletteIndex_ = source.colorPaletteIndex_;
  title_->CopyFrom(*source.title_);
  subTitle_->CopyFrom(*source.subTitle_);
  foot_->CopyFrom(*source.foot_);
  subFoot_->CopyFrom(*source.subFoot_);
  legend_->CopyFrom(*source.legend_);
  scrollMouseButton_ = source.scrollMouseButton_;
  walls_->Assign(*source.walls_);
  CopyFrom(source);
}

// ---- Drawing hooks ------------------------------------------------------------------------

void TCustomChart::CalcChartRect3D() { walls_->AdjustChartRect3D(UsesAxes()); }

int TCustomChart::AxisExtraRoom(TChartAxis* axis) { return walls_->SizeBeside(axis); }

void TCustomChart::DrawWalls() {
  if (UsesAxes()) walls_->Draw();
}

void TCustomChart::DrawTitlesAndLegend(bool beforeSeries) {
  TChartTitle* const titles[] = {title_.get(), subTitle_.get(), foot_.get(), subFoot_.get()};
  const bool legendShown = legend_->Shown();
  if (!beforeSeries) {
    // The walls in front of the series first, then what lies over everything.
    if (UsesAxes()) walls_->DrawAfterSeries();
    if (legendShown && legend_->CustomPosition()) legend_->PaintLegend();
    for (TChartTitle* t : titles) {
      if (t->CustomPosition()) t->DrawTitle();
    }
    return;
  }
  const auto drawTitles = [&] {
    for (TChartTitle* t : titles) {
      if (!t->CustomPosition()) t->DrawTitle();
    }
  };
  if (!legendShown || legend_->CustomPosition()) {
    drawTitles();
  } else if (legend_->Vertical()) {
    legend_->PaintLegend();
    drawTitles();
  } else {
    drawTitles();
    legend_->PaintLegend();
  }
}

// ---- Scales -------------------------------------------------------------------------------

void TCustomChart::SaveScales() {
  savedScales_.assign(static_cast<size_t>(Axes().Count()), SavedScale{});
  for (int i = 0; i < Axes().Count(); ++i) {
    const TChartAxis* axis = Axes()[i];
    if (axis->IsDepthAxis()) continue;
    SavedScale& s = savedScales_[static_cast<size_t>(i)];
    s.automatic = axis->Automatic();
    s.automaticMinimum = axis->AutomaticMinimum();
    s.automaticMaximum = axis->AutomaticMaximum();
    s.minimum = axis->Minimum();
    s.maximum = axis->Maximum();
  }
}

void TCustomChart::RestoreScales() {
  const int count = std::min(Axes().Count(), static_cast<int>(savedScales_.size()));
  for (int i = 0; i < count; ++i) {
    TChartAxis* axis = Axes()[i];
    if (axis->IsDepthAxis()) continue;
    const SavedScale& s = savedScales_[static_cast<size_t>(i)];
    axis->SetAutomatic(s.automatic);
    axis->SetAutomaticMinimum(s.automaticMinimum);
    axis->SetAutomaticMaximum(s.automaticMaximum);
    // Both ends together: after a far scroll the saved minimum may lie beyond the current
    // maximum, so the end that cannot pass the other goes first.
    if (s.minimum > axis->Maximum()) {
      axis->SetMaximum(s.maximum);
      axis->SetMinimum(s.minimum);
    } else {
      axis->SetMinimum(s.minimum);
      axis->SetMaximum(s.maximum);
    }
  }
  savedScales_.clear();
}

// ---- Zoom ---------------------------------------------------------------------------------

void TCustomChart::ZoomByPercent(double percent) {
  TChartAxis* const axes[] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  double ends[8];
  for (int i = 0; i < 4; ++i) {
    const TChartAxis* axis = axes[i];
    const bool horizontal = axis->Horizontal();
    double lo, hi;
    if (horizontal) {
      lo = axis->PixelToValue(axis->IStartPos());
      hi = axis->PixelToValue(axis->IEndPos());
    } else {
      lo = axis->PixelToValue(axis->IEndPos());
      hi = axis->PixelToValue(axis->IStartPos());
    }
    const TPlotZoomDirection direction = Zoom().Direction();
    if (horizontal ? direction != tzdVertical : direction != tzdHorizontal) {
      const double d = (hi - lo) * (percent - 100) * 0.01;
      lo += d;
      hi -= d;
    }
    ends[2 * i] = lo;
    ends[2 * i + 1] = hi;
  }
  ZoomToValues(ends[0], ends[1], ends[2], ends[3], ends[4], ends[5], ends[6], ends[7]);
  Invalidate();
}

void TCustomChart::ZoomToValues(double leftMin, double leftMax, double rightMin, double rightMax, double topMin,
                                double topMax, double bottomMin, double bottomMax) {
  if (restorePointFree_) {
    SaveScales();
    restorePointFree_ = false;
  }
  TChartAxis* const axes[] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  const double targets[8] = {leftMin, leftMax, rightMin, rightMax, topMin, topMax, bottomMin, bottomMax};
  if (Zoom().Animated()) {
    for (int step = 1; step < Zoom().AnimatedSteps(); ++step) {
      for (int i = 0; i < 4; ++i) {
        TChartAxis* axis = axes[i];
        const double minimum = axis->Minimum() + (targets[2 * i] - axis->Minimum()) / 3;
        const double maximum = axis->Maximum() + (targets[2 * i + 1] - axis->Maximum()) / 3;
        axis->SetMinMax(minimum, maximum);
      }
      repaint();
    }
  }
  for (int i = 0; i < 4; ++i) axes[i]->SetMinMax(targets[2 * i], targets[2 * i + 1]);
  IsZoomed = true;
  if (OnZoom) OnZoom(*this);
}

void TCustomChart::ApplyZoomRectangle() {
  TPlotZoom& z = Zoom();
  z.Check();
  ZoomToValues(LeftAxis()->PixelToValue(z.Y1), LeftAxis()->PixelToValue(z.Y0), RightAxis()->PixelToValue(z.Y1),
               RightAxis()->PixelToValue(z.Y0), TopAxis()->PixelToValue(z.X0), TopAxis()->PixelToValue(z.X1),
               BottomAxis()->PixelToValue(z.X0), BottomAxis()->PixelToValue(z.X1));
}

void TCustomChart::UndoZoom() {
  if (!restorePointFree_) {
    RestoreScales();
    restorePointFree_ = true;
  }
  TCustomAxisPanel::UndoZoom();
}

// ---- Hit test -----------------------------------------------------------------------------

TChartClickedPart TCustomChart::CalcClickedPart(int x, int y, bool onlyWithHandlers) {
  TChartClickedPart result;
  const auto legendHit = [&]() {
    const int index = legend_->ItemAt(x, y);
    if (index < 0) return false;
    result.part = cpLegend;
    result.index = index;
    return true;
  };
  const bool legendShown = legend_->Shown();
  // 1. A legend at a position of its own lies over everything.
  if (legendShown && legend_->CustomPosition() && legendHit()) return result;
  // 2. Series, from the one drawn last.
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = SeriesAt(i);
    if (!s->Active()) continue;
    if (onlyWithHandlers && !s->OnClick && !s->OnDblClick && !OnClickSeries) continue;
    const int index = s->PointAt(x, y);
    if (index >= 0) {
      result.part = cpSeries;
      result.index = index;
      result.series = s;
      return result;
    }
    if (s->Marks().Visible()) {
      const int mark = s->Marks().MarkAt(x, y);
      if (mark >= 0) {
        result.part = cpSeriesMarks;
        result.index = mark;
        result.series = s;
        return result;
      }
    }
  }
  // 3. Axes.
  for (int i = 0; i < Axes().Count(); ++i) {
    TChartAxis* axis = Axes()[i];
    if (axis->Clicked(x, y)) {
      result.part = cpAxis;
      result.axis = axis;
      return result;
    }
  }
  // 4. The legend beside the chart.
  if (legendShown && !legend_->CustomPosition() && legendHit()) return result;
  // 5. Titles.
  const std::pair<TChartTitle*, TChartClickedPartStyle> titles[] = {
      {title_.get(), cpTitle}, {subTitle_.get(), cpSubTitle}, {foot_.get(), cpFoot}, {subFoot_.get(), cpSubFoot}};
  for (const auto& [title, part] : titles) {
    if (!title->Text().empty() && title->Clicked(x, y)) {
      result.part = part;
      return result;
    }
  }
  // 6. The plot background.
  const TRect& r = ChartRect();
  if (x >= r.left && x <= r.right && y >= r.top && y <= r.bottom && FirstActiveSeries()) result.part = cpChartRect;
  return result;
}

// ---- Mouse --------------------------------------------------------------------------------

bool TCustomChart::CallHandler(const std::function<void()>& handler) {
  StopMouse = true;
  handler();
  return StopMouse;
}

bool TCustomChart::StartZoomOrPanning(TMouseButton button, TShiftState shift, int x, int y) {
  if (!UsesAxes()) return false;
  bool started = false;
  TPlotZoom& z = Zoom();
  const TRect& r = ChartRect();
  if (z.Allow() && button == z.MouseButton() && KeysHeld(shift, z.KeyShift())) {
    if (z.Direction() == tzdVertical) x = r.left;
    if (z.Direction() == tzdHorizontal) y = r.top;
    z.Activate(x, y);
    if (z.Direction() == tzdVertical) z.X1 = r.right;
    if (z.Direction() == tzdHorizontal) z.Y1 = r.bottom;
    PaintZoomRectangle();
    update();
    started = true;
  }
  if (AllowPanning() != pmNone && button == scrollMouseButton_ && KeysHeld(shift, PanningKeyShift)) {
    Panning().Activate(x, y);
    started = true;
  }
  if (started) setCursor(SavedCursor());
  return started;
}

void TCustomChart::HandleMouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseDown(button, shift, x, y);
  if (StopMouse || Zoom().Active || Panning().Active) return;
  StopMouse = false;
  const TChartClickedPart part = CalcClickedPart(x, y, true);
  bool handled = false;
  switch (part.part) {
    case cpLegend:
      handled = legend_->ClickItem(x, y);
      if (OnClickLegend) handled = CallHandler([&] { OnClickLegend(*this, button, shift, x, y); });
      break;
    case cpAxis:
      if (OnClickAxis) handled = CallHandler([&] { OnClickAxis(*this, part.axis, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPanning(button, shift, x, y);
      break;
    case cpSeries: {
      TChartSeries* s = part.series;
      StopMouse = false;
      const int b = static_cast<int>(button);
      const bool twice = (shift & platform::ssDouble) != 0;
      if (twice && s->OnDblClick) {
        handled = CallHandler([&] { s->OnDblClick(s, part.index, b, shift, x, y); });
      } else if (!twice && s->OnClick) {
        handled = CallHandler([&] { s->OnClick(s, part.index, b, shift, x, y); });
      }
      if (OnClickSeries) handled = CallHandler([&] { OnClickSeries(*this, s, part.index, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPanning(button, shift, x, y);
      break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot: {
      TChartTitle* title = part.part == cpTitle      ? title_.get()
                           : part.part == cpSubTitle ? subTitle_.get()
                           : part.part == cpFoot     ? static_cast<TChartTitle*>(foot_.get())
                                                     : static_cast<TChartTitle*>(subFoot_.get());
      if (OnClickTitle) handled = CallHandler([&] { OnClickTitle(*this, title, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPanning(button, shift, x, y);
      break;
    }
    case cpChartRect:
      if (OnClickBackground) handled = CallHandler([&] { OnClickBackground(*this, button, shift, x, y); });
      if (!handled) handled = StartZoomOrPanning(button, shift, x, y);
      break;
    case cpSeriesMarks:
    case cpNone:
      break;
  }
  if (!handled && OnClickBackground) CallHandler([&] { OnClickBackground(*this, button, shift, x, y); });
  StopMouse = false;
}

void TCustomChart::HandleMouseMove(TShiftState shift, int x, int y) {
  TCustomAxisPanel::MouseMove(shift, x, y);
  if (StopMouse) return;
  TPlotZoom& z = Zoom();
  const TRect& r = ChartRect();
  if (z.Active) {
    if (z.Direction() == tzdVertical) x = r.right;
    if (z.Direction() == tzdHorizontal) y = r.bottom;
    if (x != z.X1 || y != z.Y1) {
      PaintZoomRectangle();
      z.X1 = x;
      z.Y1 = y;
      PaintZoomRectangle();
      update();
    }
    return;
  }
  TZoomPanning& pan = Panning();
  if (pan.Active) {
    if (x < r.left || x > r.right || y < r.top || y > r.bottom) {
      pan.Active = false;
      return;
    }
    if (x == pan.X1 && y == pan.Y1) return;
    bool moved = false;
    if (restorePointFree_) {
      SaveScales();
      restorePointFree_ = false;
    }
    const auto step = [&](bool horizontal, int last, int current) {
      for (int i = 0; i < Axes().Count(); ++i) {
        TChartAxis* axis = Axes()[i];
        if (axis->IsDepthAxis() || axis->Horizontal() != horizontal) continue;
        const double d = axis->PixelToValue(last) - axis->PixelToValue(current);
        double minimum = axis->Minimum() + d, maximum = axis->Maximum() + d;
        bool allow = true;
        if (OnAllowScroll) OnAllowScroll(axis, minimum, maximum, allow);
        if (allow) axis->SetMinMax(minimum, maximum);
      }
      moved = true;
    };
    const TPanningMode mode = AllowPanning();
    if (mode == pmHorizontal || mode == pmBoth) step(true, pan.X1, x);
    if (mode == pmVertical || mode == pmBoth) step(false, pan.Y1, y);
    pan.X1 = x;
    pan.Y1 = y;
    if (moved) {
      if (OnScroll) OnScroll(*this);
      Invalidate();
    }
    return;
  }
  if (!CheckMouseOverSeries(x, y)) setCursor(SavedCursor());
}

void TCustomChart::HandleMouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  StopMouse = false;
  TCustomAxisPanel::MouseUp(button, shift, x, y);
  TPlotZoom& z = Zoom();
  if (z.Active && button == z.MouseButton()) {
    z.Active = false;
    PaintZoomRectangle();
    Canvas().Pen().SetMode(platform::R2_COPYPEN);
    update();
    const TPlotZoomDirection direction = z.Direction();
    if (direction != tzdVertical) z.X1 = x;
    if (direction != tzdHorizontal) z.Y1 = y;
    const int minimum = z.MinimumPixels();
    const bool counts = (direction == tzdVertical || std::abs(z.X1 - z.X0) > minimum) &&
                        (direction == tzdHorizontal || std::abs(z.Y1 - z.Y0) > minimum);
    if (counts) {
      const bool forward = direction == tzdVertical ? z.Y0 < z.Y1 : z.X0 < z.X1;
      if (z.UpLeftZooms() || forward) {
        ApplyZoomRectangle();
      } else {
        UndoZoom();
      }
      Invalidate();
    }
  }
  Panning().Active = false;
}

void TCustomChart::WheelNotch(bool down) {
  // A wheel turn keeps the scales before it, as a pan step does, so that UndoZoom brings the
  // axes back.
  if (restorePointFree_) {
    SaveScales();
    restorePointFree_ = false;
  }
  for (int i = 0; i < Axes().Count(); ++i) {
    TChartAxis* axis = Axes()[i];
    if (axis->Horizontal() || axis->IsDepthAxis()) continue;
    const double s = (axis->Maximum() - axis->Minimum()) * 3 * 0.01;
    axis->ShiftRange(down ? s : -s, false);
  }
  Invalidate();
}

void TCustomChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  HandleMouseDown(button, shift, x, y);
}

void TCustomChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  HandleMouseUp(button, shift, x, y);
}

void TCustomChart::MouseMove(TShiftState shift, int x, int y) { HandleMouseMove(shift, x, y); }

bool TCustomChart::MouseWheel(TShiftState shift, int wheelDelta, int x, int y) {
  // The chart takes every turn, whether or not it scrolls.
  TCustomAxisPanel::MouseWheel(shift, wheelDelta, x, y);
  if (!WheelScrollEnabled) return true;
  // One notch per 120 units; finer wheels add up until a notch is complete.
  wheelRest_ += wheelDelta;
  while (wheelRest_ >= 120) {
    wheelRest_ -= 120;
    WheelNotch(false);
  }
  while (wheelRest_ <= -120) {
    wheelRest_ += 120;
    WheelNotch(true);
  }
  return true;
}

}  // namespace chart

// ---- Stored descriptions ------------------------------------------------------------------

namespace chart {

namespace {

template <class Make>
const TStoredClass& Keep(Make make) {
  static const std::unique_ptr<TStoredClass> cls = make();
  return *cls;
}

const char* const kAlignmentNames[] = {"taLeftJustify", "taRightJustify", "taCenter"};
const char* const kTextFormatNames[] = {"ttfNormal", "ttfHtml"};
const char* const kLegendAlignmentNames[] = {"laLeft", "laRight", "laTop", "laBottom"};
const char* const kCheckBoxesStyleNames[] = {"cbsCheck", "cbsRadio"};
const char* const kLegendStyleNames[] = {"lsAuto", "lsSeries", "lsValues", "lsLastValues"};
const char* const kSymbolPositionNames[] = {"spLeft", "spRight"};
const char* const kSymbolSizeNames[] = {"lcsPercent", "lcsPixels"};
const char* const kLegendTextStyleNames[] = {"ltsPlain",        "ltsLeftValue", "ltsRightValue", "ltsLeftPercent",
                                             "ltsRightPercent", "ltsXValue",    "ltsValue",      "ltsPercent",
                                             "ltsXAndValue",    "ltsXAndPercent"};

// A list of text lines, stored as "Strings".
const TStoredClass& StoredStringList() {
  return Keep([] {
    using L = std::vector<std::string>;
    return TStoredClassTable<L>("TStrings")
        .Value(
            "Strings",
            [](const L& l) {
              std::vector<TStoredValue> items;
              for (const std::string& s : l) items.push_back(TStoredValue::String(s));
              return TStoredValue::List(std::move(items));
            },
            [](L& l, const TStoredValue& v) { l = StoredStrings(v); }, [](const L& l) { return !l.empty(); })
        .Build();
  });
}

// Pen, brush and visibility of a framed shape.
template <class T>
TStoredClassTable<T>& BrushPenVisible(TStoredClassTable<T>& table, bool visible) {
  return table
      .template Object<TChartBrush>("Brush", StoredChartBrush(), [](T& t) -> TChartBrush& { return t.Brush(); })
      .template Object<TChartPen>("Pen", StoredChartPen(), [](T& t) -> TChartPen& { return t.Pen(); })
      .Boolean("Visible", &T::Visible, &T::SetVisible, visible);
}

// Custom position: Left and Top are stored only with it.
template <class T>
TStoredClassTable<T>& Position(TStoredClassTable<T>& table) {
  return table.Boolean("CustomPosition", &T::CustomPosition, &T::SetCustomPosition, false)
      .Integer("Left", &T::Left, &T::SetLeft, 0)
      .StoredWhen([](const T& t) { return t.CustomPosition(); })
      .Integer("Top", &T::Top, &T::SetTop, 0)
      .StoredWhen([](const T& t) { return t.CustomPosition(); });
}

const TStoredClass& StoredChartWall() {
  return Keep([] {
    using W = TCustomChartWall;
    TStoredClassTable<W> table("TChartWall", StoredPlotShape(), std::type_identity<TPlotCustomShape>());
    table.Boolean("AutoHide", &W::AutoHide, &W::SetAutoHide, false)
        .Color("Color", &W::Color, &W::SetColor, clWhite)
        .StoredWhen([](const W& w) { return w.IsColorStored(); })
        .Boolean("Dark3D", &W::Dark3D, &W::SetDark3D, true)
        .Integer("Size", &W::Size, &W::SetSize, 0)
        .Integer("Transparency", &W::Transparency, &W::SetTransparency, 0, 0, 100);
    BrushPenVisible(table, true)
        .StoredWhen([](const W& w) { return w.Visible() != !dynamic_cast<const TChartRightWall*>(&w); });
    return table.Build();
  });
}

const TStoredClass& StoredChartTitle() {
  return Keep([] {
    using T = TChartTitle;
    TStoredClassTable<T> table("TChartTitle", StoredPlotShape(), std::type_identity<TPlotCustomShape>());
    table.Boolean("AdjustFrame", &T::AdjustFrame, &T::SetAdjustFrame, true)
        .Enum("Alignment", &T::Alignment, &T::SetAlignment, taCenter, kAlignmentNames)
        .Object<std::vector<std::string>>("Text", StoredStringList(),
                                          [](T& t) -> std::vector<std::string>& { return t.TextLines(); })
        .Enum("TextFormat", &T::TextFormat, &T::SetTextFormat, ttfNormal, kTextFormatNames);
    Position(BrushPenVisible(table, true));
    return table.Build();
  });
}

const TStoredClass& StoredLegendSymbol() {
  return Keep([] {
    using S = TLegendSymbol;
    return TStoredClassTable<S>("TLegendSymbol")
        .Boolean("Continuous", &S::Continuous, &S::SetContinuous, false)
        .Boolean("DefaultPen", &S::DefaultPen, &S::SetDefaultPen, true)
        .Object<TCustomPlotGradient>("Gradient", StoredPlotGradient(),
                                     [](S& s) -> TCustomPlotGradient& { return s.Gradient(); })
        .Object<TChartPen>("Pen", StoredChartPen(), [](S& s) -> TChartPen& { return s.Pen(); })
        .Enum("Position", &S::Position, &S::SetPosition, spLeft, kSymbolPositionNames)
        .Boolean("Squared", &S::Squared, &S::SetSquared, false)
        .Boolean("Visible", &S::Visible, &S::SetVisible, true)
        .Integer("Width", &S::Width, &S::SetWidth, 20)
        .Enum("WidthUnits", &S::WidthUnits, &S::SetWidthUnits, lcsPercent, kSymbolSizeNames)
        .Build();
  });
}

const TStoredClass& StoredLegendTitle() {
  return Keep([] {
    using T = TLegendTitle;
    TStoredClassTable<T> table("TLegendTitle", StoredPlotShape(), std::type_identity<TPlotCustomShape>());
    table
        .Object<std::vector<std::string>>("Text", StoredStringList(),
                                          [](T& t) -> std::vector<std::string>& { return t.TextLines(); })
        .Enum("TextAlignment", &T::TextAlignment, &T::SetTextAlignment, taLeftJustify, kAlignmentNames)
        .Enum("TextFormat", &T::TextFormat, &T::SetTextFormat, ttfNormal, kTextFormatNames);
    BrushPenVisible(table, true);
    return table.Build();
  });
}

const TStoredClass& StoredChartLegend() {
  return Keep([] {
    using L = TCustomChartLegend;
    TStoredClassTable<L> table("TChartLegend", StoredPlotShape(), std::type_identity<TPlotCustomShape>());
    table.Enum("Alignment", &L::Alignment, &L::SetAlignment, laRight, kLegendAlignmentNames)
        .Boolean("CheckBoxes", &L::CheckBoxes, &L::SetCheckBoxes, false)
        .Enum("CheckBoxesStyle", &L::CheckBoxesStyle, &L::SetCheckBoxesStyle, cbsCheck, kCheckBoxesStyleNames)
        .Integer("ColorWidth", &L::ColorWidth, &L::SetColorWidth, 20)
        .Boolean("CurrentPage", &L::CurrentPage, &L::SetCurrentPage, true)
        .Object<TChartPen>("DividingLines", StoredChartPen(), [](L& l) -> TChartPen& { return l.DividingLines(); })
        .Integer("FirstValue", &L::FirstValue, &L::SetFirstValue, 0)
        .Boolean("FontSeriesColor", &L::FontSeriesColor, &L::SetFontSeriesColor, false)
        .Integer("HorizMargin", &L::HorizMargin, &L::SetHorizMargin, 0)
        .Boolean("Inverted", &L::Inverted, &L::SetInverted, false)
        .Integer("LeftPercent", &L::LeftPercent, &L::SetLeftPercent, 0)
        .Enum("LegendStyle", &L::LegendStyle, &L::SetLegendStyle, lsAuto, kLegendStyleNames)
        .Integer("MaxNumRows", &L::MaxNumRows, &L::SetMaxNumRows, 10)
        .Enum("PositionUnits", &L::PositionUnits, &L::SetPositionUnits, muPixels, kPlotUnitsNames)
        .Boolean("ResizeChart", &L::ResizeChart, &L::SetResizeChart, true)
        .Object<TLegendSymbol>("Symbol", StoredLegendSymbol(), [](L& l) -> TLegendSymbol& { return l.Symbol(); })
        .Enum("TextFormat", &L::TextFormat, &L::SetTextFormat, ttfNormal, kTextFormatNames)
        .Enum("TextStyle", &L::TextStyle, &L::SetTextStyle, ltsLeftValue, kLegendTextStyleNames)
        .Object<TLegendTitle>("Title", StoredLegendTitle(), [](L& l) -> TLegendTitle& { return l.Title(); })
        .Integer("TopPercent", &L::TopPercent, &L::SetTopPercent, 0)
        .Integer("TopPos", &L::TopPos, &L::SetTopPos, 10)
        .Integer("VertMargin", &L::VertMargin, &L::SetVertMargin, 0)
        .Integer("VertSpacing", &L::VertSpacing, &L::SetVertSpacing, 0)
        .Integer("Transparency", &L::Transparency, &L::SetTransparency, 0, 0, 100);
    Position(BrushPenVisible(table, true));
    return table.Build();
  });
}

}  // namespace

const TStoredClass& StoredChart() {
  return Keep([] {
    using C = TChart;
    const TStoredClass& base = StoredCustomAxisPanel();
    auto cls = TStoredClassTable<C>("TChart", base, std::type_identity<TCustomAxisPanel>())
                   .Object<TCustomChartWall>("BackWall", StoredChartWall(),
                                             [](C& c) -> TCustomChartWall& { return c.BackWall(); })
                   .Object<TCustomChartWall>("BottomWall", StoredChartWall(),
                                             [](C& c) -> TCustomChartWall& { return c.BottomWall(); })
                   .Object<TChartTitle>("Foot", StoredChartTitle(), [](C& c) -> TChartTitle& { return c.Foot(); })
                   // The back wall's pen under its old name: read, written as BackWall.Pen.
                   .Object<TChartPen>(
                       "Frame", StoredChartPen(), [](C& c) -> TChartPen& { return *c.Frame(); },
                       [](const C&) -> const TChartPen* { return nullptr; })
                   .Object<TCustomChartLegend>("Legend", StoredChartLegend(),
                                               [](C& c) -> TCustomChartLegend& { return c.Legend(); })
                   .Object<TCustomChartWall>("LeftWall", StoredChartWall(),
                                             [](C& c) -> TCustomChartWall& { return c.LeftWall(); })
                   .Object<TCustomChartWall>("RightWall", StoredChartWall(),
                                             [](C& c) -> TCustomChartWall& { return c.RightWall(); })
                   .Enum("ScrollMouseButton", &C::ScrollMouseButton, &C::SetScrollMouseButton, TMouseButton::mbRight,
                         kMouseButtonNames)
                   .Object<TChartTitle>("SubFoot", StoredChartTitle(), [](C& c) -> TChartTitle& { return c.SubFoot(); })
                   .Object<TChartTitle>("SubTitle", StoredChartTitle(),
                                        [](C& c) -> TChartTitle& { return c.SubTitle(); })
                   .Object<TChartTitle>("Title", StoredChartTitle(), [](C& c) -> TChartTitle& { return c.Title(); })
                   .Legacy("BackColor", [](C& c, const TStoredValue& v) { c.SetBackColor(StoredColor(v)); })
                   .Extra(
                       "ColorPaletteIndex", [](const C& c) { return TStoredValue::Int(c.ColorPaletteIndex()); },
                       [](C& c, const TStoredValue& v) {
                         const int index = static_cast<int>(StoredInteger(v, 0, 1000));
                         // An index of 0 after a palette takes the palette away again, so
                         // that what is written (no index) reads back to the same colours.
                         if (index > 0 || c.ColorPaletteIndex() > 0) {
                           ApplyChartPalette(c, index);
                         } else {
                           c.SetColorPaletteIndex(index);
                         }
                       },
                       [](const C& c) { return c.ColorPaletteIndex() > 0; })
                   .Component([](QObject* owner) { return new TChart(qobject_cast<QWidget*>(owner)); })
                   .Build();
    // Series and series sources are the axis panel's children.
    cls->children_ = [&base](const void* o) {
      return base.children_(static_cast<const TCustomAxisPanel*>(static_cast<const C*>(o)));
    };
    cls->adopt_ = [&base](void* o, QObject* child) {
      base.adopt_(static_cast<TCustomAxisPanel*>(static_cast<C*>(o)), child);
    };
    return cls;
  });
}

namespace {

void Startup() { RegisterStoredClass(StoredChart()); }
void Shutdown() {}
UnitCounter gUnit(Startup, Shutdown);

}  // namespace

void PlotChartStartup() { gUnit.Start(); }
void PlotChartShutdown() { gUnit.Stop(); }

}  // namespace chart
