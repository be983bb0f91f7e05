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

}  // namespace platform
