#include "report/page_store.h"

#include <QTreeWidget>
#include <algorithm>
#include <chrono>
#include <cstring>
#include <ctime>
#include <limits>

#include "platform/emf.h"
#include "platform/mbcs.h"
#include "platform/path.h"
#include "platform/qt/qt_text.h"
#include "report/page_compress.h"
#include "report/rpt_error.h"

namespace rpt {

namespace {

// Texts of the errors (English, as every text of the report library).
constexpr const char* kCannotOpen = "Cannot open the page file ";
constexpr const char* kCannotSave = "Cannot save the page file ";
constexpr const char* kCannotWrite = "Cannot write the page stream: ";
constexpr const char* kNoStream = "The page list has no page stream";
constexpr const char* kNotMetafile = "The page is not an enhanced metafile";
constexpr const char* kStreamFull = "The page stream cannot grow past 2 GB";

constexpr int64_t kCopyBlock = 10240;
constexpr int64_t kMaxOffset = std::numeric_limits<int32_t>::max();
constexpr int kRecordFrame = 12;  // page number, next and back
constexpr unsigned char kFiller = 0x48;

// Raised by the record checks; the public operations turn it into ERptError naming the page
// they were after.
struct Damage {};
[[noreturn]] void Fail() { throw Damage{}; }

// The current local time as days since 30 December 1899, the fraction being the time of day.
double NowAsDays() {
  using namespace std::chrono;
  const std::time_t t = std::time(nullptr);
  std::tm tm{};
  localtime_r(&t, &tm);
  const sys_days date{year{tm.tm_year + 1900} / month{static_cast<unsigned>(tm.tm_mon + 1)} /
                      day{static_cast<unsigned>(tm.tm_mday)}};
  const sys_days epoch{year{1899} / December / 30};
  const double seconds = tm.tm_hour * 3600.0 + tm.tm_min * 60.0 + tm.tm_sec;
  return static_cast<double>((date - epoch).count()) + seconds / 86400.0;
}

double GetDouble(const unsigned char* p) {
  uint64_t u = 0;
  for (int k = 7; k >= 0; --k) u = (u << 8) | p[k];
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

void PutDouble(unsigned char* p, double d) {
  uint64_t u;
  std::memcpy(&u, &d, 8);
  for (int k = 0; k < 8; ++k) p[k] = static_cast<unsigned char>(u >> (8 * k));
}

int16_t GetI16(const unsigned char* p) { return static_cast<int16_t>(p[0] | (p[1] << 8)); }

void PutI16(unsigned char* p, int16_t v) {
  p[0] = static_cast<unsigned char>(v & 0xFF);
  p[1] = static_cast<unsigned char>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

// True when `bytes` are exactly one enhanced metafile: a header counting all the bytes and a
// chain of records that ends with the end-of-file record at the last byte.
bool IsOneMetafile(std::string_view bytes) {
  auto header = platform::emf::ReadHeader(bytes);
  if (!header || header->bytes != bytes.size()) return false;
  platform::emf::RecordWalker walker(bytes, *header);
  platform::emf::Record record;
  size_t end = 0;
  uint32_t last = 0;
  while (walker.Next(record)) {
    last = record.type;
    end = record.offset + record.size;
  }
  return walker.Error().empty() && last == platform::emf::EMR_EOF && end == bytes.size();
}

}  // namespace

// ---- TRptStream ------------------------------------------------------------------------------

TRptStream::TRptStream(int64_t memoryLimit)
    : memoryLimit_(memoryLimit), memory_(std::make_unique<platform::MemoryStream>()) {}

std::shared_ptr<TRptStream> TRptStream::CreateFromFile(const std::string& fileName) {
  auto stream = std::make_shared<TRptStream>(0);
  auto file = std::make_unique<platform::ReadWriteFile>();
  if (!file->OpenRead(fileName)) throw ERptError(kCannotOpen + fileName + ": " + file->Error());
  stream->memory_.reset();
  stream->file_ = std::move(file);
  return stream;
}

TRptStream::~TRptStream() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  file_.reset();
  if (!tempName_.empty() && platform::FileExists(tempName_)) platform::RemoveFile(tempName_);
}

platform::Stream& TRptStream::Current() const {
  if (memory_) return *memory_;
  return *file_;
}

bool TRptStream::Spill() {
  auto file = std::make_unique<platform::ReadWriteFile>();
  if (!file->CreateUnique("RPT")) {
    error_ = "Cannot create a temporary file in " + platform::TempFolder() + ": " + file->Error();
    return false;
  }
  const std::string name = file->Path();
  const std::string& bytes = memory_->Bytes();
  if (!file->WriteExact(bytes.data(), static_cast<int64_t>(bytes.size())) || !file->Seek(memory_->Position())) {
    error_ = "Cannot write the temporary file " + name + ": " + file->Error();
    file.reset();
    platform::RemoveFile(name);
    return false;
  }
  file_ = std::move(file);
  tempName_ = name;
  memory_.reset();
  return true;
}

int64_t TRptStream::Read(void* buffer, int64_t count) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Current().Read(buffer, count);
}

int64_t TRptStream::Write(const void* buffer, int64_t count) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (memory_) {
    const int64_t oldSize = memory_->Size(), oldPos = memory_->Position();
    const int64_t n = memory_->Write(buffer, count);
    if (memory_->Size() > memoryLimit_ && !Spill()) {
      memory_->SetSize(oldSize);
      memory_->Seek(oldPos);
      return 0;
    }
    return n;
  }
  const int64_t n = file_->Write(buffer, count);
  if (n < count) error_ = file_->Error().empty() ? "the file is read-only" : file_->Error();
  return n;
}

