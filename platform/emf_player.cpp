// Enhanced Metafile player.
#include "platform/emf_player.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <exception>
#include <variant>

#include "platform/emf.h"
#include "platform/cp932.h"
#include "platform/mbcs.h"

namespace platform {

using namespace emf;

namespace {

constexpr int MM_TEXT = 1, MM_LOMETRIC = 2, MM_HIMETRIC = 3, MM_LOENGLISH = 4, MM_HIENGLISH = 5,
              MM_TWIPS = 6, MM_ISOTROPIC = 7, MM_ANISOTROPIC = 8;
constexpr uint32_t ETO_PDY = 0x2000;
constexpr const char* kOverBudget = "the bitmaps of the metafile exceed the pixels one playback may decode";

struct Xform {
  double m11 = 1, m12 = 0, m21 = 0, m22 = 1, dx = 0, dy = 0;
  // This transform followed by `b`.
  Xform Then(const Xform& b) const {
    Xform r;
    r.m11 = m11 * b.m11 + m12 * b.m21;
    r.m12 = m11 * b.m12 + m12 * b.m22;
    r.m21 = m21 * b.m11 + m22 * b.m21;
    r.m22 = m21 * b.m12 + m22 * b.m22;
    r.dx = dx * b.m11 + dy * b.m21 + b.dx;
    r.dy = dx * b.m12 + dy * b.m22 + b.dy;
    return r;
  }
  bool Valid() const {
    return std::isfinite(m11) && std::isfinite(m12) && std::isfinite(m21) && std::isfinite(m22) &&
           std::isfinite(dx) && std::isfinite(dy);
  }
};

struct PlayerObject {
  enum Kind { kNone, kPen, kBrush, kFont, kOther } kind = kNone;
  LogPen pen;
  LogBrush brush;
  LogFont font;
};

struct MapState {
  int mapMode = MM_TEXT;
  Point windowOrg, viewportOrg;
  Size windowExt{1, 1}, viewportExt{1, 1};
  Xform world;
  LogPen pen;
  LogBrush brush;
  LogFont font;
};

int ClampInt(double v) {
  if (!(v == v)) return 0;
  if (v > 1e9) return 1000000000;
  if (v < -1e9) return -1000000000;
  return static_cast<int>(std::lround(v));
}

class Player {
 public:
  Player(DeviceContext& dc, const Header& h, const Rect& dest) : dc_(dc), header_(h) {
    objects_.resize(h.handles);
    // The frame in reference pixels is mapped onto `dest`.
    double pxPerMmX = h.millimeters.cx > 0 ? static_cast<double>(h.device.cx) / h.millimeters.cx : 96 / 25.4;
    double pxPerMmY = h.millimeters.cy > 0 ? static_cast<double>(h.device.cy) / h.millimeters.cy : 96 / 25.4;
    pxPerMmX_ = pxPerMmX;
    pxPerMmY_ = pxPerMmY;
    double fl = h.frame.left * pxPerMmX / 100, ft = h.frame.top * pxPerMmY / 100;
    double fw = (static_cast<double>(h.frame.right) - h.frame.left) * pxPerMmX / 100;
    double fh = (static_cast<double>(h.frame.bottom) - h.frame.top) * pxPerMmY / 100;
    if (fw <= 0 || fh <= 0) {
      // No usable frame: use the drawn bounds (inclusive, so one more than their difference).
      fl = h.bounds.left;
      ft = h.bounds.top;
      fw = static_cast<double>(h.bounds.right) - h.bounds.left + 1;
      fh = static_cast<double>(h.bounds.bottom) - h.bounds.top + 1;
    }
    if (fw <= 0) fw = 1;
    if (fh <= 0) fh = 1;
    place_.m11 = dest.Width() / fw;
    place_.m22 = dest.Height() / fh;
    place_.dx = dest.left - fl * place_.m11;
    place_.dy = dest.top - ft * place_.m22;
    hasBaseClip_ = dc_.GetClipRegion(baseClip_);
    Recompute();
  }

  EmfPlayResult Run(std::string_view bytes) {
    EmfPlayResult result;
    RecordWalker walker(bytes, header_);
    Record rec;
    const int startLevel = dc_.SaveDC();
    // Start from the defaults a metafile assumes.
    dc_.SelectPen(LogPen{});
    dc_.SelectBrush(LogBrush{});
    dc_.SelectFont(LogFont{});
    dc_.SetTextColor(0);
    dc_.SetBkColor(0xFFFFFF);
    dc_.SetBkMode(OPAQUE);
    dc_.SetTextAlign(0);
    dc_.SetROP2(R2_COPYPEN);
    dc_.SetPolyFillMode(ALTERNATE);
    dc_.SetTextCharacterExtra(0);
    dc_.SetArcDirection(AD_COUNTERCLOCKWISE);
    bool sawHeader = false;
    bool sawEof = false;
    while (walker.Next(rec)) {
      if (!sawHeader) {
        sawHeader = true;  // the header, already read
        continue;
      }
      if (rec.type == EMR_EOF) {
        sawEof = true;
        break;
      }
      // A record that fails, however it fails (an allocation included), is skipped.
      bool played = false;
      try {
        played = Play(rec);
      } catch (const std::exception&) {
        played = false;
      }
      if (played) {
        ++result.played;
      } else {
        ++result.skipped;
      }
    }
    dc_.AbortPath();  // a path the metafile left open ends with it
    dc_.RestoreDC(startLevel);
    result.ok = sawEof && walker.Error().empty() && !overBudget_;
    result.error = walker.Error();
    if (!sawEof && result.error.empty()) result.error = "no end-of-file record";
    if (overBudget_ && result.error.empty()) result.error = kOverBudget;
    result.decodedPixels = decoded_;
    return result;
  }

