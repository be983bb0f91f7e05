// A JPEG file read as a picture.
// fuzz-options: -rss_limit_mb=2048
#include <QImage>

#include "support.h"
#include "views/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  views::DecodeJpeg(fuzzsupport::Bytes(data, size));
  return 0;
}
