// The text search over page metafiles that the standard preview runs on the pages of a page
// file: every text record of a hostile metafile is read with its count and offset checked.
// The input is searched for a few fixed texts, and, read as a length byte, a search text of
// that many bytes and a metafile, for a text of its own. A text found with match case must be
// found without it too.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/cp932.h"
#include "report/metafile_search.h"
#include "support.h"

namespace {

void Check(const std::string& text, std::string_view metafile) {
  const bool exact = rpt::MetafileContainsText(text, metafile, true);
  const bool folded = rpt::MetafileContainsText(text, metafile, false);
  if (exact && !folded) {
    std::fprintf(stderr, "found with match case only\n");
    std::abort();
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes = fuzzsupport::Bytes(data, size);
  static const std::string texts[] = {"Page", "e", platform::J("雨水"), platform::J("ｱ")};
  for (const std::string& text : texts) Check(text, bytes);
  if (size > 0) {
    const size_t n = std::min<size_t>(data[0] % 16, size - 1);
    Check(std::string(bytes.substr(1, n)), bytes.substr(1 + n));
  }
  return 0;
}
