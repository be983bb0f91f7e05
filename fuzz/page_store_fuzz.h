// What the page-store fuzz targets run on one input, shared with the ordinary tests that
// replay the seeds and every input that once failed (tests/report/fuzz_replay_test.cpp).
// Each returns what went wrong, or nullptr; a crash, a sanitizer report or an exception other
// than ERptError is a finding too.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/files.h"
#include "platform/stream.h"
#include "report/page_compress.h"
#include "report/page_store.h"
#include "report/rpt_error.h"

namespace rptfuzz {

// A temporary file for the inputs, removed when the process ends.
class InputFile {
 public:
  InputFile() {
    platform::ReadWriteFile f;
    if (f.CreateUnique("RPTFUZZ")) path_ = f.Path();
  }
  ~InputFile() {
    if (!path_.empty()) platform::RemoveFile(path_);
  }
  const std::string& Write(const uint8_t* data, size_t size) {
    platform::ReadWriteFile f;
    if (f.Create(path_)) f.WriteExact(data, static_cast<int64_t>(size));
    return path_;
  }

 private:
  std::string path_;
};

// `data` as a saved page file. A file that loads must give every page, in either order;
// one that does not may only raise ERptError. The same bytes are then read without the
// load's checks of the whole chain (header only), where each page read may only raise
// ERptError.
inline const char* PageFile(const uint8_t* data, size_t size) {
  static InputFile input;
  const std::string& path = input.Write(data, size);
  rpt::TRptPageList list;
  bool loaded = false;
  try {
    list.LoadFromFile(path);
    loaded = true;
  } catch (const rpt::ERptError&) {
  }
  if (loaded) {
    const int32_t count = list.PageCount();
    for (int32_t n = 1; n <= count; ++n)
      if (!list.GetPage(n)) return "a page of a loaded file is missing";
    for (int32_t n = count; n >= 1; --n)
      if (!list.GetPage(n)) return "a page of a loaded file is missing";
  }
  rpt::TRptPageList raw;
  try {
    raw.SetStream(rpt::TRptStream::CreateFromFile(path));
    raw.ReadHeader();
  } catch (const rpt::ERptError&) {
    return nullptr;
  }
  const int64_t count = raw.PageCount();
  auto read = [&raw](int64_t n) {
    if (n < INT32_MIN || n > INT32_MAX) return;
    try {
      raw.GetPage(static_cast<int32_t>(n));
    } catch (const rpt::ERptError&) {
    }
  };
  for (int64_t n = 1; n <= std::min<int64_t>(count, 64); ++n) read(n);
  for (int64_t n : {count, int64_t{1}, count / 2 + 1, count - 1, count + 1, int64_t{0}}) read(n);
  return nullptr;
}

// `data` compressed and expanded again must come back whole, the expander stopping right
// after the run. Then `data` as a damaged run (its first two bytes the byte count, at most
// 8 per coded byte) must expand or fail without reading past its end.
inline const char* PageExpand(const uint8_t* data, size_t size) {
  const std::string in(reinterpret_cast<const char*>(data), size);
  platform::MemoryStream coded;
  {
    rpt::TRptCompress c(coded, true);
    c.Compress(in.data(), in.size());
    c.Finish();
  }
  const int64_t codedSize = coded.Size();
  coded.Seek(codedSize);
  coded.WriteExact("tail", 4);
  coded.Seek(0);
  std::string back(size, '\0');
  {
    rpt::TRptCompress e(coded, false);
    if (!e.Expand(back.data(), back.size())) return "a compressed run does not expand";
    e.Finish();
  }
  if (back != in) return "a run comes back changed";
  if (coded.Position() != codedSize) return "the expander does not stop after the run";

  if (size < 2) return nullptr;
  const int64_t run = static_cast<int64_t>(size) - 2;
  const int64_t count = std::min<int64_t>(data[0] | (data[1] << 8), 8 * run);
  platform::MemoryStream damaged(in.substr(2) + "tail");
  std::string out(static_cast<size_t>(count), '\0');
  rpt::TRptCompress e(damaged, false, run);
  e.Expand(out.data(), out.size());
  e.Finish();
  if (damaged.Position() > run) return "the expander reads past its limit";
  return nullptr;
}

}  // namespace rptfuzz
