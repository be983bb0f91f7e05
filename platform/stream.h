// Byte streams with a current position: the common face of memory buffers, files
// (files.h) and the streams the libraries build on them. Read and Write move the position
// by the bytes they move; numbers are stored little-endian.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

class Stream {
 public:
  virtual ~Stream() = default;

  // Reads up to `count` bytes at the position: the number read, 0 at the end, -1 on an error.
  virtual int64_t Read(void* buffer, int64_t count) = 0;
  // Writes `count` bytes at the position, growing the stream past its end: the number
  // written, less than `count` on an error.
  virtual int64_t Write(const void* buffer, int64_t count) = 0;
  // Moves to an absolute position (0 or more; past the end is allowed and a write there
  // fills the gap with zero bytes). False when refused.
  virtual bool Seek(int64_t position) = 0;
  virtual int64_t Position() const = 0;
  virtual int64_t Size() const = 0;
  // Cuts the stream to `size` bytes or extends it with zero bytes; the position is kept.
  virtual bool SetSize(int64_t size) = 0;

  // All `count` bytes or false.
  bool ReadExact(void* buffer, int64_t count);
  bool WriteExact(const void* buffer, int64_t count);
  bool ReadI32(int32_t& value);
  bool WriteI32(int32_t value);
};

// A stream held in memory.
class MemoryStream final : public Stream {
 public:
  MemoryStream() = default;
  explicit MemoryStream(std::string bytes) : bytes_(std::move(bytes)) {}

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return pos_; }
  int64_t Size() const override { return static_cast<int64_t>(bytes_.size()); }
  bool SetSize(int64_t size) override;

  const std::string& Bytes() const { return bytes_; }
  // Gives the bytes away and leaves the stream empty at position 0.
  std::string Take();

 private:
  std::string bytes_;
  int64_t pos_ = 0;
};

// Little-endian 32-bit numbers inside byte buffers.
int32_t GetI32(const void* bytes);
void PutI32(void* bytes, int32_t value);

}  // namespace platform
