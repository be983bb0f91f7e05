// Plays an enhanced metafile through the Qt back end into a PNG picture, for checking metafiles
// by hand and in tests:
//
//   run_render_metafile IN.EMF OUT.PNG [WIDTH HEIGHT]
//
// The picture is WIDTH x HEIGHT pixels (1 to 8192 each; default: the metafile's frame at
// 96 dpi, held to 1 to 4096 pixels a side), white, with the metafile's frame placed on the
// whole of it. A file that is not a metafile or whose record structure is damaged gives the
// reason on the standard error and the exit status 1, and no picture; records the player skips
// (unknown, or failing their checks) are counted on the standard error. Exit status 2: usage.
// Runs headless (the offscreen Qt platform unless QT_QPA_PLATFORM says otherwise).
#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/emf.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"

namespace {

int Refuse(const char* in, const std::string& why) {
  std::fprintf(stderr, "run_render_metafile: %s: %s\n", in, why.c_str());
  return 1;
}

bool ParseSide(const char* text, int& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < 1 || v > 8192) return false;
  out = static_cast<int>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) {
    std::fprintf(stderr, "usage: %s IN.EMF OUT.PNG [WIDTH HEIGHT]\n", argv[0]);
    return 2;
  }
  int width = 0, height = 0;
  if (argc == 5 && (!ParseSide(argv[3], width) || !ParseSide(argv[4], height))) {
    std::fprintf(stderr, "%s: WIDTH and HEIGHT are 1 to 8192\n", argv[0]);
    return 2;
  }
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  QGuiApplication app(argc, argv);

  const auto inside = platform::ToInsidePath(argv[1]);
  std::string bytes;
  if (!inside || !platform::ReadFileBytes(*inside, bytes)) return Refuse(argv[1], "cannot be read");
  std::string error;
  const std::optional<platform::emf::Header> header = platform::emf::ReadHeader(bytes, &error);
  if (!header) return Refuse(argv[1], error);
  if (width == 0) {
    const platform::Size frame = platform::emf::FrameSizePixels(*header);
    width = std::clamp(frame.cx, 1, 4096);
    height = std::clamp(frame.cy, 1, 4096);
  }

  QImage image(width, height, QImage::Format_RGB32);
  image.fill(Qt::white);
  platform::EmfPlayResult result;
  {
    platform::QtDc dc(image);
    result = platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, width, height});
  }
  if (!result.ok) return Refuse(argv[1], result.error);
  if (result.skipped > 0) std::fprintf(stderr, "run_render_metafile: %s: %d records skipped\n", argv[1], result.skipped);
  if (!image.save(QString::fromLocal8Bit(argv[2]), "PNG")) {
    std::fprintf(stderr, "run_render_metafile: %s: cannot be written\n", argv[2]);
    return 1;
  }
  return 0;
}
