#include "report/metafile_search.h"

#include <algorithm>
#include <mutex>
#include <optional>

#include "platform/dc.h"
#include "platform/emf.h"

namespace rpt {

namespace {

void FoldAscii(std::u16string& text) {
  for (char16_t& c : text) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
}

std::mutex& SearchLock() {
  static std::mutex lock;
  return lock;
}

}  // namespace

bool MetafileContainsText(const std::string& text, std::string_view metafile, bool matchCase) {
  std::lock_guard<std::mutex> guard(SearchLock());
  std::u16string wanted = platform::Cp932ToUtf16(text);
  if (wanted.empty()) return false;
  if (!matchCase) FoldAscii(wanted);
  std::optional<platform::emf::Header> header = platform::emf::ReadHeader(metafile);
  if (!header) return false;
  platform::emf::RecordWalker walker(metafile, *header);
  platform::emf::Record record;
  while (walker.Next(record)) {
    if (record.type != platform::emf::EMR_EXTTEXTOUTA && record.type != platform::emf::EMR_EXTTEXTOUTW) continue;
    std::optional<std::u16string> shown = platform::emf::TextRecordText(record);
    if (!shown || shown->size() < wanted.size()) continue;
    if (!matchCase) FoldAscii(*shown);
    if (shown->find(wanted) != std::u16string::npos) return true;
  }
  return false;
}

}  // namespace rpt
