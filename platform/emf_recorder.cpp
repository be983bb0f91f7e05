// Enhanced Metafile recorder.
#include "platform/emf_recorder.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace platform {

using namespace emf;

namespace {

bool Fits16(int v) { return v >= SHRT_MIN && v <= SHRT_MAX; }

// EMR_ALPHABLEND up to its bitmap.
constexpr uint32_t kAlphaBlendSize = 108;

// Half the pen width beyond the geometry, for bounds.
int PenReach(const LogPen& pen) {
  if (pen.Kind() == PS_NULL || pen.IsThin()) return 0;
  return (pen.width + 1) / 2;
}

}  // namespace

EmfRecorder::EmfRecorder(int width, int height)
    : DeviceContext(DeviceCaps::Screen(kReferenceWidthPx, kReferenceHeightPx)), width_(width), height_(height) {
  caps_.technology = DT_METAFILE;
}

EmfRecorder::~EmfRecorder() = default;

FieldWriter& EmfRecorder::Begin(uint32_t type) {
  rec_ = FieldWriter();
  rec_.U32(type);
  rec_.U32(0);
  return rec_;
}

void EmfRecorder::End() {
  rec_.PadTo4();
  rec_.PatchU32(4, static_cast<uint32_t>(rec_.Size()));
  body_ += rec_.Buffer();
  ++records_;
}

void EmfRecorder::Simple(uint32_t type, std::initializer_list<uint32_t> values) {
  if (finished_) return;
  Begin(type);
  for (uint32_t v : values) rec_.U32(v);
  End();
}

uint32_t EmfRecorder::AllocHandle() {
  for (uint32_t h = 1; h < handleUsed_.size(); ++h) {
    if (!handleUsed_[h]) {
      handleUsed_[h] = true;
      return h;
    }
  }
  handleUsed_.push_back(true);
  return static_cast<uint32_t>(handleUsed_.size() - 1);
}

// Selects `newHandle` (a created object, or kStockObject | index) and deletes the created
// object it replaces.
void EmfRecorder::ReplaceObject(Kind kind, uint32_t newHandle) {
  Simple(EMR_SELECTOBJECT, {newHandle});
  uint32_t old = selected_[kind];
  if (old != 0) {
    Simple(EMR_DELETEOBJECT, {old});
    handleUsed_[old] = false;
  }
  selected_[kind] = (newHandle & kStockObject) ? 0 : newHandle;
}

namespace {

void Grow(bool& empty, Rect& bounds, const Rect& r) {
  if (empty) {
    bounds = r;
    empty = false;
    return;
  }
  bounds.left = std::min(bounds.left, r.left);
  bounds.top = std::min(bounds.top, r.top);
  bounds.right = std::max(bounds.right, r.right);
  bounds.bottom = std::max(bounds.bottom, r.bottom);
}

}  // namespace

void EmfRecorder::AddBounds(Rect r) {
  if (finished_) return;
  r = r.Normalized();
  if (pathState_ != kNoPath) {
    Grow(pathEmpty_, pathBounds_, r);
    return;
  }
  if (state_.clip) {
    // Nothing is drawn outside the clip region.
    Rect c = state_.clip->Bounds();
    if (state_.clip->IsEmpty()) return;
    r.left = std::max(r.left, c.left);
    r.top = std::max(r.top, c.top);
    r.right = std::min(r.right, c.right - 1);
    r.bottom = std::min(r.bottom, c.bottom - 1);
    if (r.right < r.left || r.bottom < r.top) return;
  }
  Grow(boundsEmpty_, bounds_, r);
}

Rect EmfRecorder::ShapeBounds(int left, int top, int right, int bottom) const {
  Rect n = Rect{left, top, right, bottom}.Normalized();
  int reach = (state_.pen.style & PS_STYLE_MASK) == PS_INSIDEFRAME ? 0 : PenReach(state_.pen);
  return Rect{n.left - reach, n.top - reach, n.right - 1 + reach, n.bottom - 1 + reach};
}

Rect EmfRecorder::PointsBounds(const std::vector<Point>& points) const {
  const Rect b = BoundingBox(points);
  int reach = PenReach(state_.pen);
  return Rect{b.left - reach, b.top - reach, b.right + reach, b.bottom + reach};
}

// ---- Attributes -------------------------------------------------------------------------

