// Bitmap (BMP) and JPEG files for pictures held as Dib (dc.h).
//
// BMP files are written as Windows bitmaps of 24 bits per pixel: a 14-byte file header, a
// 40-byte info header, no colour table, the rows bottom-up in blue-green-red order, each row
// padded to a multiple of 4 bytes, 96 dpi (3780 pixels per metre). The reader takes what the
// metafile bitmaps take (emf.h DecodeDib): 1, 4, 8, 16, 24 and 32 bits per pixel, palettes,
// bit-field masks and run-length encoding, bottom-up or top-down, checking every size against
// the file before anything is allocated.
//
// JPEG files are encoded and decoded with libjpeg (the IJG interface): baseline, 4:2:0 colour
// sampling, the quality given by the caller. Damaged data gives no picture and a reason, never a
// crash (libjpeg's errors are caught); image data that ends before the whole picture is
// decoded counts as damage.
//
// Both readers refuse a picture of more than kMaxDibPixels pixels from its header, before the
// pixels are decoded; libjpeg's own working memory is held to a fixed amount as well.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/dc.h"

namespace platform {

// The header fields of a BMP file, as stored.
struct BmpHeader {
  uint32_t fileSize = 0;      // bfSize
  uint32_t dataOffset = 0;    // bfOffBits
  uint32_t infoSize = 0;      // biSize
  int32_t width = 0;          // biWidth
  int32_t height = 0;         // biHeight (positive: bottom-up)
  uint16_t planes = 0;        // biPlanes
  uint16_t bitsPerPixel = 0;  // biBitCount
  uint32_t compression = 0;   // biCompression (0: none)
  uint32_t imageSize = 0;     // biSizeImage
  int32_t xPelsPerMeter = 0, yPelsPerMeter = 0;
  uint32_t colorsUsed = 0, colorsImportant = 0;
  // Bytes per stored row (padded to 4).
  uint32_t RowStride() const { return ((static_cast<uint32_t>(width) * bitsPerPixel + 31) / 32) * 4; }
};

// Parses and checks the headers: the "BM" signature, an info header of at least 40 bytes,
// one plane, a positive width, a non-zero height, at most kMaxDibPixels pixels, the pixel data
// inside the file (all of it for uncompressed bitmaps). Empty with `error` set otherwise.
std::optional<BmpHeader> ParseBmpHeader(std::string_view bytes, std::string* error = nullptr);

// The bitmap as a 24-bit bottom-up BMP file.
std::string EncodeBmp24(const Dib& dib);
// A BMP file as a bitmap; empty with `error` set when it cannot be read.
std::optional<Dib> DecodeBmp(std::string_view bytes, std::string* error = nullptr);

// The bitmap as a JPEG file of the given quality (1..100); empty on failure.
std::string EncodeJpeg(const Dib& dib, int quality);
// A JPEG file as a bitmap; empty with `error` set when it cannot be decoded.
std::optional<Dib> DecodeJpeg(std::string_view bytes, std::string* error = nullptr);

}  // namespace platform
