// Converts a picture between the BMP and JPEG files of the picture export, for checking
// pictures by hand and in tests:
//
//   run_convert_picture IN OUT
//
// IN is read by its contents (a BMP or a JPEG file); OUT is written by its extension: ".bmp"
// as a 24-bit BMP, ".jpg" or ".jpeg" as a JPEG of quality 75 (either way, or the same format
// again). A file that cannot be read as a picture (damaged, too large, another format) gives
// the reason on the standard error and the exit status 1, and no output. Exit status 2: usage.
#include <cstdio>
#include <string>

#include "platform/files.h"
#include "platform/image_codecs.h"
#include "platform/path.h"

namespace {

int Refuse(const char* file, const std::string& why) {
  std::fprintf(stderr, "run_convert_picture: %s: %s\n", file, why.c_str());
  return 1;
}

// The extension of a native path, lower-case, with its dot.
std::string Extension(std::string path) {
  const size_t slash = path.rfind('/');
  const size_t dot = path.rfind('.');
  if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return std::string();
  std::string ext = path.substr(dot);
  for (char& c : ext)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return ext;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s IN OUT  (BMP or JPEG, by OUT's extension .bmp, .jpg, .jpeg)\n", argv[0]);
    return 2;
  }
  const std::string ext = Extension(argv[2]);
  const bool toJpeg = ext == ".jpg" || ext == ".jpeg";
  if (!toJpeg && ext != ".bmp") {
    std::fprintf(stderr, "%s: OUT must end in .bmp, .jpg or .jpeg\n", argv[0]);
    return 2;
  }
  const auto in = platform::ToInsidePath(argv[1]);
  const auto out = platform::ToInsidePath(argv[2]);
  std::string bytes;
  if (!in || !platform::ReadFileBytes(*in, bytes)) return Refuse(argv[1], "cannot be read");

  std::string error;
  std::optional<platform::Dib> dib;
  if (bytes.size() >= 2 && bytes[0] == 'B' && bytes[1] == 'M') {
    dib = platform::DecodeBmp(bytes, &error);
  } else if (bytes.size() >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
             static_cast<unsigned char>(bytes[1]) == 0xD8) {
    dib = platform::DecodeJpeg(bytes, &error);
  } else {
    error = "not a BMP or JPEG file";
  }
  if (!dib) return Refuse(argv[1], error);

  const std::string encoded = toJpeg ? platform::EncodeJpeg(*dib, 75) : platform::EncodeBmp24(*dib);
  if (encoded.empty()) return Refuse(argv[2], "cannot be encoded");
  if (!out || !platform::WriteFileBytesAtomic(*out, encoded, &error)) return Refuse(argv[2], error);
  return 0;
}
