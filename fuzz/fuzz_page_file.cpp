// Fuzz target: saved report page files ("RPT"), plain and compressed, loaded whole and read
// page by page (page_store_fuzz.h), and the pages of a file that loads played. Built and run
// with the others by scripts/fuzz.sh (for example "scripts/fuzz.sh 600 page_file").
// (The input goes through a temporary file; the script keeps it on a memory file system.)
//
// An input that fails goes to tests/report/fuzz_regressions/page_file/, which the ordinary
// tests replay.
#include <cstdio>
#include <cstdlib>

#include "fuzz/page_store_fuzz.h"
#include "platform/dc_trace.h"
#include "platform/emf_player.h"

namespace {

// The pages of a file that loads, played as the preview plays them (within the player's
// budget of bitmap pixels, whatever the pages declare).
void PlayPages(const uint8_t* data, size_t size) {
  static rptfuzz::InputFile input;
  rpt::TRptPageList list;
  try {
    list.LoadFromFile(input.Write(data, size));
  } catch (const rpt::ERptError&) {
    return;
  }
  for (int32_t n = 1; n <= std::min<int32_t>(list.PageCount(), 16); ++n) {
    if (std::optional<std::string> page = list.GetPage(n)) {
      platform::TraceDc dc;
      platform::PlayEnhMetafile(dc, *page, platform::Rect{0, 0, 794, 1123});
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (const char* problem = rptfuzz::PageFile(data, size)) {
    std::fprintf(stderr, "%s\n", problem);
    std::abort();
  }
  PlayPages(data, size);
  return 0;
}
