#include "report/page_compress.h"

#include <algorithm>

#include "report/rpt_error.h"

namespace rpt {

namespace {
constexpr const char* kWriteError = "Cannot write the compressed page";
constexpr int kLeafBase = 256;
constexpr int kMaxDepth = 256;  // 257 leaves hang from 256 inner nodes
}  // namespace

TRptCompress::TRptCompress(platform::Stream& stream, bool compress, int64_t limit)
    : stream_(stream), compress_(compress), bitPos_(compress ? 0 : 7), remaining_(compress ? -1 : limit) {
  InitTree();
}

TRptCompress::~TRptCompress() {
  try {
    Finish();
  } catch (const ERptError&) {
  }
}

void TRptCompress::InitTree() {
  for (int i = 1; i <= 512; ++i) parent_[i] = static_cast<uint8_t>((i - 1) / 2);
  parent_[0] = 0;
  for (int j = 0; j < 256; ++j) {
    left_[j] = static_cast<uint16_t>(2 * j + 1);
    right_[j] = static_cast<uint16_t>(2 * j + 2);
  }
}

void TRptCompress::Splay(uint8_t b) {
  int a = b + kLeafBase;
  while (a != 0) {
    const int c = parent_[a];
    if (c == 0) break;
    const int d = parent_[c];
    int x = left_[d];
    if (x == c) {
      x = right_[d];
      right_[d] = static_cast<uint16_t>(a);
    } else {
      left_[d] = static_cast<uint16_t>(a);
    }
    if (a == left_[c])
      left_[c] = static_cast<uint16_t>(x);
    else
      right_[c] = static_cast<uint16_t>(x);
    parent_[a] = static_cast<uint8_t>(d);
    parent_[x] = static_cast<uint8_t>(c);
    a = d;
  }
}

void TRptCompress::Flush() {
  if (bufLen_ == 0) return;
  const auto n = static_cast<int64_t>(bufLen_);
  bufLen_ = 0;
  if (!stream_.WriteExact(buf_, n)) throw ERptError(kWriteError);
}

void TRptCompress::CompressByte(uint8_t b) {
  bool bits[kMaxDepth];
  int depth = 0;
  for (int a = b + kLeafBase; a != 0; a = parent_[a]) bits[depth++] = (a == right_[parent_[a]]);
  while (depth > 0) {
    if (bits[--depth]) outByte_ |= static_cast<uint16_t>(1u << bitPos_);
    if (bitPos_ == 7) {
      buf_[bufLen_++] = static_cast<unsigned char>(outByte_ & 0xFF);
      if (bufLen_ == sizeof buf_) Flush();
      bitPos_ = 0;
      outByte_ = 0;
    } else {
      ++bitPos_;
    }
  }
  Splay(b);
}

void TRptCompress::Compress(const void* data, size_t count) {
  const auto* p = static_cast<const uint8_t*>(data);
  for (size_t i = 0; i < count; ++i) CompressByte(p[i]);
}

bool TRptCompress::Fill() {
  int64_t want = static_cast<int64_t>(sizeof buf_);
  if (remaining_ >= 0) want = std::min(want, remaining_);
  if (want <= 0) return false;
  const int64_t n = stream_.Read(buf_, want);
  if (n <= 0) return false;
  if (remaining_ >= 0) remaining_ -= n;
  bufLen_ = static_cast<size_t>(n);
  bufPos_ = 0;
  return true;
}

bool TRptCompress::ExpandByte(uint8_t& b) {
  int a = 0;
  while (a < kLeafBase) {
    if (bitPos_ == 7) {
      if (bufPos_ == bufLen_ && !Fill()) return false;
      inByte_ = buf_[bufPos_++];
      bitPos_ = 0;
    } else {
      ++bitPos_;
    }
    a = (inByte_ & (1u << bitPos_)) ? right_[a] : left_[a];
  }
  if (a > kLeafBase + 255) return false;
  b = static_cast<uint8_t>(a - kLeafBase);
  Splay(b);
  return true;
}

bool TRptCompress::Expand(void* out, size_t count) {
  auto* p = static_cast<uint8_t*>(out);
  for (size_t i = 0; i < count; ++i)
    if (!ExpandByte(p[i])) return false;
  return true;
}

void TRptCompress::Finish() {
  if (finished_) return;
  finished_ = true;
  if (compress_) {
    if (bitPos_ != 0) buf_[bufLen_++] = static_cast<unsigned char>(outByte_ & 0xFF);
    Flush();
  } else if (bufPos_ < bufLen_) {
    const int64_t unused = static_cast<int64_t>(bufLen_ - bufPos_);
    bufPos_ = bufLen_;
    if (!stream_.Seek(stream_.Position() - unused)) throw ERptError("Cannot position the page stream");
  }
}

}  // namespace rpt
