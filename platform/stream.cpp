#include "platform/stream.h"

#include <algorithm>
#include <cstring>

namespace platform {

int32_t GetI32(const void* bytes) {
  const auto* p = static_cast<const unsigned char*>(bytes);
  return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                              (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}

void PutI32(void* bytes, int32_t value) {
  auto* p = static_cast<unsigned char*>(bytes);
  const auto u = static_cast<uint32_t>(value);
  for (int k = 0; k < 4; ++k) p[k] = static_cast<unsigned char>(u >> (8 * k));
}

bool Stream::ReadExact(void* buffer, int64_t count) {
  auto* p = static_cast<char*>(buffer);
  while (count > 0) {
    const int64_t n = Read(p, count);
    if (n <= 0) return false;
    p += n;
    count -= n;
  }
  return true;
}

bool Stream::WriteExact(const void* buffer, int64_t count) { return count <= 0 || Write(buffer, count) == count; }

bool Stream::ReadI32(int32_t& value) {
  unsigned char b[4];
  if (!ReadExact(b, 4)) return false;
  value = GetI32(b);
  return true;
}

bool Stream::WriteI32(int32_t value) {
  unsigned char b[4];
  PutI32(b, value);
  return WriteExact(b, 4);
}

int64_t MemoryStream::Read(void* buffer, int64_t count) {
  if (count <= 0 || pos_ >= Size()) return 0;
  const int64_t n = std::min(count, Size() - pos_);
  std::memcpy(buffer, bytes_.data() + pos_, static_cast<size_t>(n));
  pos_ += n;
  return n;
}

int64_t MemoryStream::Write(const void* buffer, int64_t count) {
  if (count <= 0) return 0;
  const auto end = static_cast<size_t>(pos_ + count);
  if (end > bytes_.size()) bytes_.resize(end);
  std::memcpy(bytes_.data() + pos_, buffer, static_cast<size_t>(count));
  pos_ += count;
  return count;
}

bool MemoryStream::Seek(int64_t position) {
  if (position < 0) return false;
  pos_ = position;
  return true;
}

bool MemoryStream::SetSize(int64_t size) {
  if (size < 0) return false;
  bytes_.resize(static_cast<size_t>(size));
  return true;
}

std::string MemoryStream::Take() {
  std::string out;
  out.swap(bytes_);
  pos_ = 0;
  return out;
}

}  // namespace platform