bool TRptStream::Seek(int64_t position) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Current().Seek(position);
}

int64_t TRptStream::Position() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Current().Position();
}

int64_t TRptStream::Size() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Current().Size();
}

bool TRptStream::SetSize(int64_t size) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return Current().SetSize(size);
}

bool TRptStream::SaveToStream(platform::Stream& destination) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!Seek(0)) return false;
  std::string block(kCopyBlock, '\0');
  for (;;) {
    const int64_t n = Read(block.data(), kCopyBlock);
    if (n < 0) return false;
    if (n == 0) return true;
    if (!destination.WriteExact(block.data(), n)) return false;
  }
}

int TRptStream::DetectHeaderLength() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  const int64_t pos = Position();
  // The letters of the metafile signature lie 41 bytes into the first page's metafile,
  // which starts 8 bytes after the header.
  auto signatureAt = [this](int64_t offset) {
    char text[4];
    return Seek(offset) && ReadExact(text, 4) && std::memcmp(text, "EMF\0", 4) == 0;
  };
  int length = TPageStreamHeader::kLength;
  if (signatureAt(124 + 8 + 41))
    length = 124;
  else if (!signatureAt(128 + 8 + 41) && signatureAt(96 + 8 + 41))
    length = 96;
  Seek(pos);
  return length;
}

bool TRptStream::InMemory() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return memory_ != nullptr;
}

std::string TRptStream::FileName() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return file_ ? file_->Path() : std::string();
}

std::string TRptStream::Error() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return error_;
}

// ---- TRptOutline -----------------------------------------------------------------------------

void TRptOutline::Add(const TRptOutlineEntry& entry) {
  TRptOutlineEntry e = entry;
  if (e.text.size() > kMaxTextBytes)
    e.text.resize(platform::ByteRoleAt(e.text, kMaxTextBytes - 1) == platform::ByteRole::Lead ? kMaxTextBytes - 1
                                                                                            : kMaxTextBytes);
  entries_.push_back(std::move(e));
  BuildTree();
}

void TRptOutline::Clear() {
  entries_.clear();
  BuildTree();
}

void TRptOutline::SetTree(QTreeWidget* tree) {
  tree_ = tree;
  BuildTree();
}

