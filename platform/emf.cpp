// Enhanced Metafile header, record walking and bitmap coding.
#include "platform/emf.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/stream.h"

namespace platform::emf {

// ---- Field access -----------------------------------------------------------------------

bool FieldReader::Has(size_t offset, size_t count, size_t elementSize) const {
  if (offset > data_.size()) return false;
  if (elementSize != 0 && count > (data_.size() - offset) / elementSize) return false;
  return true;
}

uint32_t FieldReader::U32(size_t offset) {
  if (!Has(offset, 1, 4)) {
    ok = false;
    return 0;
  }
  return static_cast<uint32_t>(GetI32(data_.data() + offset));
}

uint16_t FieldReader::U16(size_t offset) {
  if (!Has(offset, 1, 2)) {
    ok = false;
    return 0;
  }
  const auto* p = reinterpret_cast<const unsigned char*>(data_.data() + offset);
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint8_t FieldReader::U8(size_t offset) {
  if (!Has(offset, 1, 1)) {
    ok = false;
    return 0;
  }
  return static_cast<uint8_t>(data_[offset]);
}

float FieldReader::F32(size_t offset) {
  uint32_t u = U32(offset);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}

Rect FieldReader::RectAt(size_t offset) {
  return Rect{I32(offset), I32(offset + 4), I32(offset + 8), I32(offset + 12)};
}

void FieldWriter::U32(uint32_t v) {
  char b[4];
  PutI32(b, static_cast<int32_t>(v));
  bytes_.append(b, 4);
}

void FieldWriter::U16(uint16_t v) {
  char b[2] = {static_cast<char>(v & 0xFF), static_cast<char>((v >> 8) & 0xFF)};
  bytes_.append(b, 2);
}

void FieldWriter::F32(float v) {
  uint32_t u;
  std::memcpy(&u, &v, 4);
  U32(u);
}

void FieldWriter::RectL(const Rect& r) {
  I32(r.left);
  I32(r.top);
  I32(r.right);
  I32(r.bottom);
}

void FieldWriter::PadTo4() {
  while (bytes_.size() % 4 != 0) bytes_.push_back('\0');
}

void FieldWriter::PatchU32(size_t offset, uint32_t v) {
  PutI32(bytes_.data() + offset, static_cast<int32_t>(v));
}

// ---- Header -----------------------------------------------------------------------------

std::optional<Header> ReadHeader(std::string_view bytes, std::string* error) {
  auto fail = [&](const char* why) -> std::optional<Header> {
    if (error) *error = why;
    return std::nullopt;
  };
  FieldReader f(bytes);
  if (bytes.size() < 88) return fail("file shorter than a metafile header");
  if (f.U32(0) != EMR_HEADER) return fail("first record is not a metafile header");
  Header h;
  h.recordSize = f.U32(4);
  if (h.recordSize < 88 || h.recordSize % 4 != 0 || h.recordSize > bytes.size()) return fail("bad header size");
  h.bounds = f.RectAt(8);
  h.frame = f.RectAt(24);
  h.signature = f.U32(40);
  if (h.signature != kSignature) return fail("metafile signature missing");
  h.version = f.U32(44);
  h.bytes = f.U32(48);
  h.records = f.U32(52);
  h.handles = f.U16(56);
  h.descriptionChars = f.U32(60);
  h.descriptionOffset = f.U32(64);
  h.palEntries = f.U32(68);
  h.device = Size{f.I32(72), f.I32(76)};
  h.millimeters = Size{f.I32(80), f.I32(84)};
  if (h.recordSize >= 100) {
    h.pixelFormatSize = f.U32(88);
    h.pixelFormatOffset = f.U32(92);
    h.openGL = f.U32(96);
  }
  if (h.recordSize >= 108) h.micrometers = Size{f.I32(100), f.I32(104)};
  if (h.bytes < h.recordSize) return fail("byte count smaller than the header");
  if (h.bytes > bytes.size()) return fail("byte count beyond the end of the file");
  if (h.handles == 0) return fail("handle count 0");
  if (h.records < 2) return fail("record count below 2");
  return h;
}

void WriteHeader(std::string& bytes, const Header& h) {
  FieldWriter w;
  w.U32(EMR_HEADER);
  w.U32(h.recordSize);
  w.RectL(h.bounds);
  w.RectL(h.frame);
  w.U32(h.signature);
  w.U32(h.version);
  w.U32(h.bytes);
  w.U32(h.records);
  w.U16(h.handles);
  w.U16(0);
  w.U32(h.descriptionChars);
  w.U32(h.descriptionOffset);
  w.U32(h.palEntries);
  w.I32(h.device.cx);
  w.I32(h.device.cy);
  w.I32(h.millimeters.cx);
  w.I32(h.millimeters.cy);
  if (h.recordSize >= 100) {
    w.U32(h.pixelFormatSize);
    w.U32(h.pixelFormatOffset);
    w.U32(h.openGL);
  }
  if (h.recordSize >= 108) {
    w.I32(h.micrometers.cx);
    w.I32(h.micrometers.cy);
  }
  const std::string& fields = w.Buffer();
  if (bytes.size() < fields.size()) bytes.resize(fields.size(), '\0');
  bytes.replace(0, fields.size(), fields);
}

Size FrameSizePixels(const Header& h) {
  // In double and clamped: the header's fields may hold any 32-bit values.
  auto pixels = [](int32_t from, int32_t to, int32_t device, int32_t millimeters) {
    if (millimeters <= 0) return 0;
    const double v = (static_cast<double>(to) - from) * device / (millimeters * 100.0) + 0.5;
    return static_cast<int>(std::clamp(std::trunc(v), -1e9, 1e9));
  };
  return Size{pixels(h.frame.left, h.frame.right, h.device.cx, h.millimeters.cx),
              pixels(h.frame.top, h.frame.bottom, h.device.cy, h.millimeters.cy)};
}

// ---- Records ----------------------------------------------------------------------------

RecordWalker::RecordWalker(std::string_view bytes, const Header& header) : bytes_(bytes) {
  if (header.bytes <= bytes.size()) bytes_ = bytes.substr(0, header.bytes);
}

bool RecordWalker::Next(Record& out) {
  if (done_) return false;
  if (pos_ >= bytes_.size()) {
    done_ = true;
    if (pos_ > 0) error_ = "no end-of-file record";
    return false;
  }
  if (bytes_.size() - pos_ < 8) {
    done_ = true;
    error_ = "truncated record at offset " + std::to_string(pos_);
    return false;
  }
  FieldReader f(bytes_.substr(pos_, 8));
  uint32_t type = f.U32(0);
  uint32_t size = f.U32(4);
  if (size < 8 || size % 4 != 0 || size > bytes_.size() - pos_) {
    done_ = true;
    error_ = "bad record size " + std::to_string(size) + " at offset " + std::to_string(pos_);
    return false;
  }
  out.type = type;
  out.size = size;
  out.offset = pos_;
  out.data = bytes_.substr(pos_, size);
  pos_ += size;
  if (type == EMR_EOF) done_ = true;
  return true;
}

std::optional<TextRecordString> ReadTextRecordString(const Record& rec) {
  if (rec.type != EMR_EXTTEXTOUTA && rec.type != EMR_EXTTEXTOUTW) return std::nullopt;
  const bool wide = rec.type == EMR_EXTTEXTOUTW;
  FieldReader f(rec.data);
  const uint32_t count = f.U32(44);
  const uint32_t offset = f.U32(48);
  // The string must lie inside the record whatever its count (an empty one included).
  if (!f.ok || !f.Has(offset, count, wide ? 2 : 1)) return std::nullopt;
  return TextRecordString{rec.data.substr(offset, static_cast<size_t>(count) * (wide ? 2 : 1)), count, wide};
}

std::optional<std::u16string> TextRecordText(const Record& rec) {
  std::optional<TextRecordString> s = ReadTextRecordString(rec);
  if (!s) return std::nullopt;
  if (!s->wide) return Cp932ToUtf16(s->bytes);
  std::u16string text(s->count, u'\0');
  for (uint32_t k = 0; k < s->count; ++k) {
    text[k] = static_cast<char16_t>(static_cast<unsigned char>(s->bytes[2 * k]) |
                                    (static_cast<unsigned char>(s->bytes[2 * k + 1]) << 8));
  }
  return text;
}

// ---- Bitmaps ----------------------------------------------------------------------------

void EncodeDib(const Dib& dib, std::string& bmi, std::string& bits) {
  const int stride = ((dib.width * 3) + 3) & ~3;
  FieldWriter h;
  h.U32(40);
  h.I32(dib.width);
  h.I32(dib.height);  // bottom-up
  h.U16(1);
  h.U16(24);
  h.U32(0);  // BI_RGB
  h.U32(static_cast<uint32_t>(stride * dib.height));
  h.I32(3780);  // 96 dpi in pixels per metre
  h.I32(3780);
  h.U32(0);
  h.U32(0);
  bmi = h.Buffer();
  bits.assign(static_cast<size_t>(stride) * dib.height, '\0');
  for (int y = 0; y < dib.height; ++y) {
    char* row = bits.data() + static_cast<size_t>(dib.height - 1 - y) * stride;
    for (int x = 0; x < dib.width; ++x) {
      uint32_t p = dib.At(x, y);
      row[3 * x] = static_cast<char>(p & 0xFF);
      row[3 * x + 1] = static_cast<char>((p >> 8) & 0xFF);
      row[3 * x + 2] = static_cast<char>((p >> 16) & 0xFF);
    }
  }
}

namespace {

constexpr uint32_t kBiRle8 = 1, kBiRle4 = 2;

// The pixels of `part` taken into a bitmap of their own: source pixel (x, y) (rows from the
// top) lands at ((x - left) / stepX, (y - top) / stepY) when it lies on the part's grid.
class PartGrid {
 public:
  explicit PartGrid(const DibPart& p) : p_(p) {
    width_ = (p.rect.Width() + p.stepX - 1) / p.stepX;
    height_ = (p.rect.Height() + p.stepY - 1) / p.stepY;
  }
  int Width() const { return width_; }
  int Height() const { return height_; }
  bool RowIn(int64_t y) const { return y >= p_.rect.top && y < p_.rect.bottom && (y - p_.rect.top) % p_.stepY == 0; }
  bool ColumnIn(int64_t x) const {
    return x >= p_.rect.left && x < p_.rect.right && (x - p_.rect.left) % p_.stepX == 0;
  }
  size_t Index(int64_t x, int64_t y) const {
    return static_cast<size_t>((y - p_.rect.top) / p_.stepY) * width_ + static_cast<size_t>((x - p_.rect.left) / p_.stepX);
  }
  int Left() const { return p_.rect.left; }
  int Top() const { return p_.rect.top; }
  int StepX() const { return p_.stepX; }
  int StepY() const { return p_.stepY; }

 private:
  DibPart p_;
  int width_ = 0, height_ = 0;
};

// The pixels of a run-length encoded bitmap (8 or 4 bits per pixel, rows from the bottom):
// runs of one index, escapes for end of line, end of bitmap and a jump ahead, and literal
// stretches padded to two bytes. Pixels the data never reaches keep palette entry 0; runs
// beyond the right edge or the last row are dropped; the data ends the decoding wherever it
// runs out. Only the pixels of `grid` are kept; a run is walked as far as it reaches the part.
Dib DecodeRle(int width, int height, bool eightBits, const std::vector<uint32_t>& palette, std::string_view bits,
              const PartGrid& grid) {
  const uint32_t background = palette.empty() ? 0 : palette[0];
  Dib dib;
  dib.width = grid.Width();
  dib.height = grid.Height();
  dib.pixels.assign(static_cast<size_t>(dib.width) * dib.height, background);
  const auto* data = reinterpret_cast<const unsigned char*>(bits.data());
  const size_t size = bits.size();
  int64_t x = 0, row = 0;  // row 0 is the bottom row
  auto put = [&](size_t index) {
    if (x < width && row < height && grid.RowIn(height - 1 - row) && grid.ColumnIn(x)) {
      dib.pixels[grid.Index(x, height - 1 - row)] = index < palette.size() ? palette[index] : 0;
    }
    ++x;
  };
  size_t p = 0;
  while (p + 1 < size && row < height) {
    const unsigned count = data[p], value = data[p + 1];
    p += 2;
    if (count > 0) {
      for (unsigned i = 0; i < count; ++i) put(eightBits ? value : (i % 2 == 0 ? value >> 4 : value & 0xF));
      continue;
    }
    if (value == 0) {  // end of line
      x = 0;
      ++row;
    } else if (value == 1) {  // end of bitmap
      break;
    } else if (value == 2) {  // jump right and up
      if (p + 1 >= size) break;
      x += data[p];
      row += data[p + 1];
      p += 2;
    } else {  // `value` literal pixels
      const size_t bytes = eightBits ? value : (value + 1) / 2;
      if (p + bytes > size) break;
      for (unsigned i = 0; i < value; ++i) {
        const unsigned byte = data[p + (eightBits ? i : i / 2)];
        put(eightBits ? byte : (i % 2 == 0 ? byte >> 4 : byte & 0xF));
      }
      p += (bytes + 1) & ~size_t{1};
    }
  }
  return dib;
}

struct DibFormat {
  DibInfo info;
  int bpp = 0;
  uint32_t compression = 0;
  bool rle = false;
  std::vector<uint32_t> palette;
  uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
};

std::optional<DibFormat> ReadDibFormat(std::string_view bmi) {
  FieldReader h(bmi);
  uint32_t headerSize = h.U32(0);
  if (!h.ok || headerSize < 40 || headerSize > bmi.size()) return std::nullopt;
  int32_t width = h.I32(4);
  int32_t height = h.I32(8);
  DibFormat f;
  f.bpp = h.U16(14);
  f.compression = h.U32(16);
  uint32_t clrUsed = h.U32(32);
  if (width <= 0 || height == 0 || height == INT32_MIN) return std::nullopt;
  const bool topDown = height < 0;
  const int64_t absHeight = topDown ? -static_cast<int64_t>(height) : height;
  if (static_cast<int64_t>(width) * absHeight > kMaxDibPixels) return std::nullopt;
  const int bpp = f.bpp;
  if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) return std::nullopt;
  f.rle = (f.compression == kBiRle8 && bpp == 8) || (f.compression == kBiRle4 && bpp == 4);
  if (f.rle && topDown) return std::nullopt;  // run-length bitmaps are stored bottom-up only
  if (f.compression != 0 && !f.rle && !(f.compression == 3 && (bpp == 16 || bpp == 32))) return std::nullopt;
  // Colour table or bit-field masks follow the info header.
  if (bpp == 32) {
    f.masks[0] = 0xFF0000;
    f.masks[1] = 0xFF00;
    f.masks[2] = 0xFF;
  }
  if (f.compression == 3) {
    const size_t at = 40;  // the masks follow the 40-byte part of every header version
    if (!h.Has(at, 3, 4)) return std::nullopt;
    for (int k = 0; k < 3; ++k) f.masks[k] = h.U32(at + 4 * k);
  } else if (bpp <= 8) {
    size_t colours = clrUsed != 0 ? clrUsed : (size_t{1} << bpp);
    if (colours > 256 || !h.Has(headerSize, colours, 4)) return std::nullopt;
    for (size_t k = 0; k < colours; ++k) f.palette.push_back(h.U32(headerSize + 4 * k) & 0xFFFFFF);
  }
  f.info = DibInfo{width, static_cast<int>(absHeight), !topDown};
  return f;
}

}  // namespace

std::optional<DibInfo> ReadDibInfo(std::string_view bmi) {
  std::optional<DibFormat> f = ReadDibFormat(bmi);
  if (!f) return std::nullopt;
  return f->info;
}

std::optional<Dib> DecodeDib(std::string_view bmi, std::string_view bits, const DibPart* part) {
  std::optional<DibFormat> format = ReadDibFormat(bmi);
  if (!format) return std::nullopt;
  const DibFormat& f = *format;
  const int width = f.info.width;
  const int64_t absHeight = f.info.height;
  const Rect whole{0, 0, width, f.info.height};
  DibPart p{whole, 1, 1};
  if (part) {
    p.rect = Intersection(part->rect, whole);
    p.stepX = std::max(part->stepX, 1);
    p.stepY = std::max(part->stepY, 1);
    if (p.rect.IsEmpty()) return std::nullopt;
  }
  const PartGrid grid(p);
  if (f.rle) return DecodeRle(width, f.info.height, f.bpp == 8, f.palette, bits, grid);
  const int bpp = f.bpp;
  const int64_t stride = ((static_cast<int64_t>(width) * bpp + 31) / 32) * 4;
  if (static_cast<int64_t>(bits.size()) < stride * absHeight) return std::nullopt;
  auto maskValue = [](uint32_t v, uint32_t mask) -> uint32_t {
    if (mask == 0) return 0;
    int shift = 0;
    while (!(mask & 1)) {
      mask >>= 1;
      v >>= 1;
      ++shift;
    }
    uint32_t value = v & mask;
    return mask == 0 ? 0 : value * 255 / mask;
  };
  Dib dib;
  dib.width = grid.Width();
  dib.height = grid.Height();
  dib.pixels.resize(static_cast<size_t>(dib.width) * dib.height);
  const auto* data = reinterpret_cast<const unsigned char*>(bits.data());
  for (int oy = 0; oy < dib.height; ++oy) {
    const int64_t y = grid.Top() + static_cast<int64_t>(oy) * grid.StepY();
    const unsigned char* row = data + (f.info.bottomUp ? absHeight - 1 - y : y) * stride;
    for (int ox = 0; ox < dib.width; ++ox) {
      const int x = grid.Left() + ox * grid.StepX();
      uint32_t rgb = 0;
      switch (bpp) {
        case 1:
        case 4:
        case 8: {
          int perByte = 8 / bpp;
          int byte = row[x / perByte];
          int shift = (perByte - 1 - x % perByte) * bpp;
          size_t index = (byte >> shift) & ((1 << bpp) - 1);
          rgb = index < f.palette.size() ? f.palette[index] : 0;
          break;
        }
        case 16: {
          uint32_t v = row[2 * x] | (row[2 * x + 1] << 8);
          rgb = (maskValue(v, f.masks[0]) << 16) | (maskValue(v, f.masks[1]) << 8) | maskValue(v, f.masks[2]);
          break;
        }
        case 24:
          rgb = row[3 * x] | (row[3 * x + 1] << 8) | (row[3 * x + 2] << 16);
          break;
        case 32: {
          uint32_t v = row[4 * x] | (row[4 * x + 1] << 8) | (row[4 * x + 2] << 16) |
                       (static_cast<uint32_t>(row[4 * x + 3]) << 24);
          rgb = f.compression == 3 ? (maskValue(v, f.masks[0]) << 16) | (maskValue(v, f.masks[1]) << 8) |
                                         maskValue(v, f.masks[2])
                                   : (v & 0xFFFFFF);
          break;
        }
      }
      dib.pixels[static_cast<size_t>(oy) * dib.width + ox] = rgb;
    }
  }
  return dib;
}

}  // namespace platform::emf