 private:
  // ---- Coordinates ----
  void Recompute() {
    Xform page;
    const MapState& s = st_;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
      case MM_LOMETRIC: sx = pxPerMmX_ / 10; sy = -pxPerMmY_ / 10; break;
      case MM_HIMETRIC: sx = pxPerMmX_ / 100; sy = -pxPerMmY_ / 100; break;
      case MM_LOENGLISH: sx = pxPerMmX_ * 0.254; sy = -pxPerMmY_ * 0.254; break;
      case MM_HIENGLISH: sx = pxPerMmX_ * 0.0254; sy = -pxPerMmY_ * 0.0254; break;
      case MM_TWIPS: sx = pxPerMmX_ * 25.4 / 1440; sy = -pxPerMmY_ * 25.4 / 1440; break;
      case MM_ISOTROPIC:
      case MM_ANISOTROPIC:
        if (s.windowExt.cx != 0 && s.windowExt.cy != 0) {
          sx = static_cast<double>(s.viewportExt.cx) / s.windowExt.cx;
          sy = static_cast<double>(s.viewportExt.cy) / s.windowExt.cy;
          if (s.mapMode == MM_ISOTROPIC) {
            double m = std::min(std::fabs(sx), std::fabs(sy));
            sx = sx < 0 ? -m : m;
            sy = sy < 0 ? -m : m;
          }
        }
        break;
      default: break;
    }
    page.m11 = sx;
    page.m22 = sy;
    page.dx = s.viewportOrg.x - s.windowOrg.x * sx;
    page.dy = s.viewportOrg.y - s.windowOrg.y * sy;
    toDevice_ = s.world.Then(page).Then(place_);
    scaleX_ = std::hypot(toDevice_.m11, toDevice_.m12);
    scaleY_ = std::hypot(toDevice_.m21, toDevice_.m22);
    realized_ = false;
  }

  Point P(double x, double y) const {
    return Point{ClampInt(x * toDevice_.m11 + y * toDevice_.m21 + toDevice_.dx),
                 ClampInt(x * toDevice_.m12 + y * toDevice_.m22 + toDevice_.dy)};
  }
  Rect R(const Rect& r) const {
    Point a = P(r.left, r.top), b = P(r.right, r.bottom);
    return Rect{a.x, a.y, b.x, b.y};
  }
  // A rectangle in reference device units (regions, record bounds).
  Rect DeviceR(const Rect& r) const {
    return Rect{ClampInt(r.left * place_.m11 + place_.dx), ClampInt(r.top * place_.m22 + place_.dy),
                ClampInt(r.right * place_.m11 + place_.dx), ClampInt(r.bottom * place_.m22 + place_.dy)};
  }

  // ---- Objects ----
  void Realize() {
    if (realized_) return;
    LogPen pen = st_.pen;
    if (pen.Kind() != PS_NULL && ((pen.style & PS_TYPE_MASK) == PS_GEOMETRIC || pen.width > 1)) {
      pen.width = std::max(1, ClampInt(pen.width * (scaleX_ + scaleY_) / 2));
      for (uint32_t& v : pen.userStyle) v = static_cast<uint32_t>(std::max(1, ClampInt(v * scaleX_)));
    }
    dc_.SelectPen(pen);
    dc_.SelectBrush(st_.brush);
    LogFont font = st_.font;
    font.height = ClampInt(font.height * scaleY_);
    font.width = ClampInt(font.width * scaleX_);
    if (toDevice_.m22 < 0) {
      // A y axis pointing up turns the angles over.
      font.escapement = -ReducedAngle(font.escapement);
      font.orientation = -ReducedAngle(font.orientation);
    }
    dc_.SelectFont(font);
    realized_ = true;
  }

  bool ValidHandle(uint32_t ih) const { return ih > 0 && ih < objects_.size(); }

  bool SelectObject(uint32_t ih) {
    if (ih & kStockObject) {
      switch (ih & 0x7FFFFFFF) {
        case WHITE_BRUSH: st_.brush = LogBrush{BS_SOLID, 0xFFFFFF, 0, nullptr}; break;
        case LTGRAY_BRUSH: st_.brush = LogBrush{BS_SOLID, RgbColor(192, 192, 192), 0, nullptr}; break;
        case GRAY_BRUSH: st_.brush = LogBrush{BS_SOLID, RgbColor(128, 128, 128), 0, nullptr}; break;
        case DKGRAY_BRUSH: st_.brush = LogBrush{BS_SOLID, RgbColor(64, 64, 64), 0, nullptr}; break;
        case BLACK_BRUSH: st_.brush = LogBrush{BS_SOLID, 0, 0, nullptr}; break;
        case NULL_BRUSH: st_.brush = LogBrush{BS_NULL, 0, 0, nullptr}; break;
        case DC_BRUSH: st_.brush = LogBrush{BS_SOLID, 0xFFFFFF, 0, nullptr}; break;
        case WHITE_PEN: st_.pen = LogPen{PS_SOLID, 0, 0xFFFFFF, {}}; break;
        case BLACK_PEN:
        case DC_PEN: st_.pen = LogPen{}; break;
        case NULL_PEN: st_.pen = LogPen{PS_NULL, 0, 0, {}}; break;
        case OEM_FIXED_FONT: case ANSI_FIXED_FONT: case ANSI_VAR_FONT: case SYSTEM_FONT:
        case DEVICE_DEFAULT_FONT: case SYSTEM_FIXED_FONT: case DEFAULT_GUI_FONT: st_.font = LogFont{}; break;
        case DEFAULT_PALETTE: return true;
        default: return false;
      }
      realized_ = false;
      return true;
    }
    if (!ValidHandle(ih)) return false;
    const PlayerObject& o = objects_[ih];
    switch (o.kind) {
      case PlayerObject::kPen: st_.pen = o.pen; break;
      case PlayerObject::kBrush: st_.brush = o.brush; break;
      case PlayerObject::kFont: st_.font = o.font; break;
      case PlayerObject::kOther: return true;
      default: return false;
    }
    realized_ = false;
    return true;
  }

