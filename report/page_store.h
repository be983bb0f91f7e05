// The page store of a report run: the page stream (TRptStream), the page records in it
// (TRptPageList) and the outline of the pages (TRptOutline).
//
// A run to the page list appends every finished page (the bytes of an enhanced metafile) as
// one record to the page stream; a preview and the stored-page printing read pages back by
// number while the run goes on. The stream stays in memory until it grows past a memory limit
// and then moves to a temporary file. The same bytes are the saved report file ("RPT").
//
// Layout, little-endian throughout. A header at offset 0 (128 bytes; older files have 124
// or 96), then one record per page in page order:
//   page number (int32, from 1) | next (int32: offset of the byte after the record) |
//   body | back (int32: offset of the record's first byte)
// A plain body is the metafile's bytes; a compressed body is the metafile's byte count
// (int32) followed by its coded run (page_compress.h). "next" and "back" chain the records
// both ways: the last four bytes of the stream give the start of the last record.
//
// Page files come from outside, so every record is checked before it is used: its page
// number, a next field past the record and inside the stream, a back field equal to its
// start, a plain body that is exactly one metafile, a coded count from 0 to 8 bytes for every
// coded byte, a coded run that decodes inside its record. Walks from record to record take at
// most one step per page. A damaged stream raises ERptError naming the file (or the page
// stream) and the page; no check lets a file make the list read outside the stream, loop or
// allocate more than the stream holds.
//
// Locks: the stream serialises each of its operations and the list adds or reads a page
// whole under its own lock (both recursive), so pages can be read while others are added.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/dc.h"
#include "platform/files.h"
#include "platform/stream.h"

class QTreeWidget;

namespace rpt {

// The page stream: in memory, or in a file after growing past the memory limit or when
// opened on a saved page file.
class TRptStream : public platform::Stream {
 public:
  static constexpr int64_t kDefaultMemoryLimit = 250000;

  // In memory and empty. A write that makes the stream larger than `memoryLimit` bytes moves
  // it into a new temporary file "RPT…" in the system's temporary folder.
  explicit TRptStream(int64_t memoryLimit = kDefaultMemoryLimit);
  // Backed by an existing file, opened for reading only. Raises ERptError naming the file
  // when it cannot be opened.
  static std::shared_ptr<TRptStream> CreateFromFile(const std::string& fileName);
  // Frees the backing stream and deletes the temporary file it made.
  ~TRptStream() override;

  // Writing in memory past the limit spills the stream into the temporary file. When that
  // fails, the write is undone, the stream stays in memory as it was, the write returns 0
  // and Error() says why.
  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override;
  int64_t Size() const override;
  bool SetSize(int64_t size) override;

  // Copies the whole stream to `destination` in blocks of 10240 bytes, from position 0 to
  // the end (where the stream is left). False when a read or a write fails.
  bool SaveToStream(platform::Stream& destination);
  // The header length of the content: 124 or 96 when the first page's metafile signature
  // lies where a 124- or 96-byte header would put it, otherwise 128 (also for compressed
  // pages). The position is kept.
  int DetectHeaderLength();

  bool InMemory() const;
  int64_t MemoryLimit() const { return memoryLimit_; }
  // The file behind the stream: the opened page file or the temporary file (empty in memory).
  std::string FileName() const;
  // The reason of the last failed write or spill.
  std::string Error() const;

 private:
  platform::Stream& Current() const;
  bool Spill();

  mutable std::recursive_mutex lock_;
  int64_t memoryLimit_;
  std::unique_ptr<platform::MemoryStream> memory_;
  std::unique_ptr<platform::ReadWriteFile> file_;
  std::string tempName_;  // the temporary file this stream made
  std::string error_;
};

// One entry of the outline: a text (CP932, at most 51 bytes) at a nesting level, and where
// it points to: an area of a page (report units) and the page number. `key` identifies it.
struct TRptOutlineEntry {
  std::string text;
  int32_t level = 0;
  platform::Rect area;
  int32_t page = 0;
  int32_t key = 0;
};

// The outline: a passive list of entries, shown as a tree in an attached tree widget.
class TRptOutline {
 public:
  static constexpr size_t kMaxTextBytes = 51;

