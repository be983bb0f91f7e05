// BMP and JPEG encoding and decoding.
#include "platform/image_codecs.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>
// After jpeglib.h, which it needs.
#include <jerror.h>

#include "platform/emf.h"

namespace platform {

namespace {

constexpr uint32_t kFileHeaderSize = 14, kInfoHeaderSize = 40;
// The largest side either format may declare.
constexpr int64_t kMaxSide = 65535;

bool Fail(std::string* error, const char* why) {
  if (error) *error = why;
  return false;
}

}  // namespace

// ---- BMP

std::optional<BmpHeader> ParseBmpHeader(std::string_view b, std::string* error) {
  if (b.size() < kFileHeaderSize + kInfoHeaderSize || b[0] != 'B' || b[1] != 'M') {
    Fail(error, "not a bitmap file");
    return std::nullopt;
  }
  emf::FieldReader f(b);
  BmpHeader h;
  h.fileSize = f.U32(2);
  h.dataOffset = f.U32(10);
  h.infoSize = f.U32(14);
  h.width = f.I32(18);
  h.height = f.I32(22);
  h.planes = f.U16(26);
  h.bitsPerPixel = f.U16(28);
  h.compression = f.U32(30);
  h.imageSize = f.U32(34);
  h.xPelsPerMeter = f.I32(38);
  h.yPelsPerMeter = f.I32(42);
  h.colorsUsed = f.U32(46);
  h.colorsImportant = f.U32(50);
  const int64_t rows = h.height < 0 ? -static_cast<int64_t>(h.height) : h.height;
  bool ok = true;
  if (h.infoSize < kInfoHeaderSize || kFileHeaderSize + static_cast<uint64_t>(h.infoSize) > b.size()) {
    ok = Fail(error, "bad info header size");
  } else if (h.planes != 1) {
    ok = Fail(error, "plane count is not 1");
  } else if (h.width <= 0 || rows == 0 || h.width > kMaxSide || rows > kMaxSide) {
    ok = Fail(error, "bad picture size");
  } else if (static_cast<int64_t>(h.width) * rows > kMaxDibPixels) {
    ok = Fail(error, "picture too large");
  } else if (h.dataOffset < kFileHeaderSize + h.infoSize || h.dataOffset > b.size()) {
    ok = Fail(error, "pixel data outside the file");
  } else if (h.compression == 0 && h.bitsPerPixel <= 32 &&
             b.size() - h.dataOffset < static_cast<uint64_t>(h.RowStride()) * static_cast<uint64_t>(rows)) {
    ok = Fail(error, "pixel data outside the file");
  }
  if (!ok) return std::nullopt;
  return h;
}

std::string EncodeBmp24(const Dib& dib) {
  std::string bmi, bits;
  emf::EncodeDib(dib, bmi, bits);
  emf::FieldWriter w;
  w.Bytes("BM");
  w.U32(static_cast<uint32_t>(kFileHeaderSize + bmi.size() + bits.size()));
  w.U32(0);
  w.U32(static_cast<uint32_t>(kFileHeaderSize + bmi.size()));
  std::string& b = w.Buffer();
  b += bmi;
  b += bits;
  return b;
}

std::optional<Dib> DecodeBmp(std::string_view bytes, std::string* error) {
  std::optional<BmpHeader> h = ParseBmpHeader(bytes, error);
  if (!h) return std::nullopt;
  std::optional<Dib> dib = emf::DecodeDib(bytes.substr(kFileHeaderSize, h->dataOffset - kFileHeaderSize),
                                          bytes.substr(h->dataOffset));
  if (!dib) Fail(error, "unsupported or damaged pixel data");
  return dib;
}

// ---- JPEG

namespace {

// libjpeg's working memory beyond the picture itself (progressive files keep every
// coefficient); a file that needs more is refused.
constexpr long kJpegWorkingMemory = 256L << 20;

struct ErrorManager {
  jpeg_error_mgr base;
  std::jmp_buf jump;
  char message[JMSG_LENGTH_MAX];
};

void OnJpegError(j_common_ptr info) {
  ErrorManager* err = reinterpret_cast<ErrorManager*>(info->err);
  (*info->err->format_message)(info, err->message);
  std::longjmp(err->jump, 1);
}
// Warnings are not printed. Image data that ends before the picture does (the file cut off, or
// its end marker early), data libjpeg calls corrupt, and scans out of the order of a
// progression are damage, not a picture: libjpeg would go on and make up the rest, or decode
// the whole picture again for each such scan, for as long as the file asks.
void OnJpegMessage(j_common_ptr info, int level) {
  if (level >= 0) return;
  switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_EXTRANEOUS_DATA:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_ARITH_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_BOGUS_PROGRESSION:
      OnJpegError(info);
      break;
    default:
      break;
  }
}

// A real picture needs a few scans per component and bit of precision (at most some hundreds
// even when every coefficient comes in bit by bit); each scan costs a pass over the whole
// picture.
constexpr int kMaxJpegScans = 1000;

struct ScanCounter {
  jpeg_progress_mgr base;
  ErrorManager* err;
};

void OnJpegProgress(j_common_ptr info) {
  auto* d = reinterpret_cast<j_decompress_ptr>(info);
  if (d->input_scan_number > kMaxJpegScans) {
    ErrorManager* err = reinterpret_cast<ScanCounter*>(info->progress)->err;
    std::snprintf(err->message, sizeof err->message, "more than %d scans", kMaxJpegScans);
    std::longjmp(err->jump, 1);
  }
}

}  // namespace