  // ---- Curves ----
  std::vector<Point> FlattenBeziers(Point start, const std::vector<Point>& ctl) {
    std::vector<Point> out;
    Point p0 = start;
    for (size_t k = 0; k + 2 < ctl.size(); k += 3) {
      const Point &p1 = ctl[k], &p2 = ctl[k + 1], &p3 = ctl[k + 2];
      for (int i = 1; i <= 16; ++i) {
        double t = i / 16.0, u = 1 - t;
        double x = u * u * u * p0.x + 3 * u * u * t * p1.x + 3 * u * t * t * p2.x + t * t * t * p3.x;
        double y = u * u * u * p0.y + 3 * u * u * t * p1.y + 3 * u * t * t * p2.y + t * t * t * p3.y;
        out.push_back(Point{ClampInt(x), ClampInt(y)});
      }
      p0 = p3;
    }
    return out;
  }

  // ---- Clipping ----
  void ApplyClip(const Region* region, int mode) {
    if (mode == RGN_COPY) {
      if (!region) {
        dc_.SelectClipRegion(hasBaseClip_ ? &baseClip_ : nullptr, RGN_COPY);
        return;
      }
      Region r = hasBaseClip_ ? Region::Combine(*region, baseClip_, RGN_AND) : *region;
      dc_.SelectClipRegion(&r, RGN_COPY);
      return;
    }
    if (!region || mode < RGN_AND || mode > RGN_DIFF) return;
    dc_.SelectClipRegion(region, mode);
    if (hasBaseClip_) dc_.SelectClipRegion(&baseClip_, RGN_AND);
  }

  // ---- Records ----
  std::vector<Point> ReadPoints(FieldReader& f, size_t at, uint32_t count, bool small) {
    std::vector<Point> pts;
    pts.reserve(count);
    for (uint32_t k = 0; k < count; ++k) {
      double x = small ? f.I16(at + 4 * k) : f.I32(at + 8 * k);
      double y = small ? f.I16(at + 4 * k + 2) : f.I32(at + 8 * k + 4);
      pts.push_back(P(x, y));
    }
    return pts;
  }

  bool PolyRecord(const Record& rec, bool small) {
    FieldReader f(rec.data);
    uint32_t count = f.U32(24);
    if (!f.ok || !f.Has(28, count, small ? 4 : 8)) return false;
    std::vector<Point> pts = ReadPoints(f, 28, count, small);
    Realize();
    switch (rec.type) {
      case EMR_POLYLINE:
      case EMR_POLYLINE16:
        if (pts.size() >= 2 || (dc_.PathOpen() && !pts.empty())) dc_.Polyline(pts);
        return true;
      case EMR_POLYGON:
      case EMR_POLYGON16:
        if (pts.size() >= 2) dc_.Polygon(pts);
        return true;
      case EMR_POLYLINETO:
      case EMR_POLYLINETO16:
        ContinueTo(pts);
        return true;
      case EMR_POLYBEZIER:
      case EMR_POLYBEZIER16: {
        if (pts.size() < 4) return false;
        std::vector<Point> ctl(pts.begin() + 1, pts.end());
        std::vector<Point> flat = FlattenBeziers(pts[0], ctl);
        flat.insert(flat.begin(), pts[0]);
        dc_.Polyline(flat);
        return true;
      }
      case EMR_POLYBEZIERTO:
      case EMR_POLYBEZIERTO16: {
        std::vector<Point> flat = FlattenBeziers(pos_, pts);
        if (flat.empty()) return false;
        ContinueTo(flat);
        return true;
      }
      default: return false;
    }
  }

  // Lines from the current position through `pts`; inside a path they continue its figure.
  void ContinueTo(const std::vector<Point>& pts) {
    if (pts.empty()) return;
    if (dc_.PathOpen()) {
      SyncPos();
      for (const Point& p : pts) dc_.LineTo(p.x, p.y);
      pos_ = pts.back();
      return;
    }
    std::vector<Point> line = pts;
    line.insert(line.begin(), pos_);
    dc_.Polyline(line);
    pos_ = pts.back();
    dc_.MoveTo(pos_.x, pos_.y);
  }

  // The context's current position follows ours (without starting a new path figure when
  // it already is there).
  void SyncPos() {
    const Point& at = dc_.State().pos;
    if (at.x != pos_.x || at.y != pos_.y) dc_.MoveTo(pos_.x, pos_.y);
  }

  bool PolyPolyRecord(const Record& rec, bool small, bool polygon) {
    FieldReader f(rec.data);
    uint32_t polys = f.U32(24);
    uint32_t total = f.U32(28);
    if (!f.ok || !f.Has(32, polys, 4)) return false;
    size_t pointsAt = 32 + static_cast<size_t>(polys) * 4;
    if (!f.Has(pointsAt, total, small ? 4 : 8)) return false;
    uint64_t sum = 0;
    for (uint32_t k = 0; k < polys; ++k) sum += f.U32(32 + 4 * k);
    if (sum != total) return false;
    std::vector<Point> all = ReadPoints(f, pointsAt, total, small);
    size_t at = 0;
    Realize();
    for (uint32_t k = 0; k < polys; ++k) {
      uint32_t n = f.U32(32 + 4 * k);
      std::vector<Point> pts(all.begin() + static_cast<std::ptrdiff_t>(at),
                             all.begin() + static_cast<std::ptrdiff_t>(at + n));
      at += n;
      if (pts.size() >= 2) {
        if (polygon) {
          dc_.Polygon(pts);
        } else {
          dc_.Polyline(pts);
        }
      }
    }
    return true;
  }