  // Appends an entry (its text cut to 51 bytes, never inside a double-byte character) and
  // rebuilds the attached tree.
  void Add(const TRptOutlineEntry& entry);
  void Clear();
  const std::vector<TRptOutlineEntry>& Entries() const { return entries_; }
  // Attaches a tree widget (nullptr detaches) and builds the tree in it at once.
  void SetTree(QTreeWidget* tree);
  // Rebuilds the attached tree: an entry deeper than the one before becomes a child of the
  // last entry one level up from it, any other entry a sibling of the last entry at its
  // level. Making an entry forgets the deeper ones before it, so a later deep entry never
  // hangs below an earlier branch; one with no entry one level up hangs below the nearest
  // shallower one (or at the top).
  void BuildTree();
  // The area and page of the first entry with `key`; an empty area and page 0 when none.
  void FindEntry(int32_t key, platform::Rect& area, int32_t& page) const;

 private:
  std::vector<TRptOutlineEntry> entries_;
  QTreeWidget* tree_ = nullptr;
};

// The header at the start of a page stream, as read (a 124- or 96-byte header is converted
// into this layout) or written.
struct TPageStreamHeader {
  static constexpr int kLength = 128;
  int16_t version = 3;
  int16_t forty = 40;
  int32_t pageCount = 0;
  double dateTime = 0;  // days since 30 December 1899, local time
  bool compressed = false;
};

class TRptPageList {
 public:
  TRptPageList() = default;

  // Sets the page count to 0; the stream stays with its owner.
  void Clear();
  bool Compression() const;
  void SetCompression(bool compress);
  int32_t PageCount() const;
  std::shared_ptr<TRptStream> Stream() const;
  void SetStream(std::shared_ptr<TRptStream> stream);
  TRptOutline& Outline() { return outline_; }
  // The header last read or written.
  TPageStreamHeader Header() const;
  int HeaderLength() const;

  // Appends a page (the bytes of one enhanced metafile) as the next record. Raises
  // ERptError when the bytes are not one metafile, when the stream would pass 2 GB or when
  // writing fails; the list and the stream are then as they were before.
  void AddPage(const std::string& metafile);
  // The bytes of page n; empty for n outside 1 to the page count (the stream is not moved).
  // Raises ERptError naming the file and the page when the page's record is damaged.
  std::optional<std::string> GetPage(int32_t n);

  // Writes a 128-byte header with the page count, the current time and the compression
  // flag at offset 0; the position is kept.
  void WriteHeader();
  // Reads the header at offset 0 (of the detected length): page count and compression
  // flag. Raises ERptError when it is cut short or counts fewer than 0 pages.
  void ReadHeader();
  // Replaces the stream by one opened on the file after checking the file's header and the
  // whole chain of its records against it; leaves the stream at its end. A file that fails
  // raises ERptError naming it and leaves the list as it was.
  void LoadFromFile(const std::string& fileName);
  // Saves the whole page stream as the file, through a temporary file in its folder renamed
  // over it, so a failed save (or one onto the loaded file) keeps the old file. Raises
  // ERptError naming the file when it fails.
  void WriteFile(const std::string& fileName);

  // Position the stream at the start of a record. SeekPage is false (and the stream not
  // moved) for n outside 1 to the page count; a damaged chain raises ERptError.
  void SeekToFirst();
  void SeekToLast();
  bool SeekPage(int32_t n);

 private:
  struct RecordHead {
    int64_t start = 0;
    int32_t page = 0;
    int64_t next = 0;
  };
  [[noreturn]] void Damaged(int32_t page) const;
  RecordHead ReadHead(int64_t start, int32_t expectedPage);
  int64_t ReadBack(int64_t at);
  int64_t LocatePage(int32_t n, RecordHead& head);
  std::string ReadBody(const RecordHead& head);
  void CheckBody(const RecordHead& head, int64_t bodyStart);
  void CheckChain();

  mutable std::recursive_mutex lock_;
  bool compressed_ = false;
  int32_t pageCount_ = 0;
  std::shared_ptr<TRptStream> stream_;
  TPageStreamHeader header_;
  int headerLength_ = TPageStreamHeader::kLength;
  TRptOutline outline_;
};

}  // namespace rpt