std::string EncodeJpeg(const Dib& dib, int quality) {
  if (dib.Empty() || dib.pixels.size() != static_cast<size_t>(dib.width) * dib.height) return std::string();
  jpeg_compress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnJpegError;
  err.base.emit_message = OnJpegMessage;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  // Lives outside the jump's reach: allocated before it, freed on both ways out.
  std::vector<JSAMPLE>* row = new std::vector<JSAMPLE>(static_cast<size_t>(dib.width) * 3);
  if (setjmp(err.jump)) {
    jpeg_destroy_compress(&info);
    std::free(out);
    delete row;
    return std::string();
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &out, &outSize);
  info.image_width = static_cast<JDIMENSION>(dib.width);
  info.image_height = static_cast<JDIMENSION>(dib.height);
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, quality < 1 ? 1 : quality > 100 ? 100 : quality, TRUE);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    const int y = static_cast<int>(info.next_scanline);
    for (int x = 0; x < dib.width; ++x) {
      const uint32_t p = dib.At(x, y);
      (*row)[3 * static_cast<size_t>(x)] = static_cast<JSAMPLE>((p >> 16) & 0xFF);
      (*row)[3 * static_cast<size_t>(x) + 1] = static_cast<JSAMPLE>((p >> 8) & 0xFF);
      (*row)[3 * static_cast<size_t>(x) + 2] = static_cast<JSAMPLE>(p & 0xFF);
    }
    JSAMPROW rows[1] = {row->data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  delete row;
  std::string bytes(reinterpret_cast<const char*>(out), outSize);
  std::free(out);
  return bytes;
}

std::optional<Dib> DecodeJpeg(std::string_view bytes, std::string* error) {
  if (bytes.size() < 4) {
    Fail(error, "not a JPEG file");
    return std::nullopt;
  }
  jpeg_decompress_struct info;
  ErrorManager err;
  info.err = jpeg_std_error(&err.base);
  err.base.error_exit = OnJpegError;
  err.base.emit_message = OnJpegMessage;
  err.message[0] = '\0';
  // Both live outside the jump's reach: allocated before it, freed on every way out.
  Dib* result = new Dib();
  std::vector<JSAMPLE>* row = new std::vector<JSAMPLE>();
  if (setjmp(err.jump)) {
    jpeg_destroy_decompress(&info);
    delete result;
    delete row;
    if (error) *error = err.message;
    return std::nullopt;
  }
  jpeg_create_decompress(&info);
  info.mem->max_memory_to_use = kJpegWorkingMemory;
  ScanCounter scans{};
  scans.base.progress_monitor = OnJpegProgress;
  scans.err = &err;
  info.progress = &scans.base;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  info.out_color_space = JCS_RGB;
  jpeg_calc_output_dimensions(&info);
  const int64_t width = info.output_width, height = info.output_height;
  const char* refusal = nullptr;
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) {
    refusal = "bad picture size";
  } else if (width * height > kMaxDibPixels) {
    refusal = "picture too large";
  } else if (info.output_components != 3) {
    refusal = "not a colour picture";
  }
  if (refusal) {
    jpeg_destroy_decompress(&info);
    delete result;
    delete row;
    Fail(error, refusal);
    return std::nullopt;
  }
  jpeg_start_decompress(&info);
  *result = Dib::Filled(static_cast<int>(width), static_cast<int>(height), 0);
  row->resize(static_cast<size_t>(width) * 3);
  while (info.output_scanline < info.output_height) {
    const int y = static_cast<int>(info.output_scanline);
    JSAMPROW rows[1] = {row->data()};
    if (jpeg_read_scanlines(&info, rows, 1) != 1) break;
    uint32_t* out = result->pixels.data() + static_cast<size_t>(y) * result->width;
    for (int x = 0; x < result->width; ++x) {
      const JSAMPLE* p = row->data() + 3 * static_cast<size_t>(x);
      out[x] = (static_cast<uint32_t>(p[0]) << 16) | (static_cast<uint32_t>(p[1]) << 8) | p[2];
    }
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);
  std::optional<Dib> dib = std::move(*result);
  delete result;
  delete row;
  return dib;
}

}  // namespace platform