  bool TextRecord(const Record& rec, bool wide) {
    FieldReader f(rec.data);
    int x = f.I32(36), y = f.I32(40);
    uint32_t options = f.U32(52);
    Rect rcl = f.RectAt(56);
    uint32_t offDx = f.U32(72);
    std::optional<TextRecordString> string = ReadTextRecordString(rec);
    if (!f.ok || !string) return false;
    const uint32_t n = string->count;
    const uint32_t perChar = (options & ETO_PDY) ? 2 : 1;
    bool haveDx = offDx != 0 && n > 0;
    if (haveDx && !f.Has(offDx, static_cast<size_t>(n) * perChar, 4)) haveDx = false;
    std::u16string text;
    std::vector<double> dx;
    if (wide) {
      text = *TextRecordText(rec);
      if (haveDx) {
        for (uint32_t k = 0; k < n; ++k) dx.push_back(f.I32(offDx + 4 * perChar * k));
      }
    } else {
      std::string_view bytes = string->bytes;
      // One advance per byte; a double-byte character takes the sum of its two.
      for (uint32_t k = 0; k < n; ++k) {
        bool lead = IsCp932LeadByte(static_cast<unsigned char>(bytes[k])) && k + 1 < n;
        double adv = haveDx ? f.I32(offDx + 4 * perChar * k) : 0;
        if (lead) {
          if (haveDx) adv += f.I32(offDx + 4 * perChar * (k + 1));
          std::u16string c = Cp932ToUtf16(bytes.substr(k, 2));
          text += c.empty() ? u"?" : c.substr(0, 1);
          ++k;
        } else {
          std::u16string c = Cp932ToUtf16(bytes.substr(k, 1));
          text += c.empty() ? u"?" : c.substr(0, 1);
        }
        if (haveDx) dx.push_back(adv);
      }
    }
    Realize();
    Point ref = P(x, y);
    std::vector<int> devDx;
    if (haveDx) {
      // Cumulative positions scaled and rounded, so that errors do not add up.
      double cum = 0;
      int prev = 0;
      for (double d : dx) {
        cum += d;
        int at = ClampInt(cum * scaleX_);
        devDx.push_back(at - prev);
        prev = at;
      }
    }
    Rect drect;
    const Rect* rectPtr = nullptr;
    if (options & (ETO_OPAQUE | ETO_CLIPPED)) {
      drect = R(rcl);
      rectPtr = &drect;
    }
    dc_.ExtTextOut(ref.x, ref.y, options & (ETO_OPAQUE | ETO_CLIPPED), rectPtr, text, haveDx ? &devDx : nullptr);
    return true;
  }

