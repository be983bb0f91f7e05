// BMP and JPEG encoding and decoding.
#include "views/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>

#include <jpeglib.h>

namespace views {

namespace {

uint16_t Get16(std::string_view b, size_t at) {
  return static_cast<uint16_t>(static_cast<uint8_t>(b[at]) | static_cast<uint8_t>(b[at + 1]) << 8);
}
uint32_t Get32(std::string_view b, size_t at) {
  return static_cast<uint32_t>(Get16(b, at)) | static_cast<uint32_t>(Get16(b, at + 2)) << 16;
}
void Put16(std::string& b, uint16_t v) {
  b.push_back(static_cast<char>(v & 0xFF));
  b.push_back(static_cast<char>(v >> 8));
}
void Put32(std::string& b, uint32_t v) {
  Put16(b, static_cast<uint16_t>(v & 0xFFFF));
  Put16(b, static_cast<uint16_t>(v >> 16));
}

constexpr uint32_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
constexpr int32_t kPelsPerMeter96Dpi = 3780;

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

}  // namespace

std::optional<BmpHeader> ParseBmpHeader(std::string_view b, std::string* error) {
  if (b.size() < kFileHeaderSize + kInfoHeaderSize || b[0] != 'B' || b[1] != 'M') {
    Fail(error, "not a bitmap file");
    return std::nullopt;
  }
  BmpHeader h;
  h.fileSize = Get32(b, 2);
  h.dataOffset = Get32(b, 10);
  h.infoSize = Get32(b, 14);
  h.width = static_cast<int32_t>(Get32(b, 18));
  h.height = static_cast<int32_t>(Get32(b, 22));
  h.planes = Get16(b, 26);
  h.bitsPerPixel = Get16(b, 28);
  h.compression = Get32(b, 30);
  h.imageSize = Get32(b, 34);
  h.xPelsPerMeter = static_cast<int32_t>(Get32(b, 38));
  h.yPelsPerMeter = static_cast<int32_t>(Get32(b, 42));
  h.colorsUsed = Get32(b, 46);
  h.colorsImportant = Get32(b, 50);
  bool ok = true;
  if (h.infoSize < kInfoHeaderSize || kFileHeaderSize + h.infoSize > b.size()) {
    ok = Fail(error, "bad info header size");
  } else if (h.planes != 1) {
    ok = Fail(error, "plane count is not 1");
  } else if (h.width <= 0 || h.height == 0 || h.height == INT32_MIN || h.width > 65535 || h.height > 65535 ||
             h.height < -65535) {
    ok = Fail(error, "bad picture size");
  } else if (h.compression == 0 && (h.bitsPerPixel == 24 || h.bitsPerPixel == 32)) {
    const uint64_t rows = static_cast<uint64_t>(h.height < 0 ? -static_cast<int64_t>(h.height) : h.height);
    const uint64_t need = static_cast<uint64_t>(h.RowStride()) * rows;
    if (h.dataOffset < kFileHeaderSize + h.infoSize || h.dataOffset > b.size() || b.size() - h.dataOffset < need) {
      ok = Fail(error, "pixel data outside the file");
    }
  }
  if (!ok) return std::nullopt;
  return h;
}

std::string EncodeBmp24(const QImage& image) {
  const QImage img = image.convertToFormat(QImage::Format_RGB32);
  const int w = img.width(), h = img.height();
  BmpHeader info;
  info.width = w;
  info.bitsPerPixel = 24;
  const uint32_t stride = info.RowStride();
  const uint32_t dataSize = stride * static_cast<uint32_t>(h);
  std::string b;
  b.reserve(kFileHeaderSize + kInfoHeaderSize + dataSize);
  b += "BM";
  Put32(b, kFileHeaderSize + kInfoHeaderSize + dataSize);
  Put32(b, 0);
  Put32(b, kFileHeaderSize + kInfoHeaderSize);
  Put32(b, kInfoHeaderSize);
  Put32(b, static_cast<uint32_t>(w));
  Put32(b, static_cast<uint32_t>(h));  // positive: bottom-up
  Put16(b, 1);
  Put16(b, 24);
  Put32(b, 0);
  Put32(b, dataSize);
  Put32(b, kPelsPerMeter96Dpi);
  Put32(b, kPelsPerMeter96Dpi);
  Put32(b, 0);
  Put32(b, 0);
  std::string row(stride, '\0');
  for (int y = h - 1; y >= 0; --y) {
    const QRgb* line = reinterpret_cast<const QRgb*>(img.constScanLine(y));
    for (int x = 0; x < w; ++x) {
      row[3 * x] = static_cast<char>(qBlue(line[x]));
      row[3 * x + 1] = static_cast<char>(qGreen(line[x]));
      row[3 * x + 2] = static_cast<char>(qRed(line[x]));
    }
    b += row;
  }
  return b;
}

QImage DecodeBmp(std::string_view bytes) {
  std::optional<BmpHeader> h = ParseBmpHeader(bytes);
  if (!h) return QImage();
  if (h->compression != 0 || (h->bitsPerPixel != 24 && h->bitsPerPixel != 32)) {
    // Palette and compressed bitmaps: Qt reads them.
    QImage other;
    other.loadFromData(reinterpret_cast<const uchar*>(bytes.data()), static_cast<int>(bytes.size()), "BMP");
    return other.isNull() ? other : other.convertToFormat(QImage::Format_RGB32);
  }
  const bool bottomUp = h->height > 0;
  const int w = h->width, rows = bottomUp ? h->height : -h->height;
  const int bytesPerPixel = h->bitsPerPixel / 8;
  QImage img(w, rows, QImage::Format_RGB32);
  if (img.isNull()) return img;
  for (int r = 0; r < rows; ++r) {
    const char* src = bytes.data() + h->dataOffset + static_cast<size_t>(r) * h->RowStride();
    QRgb* line = reinterpret_cast<QRgb*>(img.scanLine(bottomUp ? rows - 1 - r : r));
    for (int x = 0; x < w; ++x) {
      const uint8_t* p = reinterpret_cast<const uint8_t*>(src + x * bytesPerPixel);
      line[x] = qRgb(p[2], p[1], p[0]);
    }
  }
  return img;
}

// ---- JPEG

namespace {

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(info->err);
  std::longjmp(err->jump, 1);
}
void OnJpegMessage(j_common_ptr, int) {}  // warnings are not printed

}  // namespace

