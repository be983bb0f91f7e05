// Series marks: positions, custom items, drawing, overlap, hit test and the stored items.
#include "chart/marks.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>
#include <unordered_map>

#include "chart/axis_panel.h"
#include "chart/canvas3d.h"
#include "chart/procs.h"
#include "chart/series.h"
#include "chart/stored_tables.h"
#include "chart/stream.h"

namespace chart {

TSeriesMarkPosition* TSeriesMarksPositions::Position(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

void TSeriesMarksPositions::SetPosition(int index, const TSeriesMarkPosition& position) {
  if (index < 0) return;
  NoteChanged(index);
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  slot = std::make_unique<TSeriesMarkPosition>(position);
  slot->custom = true;
}

void TSeriesMarksPositions::Add(const TSeriesMarkPosition& position) {
  NoteChanged(Count());
  items_.push_back(std::make_unique<TSeriesMarkPosition>(position));
}

void TSeriesMarksPositions::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  NoteChanged(index);
  items_.erase(items_.begin() + index);
}

void TSeriesMarksPositions::DeleteRange(int start, int number) {
  NoteChanged(start);
  EraseRun(items_, start, number);
}

bool TSeriesMarksPositions::ExistCustom() const {
  return std::any_of(items_.begin(), items_.end(), [](const auto& p) { return p && p->custom; });
}


// ---- Custom items -------------------------------------------------------------------------

TMarksItem::TMarksItem(TMarksItems* owner) : TPlotShape(owner->Marks()->Parent()), owner_(owner) {}

void TMarksItem::SetLines(std::vector<std::string> lines) {
  if (lines == lines_) return;
  lines_ = std::move(lines);
  text_.clear();
  for (const std::string& line : lines_) text_ += line + "\r\n";
  InvalidateParent();
}

void TMarksItem::CopyFrom(const TPlotCustomShape& source) {
  TPlotShape::CopyFrom(source);
  if (const auto* item = dynamic_cast<const TMarksItem*>(&source)) {
    lines_ = item->lines_;
    text_ = item->text_;
  }
}

TMarksItem& TMarksItems::Item(int index) {
  index = std::max(0, index);
  if (index >= Count()) items_.resize(static_cast<size_t>(index) + 1);
  auto& slot = items_[static_cast<size_t>(index)];
  if (!slot) {
    slot = std::make_unique<TMarksItem>(this);
    slot->SetColor(marks_->Color());
    slot->Shadow().SetColor(0x808080);
    slot->Shadow().SetSize(1);
  }
  return *slot;
}

TMarksItem* TMarksItems::Find(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return items_[static_cast<size_t>(index)].get();
}

bool TMarksItems::Empty() const {
  return std::none_of(items_.begin(), items_.end(), [](const auto& item) { return item != nullptr; });
}

void TMarksItems::Delete(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

TSeriesMarksGradient::TSeriesMarksGradient(TNotify onChange) : TPlotGradient(std::move(onChange)) {
  SetDirection(gdRightLeft);
  SetStartColor(clSilver);
  SetEndColor(clWhite);
}

// ---- Marks --------------------------------------------------------------------------------

namespace {
constexpr int kColorInfoBackground = 24;  // the system's tooltip background

// Little-endian Int32 in and out of the stored items block.
void PutInt32(std::string& out, int32_t v) {
  const uint32_t u = static_cast<uint32_t>(v);
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

int32_t TakeInt32(std::string_view bytes, size_t& pos) {
  if (bytes.size() - pos < 4) throw std::runtime_error("marks items cut short");
  uint32_t u = 0;
  for (int i = 0; i < 4; ++i) u |= static_cast<uint32_t>(static_cast<uint8_t>(bytes[pos + i])) << (8 * i);
  pos += 4;
  return static_cast<int32_t>(u);
}

bool Intersect(const TRect& a, const TRect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TRect BoxOf(const TSeriesMarkPosition& p) {
  return TRect{p.leftTop.x, p.leftTop.y, p.leftTop.x + p.width, p.leftTop.y + p.height};
}

const TStoredClass& StoredMarksItem() {
  static const std::unique_ptr<TStoredClass> cls =
      TStoredClassTable<TMarksItem>("TMarksItem", StoredPlotShape(), std::type_identity<TPlotShape>())
          .Value(
              "Text",
              [](const TMarksItem& item) {
                std::vector<TStoredValue> lines;
                for (const std::string& line : item.Lines()) lines.push_back(TStoredValue::String(line));
                return TStoredValue::List(std::move(lines));
              },
              [](TMarksItem& item, const TStoredValue& v) { item.SetLines(StoredStrings(v)); },
              [](const TMarksItem& item) { return !item.Lines().empty(); })
          .Build();
  return *cls;
}

}  // namespace

TSeriesMarks::TSeriesMarks(TChartSeries* series) : TPlotCustomShape(nullptr), series_(series) {
  InitShadow(Shadow());
  SetColor(platform::SystemColor(kColorInfoBackground));
  SetVisible(false);
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::InitShadow(TPlotShadow& shadow) {
  shadow.SetColor(0x808080);
  shadow.SetSize(1);
  shadow.SetStoredDefaults(0x808080, 1);
}

TCustomAxisPanel* TSeriesMarks::ParentChart() const { return dynamic_cast<TCustomAxisPanel*>(Parent()); }

void TSeriesMarks::SetParent(TCustomPlotPanel* chart) {
  TPlotCustomShape::SetParent(chart);
  if (callout_) callout_->SetParent(chart);
  if (symbol_) symbol_->SetParent(chart);
  for (int i = 0; i < items_.Count(); ++i) {
    if (TMarksItem* item = items_.Find(i)) item->SetParent(chart);
  }
}

void TSeriesMarks::SetStyle(TSeriesMarksStyle value) {
  if (ChangeValue(style_, value)) InvalidateParent();
}

void TSeriesMarks::SetDrawEvery(int value) {
  if (ChangeValue(drawEvery_, std::max(1, value))) InvalidateParent();
}

void TSeriesMarks::SetMultiLine(bool value) {
  if (ChangeValue(multiLine_, value)) InvalidateParent();
}

void TSeriesMarks::SetClip(bool value) {
  if (ChangeValue(clip_, value)) InvalidateParent();
}

void TSeriesMarks::SetAngle(int value) {
  if (ChangeValue(angle_, value)) InvalidateParent();
}

TMarksCallout& TSeriesMarks::Callout() {
  if (!callout_) {
    callout_ = std::make_unique<TMarksCallout>(Parent(), series_);
    callout_->SetDefaultLength(defaultArrowLength_);
    callout_->SetLength(defaultArrowLength_);
  }
  return *callout_;
}

void TSeriesMarks::SetDefaultArrowLength(int value) {
  defaultArrowLength_ = value;
  if (callout_) callout_->SetDefaultLength(value);
}

TSeriesMarksSymbol& TSeriesMarks::Symbol() {
  if (!symbol_) symbol_ = std::make_unique<TSeriesMarksSymbol>(Parent());
  return *symbol_;
}

const std::string* TSeriesMarks::ItemText(int index) const {
  const TMarksItem* item = items_.Find(index);
  return item ? item->Text() : nullptr;
}

bool TSeriesMarks::ItemVisible(int index) const {
  const TMarksItem* item = items_.Find(index);
  return item ? item->Visible() : true;
}

TPlotCustomShape& TSeriesMarks::ShapeOf(int index) {
  if (TMarksItem* item = items_.Find(index)) return *item;
  return *this;
}

int TSeriesMarks::SymbolSize() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return 0;
  chart->Canvas().SelectFont(Font());
  return chart->Canvas().TextHeight("W");
}

int TSeriesMarks::Z() const { return series_ ? series_->MiddleZ() : 0; }

void TSeriesMarks::CopyFrom(const TSeriesMarks& source) {
  angle_ = source.angle_;
  if (source.callout_) {
    Callout().CopyFrom(*source.callout_);
  } else {
    callout_.reset();
  }
  defaultArrowLength_ = source.defaultArrowLength_;
  clip_ = source.clip_;
  drawEvery_ = source.drawEvery_;
  style_ = source.style_;
  multiLine_ = source.multiLine_;
  if (source.symbol_) {
    Symbol().CopyFrom(*source.symbol_);
  } else {
    symbol_.reset();
  }
  items_.Clear();
  for (int i = 0; i < source.items_.Count(); ++i) {
    if (const TMarksItem* item = source.items_.Find(i)) items_.Item(i).CopyFrom(*item);
  }
  TPlotCustomShape::CopyFrom(source);
}

void TSeriesMarks::Clear() {
  positions_.Clear();
  drawn_.clear();
  if (itemsLoaded_) {
    itemsLoaded_ = false;
  } else {
    items_.Clear();
  }
}

void TSeriesMarks::DeletePoint(int index) {
  positions_.Delete(index);
  items_.Delete(index);
  // The drawn marks after it move down with their points.
  std::erase(drawn_, index);
  for (int& i : drawn_)
    if (i > index) --i;
}

TRect TSeriesMarks::ScreenBox(const TSeriesMarkPosition& p) {
  TRect box = BoxOf(p);
  TCustomAxisPanel* chart = ParentChart();
  if (chart && chart->View3D()) {
    // The box keeps its size; it moves with the projection of the arrow end.
    const TPoint end = chart->Canvas().ProjectPoint(p.arrowTo.x, p.arrowTo.y, Z());
    const int dx = end.x - p.arrowTo.x, dy = end.y - p.arrowTo.y;
    box = TRect{box.left + dx, box.top + dy, box.right + dx, box.bottom + dy};
  }
  return box;
}

TRect TSeriesMarks::OverlapBox(const TSeriesMarkPosition& p) {
  TRect box = ScreenBox(p);
  if (Pen().Visible()) {
    const int w = Pen().Width();
    box = TRect{box.left - w, box.top - w, box.right + w, box.bottom + w};
  }
  if (const TPlotShadow* shadow = ShadowIfAny()) {
    const int h = shadow->HorizSize(), v = shadow->VertSize();
    if (h > 0) box.right += h; else box.left += h;
    if (v > 0) box.bottom += v; else box.top += v;
  }
  return box;
}

// The overlap boxes of the stored positions first..covered, each in the grid cells it covers
// (a box over very many cells goes to a list of its own). Cells of one index list grow in index
// order. The boxes depend on the marks' pen and shadow and, in 3D, on the projection: those
// settings are kept with the grid, and a frame starts a new grid.
struct TSeriesMarks::OverlapIndex {
  int first = 0, covered = -1;
  bool penVisible = false;
  int penWidth = 0, shadowH = 0, shadowV = 0;
  bool view3D = false;
  int cellWidth = 1, cellHeight = 1;
  std::vector<TRect> boxes;  // by index - first; empty boxes overlap nothing
  std::unordered_map<uint64_t, std::vector<int>> cells;
  std::vector<int> large;

  static constexpr long long kMaxCells = 64;
  static uint64_t Key(long long cx, long long cy) {
    return (static_cast<uint64_t>(cx) << 32) ^ static_cast<uint64_t>(static_cast<uint32_t>(cy));
  }
  static long long Floor(long long v, long long d) { return v >= 0 ? v / d : -((-v + d - 1) / d); }
  // Calls `f` with the key of each cell the box covers; false when it covers too many.
  template <class F>
  bool ForCells(const TRect& box, F f) const {
    const long long x0 = Floor(box.left, cellWidth), x1 = Floor(static_cast<long long>(box.right) - 1, cellWidth);
    const long long y0 = Floor(box.top, cellHeight), y1 = Floor(static_cast<long long>(box.bottom) - 1, cellHeight);
    if ((x1 - x0 + 1) * (y1 - y0 + 1) > kMaxCells) return false;
    for (long long cx = x0; cx <= x1; ++cx)
      for (long long cy = y0; cy <= y1; ++cy) f(Key(cx, cy));
    return true;
  }
  void Add(int index, const TRect& box) {
    boxes.push_back(box);
    covered = index;
    if (box.right <= box.left || box.bottom <= box.top) return;
    if (!ForCells(box, [&](uint64_t key) { cells[key].push_back(index); })) large.push_back(index);
  }
};

void TSeriesMarks::BeginFrame() {
  drawn_.clear();
  overlapIndex_.reset();
}

void TSeriesMarks::AntiOverlap(int first, int last, TSeriesMarkPosition& position) {
  first = std::max(0, first);
  last = std::min(last, positions_.Count() - 1);
  if (last < first) return;
  // The grid, started again when what the boxes depend on or the positions it holds changed.
  const TPlotShadow* shadow = ShadowIfAny();
  TCustomAxisPanel* chart = ParentChart();
  OverlapIndex key;
  key.first = first;
  key.penVisible = Pen().Visible();
  key.penWidth = Pen().Width();
  key.shadowH = shadow ? shadow->HorizSize() : 0;
  key.shadowV = shadow ? shadow->VertSize() : 0;
  key.view3D = chart && chart->View3D();
  OverlapIndex* index = overlapIndex_.get();
  if (!index || index->first != key.first || index->penVisible != key.penVisible || index->penWidth != key.penWidth ||
      index->shadowH != key.shadowH || index->shadowV != key.shadowV || index->view3D != key.view3D ||
      positions_.ChangedFrom() <= index->covered) {
    const TRect mine = OverlapBox(position);
    key.cellWidth = std::max(8, mine.right - mine.left);
    key.cellHeight = std::max(8, mine.bottom - mine.top);
    overlapIndex_ = std::make_unique<OverlapIndex>(std::move(key));
    index = overlapIndex_.get();
    index->covered = first - 1;
  }
  positions_.ForgetChanges();
  for (int i = index->covered + 1; i <= last; ++i) {
    const TSeriesMarkPosition* p = positions_.Position(i);
    index->Add(i, p ? OverlapBox(*p) : TRect{});
  }
  // In index order: the first stored box from `from` on that the box as moved so far overlaps.
  int from = first;
  while (from <= last) {
    const TRect mine = OverlapBox(position);
    if (mine.right <= mine.left || mine.bottom <= mine.top) break;
    int hit = -1;
    auto consider = [&](int i) {
      if (i < from || i > last || (hit >= 0 && i >= hit)) return false;
      if (positions_.Position(i) == &position) return false;
      ++overlapTests_;
      if (!Intersect(mine, index->boxes[static_cast<size_t>(i - first)])) return false;
      hit = i;
      return true;
    };
    const bool fits = index->ForCells(mine, [&](uint64_t cellKey) {
      const auto cell = index->cells.find(cellKey);
      if (cell == index->cells.end()) return;
      const std::vector<int>& list = cell->second;
      for (auto it = std::lower_bound(list.begin(), list.end(), from); it != list.end(); ++it) {
        if (hit >= 0 && *it >= hit) break;
        if (consider(*it)) break;
      }
    });
    if (fits) {
      for (const int i : index->large) consider(i);
    } else {
      // A box over very many cells: every stored box in turn.
      for (int i = from; i <= last && (hit < 0 || i < hit); ++i) consider(i);
    }
    if (hit < 0) break;
    ++overlapMoves_;
    const TRect& theirs = index->boxes[static_cast<size_t>(hit - first)];
    const int shift = theirs.top > mine.top ? -(mine.bottom - theirs.top) : theirs.bottom - mine.top;
    position.leftTop.y += shift;
    position.arrowTo.y += shift;
    from = hit + 1;
  }
}

int TSeriesMarks::MarkAt(int x, int y) {
  const int every = std::max(1, drawEvery_);
  int found = -1;
  for (const int i : drawn_) {
    if (i <= found || i % every != 0) continue;
    const TSeriesMarkPosition* p = positions_.Position(i);
    if (!p) continue;
    const TRect box = ScreenBox(*p);
    if (x >= box.left && x < box.right && y >= box.top && y < box.bottom) found = i;
  }
  return found;
}

int TSeriesMarks::TextWidth(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || !series_) return 0;
  TCanvas3D& c = chart->Canvas();
  c.SelectFont(ShapeOf(index).Font());
  int w = 0;
  for (const std::string& line : SplitTextLines(series_->MarkTextOf(index))) w = std::max(w, c.TextWidth(line));
  return w;
}

void TSeriesMarks::PaintMark(int index, TColor color, TSeriesMarkPosition& position, const std::string& text,
                             bool placeByCallout) {
  if (placeByCallout) {
    // The callout lifts the box off its point; the arrow starts `Distance` away from it.
    const int distance = CalloutDistance();
    const int lift = ArrowLength() + distance;
    position.leftTop.y -= lift;
    position.arrowTo.y -= lift;
    position.arrowFrom.y -= distance;
  }
  // A position the user placed keeps its box and its arrow; only when its arrow end is fixed
  // does the arrow start follow the point.
  TSeriesMarkPosition* stored = positions_.Position(index);
  positions_.NoteChanged(index);
  if (!stored) {
    positions_.SetPosition(index, position);
    stored = positions_.Position(index);
    if (stored) stored->custom = false;
  } else if (!stored->custom) {
    *stored = position;
  } else {
    const TPoint from = position.arrowFrom;
    if (stored->arrowFix) stored->arrowFrom = from;
    position = *stored;
  }
  TCustomAxisPanel* chart = ParentChart();
  if (!chart) return;
  drawn_.push_back(index);
  TCanvas3D& c = chart->Canvas();
  const int z = Z();
  // 1. The callout, from the mark to its point.
  TMarksCallout& callout = Callout();
  if (callout.Visible() || callout.Arrow().Visible()) callout.PaintArrow(color, position.arrowTo, z, position.arrowFrom);
  // 2. The box.
  TPlotCustomShape& shape = ShapeOf(index);
  const TRect box = ScreenBox(position);
  const double angle = angle_ % 360;
  if (!shape.Transparent()) shape.DrawFramedBox(box, angle, z + 1);
  // 3. The symbol in the point's colour.
  const bool symbol = SymbolShown();
  c.SelectFont(shape.Font());
  const int textHeight = c.TextHeight("W");
  int textLeft = box.left + 2;
  if (symbol) {
    const int size = std::max(1, textHeight - 5);
    const TRect square{box.left + 4, box.top + 3, box.left + 4 + size, box.top + 3 + size};
    symbol_->Brush().SetColor(color);
    symbol_->DrawFramedBox(square, 0, z + 1);
    textLeft += size + 4;
  }
  // 4. The text.
  c.SelectFont(shape.Font());
  c.SetBackMode(cbmTransparent);
  c.SetTextAlign(platform::TA_LEFT | platform::TA_TOP);
  if (shape.TextFormat() == ttfHtml) {
    c.DrawTextMaybeHtml(textLeft, box.top + 1, true, text);
    return;
  }
  const int lineHeight = textHeight + (shape.Pen().Visible() ? shape.Pen().Width() : 0);
  const double radians = angle * 3.14159265358979323846 / 180;
  const double sine = std::sin(radians), cosine = std::cos(radians);
  // The box is already on the screen; a canvas of true 3D places the texts itself, at the
  // box's depth, from the box's unprojected place.
  const bool full3D = c.IsFull3D();
  const TRect at = full3D ? BoxOf(position) : box;
  int line = 0;
  for (const std::string& part : SplitTextLines(text)) {
    const int dx = textLeft - box.left, dy = 1 + line * lineHeight;
    int x = at.left + dx, y = at.top + dy;
    if (angle != 0) {
      // Each line's start turns about the box's centre with the box.
      const int cx = (at.left + at.right) / 2, cy = (at.top + at.bottom) / 2;
      const double rx = x - cx, ry = y - cy;
      x = cx + Round(rx * cosine + ry * sine);
      y = cy + Round(-rx * sine + ry * cosine);
      if (angle == 90) ++x;
    }
    if (full3D) {
      angle == 0 ? c.DrawText3D(x, y, z, part) : c.DrawRotatedText3D(x, y, z, part, angle);
    } else {
      angle == 0 ? c.DrawText2D(x, y, part) : c.DrawRotatedText(x, y, part, angle);
    }
    ++line;
  }
}

// ---- Stored items -------------------------------------------------------------------------

std::optional<std::string> TSeriesMarks::ItemsBytes() const {
  if (items_.Empty()) return std::nullopt;
  // An item as it was created (reading creates one for every index) is written as a length
  // of 0 and no text, as is an index without one.
  TMarksItems fresh(const_cast<TSeriesMarks*>(this));
  const std::vector<TStoredProperty> untouched = WriteProperties(StoredMarksItem(), &fresh.Item(0));
  std::string out;
  PutInt32(out, items_.Count());
  for (int i = 0; i < items_.Count(); ++i) {
    std::string text;
    if (const TMarksItem* item = items_.Find(i)) {
      TStoredObject object;
      object.name = "Item";
      object.className = "TMarksItem";
      object.properties = WriteProperties(StoredMarksItem(), item);
      if (object.properties != untouched) text = FormatDescription(object);
    }
    PutInt32(out, static_cast<int32_t>(text.size()));
    out += text;
  }
  return out;
}

void TSeriesMarks::ReadItemsBytes(std::string_view bytes) {
  size_t pos = 0;
  const int32_t n = TakeInt32(bytes, pos);
  // Every entry takes at least its length field.
  if (n < 0 || static_cast<size_t>(n) > (bytes.size() - pos) / 4) throw std::runtime_error("bad marks item count");
  TMarksItems read(this);
  read.Resize(n);
  for (int i = 0; i < n; ++i) {
    const int32_t length = TakeInt32(bytes, pos);
    if (length < 0 || static_cast<size_t>(length) > bytes.size() - pos) throw std::runtime_error("bad marks item length");
    const std::string_view text = bytes.substr(pos, static_cast<size_t>(length));
    pos += static_cast<size_t>(length);
    TMarksItem& item = read.Item(i);
    if (length == 0) continue;
    const TStoredObject object = ParseDescription(text);
    ReadProperties(StoredMarksItem(), &item, object.properties);
  }
  if (pos != bytes.size()) throw std::runtime_error("marks items followed by other bytes");
  items_.Clear();
  for (int i = 0; i < n; ++i) items_.Item(i).CopyFrom(read.Item(i));
  itemsLoaded_ = true;
}

}  // namespace chart
