// A JPEG file read as a picture.
// fuzz-options: -rss_limit_mb=2048
#include "platform/image_codecs.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::DecodeJpeg(fuzzsupport::Bytes(data, size));
  return 0;
}
