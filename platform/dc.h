// The device context: one GDI-like drawing interface for every surface the program draws on
// (screen bitmaps, printer pages, enhanced metafiles, test traces). Values, constants and
// rules are those of the Windows graphics interface the program was written against:
//   - colours are COLORREF values 0x00BBGGRR;
//   - right and bottom edges of rectangles are exclusive, a line leaves out its last pixel;
//   - text is placed by the top-left of its cell unless the alignment says otherwise;
//   - escapement is in tenths of a degree, anticlockwise.
// Objects (pens, brushes, fonts) are logical descriptions selected by value; a back end
// creates whatever it needs from them. The base class keeps the whole drawing state, the
// save/restore stack and the clip region; back ends implement the drawing operations and may
// override the setters to react (the metafile recorder writes a record for each change).
// Text is UTF-16 at this interface (one code unit per character: every CP932 character is in
// the basic plane); the *A helpers take CP932 bytes.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui.h"  // Point

namespace platform {

using ColorRef = uint32_t;

constexpr ColorRef RgbColor(int r, int g, int b) {
  return static_cast<ColorRef>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int RedOf(ColorRef c) { return static_cast<int>(c & 0xFF); }
constexpr int GreenOf(ColorRef c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int BlueOf(ColorRef c) { return static_cast<int>((c >> 16) & 0xFF); }

// Colour values as the program stores them: a COLORREF, or a reference to a system colour
// index (0xFF000000 | index), which ColorToRgb resolves.
constexpr uint32_t kSystemColorFlag = 0xFF000000u;
constexpr uint32_t SystemColor(int index) { return kSystemColorFlag | static_cast<uint32_t>(index & 0xFF); }
constexpr int COLOR_BACKGROUND = 1, COLOR_WINDOW = 5, COLOR_WINDOWTEXT = 8, COLOR_BTNFACE = 15,
              COLOR_BTNSHADOW = 16, COLOR_GRAYTEXT = 17, COLOR_BTNTEXT = 18, COLOR_BTNHIGHLIGHT = 20;
// The system colours of this platform (a fixed light scheme; index outside 0..30 gives black).
ColorRef SystemColorRgb(int index);
// A program colour value as COLORREF: system colours resolved, the top byte cleared otherwise.
ColorRef ColorToRgb(uint32_t color);

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  bool IsEmpty() const { return right <= left || bottom <= top; }
  Rect Normalized() const;
  bool operator==(const Rect&) const = default;
};
struct Size {
  int cx = 0, cy = 0;
  bool operator==(const Size&) const = default;
};

// ---- Pens -------------------------------------------------------------------------------
constexpr uint32_t PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_DASHDOTDOT = 4, PS_NULL = 5,
                   PS_INSIDEFRAME = 6, PS_USERSTYLE = 7, PS_ALTERNATE = 8, PS_STYLE_MASK = 0xF;
constexpr uint32_t PS_ENDCAP_ROUND = 0, PS_ENDCAP_SQUARE = 0x100, PS_ENDCAP_FLAT = 0x200, PS_ENDCAP_MASK = 0xF00;
constexpr uint32_t PS_JOIN_ROUND = 0, PS_JOIN_BEVEL = 0x1000, PS_JOIN_MITER = 0x2000, PS_JOIN_MASK = 0xF000;
constexpr uint32_t PS_COSMETIC = 0, PS_GEOMETRIC = 0x10000, PS_TYPE_MASK = 0xF0000;

struct LogPen {
  uint32_t style = PS_SOLID;  // style | end cap | join | type
  int width = 0;              // device units; 0 and 1 draw one pixel
  ColorRef color = 0;
  std::vector<uint32_t> userStyle;  // PS_USERSTYLE dash/gap lengths
  bool operator==(const LogPen&) const = default;
  uint32_t Kind() const { return style & PS_STYLE_MASK; }
  // Drawn as a one-pixel line with the Windows pixel rules (a width of 0 or 1).
  bool IsThin() const { return width <= 1; }
  // Dashes survive only on thin pens and on geometric pens; a wide pen made like CreatePen
  // draws solid.
  bool KeepsDashes() const { return IsThin() || (style & PS_TYPE_MASK) == PS_GEOMETRIC; }
};

// ---- Bitmaps ----------------------------------------------------------------------------
// A device-independent bitmap. Pixel order, the one for every Dib in the program: rows from the
// top, each row from the left; each pixel one 32-bit value 0x00RRGGBB (blue in the low byte, as
// a 32-bit Windows DIB and Qt's RGB32 hold it; the top byte is 0). This is not the COLORREF
// order (red in the low byte): Pixel and SetPixel convert, At and `pixels` give the stored value.
struct Dib {
  int width = 0, height = 0;
  std::vector<uint32_t> pixels;

  // A width x height bitmap of one colour; empty when a side is not positive or the size is
  // above kMaxDibPixels.
  static Dib Filled(int width, int height, ColorRef color);
  bool Empty() const { return width <= 0 || height <= 0; }
  bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  // `r` normalised and cut to the bitmap.
  Rect Part(const Rect& r) const;
  // The pixels of Part(r) as a bitmap of their own.
  Dib Copy(const Rect& r) const;
  uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
  ColorRef Pixel(int x, int y) const { return DibValueToColor(At(x, y)); }
  void SetPixel(int x, int y, ColorRef c) { pixels[static_cast<size_t>(y) * width + x] = ColorToDibValue(c); }
  bool operator==(const Dib&) const = default;

  static constexpr uint32_t ColorToDibValue(ColorRef c) {
    return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
  }
  static constexpr ColorRef DibValueToColor(uint32_t v) {
    return ((v >> 16) & 0xFF) | (v & 0xFF00) | ((v & 0xFF) << 16);
  }
};
// The largest bitmap any reader of the program builds (BMP and JPEG files, bitmaps inside
// metafiles): 2^26 pixels, 256 MiB. A file that declares more is refused before anything is
// allocated for it.
constexpr int64_t kMaxDibPixels = int64_t{1} << 26;

// ---- Brushes ----------------------------------------------------------------------------
constexpr uint32_t BS_SOLID = 0, BS_NULL = 1, BS_HATCHED = 2, BS_PATTERN = 3, BS_DIBPATTERN = 5,
                   BS_DIBPATTERNPT = 6;
constexpr uint32_t HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
                   HS_DIAGCROSS = 5;

struct LogBrush {
  uint32_t style = BS_SOLID;
  ColorRef color = 0xFFFFFF;
  uint32_t hatch = 0;
  std::shared_ptr<const Dib> pattern;  // BS_PATTERN / BS_DIBPATTERN*
  bool operator==(const LogBrush& o) const {
    return style == o.style && color == o.color && hatch == o.hatch &&
           (pattern == o.pattern || (pattern && o.pattern && *pattern == *o.pattern));
  }
};
// The 8x8 hatch pattern: bit x of row y set where the hatch line is (HS_* index 0..5).
bool HatchBit(uint32_t hatch, int x, int y);

// ---- Fonts ------------------------------------------------------------------------------
constexpr int FW_NORMAL = 400, FW_BOLD = 700;
constexpr uint8_t ANSI_CHARSET = 0, DEFAULT_CHARSET = 1, SHIFTJIS_CHARSET = 128;

// An angle in tenths of a degree reduced to one turn (-3599 to 3599), so that any value can be
// negated.
constexpr int ReducedAngle(int tenths) { return tenths % 3600; }

struct LogFont {
  int height = 0;       // < 0: character (em) height; > 0: cell height; 0: default
  int width = 0;        // average character width; 0: natural
  int escapement = 0;   // tenths of a degree, anticlockwise
  int orientation = 0;
  int weight = FW_NORMAL;
  uint8_t italic = 0, underline = 0, strikeOut = 0, charSet = DEFAULT_CHARSET;
  uint8_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
  std::string faceName;  // CP932, at most 31 bytes
  bool operator==(const LogFont&) const = default;
};

struct TextMetrics {
  int height = 0, ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
  int aveCharWidth = 0, maxCharWidth = 0, weight = FW_NORMAL, overhang = 0;
  int digitizedAspectX = 96, digitizedAspectY = 96;
  uint8_t italic = 0, underlined = 0, struckOut = 0, pitchAndFamily = 0, charSet = DEFAULT_CHARSET;
};

// Measures text for a logical font. Every back end measures through the installed engine so
// that a metafile's recorded character widths equal what the screen draws. The program
// installs the Qt engine (qt/dc_qt.h); without one a simple built-in estimate answers
// (half the em per half-width character, the em per full-width one).
// The largest character height and width a font engine makes (pixels); larger logical sizes
// are held to it.
constexpr int kMaxFontSize = 10000;

class FontEngine {
 public:
  virtual ~FontEngine() = default;
  virtual TextMetrics Metrics(const LogFont& font) = 0;
  // The advance of each character (UTF-16 code unit) in device units.
  virtual std::vector<int> Advances(const LogFont& font, std::u16string_view text) = 0;
};
FontEngine& CurrentFontEngine();
FontEngine* InstallFontEngine(FontEngine* engine);  // nullptr: the built-in estimate

// The face that draws a Windows face name (UTF-8 in, UTF-8 out): the Japanese system faces
// become the IPA faces, "Arial" Liberation Sans; other names are kept.
std::string SubstituteFace(const std::string& faceUtf8);

// The smallest and largest coordinates of the points, inclusive (empty for no points).
Rect BoundingBox(std::span<const Point> points);
// The common part of two rectangles given left to right and top to bottom (empty when none).
Rect Intersection(const Rect& a, const Rect& b);

// ---- Regions ----------------------------------------------------------------------------
constexpr int RGN_AND = 1, RGN_OR = 2, RGN_XOR = 3, RGN_DIFF = 4, RGN_COPY = 5;
constexpr int ALTERNATE = 1, WINDING = 2;
// The plane a clip region spans: without a clip region, the whole surface is this box.
constexpr Rect kWholePlane{-(1 << 28), -(1 << 28), 1 << 28, 1 << 28};

// The work regions did in this thread so far: rectangles looked at while building and
// combining regions, and regions copied. Read by tests that check how work grows with the
// number of rectangles.
struct RegionWork {
  uint64_t rectsWalked = 0;
  uint64_t copies = 0;
};
RegionWork& RegionWorkDone();

// A set of pixels held as Windows does: non-overlapping rectangles in y-x bands.
class Region {
 public:
  Region() = default;
  Region(const Region& o) : rects_(o.rects_) { ++RegionWorkDone().copies; }
  Region(Region&&) = default;
  Region& operator=(const Region& o) {
    rects_ = o.rects_;
    ++RegionWorkDone().copies;
    return *this;
  }
  Region& operator=(Region&&) = default;
  explicit Region(const Rect& r);
  static Region FromRects(const std::vector<Rect>& rects);  // union of arbitrary rectangles
  // The shapes below take an optional `within` that limits the pixels looked at, so that a
  // shape reaching far beyond a surface costs no more than the part that can be seen.
  static Region Ellipse(const Rect& box, const Rect* within = nullptr);
  static Region RoundRect(const Rect& box, int cornerW, int cornerH, const Rect* within = nullptr);
  // The inside of the polygon.
  static Region Polygon(const std::vector<Point>& points, int fillMode = ALTERNATE, const Rect* within = nullptr);
  // A convex shape given row by row from `top`: one span [first, second) per row (none where
  // first >= second).
  static Region FromRowSpans(int top, const std::vector<std::pair<int, int>>& spans);
  static Region Combine(const Region& a, const Region& b, int mode);

  const std::vector<Rect>& Rects() const { return rects_; }
  bool IsEmpty() const { return rects_.empty(); }
  Rect Bounds() const;
  bool Contains(int x, int y) const;
  void Offset(int dx, int dy);
  bool operator==(const Region&) const = default;

 private:
  std::vector<Rect> rects_;
};

// ---- Other constants --------------------------------------------------------------------
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// Arc direction of Arc, ArcTo, Pie and Chord.
constexpr int AD_COUNTERCLOCKWISE = 1, AD_CLOCKWISE = 2;
constexpr uint32_t TA_NOUPDATECP = 0, TA_UPDATECP = 1, TA_LEFT = 0, TA_RIGHT = 2, TA_CENTER = 6, TA_TOP = 0,
                   TA_BOTTOM = 8, TA_BASELINE = 24, TA_RTLREADING = 256;
constexpr uint32_t ETO_OPAQUE = 2, ETO_CLIPPED = 4;
constexpr int R2_BLACK = 1, R2_NOTMERGEPEN = 2, R2_MASKNOTPEN = 3, R2_NOTCOPYPEN = 4, R2_MASKPENNOT = 5,
              R2_NOT = 6, R2_XORPEN = 7, R2_NOTMASKPEN = 8, R2_MASKPEN = 9, R2_NOTXORPEN = 10, R2_NOP = 11,
              R2_MERGENOTPEN = 12, R2_COPYPEN = 13, R2_MERGEPENNOT = 14, R2_MERGEPEN = 15, R2_WHITE = 16;
constexpr uint32_t SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6, SRCINVERT = 0x00660046,
                   PATCOPY = 0x00F00021, PATINVERT = 0x005A0049, DSTINVERT = 0x00550009,
                   BLACKNESS = 0x00000042, WHITENESS = 0x00FF0062;
constexpr int BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4;
constexpr ColorRef CLR_INVALID = 0xFFFFFFFF;

// GradientFill: the corners with their colours (16 bits per channel; the high byte counts) and
// what the mesh of vertex indexes describes: rectangles (two corners each; colour across the
// width or down the height) or triangles (three corners each).
struct TriVertex {
  int x = 0, y = 0;
  uint16_t red = 0, green = 0, blue = 0, alpha = 0;
  static TriVertex At(int x, int y, ColorRef c) {
    return TriVertex{x, y, static_cast<uint16_t>(RedOf(c) << 8), static_cast<uint16_t>(GreenOf(c) << 8),
                     static_cast<uint16_t>(BlueOf(c) << 8), 0};
  }
  bool operator==(const TriVertex&) const = default;
};
constexpr uint32_t GRADIENT_FILL_RECT_H = 0, GRADIENT_FILL_RECT_V = 1, GRADIENT_FILL_TRIANGLE = 2;

// DrawFrameControl: the button kinds and states it draws.
constexpr uint32_t DFC_BUTTON = 4;
constexpr uint32_t DFCS_BUTTONCHECK = 0x0000, DFCS_BUTTONRADIO = 0x0004, DFCS_INACTIVE = 0x0100,
                   DFCS_PUSHED = 0x0200, DFCS_CHECKED = 0x0400;

// What a back end does itself (DeviceContext::Native). GradientFill, AlphaBlend and
// FrameControl have defaults in the base class made of other operations; a back end without
// ReadPixels answers no pixels (GetPixel, GetBits) and cannot blend by the default; one without
// RasterOps does not carry out raster operations that combine with what is already drawn.
enum class DcFeature { GradientFill, AlphaBlend, FrameControl, ReadPixels, RasterOps };

// GetDeviceCaps indexes and technologies.
constexpr int TECHNOLOGY = 2, HORZSIZE = 4, VERTSIZE = 6, HORZRES = 8, VERTRES = 10, BITSPIXEL = 12,
              PLANES = 14, NUMCOLORS = 24, RASTERCAPS = 38, ASPECTX = 40, ASPECTY = 42, ASPECTXY = 44,
              LOGPIXELSX = 88, LOGPIXELSY = 90, PHYSICALWIDTH = 110, PHYSICALHEIGHT = 111,
              PHYSICALOFFSETX = 112, PHYSICALOFFSETY = 113, SCALINGFACTORX = 114, SCALINGFACTORY = 115;
constexpr int DT_RASDISPLAY = 1, DT_RASPRINTER = 2, DT_METAFILE = 5;

// The screen every metafile refers to: 96 pixels per inch on a 1920 x 1440 pixel device of
// 508 x 381 mm (sizes chosen so that both axes give exactly 96 dpi).
constexpr int kReferenceDpi = 96;
constexpr int kReferenceWidthPx = 1920, kReferenceHeightPx = 1440;
constexpr int kReferenceWidthMm = 508, kReferenceHeightMm = 381;

struct DeviceCaps {
  int technology = DT_RASDISPLAY;
  int horzRes = 0, vertRes = 0;          // drawable area in pixels
  int horzSizeMm = 0, vertSizeMm = 0;    // drawable area in mm
  int logPixelsX = kReferenceDpi, logPixelsY = kReferenceDpi;
  int physicalWidth = 0, physicalHeight = 0, offsetX = 0, offsetY = 0;  // printers
  int bitsPixel = 32;
  int Get(int index) const;
  // A raster display of the given size at the reference resolution.
  static DeviceCaps Screen(int width, int height);
};

// ---- The drawing state ------------------------------------------------------------------
struct DcState {
  LogPen pen;                 // a black one-pixel pen
  LogBrush brush;             // a white solid brush
  LogFont font;               // the default font
  ColorRef textColor = 0;
  ColorRef bkColor = 0xFFFFFF;
  int bkMode = OPAQUE;
  uint32_t textAlign = TA_LEFT | TA_TOP;
  int rop2 = R2_COPYPEN;
  int polyFillMode = ALTERNATE;
  int stretchMode = BLACKONWHITE;
  int charExtra = 0;
  int arcDirection = AD_COUNTERCLOCKWISE;
  Point brushOrg;
  Point pos;                  // current position (MoveTo)
  // None: the whole surface. Shared by the saved states and never changed in place (a new
  // clip is a new region), so that saving the state copies no rectangles.
  std::shared_ptr<const Region> clip;
};
// Whether two clips hold the same pixels (both none, or equal regions).
bool SameClip(const std::shared_ptr<const Region>& a, const std::shared_ptr<const Region>& b);

class DeviceContext {
 public:
  explicit DeviceContext(const DeviceCaps& caps);
  virtual ~DeviceContext();
  DeviceContext(const DeviceContext&) = delete;
  DeviceContext& operator=(const DeviceContext&) = delete;

  const DcState& State() const { return state_; }
  const DeviceCaps& Caps() const { return caps_; }
  int GetDeviceCaps(int index) const { return caps_.Get(index); }

  // Attributes. Back ends that override must call the base.
  virtual void SelectPen(const LogPen& pen);
  virtual void SelectBrush(const LogBrush& brush);
  virtual void SelectFont(const LogFont& font);
  virtual void SetTextColor(ColorRef color);
  virtual void SetBkColor(ColorRef color);
  virtual void SetBkMode(int mode);
  virtual void SetTextAlign(uint32_t align);
  virtual void SetROP2(int rop2);
  virtual void SetPolyFillMode(int mode);
  virtual void SetStretchBltMode(int mode);
  virtual void SetTextCharacterExtra(int extra);
  virtual void SetBrushOrg(int x, int y);
  // AD_COUNTERCLOCKWISE or AD_CLOCKWISE; other values are ignored.
  virtual void SetArcDirection(int direction);
  virtual void MoveTo(int x, int y);

  // Clipping, in device units. SelectClipRegion combines `region` with the current clip by
  // `mode` (RGN_COPY with nullptr removes the clip).
  virtual void SelectClipRegion(const Region* region, int mode = RGN_COPY);
  virtual void IntersectClipRect(const Rect& r);
  virtual void ExcludeClipRect(const Rect& r);
  // False when there is no clip region.
  bool GetClipRegion(Region& out) const;
  // The drawing surface in device units: a raster target's or a page's area, a metafile's
  // picture; empty when its size is unknown.
  virtual Rect SurfaceBox() const;
  // The part of the device where drawing can show: the surface within the bounds of the clip
  // region (without a known surface, the clip's bounds or the whole plane a clip region
  // spans); empty when nothing can show. A clip region combined with RGN_AND needs no pixels
  // beyond it.
  Rect VisibleBox() const;

  // Save/restore of the whole state; RestoreDC(-1) restores the last save, a positive level
  // that save (and drops the later ones). False when there is no such level.
  virtual int SaveDC();
  virtual bool RestoreDC(int level);

  // Drawing.
  virtual void LineTo(int x, int y) = 0;
  virtual void Polyline(const std::vector<Point>& points) = 0;
  virtual void Polygon(const std::vector<Point>& points) = 0;
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  virtual void RoundRect(int left, int top, int right, int bottom, int cornerW, int cornerH) = 0;
  virtual void Ellipse(int left, int top, int right, int bottom) = 0;
  // Arc, Pie, Chord: the ellipse in the box from the radial through (xs, ys) to the radial
  // through (xe, ye), anticlockwise (or clockwise under AD_CLOCKWISE); equal radials give the
  // whole ellipse.
  virtual void Arc(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) = 0;
  virtual void Pie(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) = 0;
  virtual void Chord(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) = 0;
  // `dx` (optional) holds one advance per character. ETO_OPAQUE fills `rect` with the
  // background colour, ETO_CLIPPED clips the text to it.
  virtual void ExtTextOut(int x, int y, uint32_t options, const Rect* rect, std::u16string_view text,
                          const std::vector<int>* dx = nullptr) = 0;
  // PatBlt and StretchDIBits are false (and draw nothing) where the raster operation cannot be
  // carried out (one that combines with what is drawn, on a surface without RasterOps).
  virtual bool PatBlt(const Rect& r, uint32_t rop) = 0;
  virtual bool StretchDIBits(const Rect& dest, const Rect& src, const Dib& dib, uint32_t rop = SRCCOPY) = 0;
  virtual void SetPixel(int x, int y, ColorRef color) = 0;
  // CLR_INVALID where the surface cannot be read.
  virtual ColorRef GetPixel(int x, int y) const;
  // A line from the current position to the arc's start, then the arc (as Arc); the current
  // position moves to the arc's end.
  virtual void ArcTo(int left, int top, int right, int bottom, int xs, int ys, int xe, int ye) = 0;

  // Paths. Between BeginPath and EndPath the lines, shapes and texts build the path instead
  // of drawing. StrokePath, FillPath and StrokeAndFillPath draw it with the pen and brush,
  // SelectClipPath combines its inside with the clip region by `mode`; each uses up the path.
  virtual void BeginPath() { pathState_ = kPathOpen; }
  virtual void EndPath() {
    if (pathState_ == kPathOpen) pathState_ = kPathEnded;
  }
  virtual void AbortPath() { pathState_ = kNoPath; }
  virtual void CloseFigure() = 0;
  // Replaces the (ended) path by the outline of what stroking it with the selected pen paints.
  virtual void WidenPath() = 0;
  virtual void StrokePath() = 0;
  virtual void FillPath() = 0;
  virtual void StrokeAndFillPath() = 0;
  virtual void SelectClipPath(int mode) = 0;
  bool PathOpen() const { return pathState_ == kPathOpen; }

  // The pixels of `r` of a raster surface; false where the surface cannot be read.
  virtual bool GetBits(const Rect& r, Dib& out) const;
  // Copies the pixels at (sx, sy) of `source` into `dest` of this context; false (nothing drawn)
  // when the source cannot be read or the raster operation cannot be carried out. Pixels beyond
  // the source's surface copy as white. The default reads the source with GetBits and draws the
  // bits with StretchDIBits; a back end may copy between its own surfaces directly.
  virtual bool BitBlt(const Rect& dest, const DeviceContext& source, int sx, int sy, uint32_t rop = SRCCOPY);

  // Whether this back end does `feature` itself (see DcFeature).
  virtual bool Native(DcFeature feature) const;
  // Fills rectangles or triangles (`mesh`: vertex indexes, two or three per element) with
  // colours interpolated between their corners, per channel, at the pixel centres; a
  // rectangle's colour runs from its first corner's side. False (nothing drawn) for an unknown
  // mode or an index without a vertex. The default draws each element as a bitmap of its
  // visible part (StretchDIBits), a triangle through a clip region of its pixels.
  virtual bool GradientFill(const std::vector<TriVertex>& vertices, const std::vector<uint32_t>& mesh,
                            uint32_t mode);
  // Draws the part `src` of `bitmap` stretched into `dest` over what is there, each channel
  // becoming (bitmap x alpha + under x (255 - alpha)) / 255, rounded. False (nothing drawn) for
  // a negative size or where the default cannot read the surface (no ReadPixels).
  virtual bool AlphaBlend(const Rect& dest, const Dib& bitmap, const Rect& src, uint8_t alpha);
  // A check box (DFCS_BUTTONCHECK) or radio button (DFCS_BUTTONRADIO) of the classic sunken
  // look filling `r` (13 x 13 on the screen), checked, grey (DFCS_INACTIVE: button-face inside,
  // grey mark) or pushed (button-face inside), in the system colours. False for other kinds.
  virtual bool DrawFrameControl(const Rect& r, uint32_t type, uint32_t state);

  // Convenience forms built on the operations above.
  void TextOut(int x, int y, std::u16string_view text) { ExtTextOut(x, y, 0, nullptr, text, nullptr); }
  void TextOutA(int x, int y, const std::string& cp932);
  // Fills `r` (right and bottom exclusive) with `brush` without changing the selected brush.
  void FillRect(const Rect& r, const LogBrush& brush);
  void FillRegion(const Region& region, const LogBrush& brush);

  // Text measuring with the selected font (character extra included).
  TextMetrics GetTextMetrics() const;
  Size GetTextExtent(std::u16string_view text) const;
  Size GetTextExtentA(const std::string& cp932) const;
  // One advance per character, as ExtTextOut uses them when no dx is given.
  std::vector<int> GetCharAdvances(std::u16string_view text) const;

 protected:
  // `r` cut to what can be seen: the clip region's box and, on raster displays and printers,
  // the surface; empty when that is still larger than a bitmap may be (kMaxDibPixels).
  Rect DrawableBox(const Rect& r) const;
  // Draws `bitmap` into `dest` inside `mask` (device units) as well as the clip region.
  void DrawMaskedBitmap(const Rect& dest, const Dib& bitmap, const Region& mask);

  // For ExtTextOut: fills `advances` (the given dx, else measured), moves (x, y) to the
  // current position under TA_UPDATECP, and returns the text's width.
  int TextAdvances(int& x, int& y, std::u16string_view text, const std::vector<int>* dx,
                   std::vector<int>& advances) const;

  enum { kNoPath, kPathOpen, kPathEnded };
  DcState state_;
  DeviceCaps caps_;
  int pathState_ = kNoPath;

 private:
  std::vector<DcState> saved_;
};

// Text conversions at this interface.
std::u16string Cp932ToUtf16(std::string_view cp932);
std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view utf8);

// The text cell of ExtTextOut before rotation: the offset of its top-left corner from the
// reference point for the alignment `align`, text `width` and font metrics `tm`.
Point TextCellOffset(uint32_t align, int width, const TextMetrics& tm);
// The cell turned by `escapement` (tenths of a degree) around the reference point (x, y), as
// an inclusive bounding rectangle.
Rect TextBounds(int x, int y, uint32_t align, int width, const TextMetrics& tm, int escapement);

// Geometry shared by the back ends: the point where the radial from the centre of `box`
// through (x, y) meets the ellipse, as the ellipse's parameter angle in degrees anticlockwise
// from 3 o'clock (the point is (a cos t, -b sin t) from the centre, as arcs are drawn).
double RadialAngle(const Rect& box, int x, int y);

}  // namespace platform