std::string EncodeJpeg(const QImage& image, int quality) {
  const QImage img = image.convertToFormat(QImage::Format_RGB888);
  if (img.isNull() || img.width() <= 0 || img.height() <= 0) return std::string();
  jpeg_compress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnJpegError;
  err.base.emit_message = OnJpegMessage;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    std::free(out);
    return std::string();
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = static_cast<JDIMENSION>(img.width());
  info.image_height = static_cast<JDIMENSION>(img.height());
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    JSAMPROW row = const_cast<JSAMPROW>(img.constScanLine(static_cast<int>(info.next_scanline)));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::string bytes(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  return bytes;
}

QImage DecodeJpeg(std::string_view bytes) {
  if (bytes.size() < 4) return QImage();
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnJpegError;
  err.base.emit_message = OnJpegMessage;
  // The image lives outside the jump's reach: it is assigned only after a complete decode.
  QImage* result = new QImage();
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    delete result;
    return QImage();
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_start_decompress(&info);
  if (info.output_components != 3 || info.output_width > 65535 || info.output_height > 65535) {
    jpeg_destroy_decompress(&info);
    delete result;
    return QImage();
  }
  *result = QImage(static_cast<int>(info.output_width), static_cast<int>(info.output_height), QImage::Format_RGB888);
  while (info.output_scanline < info.output_height) {
    JSAMPROW row = result->scanLine(static_cast<int>(info.output_scanline));
    jpeg_read_scanlines(&info, &row, 1);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  QImage image = result->convertToFormat(QImage::Format_RGB32);
  delete result;
  return image;
}

}  // namespace views
