#include "platform/path.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "platform/cp932.h"
#include "platform/mbcs.h"

namespace platform {
namespace {

bool PathExists(const std::string& native) {
  struct stat st;
  return ::lstat(native.c_str(), &st) == 0;
}

// Resolves each component of `native` case-insensitively where the exact name is missing.
std::string ResolveCase(const std::string& native) {
  if (PathExists(native)) return native;
  std::vector<std::string> parts;
  size_t pos = 0;
  bool absolute = !native.empty() && native[0] == '/';
  while (pos <= native.size()) {
    size_t next = native.find('/', pos);
    if (next == std::string::npos) next = native.size();
    if (next > pos) parts.push_back(native.substr(pos, next - pos));
    pos = next + 1;
  }
  std::string current = absolute ? "/" : "";
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string candidate = current + parts[i];
    if (!PathExists(candidate) && parts[i] != "." && parts[i] != "..") {
      DIR* dir = ::opendir(current.empty() ? "." : current.c_str());
      if (dir) {
        while (dirent* e = ::readdir(dir)) {
          if (SameNameIgnoringCase(e->d_name, parts[i])) {
            candidate = current + e->d_name;
            break;
          }
        }
        ::closedir(dir);
      }
    }
    current = candidate;
    if (i + 1 < parts.size()) current += "/";
  }
  if (!native.empty() && native.back() == '/' && (current.empty() || current.back() != '/')) current += "/";
  return current;
}

}  // namespace

bool SameNameIgnoringCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

std::optional<std::string> ToNativePath(const std::string& inside) {
  std::string rest = inside;
  bool absolute = false;
  if (rest.size() >= 2 && rest[1] == ':') {
    char drive = rest[0];
    if (drive != 'C' && drive != 'c') return std::nullopt;
    rest = rest.substr(2);
    absolute = true;
  }
  // Separators are replaced on the CP932 bytes before conversion would be wrong: a trail
  // byte may be 0x5C. Convert first, then replace backslashes in the UTF-8 text, where
  // 0x5C only ever stands for itself.
  std::string utf8 = Cp932ToUtf8(rest);
  for (char& c : utf8)
    if (c == '\\') c = '/';
  if (absolute && (utf8.empty() || utf8[0] != '/')) utf8 = "/" + utf8;
  return ResolveCase(utf8);
}

std::optional<std::string> ToInsidePath(const std::string& native) {
  auto cp = Utf8ToCp932(native);
  if (!cp) return std::nullopt;
  // Replace '/' only where it is a single byte (0x2F is never a trail byte, but be exact).
  std::string out;
  out.reserve(cp->size() + 2);
  for (size_t i = 0; i < cp->size(); ++i) {
    unsigned char c = (*cp)[i];
    if (IsCp932LeadByte(c)) {
      out += (*cp)[i];
      if (i + 1 < cp->size()) out += (*cp)[++i];
      continue;
    }
    out += (c == '/') ? '\\' : static_cast<char>(c);
  }
  if (!out.empty() && out[0] == '\\') out = "C:" + out;
  return out;
}

namespace {

std::string NativeExecutablePath() {
  std::string buf(4096, '\0');
  ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  return n > 0 ? buf.substr(0, static_cast<size_t>(n)) : std::string("/");
}

}  // namespace

std::string ExecutableFolder() {
  std::string native = NativeExecutablePath();
  native = native.substr(0, native.rfind('/') + 1);
  return ToInsidePath(native).value_or("C:\\");
}

std::string ExecutableName() {
  std::string name = NativeExecutablePath();
  name = name.substr(name.rfind('/') + 1);
  const size_t dot = name.rfind('.');
  if (dot != std::string::npos && dot > 0) name.resize(dot);
  return ToInsidePath(name).value_or("");
}

std::string TempFolder() {
  const char* t = std::getenv("TMPDIR");
  std::string native = (t && *t) ? t : "/tmp";
  if (native.back() != '/') native += '/';
  return ToInsidePath(native).value_or("C:\\tmp\\");
}

}  // namespace platform