void TRptOutline::BuildTree() {
  if (!tree_) return;
  tree_->setUpdatesEnabled(false);
  tree_->clear();
  // last[k]: the last item made at level k, forgotten when a shallower one is made.
  std::vector<QTreeWidgetItem*> last;
  for (const TRptOutlineEntry& e : entries_) {
    const size_t level = static_cast<size_t>(std::max(0, e.level));
    QTreeWidgetItem* parent = nullptr;
    for (size_t k = std::min(level, last.size()); k-- > 0;)
      if (last[k]) {
        parent = last[k];
        break;
      }
    auto* item = new QTreeWidgetItem(QStringList{platform::ToQString(e.text)});
    if (parent)
      parent->addChild(item);
    else
      tree_->addTopLevelItem(item);
    if (last.size() <= level) last.resize(level + 1, nullptr);
    last[level] = item;
    std::fill(last.begin() + static_cast<std::ptrdiff_t>(level) + 1, last.end(), nullptr);
  }
  tree_->setUpdatesEnabled(true);
}

void TRptOutline::FindEntry(int32_t key, platform::Rect& area, int32_t& page) const {
  area = platform::Rect{};
  page = 0;
  for (const TRptOutlineEntry& e : entries_)
    if (e.key == key) {
      area = e.area;
      page = e.page;
      return;
    }
}

// ---- TRptPageList ----------------------------------------------------------------------------

void TRptPageList::Clear() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  pageCount_ = 0;
}

bool TRptPageList::Compression() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return compressed_;
}

void TRptPageList::SetCompression(bool compress) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  compressed_ = compress;
}

int32_t TRptPageList::PageCount() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return pageCount_;
}

std::shared_ptr<TRptStream> TRptPageList::Stream() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return stream_;
}

void TRptPageList::SetStream(std::shared_ptr<TRptStream> stream) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  stream_ = std::move(stream);
  headerLength_ = TPageStreamHeader::kLength;
}

TPageStreamHeader TRptPageList::Header() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return header_;
}

int TRptPageList::HeaderLength() const {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  return headerLength_;
}

void TRptPageList::Damaged(int32_t page) const {
  const std::string file = stream_ ? stream_->FileName() : std::string();
  const std::string where = file.empty() ? std::string("the page stream") : "the page file " + file;
  if (page <= 0) throw ERptError("The header of " + where + " is damaged");
  throw ERptError("Page " + std::to_string(page) + " of " + where + " is damaged");
}

void TRptPageList::AddPage(const std::string& metafile) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_) throw ERptError(kNoStream);
  if (!IsOneMetafile(metafile)) throw ERptError(kNotMetafile);
  TRptStream& s = *stream_;
  const int64_t oldSize = s.Size();
  const int32_t oldCount = pageCount_;
  auto check = [&s](bool ok) {
    if (!ok) throw ERptError(kCannotWrite + s.Error());
  };
  try {
    ++pageCount_;
    if (pageCount_ == 1) WriteHeader();
    const int64_t start = s.Size();
    const int64_t plainEnd = start + kRecordFrame + static_cast<int64_t>(metafile.size());
    if (start > kMaxOffset || static_cast<int64_t>(metafile.size()) > kMaxOffset ||
        (!compressed_ && plainEnd > kMaxOffset))
      throw ERptError(kStreamFull);
    check(s.Seek(start));
    check(s.WriteI32(pageCount_));
    const int64_t nextField = s.Position();
    check(s.WriteI32(static_cast<int32_t>(nextField)));
    if (compressed_) {
      check(s.WriteI32(static_cast<int32_t>(metafile.size())));
      TRptCompress coder(s, true);
      coder.Compress(metafile.data(), metafile.size());
      coder.Finish();
    } else {
      check(s.WriteExact(metafile.data(), static_cast<int64_t>(metafile.size())));
    }
    check(s.WriteI32(static_cast<int32_t>(start)));
    const int64_t end = s.Position();
    if (end > kMaxOffset) throw ERptError(kStreamFull);
    check(s.Seek(nextField));
    check(s.WriteI32(static_cast<int32_t>(end)));
    check(s.Seek(end));
  } catch (...) {
    pageCount_ = oldCount;
    s.SetSize(oldSize);
    s.Seek(oldSize);
    throw;
  }
}

