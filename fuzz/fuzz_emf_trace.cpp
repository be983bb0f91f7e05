// An enhanced metafile (as a picture file or a page metafile) read and played on the trace
// device context: the header and record checks of the player.
#include "platform/dc_trace.h"
#include "platform/emf.h"
#include "platform/emf_player.h"
#include "support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzzsupport::Bytes(data, size);
  platform::TraceDc dc;
  platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, 400, 300});
  if (auto header = platform::emf::ReadHeader(bytes)) platform::emf::FrameSizePixels(*header);
  return 0;
}
