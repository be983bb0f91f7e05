#include "report/page_fixtures.h"

#include <cstring>

#include "platform/emf_recorder.h"
#include "platform/stream.h"
#include "report/page_store.h"

namespace rpttest {

namespace {
platform::LogBrush Brush(platform::ColorRef color) {
  platform::LogBrush b;
  b.color = color;
  return b;
}
}  // namespace

std::string MakePage(int n) {
  platform::EmfRecorder r(794, 1123);
  r.SelectPen(platform::LogPen{});
  r.SelectBrush(Brush(platform::RgbColor(255, 255, 255)));
  r.Rectangle(40, 40, 754, 1083);
  r.TextOut(60, 60, u"Page " + std::u16string(1, static_cast<char16_t>(u'0' + n % 10)));
  for (int row = 0; row < 40; ++row) {
    r.MoveTo(60, 120 + row * 22);
    r.LineTo(734, 120 + row * 22);
    r.TextOut(64, 124 + row * 22, u"1981 123.4 56.7 89.0");
  }
  for (int k = 0; k < n % 7 + 1; ++k) {
    r.SelectBrush(Brush(platform::RgbColor(30 * k, 100, 200 - 20 * k)));
    r.Rectangle(600 - 30 * k, 1000, 620 - 30 * k, 1060 - 5 * n);
  }
  return r.Finish();
}

std::vector<std::string> MakePages(int count) {
  std::vector<std::string> pages;
  for (int n = 1; n <= count; ++n) pages.push_back(MakePage(n));
  return pages;
}

void PutI32At(std::string& bytes, size_t offset, int32_t value) { platform::PutI32(bytes.data() + offset, value); }

int32_t I32At(const std::string& bytes, size_t offset) { return platform::GetI32(bytes.data() + offset); }

std::string HandMadeFile(int headerLength, const std::vector<std::string>& pages) {
  std::string file(static_cast<size_t>(headerLength), '\0');
  file[0] = 3;
  file[2] = 40;
  PutI32At(file, 8, static_cast<int32_t>(pages.size()));
  for (size_t i = 0; i < pages.size(); ++i) {
    const size_t start = file.size();
    std::string record(8, '\0');
    PutI32At(record, 0, static_cast<int32_t>(i + 1));
    PutI32At(record, 4, static_cast<int32_t>(start + 12 + pages[i].size()));
    record += pages[i];
    record.append(4, '\0');
    PutI32At(record, record.size() - 4, static_cast<int32_t>(start));
    file += record;
  }
  return file;
}

std::string ListBytes(const std::vector<std::string>& pages, bool compressed) {
  rpt::TRptPageList list;
  auto stream = std::make_shared<rpt::TRptStream>();
  list.SetStream(stream);
  list.SetCompression(compressed);
  for (const auto& p : pages) list.AddPage(p);
  list.WriteHeader();
  platform::MemoryStream out;
  stream->SaveToStream(out);
  return out.Take();
}

}  // namespace rpttest
