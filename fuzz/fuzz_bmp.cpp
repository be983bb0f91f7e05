// A BMP file read as a picture.
#include <QImage>

#include "support.h"
#include "views/image_codecs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzzsupport::Bytes(data, size);
  views::ParseBmpHeader(bytes);
  const QImage image = views::DecodeBmp(bytes);
  if (!image.isNull() && image.width() * static_cast<long long>(image.height()) <= 4096) views::EncodeBmp24(image);
  return 0;
}