void EmfRecorder::SelectPen(const LogPen& pen) {
  if (finished_ || pen == state_.pen) return;
  DeviceContext::SelectPen(pen);
  if (pen.Kind() == PS_NULL) {
    ReplaceObject(kPen, kStockObject | NULL_PEN);
    return;
  }
  uint32_t h = AllocHandle();
  bool simple = (pen.style & ~PS_STYLE_MASK) == 0 && pen.Kind() <= PS_INSIDEFRAME && pen.userStyle.empty();
  if (simple) {
    Begin(EMR_CREATEPEN);
    rec_.U32(h);
    rec_.U32(pen.style);
    rec_.I32(pen.width);
    rec_.I32(0);
    rec_.U32(pen.color);
  } else {
    Begin(EMR_EXTCREATEPEN);
    rec_.U32(h);
    rec_.U32(0);  // no brush bitmap
    rec_.U32(0);
    rec_.U32(0);
    rec_.U32(0);
    rec_.U32(pen.style);
    rec_.U32(static_cast<uint32_t>(pen.width));
    rec_.U32(BS_SOLID);
    rec_.U32(pen.color);
    rec_.U32(0);
    const bool user = pen.Kind() == PS_USERSTYLE;
    rec_.U32(user ? static_cast<uint32_t>(pen.userStyle.size()) : 0);
    if (user) {
      for (uint32_t v : pen.userStyle) rec_.U32(v);
    }
  }
  End();
  ReplaceObject(kPen, h);
}

void EmfRecorder::SelectBrush(const LogBrush& brush) {
  if (finished_ || brush == state_.brush) return;
  DeviceContext::SelectBrush(brush);
  if (brush.style == BS_NULL) {
    ReplaceObject(kBrush, kStockObject | NULL_BRUSH);
    return;
  }
  uint32_t h = AllocHandle();
  if ((brush.style == BS_PATTERN || brush.style == BS_DIBPATTERN || brush.style == BS_DIBPATTERNPT) &&
      brush.pattern && brush.pattern->width > 0 && brush.pattern->height > 0) {
    std::string bmi, bits;
    EncodeDib(*brush.pattern, bmi, bits);
    Begin(EMR_CREATEDIBPATTERNBRUSHPT);
    rec_.U32(h);
    rec_.U32(0);  // DIB_RGB_COLORS
    rec_.U32(32);
    rec_.U32(static_cast<uint32_t>(bmi.size()));
    rec_.U32(static_cast<uint32_t>(32 + bmi.size()));
    rec_.U32(static_cast<uint32_t>(bits.size()));
    rec_.Bytes(bmi);
    rec_.Bytes(bits);
  } else {
    Begin(EMR_CREATEBRUSHINDIRECT);
    rec_.U32(h);
    rec_.U32(brush.style == BS_HATCHED ? BS_HATCHED : BS_SOLID);
    rec_.U32(brush.color);
    rec_.U32(brush.style == BS_HATCHED ? brush.hatch : 0);
  }
  End();
  ReplaceObject(kBrush, h);
}

void EmfRecorder::SelectFont(const LogFont& font) {
  if (finished_ || font == state_.font) return;
  DeviceContext::SelectFont(font);
  uint32_t h = AllocHandle();
  Begin(EMR_EXTCREATEFONTINDIRECTW);
  rec_.U32(h);
  // LOGFONTW
  rec_.I32(font.height);
  rec_.I32(font.width);
  rec_.I32(font.escapement);
  rec_.I32(font.orientation);
  rec_.I32(font.weight);
  rec_.U8(font.italic);
  rec_.U8(font.underline);
  rec_.U8(font.strikeOut);
  rec_.U8(font.charSet);
  rec_.U8(font.outPrecision);
  rec_.U8(font.clipPrecision);
  rec_.U8(font.quality);
  rec_.U8(font.pitchAndFamily);
  std::u16string face = Cp932ToUtf16(font.faceName);
  if (face.size() > 31) face.resize(31);
  for (int k = 0; k < 32; ++k) rec_.U16(k < static_cast<int>(face.size()) ? face[k] : 0);
  // The rest of the panose form: full name (64), style (32), version, style size, match,
  // reserved, vendor, culture, panose (10) and padding (2).
  for (int k = 0; k < 96; ++k) rec_.U16(0);
  for (int k = 0; k < 6; ++k) rec_.U32(0);
  for (int k = 0; k < 12; ++k) rec_.U8(0);
  End();
  ReplaceObject(kFont, h);
}