  // The source rectangle of a bit-block record from its origin and size (any 32-bit values),
  // clamped to what a bitmap can hold.
  static Rect SourceRect(int64_t x, int64_t y, int64_t cx, int64_t cy) {
    auto clamp = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, -(int64_t{1} << 30), int64_t{1} << 30)); };
    return Rect{clamp(x), clamp(y), clamp(x + cx), clamp(y + cy)};
  }

  // Takes `pixels` from the playback's decoding budget: false (nothing taken, the budget's
  // error noted) when they do not fit into what is left.
  bool Spend(int64_t pixels) {
    if (pixels > kMetafileDecodeBudget - decoded_) {
      overBudget_ = true;
      return false;
    }
    decoded_ += pixels;
    return true;
  }

  // The info header and bits of a record at the offsets stored at `offBmiAt` and `offBitsAt`.
  struct RecordDib {
    std::string_view bmi, bits;
    DibInfo info;
  };
  std::optional<RecordDib> RecordBitmapData(const Record& rec, size_t offBmiAt, size_t offBitsAt) {
    FieldReader f(rec.data);
    uint32_t offBmi = f.U32(offBmiAt), cbBmi = f.U32(offBmiAt + 4);
    uint32_t offBits = f.U32(offBitsAt), cbBits = f.U32(offBitsAt + 4);
    if (!f.ok || !f.Has(offBmi, cbBmi, 1) || !f.Has(offBits, cbBits, 1) || cbBmi < 40) return std::nullopt;
    RecordDib d{rec.data.substr(offBmi, cbBmi), rec.data.substr(offBits, cbBits), {}};
    std::optional<DibInfo> info = ReadDibInfo(d.bmi);
    if (!info) return std::nullopt;
    d.info = *info;
    return d;
  }

  // `src` of a record turned to count rows from the top.
  static Rect TopDownSource(const DibInfo& info, const Rect& src) {
    if (!info.bottomUp) return src;
    // Source rows of a bottom-up bitmap count from the bottom.
    const int64_t height = static_cast<int64_t>(src.bottom) - src.top;
    const int64_t top = static_cast<int64_t>(info.height) - src.top - height;
    return SourceRect(src.left, top, static_cast<int64_t>(src.right) - src.left, height);
  }

  // The whole bitmap of a record, within the decoding budget; `src` turned to count rows from
  // the top.
  std::optional<Dib> RecordBitmap(const Record& rec, size_t offBmiAt, size_t offBitsAt, Rect& src) {
    std::optional<RecordDib> d = RecordBitmapData(rec, offBmiAt, offBitsAt);
    if (!d || !Spend(static_cast<int64_t>(d->info.width) * d->info.height)) return std::nullopt;
    std::optional<Dib> dib = DecodeDib(d->bmi, d->bits);
    if (dib) src = TopDownSource(d->info, src);
    return dib;
  }

  // A bit-block record: only the source pixels that can reach the visible part of `dest` are
  // decoded. The part of `src` inside the bitmap is what the device context stretches onto
  // `dest`; where the visible part of `dest` needs less than half of it, only the source
  // columns and rows under the visible part (and one beyond each side) are decoded and drawn
  // onto the part of `dest` they cover, and where that still holds at least four source
  // pixels per visible pixel across (or down), only every k-th column (row) is taken, leaving
  // at least two per pixel.
  bool BitmapRecord(const Record& rec, size_t offBmiAt, size_t offBitsAt, Rect src, const Rect& dest,
                    uint32_t rop) {
    std::optional<RecordDib> d = RecordBitmapData(rec, offBmiAt, offBitsAt);
    if (!d) return false;
    const Rect whole{0, 0, d->info.width, d->info.height};
    src = TopDownSource(d->info, src);
    const Rect s = Intersection(src.Normalized(), whole);
    const Rect visible = Intersection(dest.Normalized(), dc_.VisibleBox());
    Realize();
    if (s.IsEmpty() || visible.IsEmpty()) return true;  // nothing can show
    // The source columns [x0, x1) under the visible columns, and the same for rows.
    auto sourceSpan = [](int v0, int v1, int d0, int dw, int s0, int sw, int& x0, int& x1) {
      const double a = s0 + (static_cast<double>(v0) - d0) * sw / dw;
      const double b = s0 + (static_cast<double>(v1) - d0) * sw / dw;
      x0 = static_cast<int>(std::clamp(std::floor(std::min(a, b)) - 1, static_cast<double>(s0), static_cast<double>(s0 + sw)));
      x1 = static_cast<int>(std::clamp(std::ceil(std::max(a, b)) + 1, static_cast<double>(s0), static_cast<double>(s0 + sw)));
    };
    // `dest` as drawn by the context: the part `s` stretched onto it (mirrored where its width
    // or height is negative).
    Rect part;
    sourceSpan(visible.left, visible.right, dest.left, dest.Width(), s.left, s.Width(), part.left, part.right);
    sourceSpan(visible.top, visible.bottom, dest.top, dest.Height(), s.top, s.Height(), part.top, part.bottom);
    const bool crop = static_cast<int64_t>(part.Width()) * part.Height() * 2 <= static_cast<int64_t>(s.Width()) * s.Height();
    if (!crop) part = s;
    DibPart take{part, std::max(1, part.Width() / (2 * visible.Width())), std::max(1, part.Height() / (2 * visible.Height()))};
    if (take.stepX < 2) take.stepX = 1;
    if (take.stepY < 2) take.stepY = 1;
    if (take.stepX == 1 && take.stepY == 1 && !crop && s == whole) {
      // The whole bitmap reaches the destination: drawn as it stands.
      if (!Spend(static_cast<int64_t>(whole.Width()) * whole.Height())) return false;
      std::optional<Dib> dib = DecodeDib(d->bmi, d->bits);
      if (!dib) return false;
      dc_.StretchDIBits(dest, src, *dib, rop);
      return true;
    }
    const int64_t w = (part.Width() + take.stepX - 1) / take.stepX, h = (part.Height() + take.stepY - 1) / take.stepY;
    if (!Spend(w * h)) return false;
    std::optional<Dib> dib = DecodeDib(d->bmi, d->bits, &take);
    if (!dib) return false;
    // The part of `dest` the decoded pixels cover.
    auto destAt = [](int sx, int s0, int sw, int d0, int dw) {
      return ClampInt(d0 + (static_cast<double>(sx) - s0) * dw / sw);
    };
    const Rect target{destAt(part.left, s.left, s.Width(), dest.left, dest.Width()),
                      destAt(part.top, s.top, s.Height(), dest.top, dest.Height()),
                      destAt(part.right, s.left, s.Width(), dest.left, dest.Width()),
                      destAt(part.bottom, s.top, s.Height(), dest.top, dest.Height())};
    dc_.StretchDIBits(target, Rect{0, 0, dib->width, dib->height}, *dib, rop);
    return true;
  }

  // EMR_ALPHABLEND with a constant alpha (a bitmap with alpha of its own is skipped).
  bool AlphaBlendRecord(const Record& rec) {
    FieldReader f(rec.data);
    const int x = f.I32(24), y = f.I32(28), cx = f.I32(32), cy = f.I32(36);
    const uint8_t operation = f.U8(40), alpha = f.U8(42), format = f.U8(43);
    const int xs = f.I32(44), ys = f.I32(48), cxs = f.I32(100), cys = f.I32(104);
    if (!f.ok || operation != 0 || format != 0 || cx < 0 || cy < 0) return false;
    // The source lies inside its bitmap, which is never larger than kMaxDibPixels.
    auto inBitmap = [](int v) { return v >= 0 && v <= kMaxDibPixels; };
    if (!inBitmap(xs) || !inBitmap(ys) || !inBitmap(cxs) || !inBitmap(cys)) return false;
    Rect src{xs, ys, xs + cxs, ys + cys};
    std::optional<Dib> dib = RecordBitmap(rec, 84, 92, src);
    if (!dib) return false;
    const Point a = P(x, y), b = P(static_cast<double>(x) + cx, static_cast<double>(y) + cy);
    dc_.AlphaBlend(Rect{a.x, a.y, b.x, b.y}.Normalized(), *dib, src, alpha);
    return true;
  }

  // EMR_GRADIENTFILL: the vertices (16 bytes each) and the mesh of rectangles or triangles.
  bool GradientFillRecord(const Record& rec) {
    FieldReader f(rec.data);
    const uint32_t count = f.U32(24), elements = f.U32(28), mode = f.U32(32);
    const size_t per = mode == GRADIENT_FILL_TRIANGLE ? 3 : mode <= GRADIENT_FILL_RECT_V ? 2 : 0;
    if (!f.ok || per == 0 || !f.Has(36, count, 16)) return false;
    const size_t meshAt = 36 + static_cast<size_t>(count) * 16;
    if (!f.Has(meshAt, static_cast<size_t>(elements) * per, 4)) return false;
    std::vector<TriVertex> vertices;
    vertices.reserve(count);
    for (uint32_t k = 0; k < count; ++k) {
      const size_t at = 36 + static_cast<size_t>(k) * 16;
      const Point p = P(f.I32(at), f.I32(at + 4));
      vertices.push_back(TriVertex{p.x, p.y, f.U16(at + 8), f.U16(at + 10), f.U16(at + 12), f.U16(at + 14)});
    }
    std::vector<uint32_t> mesh;
    mesh.reserve(static_cast<size_t>(elements) * per);
    for (size_t k = 0; k < static_cast<size_t>(elements) * per; ++k) mesh.push_back(f.U32(meshAt + 4 * k));
    return dc_.GradientFill(vertices, mesh, mode);
  }

  bool CreateObject(uint32_t ih, PlayerObject obj) {
    if (!ValidHandle(ih)) return false;
    objects_[ih] = std::move(obj);
    return true;
  }

  bool Play(const Record& rec) {
    FieldReader f(rec.data);
    switch (rec.type) {
      case EMR_SETWINDOWEXTEX:
      case EMR_SETVIEWPORTEXTEX: {
        Size s{f.I32(8), f.I32(12)};
        if (!f.ok || s.cx == 0 || s.cy == 0) return false;
        (rec.type == EMR_SETWINDOWEXTEX ? st_.windowExt : st_.viewportExt) = s;
        Recompute();
        return true;
      }
      case EMR_SETWINDOWORGEX:
      case EMR_SETVIEWPORTORGEX: {
        Point p{f.I32(8), f.I32(12)};
        if (!f.ok) return false;
        (rec.type == EMR_SETWINDOWORGEX ? st_.windowOrg : st_.viewportOrg) = p;
        Recompute();
        return true;
      }
      case EMR_SCALEVIEWPORTEXTEX:
      case EMR_SCALEWINDOWEXTEX: {
        int xn = f.I32(8), xd = f.I32(12), yn = f.I32(16), yd = f.I32(20);
        if (!f.ok || xd == 0 || yd == 0) return false;
        Size& s = rec.type == EMR_SCALEWINDOWEXTEX ? st_.windowExt : st_.viewportExt;
        Size n{ClampInt(static_cast<double>(s.cx) * xn / xd), ClampInt(static_cast<double>(s.cy) * yn / yd)};
        if (n.cx == 0 || n.cy == 0) return false;
        s = n;
        Recompute();
        return true;
      }
      case EMR_SETMAPMODE: {
        int m = f.I32(8);
        if (!f.ok || m < MM_TEXT || m > MM_ANISOTROPIC) return false;
        st_.mapMode = m;
        Recompute();
        return true;
      }
      case EMR_SETWORLDTRANSFORM:
      case EMR_MODIFYWORLDTRANSFORM: {
        Xform x{f.F32(8), f.F32(12), f.F32(16), f.F32(20), f.F32(24), f.F32(28)};
        if (!f.ok || !x.Valid()) return false;
        if (rec.type == EMR_SETWORLDTRANSFORM) {
          st_.world = x;
        } else {
          switch (f.U32(32)) {
            case 1: st_.world = Xform{}; break;
            case 2: st_.world = x.Then(st_.world); break;
            case 3: st_.world = st_.world.Then(x); break;
            case 4: st_.world = x; break;
            default: return false;
          }
        }
        Recompute();
        return true;
      }
      case EMR_SETBKMODE: dc_.SetBkMode(f.I32(8)); return f.ok;
      case EMR_SETPOLYFILLMODE: dc_.SetPolyFillMode(f.I32(8)); return f.ok;
      case EMR_SETROP2: dc_.SetROP2(f.I32(8)); return f.ok;
      case EMR_SETSTRETCHBLTMODE: dc_.SetStretchBltMode(f.I32(8)); return f.ok;
      case EMR_SETTEXTALIGN: dc_.SetTextAlign(f.U32(8)); return f.ok;
      case EMR_SETTEXTCOLOR: dc_.SetTextColor(f.U32(8)); return f.ok;
      case EMR_SETBKCOLOR: dc_.SetBkColor(f.U32(8)); return f.ok;
      case EMR_SETARCDIRECTION: dc_.SetArcDirection(f.I32(8)); return f.ok;
      case EMR_SETBRUSHORGEX: {
        Point p = P(f.I32(8), f.I32(12));
        dc_.SetBrushOrg(p.x, p.y);
        return f.ok;
      }
      case EMR_MOVETOEX: {
        Point p = P(f.I32(8), f.I32(12));
        if (!f.ok) return false;
        pos_ = p;
        dc_.MoveTo(p.x, p.y);
        return true;
      }
      case EMR_LINETO: {
        Point p = P(f.I32(8), f.I32(12));
        if (!f.ok) return false;
        Realize();
        SyncPos();
        dc_.LineTo(p.x, p.y);
        pos_ = p;
        return true;
      }
      case EMR_SAVEDC:
        dc_.SaveDC();
        stack_.push_back(SavedPlayer{st_, pos_});
        return true;
      case EMR_RESTOREDC: {
        int n = f.I32(8);
        if (!f.ok) return false;
        const int64_t count = static_cast<int64_t>(stack_.size());
        const int64_t k = n < 0 ? -static_cast<int64_t>(n) : count - n + 1;
        if (k < 1 || k > count) return false;
        dc_.RestoreDC(-static_cast<int>(k));
        SavedPlayer s = stack_[static_cast<size_t>(count - k)];
        stack_.resize(static_cast<size_t>(count - k));
        st_ = s.st;
        pos_ = s.pos;
        Recompute();
        return true;
      }
      case EMR_CREATEPEN: {
        PlayerObject o;
        o.kind = PlayerObject::kPen;
        o.pen.style = f.U32(12);
        o.pen.width = f.I32(16);
        o.pen.color = f.U32(24) & 0xFFFFFF;
        if (!f.ok) return false;
        return CreateObject(f.U32(8), o);
      }
      case EMR_EXTCREATEPEN: {
        PlayerObject o;
        o.kind = PlayerObject::kPen;
        o.pen.style = f.U32(28);
        o.pen.width = f.I32(32);
        uint32_t brushStyle = f.U32(36);
        o.pen.color = f.U32(40) & 0xFFFFFF;
        uint32_t entries = f.U32(48);
        if (!f.ok) return false;
        if (brushStyle == BS_NULL) o.pen.style = (o.pen.style & ~PS_STYLE_MASK) | PS_NULL;
        if (o.pen.Kind() == PS_USERSTYLE) {
          if (entries > 16 || !f.Has(52, entries, 4)) return false;
          for (uint32_t k = 0; k < entries; ++k) o.pen.userStyle.push_back(f.U32(52 + 4 * k));
        }
        return CreateObject(f.U32(8), o);
      }
      case EMR_CREATEBRUSHINDIRECT: {
        PlayerObject o;
        o.kind = PlayerObject::kBrush;
        o.brush.style = f.U32(12);
        o.brush.color = f.U32(16) & 0xFFFFFF;
        o.brush.hatch = f.U32(20);
        if (!f.ok) return false;
        if (o.brush.style != BS_SOLID && o.brush.style != BS_NULL && o.brush.style != BS_HATCHED) {
          o.brush.style = BS_SOLID;
        }
        if (o.brush.style == BS_HATCHED && o.brush.hatch > HS_DIAGCROSS) o.brush.style = BS_SOLID;
        return CreateObject(f.U32(8), o);
      }
      case EMR_CREATEDIBPATTERNBRUSHPT:
      case EMR_CREATEMONOBRUSH: {
        uint32_t offBmi = f.U32(16), cbBmi = f.U32(20), offBits = f.U32(24), cbBits = f.U32(28);
        if (!f.ok || !f.Has(offBmi, cbBmi, 1) || !f.Has(offBits, cbBits, 1)) return false;
        // A pattern is kept whole while its brush lives: the bitmap's declared size counts.
        if (std::optional<DibInfo> info = ReadDibInfo(rec.data.substr(offBmi, cbBmi));
            info && !Spend(static_cast<int64_t>(info->width) * info->height)) {
          return false;
        }
        std::optional<Dib> dib = DecodeDib(rec.data.substr(offBmi, cbBmi), rec.data.substr(offBits, cbBits));
        PlayerObject o;
        o.kind = PlayerObject::kBrush;
        if (dib) {
          o.brush.style = BS_DIBPATTERNPT;
          o.brush.pattern = std::make_shared<Dib>(std::move(*dib));
        } else {
          o.brush.style = BS_SOLID;
          o.brush.color = RgbColor(128, 128, 128);
        }
        return CreateObject(f.U32(8), o);
      }
      case EMR_EXTCREATEFONTINDIRECTW: {
        if (!f.Has(12, 92, 1)) return false;
        PlayerObject o;
        o.kind = PlayerObject::kFont;
        LogFont& lf = o.font;
        lf.height = f.I32(12);
        lf.width = f.I32(16);
        lf.escapement = f.I32(20);
        lf.orientation = f.I32(24);
        lf.weight = f.I32(28);
        lf.italic = f.U8(32);
        lf.underline = f.U8(33);
        lf.strikeOut = f.U8(34);
        lf.charSet = f.U8(35);
        lf.outPrecision = f.U8(36);
        lf.clipPrecision = f.U8(37);
        lf.quality = f.U8(38);
        lf.pitchAndFamily = f.U8(39);
        std::u16string face;
        for (int k = 0; k < 32; ++k) {
          char16_t c = f.U16(40 + 2 * k);
          if (c == 0) break;
          face.push_back(c);
        }
        std::optional<std::string> cp = Utf8ToCp932(Utf16ToUtf8(face));
        lf.faceName = cp ? *cp : std::string();
        if (!f.ok) return false;
        return CreateObject(f.U32(8), o);
      }
      case EMR_CREATEPALETTE: {
        PlayerObject o;
        o.kind = PlayerObject::kOther;
        return CreateObject(f.U32(8), o);
      }
      case EMR_SELECTOBJECT: {
        uint32_t ih = f.U32(8);
        return f.ok && SelectObject(ih);
      }
      case EMR_DELETEOBJECT: {
        uint32_t ih = f.U32(8);
        if (!f.ok || !ValidHandle(ih)) return false;
        objects_[ih] = PlayerObject{};
        return true;
      }
      case EMR_SELECTPALETTE:
      case EMR_GDICOMMENT:
      case EMR_SETICMMODE:
      case EMR_SETMITERLIMIT:
      case EMR_SETMAPPERFLAGS:
        return true;
      case EMR_RECTANGLE:
      case EMR_ELLIPSE: {
        Rect box = R(f.RectAt(8));
        if (!f.ok) return false;
        Realize();
        if (rec.type == EMR_RECTANGLE) {
          dc_.Rectangle(box.left, box.top, box.right, box.bottom);
        } else {
          dc_.Ellipse(box.left, box.top, box.right, box.bottom);
        }
        return true;
      }
      case EMR_ROUNDRECT: {
        Rect box = R(f.RectAt(8));
        int cw = ClampInt(f.I32(24) * scaleX_), ch = ClampInt(f.I32(28) * scaleY_);
        if (!f.ok) return false;
        Realize();
        dc_.RoundRect(box.left, box.top, box.right, box.bottom, cw, ch);
        return true;
      }
      case EMR_ARC:
      case EMR_ARCTO:
      case EMR_PIE:
      case EMR_CHORD: {
        Rect box = R(f.RectAt(8));
        Point s = P(f.I32(24), f.I32(28)), e = P(f.I32(32), f.I32(36));
        if (!f.ok) return false;
        Realize();
        if (rec.type == EMR_ARCTO) {
          SyncPos();
          dc_.ArcTo(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
          pos_ = dc_.State().pos;
          return true;
        }
        if (rec.type == EMR_ARC) dc_.Arc(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
        if (rec.type == EMR_PIE) dc_.Pie(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
        if (rec.type == EMR_CHORD) dc_.Chord(box.left, box.top, box.right, box.bottom, s.x, s.y, e.x, e.y);
        return true;
      }
      case EMR_POLYLINE16: case EMR_POLYGON16: case EMR_POLYLINETO16: case EMR_POLYBEZIER16:
      case EMR_POLYBEZIERTO16:
        return PolyRecord(rec, true);
      case EMR_POLYLINE: case EMR_POLYGON: case EMR_POLYLINETO: case EMR_POLYBEZIER: case EMR_POLYBEZIERTO:
        return PolyRecord(rec, false);
      case EMR_POLYPOLYLINE16: return PolyPolyRecord(rec, true, false);
      case EMR_POLYPOLYGON16: return PolyPolyRecord(rec, true, true);
      case EMR_POLYPOLYLINE: return PolyPolyRecord(rec, false, false);
      case EMR_POLYPOLYGON: return PolyPolyRecord(rec, false, true);
      case EMR_EXTTEXTOUTW: return TextRecord(rec, true);
      case EMR_EXTTEXTOUTA: return TextRecord(rec, false);
      case EMR_SETPIXELV: {
        Point p = P(f.I32(8), f.I32(12));
        uint32_t c = f.U32(16);
        if (!f.ok) return false;
        dc_.SetPixel(p.x, p.y, c & 0xFFFFFF);
        return true;
      }
      case EMR_BITBLT:
      case EMR_STRETCHBLT: {
        int x = f.I32(24), y = f.I32(28), cx = f.I32(32), cy = f.I32(36);
        uint32_t rop = f.U32(40);
        uint32_t cbBmi = f.U32(84);
        if (!f.ok) return false;
        Point a = P(x, y), b = P(static_cast<double>(x) + cx, static_cast<double>(y) + cy);
        Rect dest{a.x, a.y, b.x, b.y};
        if (cbBmi == 0) {
          Realize();
          dc_.PatBlt(dest, rop);
          return true;
        }
        int xs = f.I32(44), ys = f.I32(48);
        int cxs = cx, cys = cy;
        if (rec.type == EMR_STRETCHBLT) {
          cxs = f.I32(100);
          cys = f.I32(104);
          if (!f.ok) return false;
        }
        return BitmapRecord(rec, 80, 88, SourceRect(xs, ys, cxs, cys), dest, rop);
      }
      case EMR_STRETCHDIBITS: {
        int x = f.I32(24), y = f.I32(28), xs = f.I32(32), ys = f.I32(36), cxs = f.I32(40), cys = f.I32(44);
        uint32_t rop = f.U32(68);
        int cx = f.I32(72), cy = f.I32(76);
        if (!f.ok) return false;
        Point a = P(x, y), b = P(static_cast<double>(x) + cx, static_cast<double>(y) + cy);
        return BitmapRecord(rec, 48, 56, SourceRect(xs, ys, cxs, cys), Rect{a.x, a.y, b.x, b.y}, rop);
      }
      case EMR_ALPHABLEND: return AlphaBlendRecord(rec);
      case EMR_GRADIENTFILL: return GradientFillRecord(rec);
      case EMR_INTERSECTCLIPRECT:
      case EMR_EXCLUDECLIPRECT: {
        Rect r = R(f.RectAt(8)).Normalized();
        if (!f.ok) return false;
        if (rec.type == EMR_INTERSECTCLIPRECT) {
          dc_.IntersectClipRect(r);
        } else {
          dc_.ExcludeClipRect(r);
        }
        return true;
      }
      case EMR_EXTSELECTCLIPRGN: {
        uint32_t cb = f.U32(8);
        int mode = f.I32(12);
        if (!f.ok || mode < RGN_AND || mode > RGN_COPY) return false;
        if (cb == 0) {
          if (mode != RGN_COPY) return false;
          ApplyClip(nullptr, RGN_COPY);
          return true;
        }
        if (!f.Has(16, cb, 1) || cb < 32) return false;
        uint32_t count = f.U32(24);
        if (!f.Has(48, count, 16) || 32 + static_cast<uint64_t>(count) * 16 > cb) return false;
        std::vector<Rect> rects;
        rects.reserve(count);
        for (uint32_t k = 0; k < count; ++k) rects.push_back(DeviceR(f.RectAt(48 + 16 * k)));
        Region r = Region::FromRects(rects);
        ApplyClip(&r, mode);
        return true;
      }
      case EMR_BEGINPATH: dc_.BeginPath(); return true;
      case EMR_ENDPATH: dc_.EndPath(); return true;
      case EMR_ABORTPATH: dc_.AbortPath(); return true;
      case EMR_CLOSEFIGURE: dc_.CloseFigure(); return true;
      case EMR_FLATTENPATH:
        return true;
      case EMR_WIDENPATH: Realize(); dc_.WidenPath(); return true;
      case EMR_FILLPATH: Realize(); dc_.FillPath(); return true;
      case EMR_STROKEPATH: Realize(); dc_.StrokePath(); return true;
      case EMR_STROKEANDFILLPATH: Realize(); dc_.StrokeAndFillPath(); return true;
      case EMR_SELECTCLIPPATH: {
        int mode = f.I32(8);
        if (!f.ok || mode < RGN_AND || mode > RGN_COPY) return false;
        dc_.SelectClipPath(mode);
        if (hasBaseClip_) dc_.SelectClipRegion(&baseClip_, RGN_AND);  // never beyond the caller's clip
        return true;
      }
      default:
        return false;
    }
  }

  struct SavedPlayer {
    MapState st;
    Point pos;
  };

  DeviceContext& dc_;
  Header header_;
  std::vector<PlayerObject> objects_;
  MapState st_;
  std::vector<SavedPlayer> stack_;
  Xform place_, toDevice_;
  double scaleX_ = 1, scaleY_ = 1;
  double pxPerMmX_ = 1, pxPerMmY_ = 1;
  bool realized_ = false;
  Point pos_;
  Region baseClip_;
  bool hasBaseClip_ = false;
  int64_t decoded_ = 0;  // bitmap pixels decoded so far
  bool overBudget_ = false;
};

}  // namespace

EmfPlayResult PlayEnhMetafile(DeviceContext& dc, std::string_view bytes, const Rect& dest) {
  EmfPlayResult result;
  std::optional<Header> h = ReadHeader(bytes, &result.error);
  if (!h) return result;
  Player player(dc, *h, dest);
  return player.Run(bytes);
}

}  // namespace platform