TRptPageList::RecordHead TRptPageList::ReadHead(int64_t start, int32_t expectedPage) {
  TRptStream& s = *stream_;
  const int64_t size = s.Size();
  if (start < headerLength_ || start > size - kRecordFrame - 4) Fail();
  if (s.Position() != start && !s.Seek(start)) Fail();
  RecordHead head;
  int32_t next = 0;
  head.start = start;
  if (!s.ReadI32(head.page) || !s.ReadI32(next)) Fail();
  head.next = next;
  if (head.page < 1 || head.page > pageCount_ || (expectedPage > 0 && head.page != expectedPage)) Fail();
  // The smallest body is a coded run's byte count.
  if (head.next < start + kRecordFrame + 4 || head.next > size) Fail();
  return head;
}

int64_t TRptPageList::ReadBack(int64_t at) {
  TRptStream& s = *stream_;
  int32_t back = 0;
  if (at < headerLength_ || !s.Seek(at) || !s.ReadI32(back)) Fail();
  return back;
}

int64_t TRptPageList::LocatePage(int32_t n, RecordHead& head) {
  TRptStream& s = *stream_;
  int64_t start = headerLength_;
  if (n > 1) {
    const int64_t pos = s.Position(), size = s.Size();
    if (pos == size) {
      start = ReadBack(size - 4);  // the last record
    } else if (pos > headerLength_) {
      start = pos;
    }
  }
  head = ReadHead(start, n == 1 ? 1 : 0);
  // Each step moves one page towards n, so a walk takes at most one step per page.
  while (head.page != n) {
    if (head.page < n) {
      if (ReadBack(head.next - 4) != head.start) Fail();
      head = ReadHead(head.next, head.page + 1);
    } else {
      const int64_t back = ReadBack(head.start - 4);
      const int64_t end = head.start;
      head = ReadHead(back, head.page - 1);
      if (head.next != end) Fail();
    }
  }
  return head.start;
}

std::string TRptPageList::ReadBody(const RecordHead& head) {
  TRptStream& s = *stream_;
  const int64_t bodyStart = head.start + 8;
  if (s.Position() != bodyStart && !s.Seek(bodyStart)) Fail();
  std::string bytes(static_cast<size_t>(head.next - bodyStart), '\0');
  if (!s.ReadExact(bytes.data(), static_cast<int64_t>(bytes.size()))) Fail();
  if (platform::GetI32(bytes.data() + bytes.size() - 4) != head.start) Fail();
  bytes.resize(bytes.size() - 4);
  if (compressed_) {
    const int32_t count = platform::GetI32(bytes.data());
    const auto run = static_cast<int64_t>(bytes.size()) - 4;
    if (count < 0 || count > 8 * run) Fail();
    platform::MemoryStream coded(bytes.substr(4));
    std::string page(static_cast<size_t>(count), '\0');
    TRptCompress expander(coded, false, run);
    if (!expander.Expand(page.data(), page.size())) Fail();
    bytes.swap(page);
  }
  if (!IsOneMetafile(bytes)) Fail();
  return bytes;
}

std::optional<std::string> TRptPageList::GetPage(int32_t n) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_ || n < 1 || n > pageCount_) return std::nullopt;
  const int64_t pos = stream_->Position();
  try {
    RecordHead head;
    LocatePage(n, head);
    return ReadBody(head);
  } catch (const Damage&) {
    stream_->Seek(pos);
    Damaged(n);
  }
}

void TRptPageList::SeekToFirst() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (stream_) stream_->Seek(headerLength_);
}

void TRptPageList::SeekToLast() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_) return;
  if (pageCount_ < 1) return SeekToFirst();
  const int64_t size = stream_->Size();
  int64_t back = 0;
  try {
    back = ReadBack(size - 4);
  } catch (const Damage&) {
    Damaged(pageCount_);
  }
  if (back < headerLength_ || back > size - kRecordFrame - 4) Damaged(pageCount_);
  stream_->Seek(back);
}

