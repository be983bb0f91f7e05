// An enhanced metafile played through the Qt back end onto a bitmap, with a clip region set
// as a page image has it: the player and the rasterisation of whatever coordinates the
// records hold.
// fuzz-options: -rss_limit_mb=2048 -timeout=5
#include <QImage>

#include "platform/emf_player.h"
#include "platform/qt/dc_qt.h"
#include "support.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzzsupport::EnsureQtApp();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  QImage image(160, 120, QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::QtDc dc(image);
  const platform::Region clip = platform::Region::FromRects({{4, 4, 150, 60}, {20, 60, 100, 116}});
  dc.SelectClipRegion(&clip);
  platform::PlayEnhMetafile(dc, fuzzsupport::Bytes(data, size), platform::Rect{-10, 0, 170, 120});
  return 0;
}
