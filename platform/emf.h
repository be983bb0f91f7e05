// Enhanced Metafile files: record types, the header record and a checked record walker, as
// the published format describes them. Metafiles are held as their file bytes.
// The recorder (emf_recorder.h) writes them, the player (emf_player.h) draws them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dc.h"

namespace platform::emf {

enum RecordType : uint32_t {
  EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
  EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
  EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_SETBRUSHORGEX = 13,
  EMR_EOF = 14, EMR_SETPIXELV = 15, EMR_SETMAPPERFLAGS = 16, EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18,
  EMR_SETPOLYFILLMODE = 19, EMR_SETROP2 = 20, EMR_SETSTRETCHBLTMODE = 21, EMR_SETTEXTALIGN = 22,
  EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_OFFSETCLIPRGN = 26, EMR_MOVETOEX = 27,
  EMR_EXCLUDECLIPRECT = 29, EMR_INTERSECTCLIPRECT = 30, EMR_SCALEVIEWPORTEXTEX = 31,
  EMR_SCALEWINDOWEXTEX = 32, EMR_SAVEDC = 33, EMR_RESTOREDC = 34, EMR_SETWORLDTRANSFORM = 35,
  EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38, EMR_CREATEBRUSHINDIRECT = 39,
  EMR_DELETEOBJECT = 40, EMR_ANGLEARC = 41, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43, EMR_ROUNDRECT = 44,
  EMR_ARC = 45, EMR_CHORD = 46, EMR_PIE = 47, EMR_SELECTPALETTE = 48, EMR_CREATEPALETTE = 49,
  EMR_LINETO = 54, EMR_ARCTO = 55, EMR_SETARCDIRECTION = 57, EMR_SETMITERLIMIT = 58, EMR_BEGINPATH = 59,
  EMR_ENDPATH = 60, EMR_CLOSEFIGURE = 61, EMR_FILLPATH = 62, EMR_STROKEANDFILLPATH = 63,
  EMR_STROKEPATH = 64, EMR_FLATTENPATH = 65, EMR_WIDENPATH = 66, EMR_SELECTCLIPPATH = 67,
  EMR_ABORTPATH = 68, EMR_GDICOMMENT = 70, EMR_FILLRGN = 71, EMR_FRAMERGN = 72, EMR_INVERTRGN = 73,
  EMR_PAINTRGN = 74, EMR_EXTSELECTCLIPRGN = 75, EMR_BITBLT = 76, EMR_STRETCHBLT = 77,
  EMR_SETDIBITSTODEVICE = 80, EMR_STRETCHDIBITS = 81, EMR_EXTCREATEFONTINDIRECTW = 82,
  EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85, EMR_POLYGON16 = 86,
  EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89, EMR_POLYPOLYLINE16 = 90,
  EMR_POLYPOLYGON16 = 91, EMR_CREATEMONOBRUSH = 93, EMR_CREATEDIBPATTERNBRUSHPT = 94,
  EMR_EXTCREATEPEN = 95, EMR_SETICMMODE = 98, EMR_ALPHABLEND = 114, EMR_GRADIENTFILL = 118,
};

constexpr uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr uint32_t kStockObject = 0x80000000u;
constexpr uint32_t WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
                   NULL_BRUSH = 5, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8, OEM_FIXED_FONT = 10,
                   ANSI_FIXED_FONT = 11, ANSI_VAR_FONT = 12, SYSTEM_FONT = 13, DEVICE_DEFAULT_FONT = 14,
                   DEFAULT_PALETTE = 15, SYSTEM_FIXED_FONT = 16, DEFAULT_GUI_FONT = 17, DC_BRUSH = 18,
                   DC_PEN = 19;

struct Header {
  uint32_t recordSize = 108;  // 88 without, 100 with the pixel format, 108 with the micrometre size
  Rect bounds;                // inclusive device units of what was drawn
  Rect frame;                 // inclusive, 0.01 mm
  uint32_t signature = kSignature;
  uint32_t version = 0x10000;
  uint32_t bytes = 0;
  uint32_t records = 0;
  uint16_t handles = 1;
  uint32_t descriptionChars = 0, descriptionOffset = 0;
  uint32_t palEntries = 0;
  Size device{kReferenceWidthPx, kReferenceHeightPx};
  Size millimeters{kReferenceWidthMm, kReferenceHeightMm};
  uint32_t pixelFormatSize = 0, pixelFormatOffset = 0, openGL = 0;
  Size micrometers{kReferenceWidthMm * 1000, kReferenceHeightMm * 1000};
};

// Reads and checks the header at the start of `bytes`: record type 1, the signature, a record
// size of at least 88 inside the file, a byte count not beyond the file, a handle count of
// at least 1. Empty with `error` set otherwise.
std::optional<Header> ReadHeader(std::string_view bytes, std::string* error = nullptr);
// Writes `h` into the header record at the start of `bytes` (fields beyond the record size
// the header has are left out).
void WriteHeader(std::string& bytes, const Header& h);

// The picture size in pixels of the reference device the frame was measured on.
Size FrameSizePixels(const Header& h);

struct Record {
  uint32_t type = 0;
  uint32_t size = 0;
  size_t offset = 0;       // of the record in the file
  std::string_view data;   // the whole record, `size` bytes
};

// Walks the records of a metafile whose header has been read. Each record must have a size
// of at least 8, a multiple of 4, inside the byte count; the walk ends after EMR_EOF, at the
// end of the bytes, or with an error.
class RecordWalker {
 public:
  RecordWalker(std::string_view bytes, const Header& header);
  bool Next(Record& out);
  const std::string& Error() const { return error_; }