void EmfRecorder::SetTextColor(ColorRef color) {
  if ((color & 0xFFFFFF) == state_.textColor) return;
  DeviceContext::SetTextColor(color);
  Simple(EMR_SETTEXTCOLOR, {state_.textColor});
}

void EmfRecorder::SetBkColor(ColorRef color) {
  if ((color & 0xFFFFFF) == state_.bkColor) return;
  DeviceContext::SetBkColor(color);
  Simple(EMR_SETBKCOLOR, {state_.bkColor});
}

void EmfRecorder::SetBkMode(int mode) {
  if (mode == state_.bkMode) return;
  DeviceContext::SetBkMode(mode);
  Simple(EMR_SETBKMODE, {static_cast<uint32_t>(state_.bkMode)});
}

void EmfRecorder::SetTextAlign(uint32_t align) {
  if (align == state_.textAlign) return;
  DeviceContext::SetTextAlign(align);
  Simple(EMR_SETTEXTALIGN, {align});
}

void EmfRecorder::SetROP2(int rop2) {
  if (rop2 == state_.rop2) return;
  DeviceContext::SetROP2(rop2);
  Simple(EMR_SETROP2, {static_cast<uint32_t>(state_.rop2)});
}

void EmfRecorder::SetPolyFillMode(int mode) {
  if (mode == state_.polyFillMode) return;
  DeviceContext::SetPolyFillMode(mode);
  Simple(EMR_SETPOLYFILLMODE, {static_cast<uint32_t>(state_.polyFillMode)});
}

void EmfRecorder::SetStretchBltMode(int mode) {
  if (mode == state_.stretchMode) return;
  DeviceContext::SetStretchBltMode(mode);
  Simple(EMR_SETSTRETCHBLTMODE, {static_cast<uint32_t>(mode)});
}

void EmfRecorder::SetTextCharacterExtra(int extra) {
  // Recorded through the advances of every text record (the format has no record for it).
  DeviceContext::SetTextCharacterExtra(extra);
}

