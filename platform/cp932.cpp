#include "platform/cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>

#include "platform/mbcs.h"

namespace platform {
namespace {

// One converter per direction, opened on first use; the program runs one thread.
class Converter {
 public:
  Converter(const char* to, const char* from) : handle_(iconv_open(to, from)) {
    if (handle_ == reinterpret_cast<iconv_t>(-1)) {
      std::fprintf(stderr, "iconv cannot convert %s to %s\n", from, to);
      std::abort();
    }
  }
  ~Converter() { iconv_close(handle_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts as much as possible. On an invalid or unconvertible sequence calls onBad
  // with the remaining input; onBad returns how many input bytes to skip (0 stops) and
  // may append a replacement to the output.
  template <class OnBad>
  std::string Run(std::string_view in, OnBad onBad) {
    iconv(handle_, nullptr, nullptr, nullptr, nullptr);
    std::string out;
    out.reserve(in.size() * 2 + 4);
    char* src = const_cast<char*>(in.data());
    size_t srcLeft = in.size();
    char buffer[1024];
    while (srcLeft > 0) {
      char* dst = buffer;
      size_t dstLeft = sizeof buffer;
      size_t r = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
      out.append(buffer, dst - buffer);
      if (r == static_cast<size_t>(-1)) {
        if (errno == E2BIG) continue;
        size_t skip = onBad(std::string_view(src, srcLeft), out);
        if (skip == 0) return out;
        src += skip;
        srcLeft -= skip;
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
      }
    }
    return out;
  }

 private:
  iconv_t handle_;
};

Converter& ToUtf8() {
  static Converter c("UTF-8", "CP932");
  return c;
}
Converter& FromUtf8() {
  static Converter c("CP932", "UTF-8");
  return c;
}

}  // namespace

std::string Cp932ToUtf8(std::string_view cp932) {
  return ToUtf8().Run(cp932, [](std::string_view rest, std::string& out) -> size_t {
    out += "\xEF\xBF\xBD";
    // A lead byte followed by an undefined trail is one bad character; anything else one byte.
    unsigned char c = static_cast<unsigned char>(rest[0]);
    bool lead = IsCp932LeadByte(c);
    return (lead && rest.size() >= 2) ? 2 : 1;
  });
}

std::optional<std::string> Utf8ToCp932(std::string_view utf8) {
  bool ok = true;
  std::string out = FromUtf8().Run(utf8, [&ok](std::string_view, std::string&) -> size_t {
    ok = false;
    return 0;
  });
  if (!ok) return std::nullopt;
  return out;
}

std::string J(std::string_view utf8Literal) {
  auto r = Utf8ToCp932(utf8Literal);
  if (!r) {
    std::fprintf(stderr, "text literal not encodable in CP932: %.*s\n",
                 static_cast<int>(utf8Literal.size()), utf8Literal.data());
    std::abort();
  }
  return *r;
}

}  // namespace platform
