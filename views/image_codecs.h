// Bitmap (BMP) and JPEG files for pictures held as QImage.
//
// BMP files are written as Windows bitmaps of 24 bits per pixel: a 14-byte file header, a
// 40-byte info header, no colour table, the rows bottom-up in blue-green-red order, each row
// padded to a multiple of 4 bytes, 96 dpi (3780 pixels per metre). The reader takes the
// uncompressed 24- and 32-bit bitmaps that this writer and other programs write, checking every
// size against the file; other kinds are handed to Qt's reader.
//
// JPEG files are encoded and decoded with libjpeg (the IJG interface): baseline, 4:2:0 colour
// sampling, the quality given by the caller. Damaged data gives an empty result, never a crash
// (libjpeg's errors are caught).
#pragma once

#include <QImage>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace views {

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
// one plane, a positive width, a non-zero height, sizes that fit 32 bits, pixel data inside
// the file for uncompressed 24- and 32-bit bitmaps. Empty with `error` set otherwise.
std::optional<BmpHeader> ParseBmpHeader(std::string_view bytes, std::string* error = nullptr);

// The image as a 24-bit bottom-up BMP file.
std::string EncodeBmp24(const QImage& image);
// A BMP file as an RGB32 image; a null image when it cannot be read.
QImage DecodeBmp(std::string_view bytes);

// The image as a JPEG file of the given quality (1..100); empty on failure.
std::string EncodeJpeg(const QImage& image, int quality);
// A JPEG file as an RGB32 image; a null image when it cannot be decoded.
QImage DecodeJpeg(std::string_view bytes);

}  // namespace views
