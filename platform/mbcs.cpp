#include "platform/mbcs.h"

namespace platform {

ByteRole ByteRoleAt(std::string_view text, size_t at) {
  if (at >= text.size()) return ByteRole::Single;
  size_t i = 0;
  while (i < at) {
    if (IsCp932LeadByte(static_cast<unsigned char>(text[i])))
      i += 2;
    else
      i += 1;
  }
  if (i > at) return ByteRole::Trail;
  return IsCp932LeadByte(static_cast<unsigned char>(text[at])) ? ByteRole::Lead : ByteRole::Single;
}

namespace {

template <char From, char To>
std::string ShiftAsciiCase(std::string_view text) {
  std::string out(text);
  for (size_t i = 0; i < out.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(out[i]);
    if (IsCp932LeadByte(c))
      ++i;  // the trail byte (which may look like a letter) stays as it is
    else if (c >= From && c <= From + 25)
      out[i] = static_cast<char>(c - From + To);
  }
  return out;
}

}  // namespace

std::string UpperAscii(std::string_view text) { return ShiftAsciiCase<'a', 'A'>(text); }
std::string LowerAscii(std::string_view text) { return ShiftAsciiCase<'A', 'a'>(text); }

bool AsciiWordAt(std::string_view text, size_t at, std::string_view lowerWord) {
  if (at > text.size() || text.size() - at < lowerWord.size()) return false;
  for (size_t k = 0; k < lowerWord.size(); ++k) {
    char c = text[at + k];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != lowerWord[k]) return false;
  }
  return true;
}

size_t WholeCharPrefix(std::string_view text, size_t maxBytes) {
  if (text.size() <= maxBytes) return text.size();
  size_t i = 0;
  while (i < maxBytes) {
    const size_t step = IsCp932LeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + step > maxBytes) break;
    i += step;
  }
  return i;
}

}  // namespace platform