 private:
  std::string_view bytes_;
  size_t pos_ = 0;
  bool done_ = false;
  std::string error_;
};

// Little-endian field access inside a record with bounds checks (out of range reads give 0
// and set `ok` false).
class FieldReader {
 public:
  explicit FieldReader(std::string_view data) : data_(data) {}
  uint32_t U32(size_t offset);
  int32_t I32(size_t offset) { return static_cast<int32_t>(U32(offset)); }
  uint16_t U16(size_t offset);
  int16_t I16(size_t offset) { return static_cast<int16_t>(U16(offset)); }
  uint8_t U8(size_t offset);
  float F32(size_t offset);
  Rect RectAt(size_t offset);
  // True when [offset, offset + count * elementSize) lies inside the record.
  bool Has(size_t offset, size_t count, size_t elementSize) const;
  bool ok = true;
  std::string_view Data() const { return data_; }

 private:
  std::string_view data_;
};

// The string of an EMR_EXTTEXTOUTA or EMR_EXTTEXTOUTW record as stored: `count` characters
// (the field at offset 44) from the string offset (the field at 48), two bytes each (UTF-16LE)
// in a wide record, one byte each (CP932) in an ANSI one. Empty when the record is of another
// type or its string does not lie inside the record.
struct TextRecordString {
  std::string_view bytes;
  uint32_t count = 0;
  bool wide = false;
};
std::optional<TextRecordString> ReadTextRecordString(const Record& rec);
// The text of such a record as UTF-16: a wide string as it stands, an ANSI one decoded from
// CP932 (bytes it does not define become U+FFFD).
std::optional<std::u16string> TextRecordText(const Record& rec);

// A growing little-endian record buffer.
class FieldWriter {
 public:
  void U32(uint32_t v);
  void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
  void U16(uint16_t v);
  void I16(int16_t v) { U16(static_cast<uint16_t>(v)); }
  void U8(uint8_t v) { bytes_.push_back(static_cast<char>(v)); }
  void F32(float v);
  void RectL(const Rect& r);
  void Bytes(std::string_view b) { bytes_.append(b); }
  void PadTo4();
  size_t Size() const { return bytes_.size(); }
  std::string& Buffer() { return bytes_; }
  void PatchU32(size_t offset, uint32_t v);

 private:
  std::string bytes_;
};

// A device-independent bitmap as it is stored in a metafile record: a 40-byte info header
// (plus colour table) and the pixel rows, bottom-up, each padded to 4 bytes. Written as 24
// bits per pixel; read with 1, 4, 8, 16, 24 or 32 bits per pixel, uncompressed, with bit-field
// masks (16 and 32 bits) or run-length encoded (4 and 8 bits), at most kMaxDibPixels pixels.
void EncodeDib(const Dib& dib, std::string& bmi, std::string& bits);
// The size an info header declares (rows counted whichever way they are stored) once the
// checks of DecodeDib on the header pass; empty otherwise.
struct DibInfo {
  int width = 0, height = 0;
  bool bottomUp = true;
};
std::optional<DibInfo> ReadDibInfo(std::string_view bmi);
// A part of a bitmap (rows counted from the top) and the columns and rows of it to take: every
// stepX-th column and stepY-th row from its top-left corner.
struct DibPart {
  Rect rect;
  int stepX = 1, stepY = 1;
};
// Empty optional when the header or the sizes do not fit. With `part`, only its pixels are
// decoded, into a bitmap of their own (the part cut to the bitmap; empty when nothing is left).
std::optional<Dib> DecodeDib(std::string_view bmi, std::string_view bits, const DibPart* part = nullptr);

}  // namespace platform::emf
