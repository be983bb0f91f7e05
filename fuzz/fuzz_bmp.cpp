// A BMP file read as a picture, and written back when it is small.
#include "platform/image_codecs.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzzsupport::Bytes(data, size);
  platform::ParseBmpHeader(bytes);
  const std::optional<platform::Dib> dib = platform::DecodeBmp(bytes);
  if (dib && static_cast<int64_t>(dib->width) * dib->height <= 4096) platform::EncodeBmp24(*dib);
  return 0;
}