void EmfRecorder::SetBrushOrg(int x, int y) {
  if (state_.brushOrg.x == x && state_.brushOrg.y == y) return;
  DeviceContext::SetBrushOrg(x, y);
  Simple(EMR_SETBRUSHORGEX, {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}

void EmfRecorder::SetArcDirection(int direction) {
  if (finished_ || direction == state_.arcDirection) return;
  if (direction != AD_COUNTERCLOCKWISE && direction != AD_CLOCKWISE) return;
  DeviceContext::SetArcDirection(direction);
  Simple(EMR_SETARCDIRECTION, {static_cast<uint32_t>(direction)});
}

void EmfRecorder::MoveTo(int x, int y) {
  DeviceContext::MoveTo(x, y);
  Simple(EMR_MOVETOEX, {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
}

void EmfRecorder::WriteRegion(const Region* region, int mode) {
  if (finished_) return;
  Begin(EMR_EXTSELECTCLIPRGN);
  if (!region) {
    rec_.U32(0);
    rec_.U32(static_cast<uint32_t>(mode));
  } else {
    const auto& rects = region->Rects();
    uint32_t rgnSize = static_cast<uint32_t>(rects.size() * 16);
    rec_.U32(32 + rgnSize);
    rec_.U32(static_cast<uint32_t>(mode));
    rec_.U32(32);
    rec_.U32(1);  // RDH_RECTANGLES
    rec_.U32(static_cast<uint32_t>(rects.size()));
    rec_.U32(rgnSize);
    rec_.RectL(region->Bounds());
    for (const Rect& r : rects) rec_.RectL(r);
  }
  End();
}

void EmfRecorder::SelectClipRegion(const Region* region, int mode) {
  if (mode != RGN_COPY && !region) return;
  DeviceContext::SelectClipRegion(region, mode);
  WriteRegion(region, mode);
}

void EmfRecorder::IntersectClipRect(const Rect& r) {
  DeviceContext::IntersectClipRect(r);
  Rect n = r.Normalized();
  Simple(EMR_INTERSECTCLIPRECT, {static_cast<uint32_t>(n.left), static_cast<uint32_t>(n.top),
                                 static_cast<uint32_t>(n.right), static_cast<uint32_t>(n.bottom)});
}

void EmfRecorder::ExcludeClipRect(const Rect& r) {
  DeviceContext::ExcludeClipRect(r);
  Rect n = r.Normalized();
  Simple(EMR_EXCLUDECLIPRECT, {static_cast<uint32_t>(n.left), static_cast<uint32_t>(n.top),
                               static_cast<uint32_t>(n.right), static_cast<uint32_t>(n.bottom)});
}

bool EmfRecorder::RestoreDC(int level) {
  DcState before = state_;
  if (!DeviceContext::RestoreDC(level)) return false;
  DcState target = state_;
  state_ = before;
  // Record the restored state as the changes it makes.
  SelectPen(target.pen);
  SelectBrush(target.brush);
  SelectFont(target.font);
  SetTextColor(target.textColor);
  SetBkColor(target.bkColor);
  SetBkMode(target.bkMode);
  SetTextAlign(target.textAlign);
  SetROP2(target.rop2);
  SetPolyFillMode(target.polyFillMode);
  SetStretchBltMode(target.stretchMode);
  SetBrushOrg(target.brushOrg.x, target.brushOrg.y);
  SetArcDirection(target.arcDirection);
  state_.charExtra = target.charExtra;
  if (!SameClip(target.clip, state_.clip)) {
    if (target.clip) {
      SelectClipRegion(&*target.clip, RGN_COPY);
    } else {
      SelectClipRegion(nullptr, RGN_COPY);
    }
  }
  if (target.pos.x != state_.pos.x || target.pos.y != state_.pos.y) MoveTo(target.pos.x, target.pos.y);
  return true;
}

// ---- Drawing ----------------------------------------------------------------------------

void EmfRecorder::LineTo(int x, int y) {
  if (finished_) return;
  AddBounds(PointsBounds({state_.pos, Point{x, y}}));
  Simple(EMR_LINETO, {static_cast<uint32_t>(x), static_cast<uint32_t>(y)});
  state_.pos = Point{x, y};
}

void EmfRecorder::PolyRecord(uint32_t type16, uint32_t type32, const std::vector<Point>& points) {
  if (finished_ || points.empty()) return;
  Rect b = PointsBounds(points);
  AddBounds(b);
  bool small = Fits16(b.left) && Fits16(b.top) && Fits16(b.right) && Fits16(b.bottom);
  for (const Point& p : points) small = small && Fits16(p.x) && Fits16(p.y);
  Begin(small ? type16 : type32);
  rec_.RectL(b);
  rec_.U32(static_cast<uint32_t>(points.size()));
  for (const Point& p : points) {
    if (small) {
      rec_.I16(static_cast<int16_t>(p.x));
      rec_.I16(static_cast<int16_t>(p.y));
    } else {
      rec_.I32(p.x);
      rec_.I32(p.y);
    }
  }
  End();
}

void EmfRecorder::Polyline(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  PolyRecord(EMR_POLYLINE16, EMR_POLYLINE, points);
}

void EmfRecorder::Polygon(const std::vector<Point>& points) {
  if (points.size() < 2) return;
  PolyRecord(EMR_POLYGON16, EMR_POLYGON, points);
}

void EmfRecorder::BoxRecord(uint32_t type, int left, int top, int right, int bottom) {
  if (finished_) return;
  AddBounds(ShapeBounds(left, top, right, bottom));
  Begin(type);
  rec_.RectL(Rect{left, top, right, bottom});
}

void EmfRecorder::Rectangle(int left, int top, int right, int bottom) {
  if (finished_) return;
  BoxRecord(EMR_RECTANGLE, left, top, right, bottom);
  End();
}

void EmfRecorder::Ellipse(int left, int top, int right, int bottom) {
  if (finished_) return;
  BoxRecord(EMR_ELLIPSE, left, top, right, bottom);
  End();
}

void EmfRecorder::RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) {
  if (finished_) return;
  BoxRecord(EMR_ROUNDRECT, left, top, right, bottom);
  rec_.I32(cornerW);
  rec_.I32(cornerH);
  End();
}

void EmfRecorder::ArcRecord(uint32_t type, int left, int top, int right, int bottom, int xs, int ys, int xe,
                            int ye) {
  if (finished_) return;
  BoxRecord(type, left, top, right, bottom);
  rec_.I32(xs);
  rec_.I32(ys);
  rec_.I32(xe);
  rec_.I32(ye);
  End();
}

void EmfRecorder::Arc(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcRecord(EMR_ARC, l, t, r, b, xs, ys, xe, ye);
}
void EmfRecorder::Pie(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcRecord(EMR_PIE, l, t, r, b, xs, ys, xe, ye);
}
void EmfRecorder::Chord(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  ArcRecord(EMR_CHORD, l, t, r, b, xs, ys, xe, ye);
}

void EmfRecorder::ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                             const std::vector<int>* dx) {
  if (finished_) return;
  std::vector<int> advances;
  const int width = TextAdvances(x, y, text, dx, advances);
  TextMetrics tm = GetTextMetrics();
  Rect b = TextBounds(x, y, state_.textAlign, width, tm, state_.font.escapement);
  if (rect && (options & ETO_CLIPPED)) {
    Rect c = rect->Normalized();
    b.left = std::max(b.left, c.left);
    b.top = std::max(b.top, c.top);
    b.right = std::min(b.right, c.right - 1);
    b.bottom = std::min(b.bottom, c.bottom - 1);
  }
  if (rect && (options & ETO_OPAQUE)) {
    Rect c = rect->Normalized();
    if (!c.IsEmpty()) {
      if (b.right < b.left || b.bottom < b.top) b = Rect{c.left, c.top, c.right - 1, c.bottom - 1};
      b.left = std::min(b.left, c.left);
      b.top = std::min(b.top, c.top);
      b.right = std::max(b.right, c.right - 1);
      b.bottom = std::max(b.bottom, c.bottom - 1);
    }
  }
  if (!text.empty() || (rect && (options & ETO_OPAQUE))) {
    if (b.right >= b.left && b.bottom >= b.top) AddBounds(b);
  }
  const uint32_t n = static_cast<uint32_t>(text.size());
  const uint32_t offString = 76;
  const uint32_t offDx = offString + ((n * 2 + 3) & ~3u);
  Begin(EMR_EXTTEXTOUTW);
  rec_.RectL(b);
  rec_.U32(1);  // GM_COMPATIBLE
  rec_.F32(100.0f * kReferenceWidthMm / kReferenceWidthPx);
  rec_.F32(100.0f * kReferenceHeightMm / kReferenceHeightPx);
  rec_.I32(x);
  rec_.I32(y);
  rec_.U32(n);
  rec_.U32(n ? offString : 0);
  rec_.U32(options);
  rec_.RectL(rect ? *rect : Rect{0, 0, -1, -1});
  rec_.U32(n ? offDx : 0);
  for (char16_t c : text) rec_.U16(c);
  rec_.PadTo4();
  for (int a : advances) rec_.I32(a);
  End();
  if (state_.textAlign & TA_UPDATECP) state_.pos.x += width;
}

void EmfRecorder::SourcePlacement() {
  rec_.I32(0);  // the source's origin
  rec_.I32(0);
  const float xform[6] = {1, 0, 0, 1, 0, 0};
  for (float f : xform) rec_.F32(f);
  rec_.U32(0);  // background colour of the source
  rec_.U32(0);  // DIB_RGB_COLORS
}

bool EmfRecorder::Native(DcFeature feature) const {
  return feature == DcFeature::AlphaBlend || feature == DcFeature::RasterOps;
}

bool EmfRecorder::PatBlt(const Rect& r, uint32_t rop) {
  if (finished_) return false;
  Rect n = r.Normalized();
  if (n.IsEmpty()) return true;
  AddBounds(Rect{n.left, n.top, n.right - 1, n.bottom - 1});
  Begin(EMR_BITBLT);
  rec_.RectL(Rect{n.left, n.top, n.right - 1, n.bottom - 1});
  rec_.I32(n.left);
  rec_.I32(n.top);
  rec_.I32(n.Width());
  rec_.I32(n.Height());
  rec_.U32(rop);
  SourcePlacement();
  for (int k = 0; k < 4; ++k) rec_.U32(0);  // no source bitmap
  End();
  return true;
}

bool EmfRecorder::StretchDIBits(const Rect& dest, const Rect& src, const Dib& dib, uint32_t rop) {
  if (finished_) return false;
  if (dib.width <= 0 || dib.height <= 0) return true;
  // Only the source rectangle is stored, as a picture of its own.
  const Rect s = dib.Part(src);
  if (s.IsEmpty() || dest.Width() == 0 || dest.Height() == 0) return true;
  Dib part;
  const Dib* use = &dib;
  if (s.left != 0 || s.top != 0 || s.right != dib.width || s.bottom != dib.height) {
    part = dib.Copy(s);
    use = &part;
  }
  std::string bmi, bits;
  EncodeDib(*use, bmi, bits);
  Rect d = dest.Normalized();
  Rect b{d.left, d.top, d.right - 1, d.bottom - 1};
  AddBounds(b);
  Begin(EMR_STRETCHDIBITS);
  rec_.RectL(b);
  rec_.I32(dest.left);
  rec_.I32(dest.top);
  rec_.I32(0);
  rec_.I32(0);
  rec_.I32(use->width);
  rec_.I32(use->height);
  rec_.U32(80);
  rec_.U32(static_cast<uint32_t>(bmi.size()));
  rec_.U32(static_cast<uint32_t>(80 + bmi.size()));
  rec_.U32(static_cast<uint32_t>(bits.size()));
  rec_.U32(0);  // DIB_RGB_COLORS
  rec_.U32(rop);
  rec_.I32(dest.Width());
  rec_.I32(dest.Height());
  rec_.Bytes(bmi);
  rec_.Bytes(bits);
  End();
  return true;
}

bool EmfRecorder::AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha) {
  if (finished_ || dest.Width() < 0 || dest.Height() < 0 || src.Width() < 0 || src.Height() < 0) return false;
  const Rect s = bitmap.Part(src);
  if (dest.IsEmpty() || s.IsEmpty()) return true;
  // Only the source rectangle is stored; a part cut at the bitmap's edge keeps its scale.
  const Dib part = bitmap.Copy(s);
  Rect d = dest;
  if (s != src) {
    auto at = [](int edge, int from, int size, int destFrom, int destSize) {
      return destFrom + static_cast<int>(static_cast<int64_t>(edge - from) * destSize / size);
    };
    d = Rect{at(s.left, src.left, src.Width(), dest.left, dest.Width()),
             at(s.top, src.top, src.Height(), dest.top, dest.Height()),
             at(s.right, src.left, src.Width(), dest.left, dest.Width()),
             at(s.bottom, src.top, src.Height(), dest.top, dest.Height())};
    if (d.IsEmpty()) return true;
  }
  std::string bmi, bits;
  EncodeDib(part, bmi, bits);
  const Rect b{d.left, d.top, d.right - 1, d.bottom - 1};
  AddBounds(b);
  Begin(EMR_ALPHABLEND);
  rec_.RectL(b);
  rec_.I32(d.left);
  rec_.I32(d.top);
  rec_.I32(d.Width());
  rec_.I32(d.Height());
  rec_.U8(0);  // AC_SRC_OVER
  rec_.U8(0);
  rec_.U8(alpha);
  rec_.U8(0);  // constant alpha only
  SourcePlacement();
  rec_.U32(kAlphaBlendSize);
  rec_.U32(static_cast<uint32_t>(bmi.size()));
  rec_.U32(static_cast<uint32_t>(kAlphaBlendSize + bmi.size()));
  rec_.U32(static_cast<uint32_t>(bits.size()));
  rec_.I32(part.width);
  rec_.I32(part.height);
  rec_.Bytes(bmi);
  rec_.Bytes(bits);
  End();
  return true;
}

void EmfRecorder::SetPixel(int x, int y, ColorRef color) {
  if (finished_) return;
  AddBounds(Rect{x, y, x, y});
  Simple(EMR_SETPIXELV, {static_cast<uint32_t>(x), static_cast<uint32_t>(y), color & 0xFFFFFF});
}

void EmfRecorder::ArcTo(int l, int t, int r, int b, int xs, int ys, int xe, int ye) {
  if (finished_) return;
  Rect box = ShapeBounds(l, t, r, b);
  Rect from = PointsBounds({state_.pos});
  box.left = std::min(box.left, from.left);
  box.top = std::min(box.top, from.top);
  box.right = std::max(box.right, from.right);
  box.bottom = std::max(box.bottom, from.bottom);
  AddBounds(box);
  Begin(EMR_ARCTO);
  rec_.RectL(Rect{l, t, r, b});
  rec_.I32(xs);
  rec_.I32(ys);
  rec_.I32(xe);
  rec_.I32(ye);
  End();
  // The current position moves to the end of the arc.
  Rect n = Rect{l, t, r, b}.Normalized();
  double a = RadialAngle(n, xe, ye) * M_PI / 180;
  state_.pos = Point{static_cast<int>(std::lround((n.left + n.right) / 2.0 + n.Width() / 2.0 * std::cos(a))),
                     static_cast<int>(std::lround((n.top + n.bottom) / 2.0 - n.Height() / 2.0 * std::sin(a)))};
}

void EmfRecorder::BeginPath() {
  if (finished_) return;
  DeviceContext::BeginPath();
  pathEmpty_ = true;
  Simple(EMR_BEGINPATH, {});
}

void EmfRecorder::EndPath() {
  if (finished_ || !PathOpen()) return;
  DeviceContext::EndPath();
  Simple(EMR_ENDPATH, {});
}

void EmfRecorder::AbortPath() {
  if (finished_ || pathState_ == kNoPath) return;
  DeviceContext::AbortPath();
  Simple(EMR_ABORTPATH, {});
}

void EmfRecorder::CloseFigure() {
  if (PathOpen()) Simple(EMR_CLOSEFIGURE, {});
}

void EmfRecorder::WidenPath() {
  if (finished_ || pathState_ == kNoPath) return;
  if (PathOpen()) EndPath();
  // The widened path reaches half the pen width beyond the path (a mitred corner further).
  if (!pathEmpty_) {
    const int grow = std::max(1, state_.pen.width);
    pathBounds_ = Rect{pathBounds_.left - grow, pathBounds_.top - grow, pathBounds_.right + grow, pathBounds_.bottom + grow};
  }
  Simple(EMR_WIDENPATH, {});
}

void EmfRecorder::UsePath(uint32_t type) {
  if (finished_ || pathState_ == kNoPath) return;
  if (PathOpen()) EndPath();
  pathState_ = kNoPath;
  Rect b = pathEmpty_ ? Rect{0, 0, -1, -1} : pathBounds_;
  if (!pathEmpty_) AddBounds(b);
  Begin(type);
  rec_.RectL(b);
  End();
}

void EmfRecorder::StrokePath() { UsePath(EMR_STROKEPATH); }
void EmfRecorder::FillPath() { UsePath(EMR_FILLPATH); }
void EmfRecorder::StrokeAndFillPath() { UsePath(EMR_STROKEANDFILLPATH); }

void EmfRecorder::SelectClipPath(int mode) {
  if (finished_ || pathState_ == kNoPath || mode < RGN_AND || mode > RGN_COPY) return;
  if (PathOpen()) EndPath();
  pathState_ = kNoPath;
  // The clip kept here (for bounds and restores) is the path's bounding box.
  Region box = pathEmpty_ ? Region() : Region(Rect{pathBounds_.left, pathBounds_.top, pathBounds_.right + 1,
                                                   pathBounds_.bottom + 1});
  DeviceContext::SelectClipRegion(&box, mode);
  Simple(EMR_SELECTCLIPPATH, {static_cast<uint32_t>(mode)});
}

// ---- End --------------------------------------------------------------------------------

std::string EmfRecorder::Finish() {
  if (finished_) return std::string();
  // Deselect and delete every created object.
  if (selected_[kPen]) ReplaceObject(kPen, kStockObject | BLACK_PEN);
  if (selected_[kBrush]) ReplaceObject(kBrush, kStockObject | WHITE_BRUSH);
  if (selected_[kFont]) ReplaceObject(kFont, kStockObject | SYSTEM_FONT);
  Simple(EMR_EOF, {0, 16, 20});
  finished_ = true;

  Header h;
  h.recordSize = 108;
  h.bounds = boundsEmpty_ ? Rect{0, 0, -1, -1} : bounds_;
  h.frame = Rect{0, 0, static_cast<int>(std::ceil(width_ * 2540.0 / kReferenceDpi)),
                 static_cast<int>(std::ceil(height_ * 2540.0 / kReferenceDpi))};
  h.records = records_ + 1;
  h.bytes = static_cast<uint32_t>(h.recordSize + body_.size());
  h.handles = static_cast<uint16_t>(handleUsed_.size());
  std::string out;
  WriteHeader(out, h);
  out += body_;
  body_.clear();
  return out;
}

}  // namespace platform