bool TRptPageList::SeekPage(int32_t n) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_ || n < 1 || n > pageCount_) return false;
  const int64_t pos = stream_->Position();
  RecordHead head;
  try {
    stream_->Seek(LocatePage(n, head));
  } catch (const Damage&) {
    stream_->Seek(pos);
    Damaged(n);
  }
  return true;
}

void TRptPageList::WriteHeader() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_) throw ERptError(kNoStream);
  header_ = TPageStreamHeader{};
  header_.pageCount = pageCount_;
  header_.dateTime = NowAsDays();
  header_.compressed = compressed_;
  unsigned char b[TPageStreamHeader::kLength] = {};
  PutI16(b + 0, header_.version);
  PutI16(b + 2, header_.forty);
  platform::PutI32(b + 8, header_.pageCount);
  PutDouble(b + 16, header_.dateTime);
  b[25] = header_.compressed ? 1 : 0;
  std::memset(b + 26, kFiller, 100);
  const int64_t pos = stream_->Position();
  if (!stream_->Seek(0) || !stream_->WriteExact(b, sizeof b)) {
    stream_->Seek(pos);
    throw ERptError(kCannotWrite + stream_->Error());
  }
  headerLength_ = TPageStreamHeader::kLength;
  stream_->Seek(std::max<int64_t>(pos, headerLength_));
}

void TRptPageList::ReadHeader() {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_) throw ERptError(kNoStream);
  const int length = stream_->DetectHeaderLength();
  unsigned char b[TPageStreamHeader::kLength];
  if (!stream_->Seek(0) || !stream_->ReadExact(b, length)) Damaged(0);
  TPageStreamHeader h;
  h.pageCount = platform::GetI32(b + 8);
  if (h.pageCount < 0) Damaged(0);
  if (length != 96) {
    // The 124-byte header holds the same fields without the alignment gaps.
    const bool packed = length == 124;
    h.version = GetI16(b + 0);
    h.forty = GetI16(b + 2);
    h.dateTime = GetDouble(b + (packed ? 12 : 16));
    h.compressed = b[packed ? 21 : 25] != 0;
  }
  header_ = h;
  pageCount_ = h.pageCount;
  compressed_ = h.compressed;
  headerLength_ = length;
  stream_->Seek(length);
}

void TRptPageList::CheckChain() {
  int64_t start = headerLength_;
  for (int32_t n = 1; n <= pageCount_; ++n) {
    try {
      const RecordHead head = ReadHead(start, n);
      ReadBody(head);
      start = head.next;
    } catch (const Damage&) {
      Damaged(n);
    }
  }
  if (start != stream_->Size()) Damaged(0);  // the count disagrees with the records
}

void TRptPageList::LoadFromFile(const std::string& fileName) {
  TRptPageList loaded;
  loaded.stream_ = TRptStream::CreateFromFile(fileName);
  loaded.ReadHeader();
  loaded.CheckChain();
  std::lock_guard<std::recursive_mutex> guard(lock_);
  stream_ = loaded.stream_;
  pageCount_ = loaded.pageCount_;
  compressed_ = loaded.compressed_;
  header_ = loaded.header_;
  headerLength_ = loaded.headerLength_;
}

void TRptPageList::WriteFile(const std::string& fileName) {
  std::lock_guard<std::recursive_mutex> guard(lock_);
  if (!stream_) throw ERptError(kNoStream);
  platform::AtomicFileWriter writer;
  std::string error;
  if (!writer.Begin(fileName, &error)) throw ERptError(kCannotSave + fileName + ": " + error);
  if (!stream_->SaveToStream(writer.Out()))
    throw ERptError(kCannotSave + fileName + ": " +
                    (writer.Out().Error().empty() ? "the page stream cannot be read" : writer.Out().Error()));
  if (!writer.Commit(&error)) throw ERptError(kCannotSave + fileName + ": " + error);
}

}  // namespace rpt
