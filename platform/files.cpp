#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <stdio.h>  // renameat2
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/cp932.h"
#include "platform/mbcs.h"
#include "platform/path.h"

namespace platform {
namespace {

std::string Native(const std::string& path) { return ToNativePath(path).value_or(std::string()); }

FileInfo InfoOfNative(const std::string& native) {
  FileInfo info;
  struct stat st;
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return info;
  info.exists = true;
  info.isDir = S_ISDIR(st.st_mode);
  info.readOnly = (st.st_mode & S_IWUSR) == 0;
  std::string base = native;
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  base = base.substr(base.rfind('/') + 1);
  info.hidden = !base.empty() && base[0] == '.' && base != "." && base != "..";
  info.size = static_cast<int64_t>(st.st_size);
  info.modified = static_cast<int64_t>(st.st_mtime);
  return info;
}

// The byte index of the last '\\' separator of an inside path (never a trail byte); npos when none.
size_t LastSeparator(const std::string& inside) {
  size_t last = std::string::npos;
  for (size_t i = 0; i < inside.size(); ++i) {
    if (IsCp932LeadByte(static_cast<unsigned char>(inside[i]))) {
      ++i;
    } else if (inside[i] == '\\') {
      last = i;
    }
  }
  return last;
}

}  // namespace

FileInfo GetFileInfo(const std::string& path) { return InfoOfNative(Native(path)); }

bool FileExists(const std::string& path) {
  FileInfo i = GetFileInfo(path);
  return i.exists && !i.isDir;
}

bool FolderExists(const std::string& path) {
  FileInfo i = GetFileInfo(path);
  return i.exists && i.isDir;
}

std::optional<int64_t> FileSize(const std::string& path) {
  FileInfo i = GetFileInfo(path);
  if (!i.exists || i.isDir) return std::nullopt;
  return i.size;
}

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  bytes.clear();
  std::string native = Native(path);
  if (native.empty()) return false;
  int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  char buffer[65536];
  for (;;) {
    ssize_t n = ::read(fd, buffer, sizeof buffer);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    bytes.append(buffer, static_cast<size_t>(n));
  }
  ::close(fd);
  return true;
}

void SplitTextLines(const std::string& bytes, std::vector<std::string>& lines) {
  lines.clear();
  size_t pos = 0;
  while (pos < bytes.size()) {
    size_t lf = bytes.find('\n', pos);
    size_t end = (lf == std::string::npos) ? bytes.size() : lf;
    size_t len = end - pos;
    if (len > 0 && bytes[end - 1] == '\r') --len;
    lines.emplace_back(bytes, pos, len);
    if (lf == std::string::npos) break;
    pos = lf + 1;
  }
}

bool ReadTextLines(const std::string& path, std::vector<std::string>& lines) {
  std::string bytes;
  if (!ReadFileBytes(path, bytes)) {
    lines.clear();
    return false;
  }
  SplitTextLines(bytes, lines);
  return true;
}

bool WriteFileBytesAtomic(const std::string& path, const std::string& bytes, std::string* error,
                          Durability durability) {
  AtomicFileWriter writer;
  if (!writer.Begin(path, error)) return false;
  writer.Out().WriteExact(bytes.data(), static_cast<int64_t>(bytes.size()));
  return writer.Commit(error, durability);
}

bool WriteTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines, std::string* error,
                          Durability durability) {
  std::string bytes;
  size_t total = 0;
  for (const auto& l : lines) total += l.size() + 2;
  bytes.reserve(total);
  for (const auto& l : lines) {
    bytes += l;
    bytes += "\r\n";
  }
  return WriteFileBytesAtomic(path, bytes, error, durability);
}

bool RemoveFile(const std::string& path) {
  std::string native = Native(path);
  return !native.empty() && ::unlink(native.c_str()) == 0;
}

bool RemoveFolder(const std::string& path) {
  std::string native = Native(path);
  return !native.empty() && ::rmdir(native.c_str()) == 0;
}

bool MakeFolder(const std::string& path) {
  std::string native = Native(path);
  if (native.empty()) return false;
  if (::mkdir(native.c_str(), 0755) == 0) return true;
  return errno == EEXIST && InfoOfNative(native).isDir;
}

bool MakeFolders(const std::string& path) {
  std::string native = Native(path);
  if (native.empty()) return false;
  for (size_t pos = 1; pos <= native.size(); ++pos) {
    if (pos == native.size() || native[pos] == '/') {
      std::string part = native.substr(0, pos);
      if (::mkdir(part.c_str(), 0755) != 0 && errno != EEXIST) return false;
    }
  }
  return InfoOfNative(native).isDir;
}

bool RenamePath(const std::string& from, const std::string& to) {
  std::string a = Native(from), b = Native(to);
  return !a.empty() && !b.empty() && ::rename(a.c_str(), b.c_str()) == 0;
}

bool CopyFileBytes(const std::string& from, const std::string& to) {
  std::string bytes;
  return ReadFileBytes(from, bytes) && WriteFileBytesAtomic(to, bytes);
}

bool SetReadOnly(const std::string& path, bool readOnly) {
  std::string native = Native(path);
  struct stat st;
  if (native.empty() || ::stat(native.c_str(), &st) != 0) return false;
  mode_t mode = st.st_mode & 07777;
  mode = readOnly ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : (mode | S_IWUSR);
  return ::chmod(native.c_str(), mode) == 0;
}

bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries) {
  entries.clear();
  std::string native = Native(path);
  if (native.empty()) return false;
  DIR* dir = ::opendir(native.c_str());
  if (!dir) return false;
  if (native.back() != '/') native += '/';
  while (dirent* e = ::readdir(dir)) {
    std::string name = e->d_name;
    if (name == "." || name == "..") continue;
    auto cp = Utf8ToCp932(name);
    if (!cp) continue;
    entries.push_back({*cp, InfoOfNative(native + name)});
  }
  ::closedir(dir);
  std::sort(entries.begin(), entries.end(),
            [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
  return true;
}

RandomAccessFile::~RandomAccessFile() { Close(); }

bool RandomAccessFile::Open(const std::string& path) {
  Close();
  std::string native = Native(path);
  if (native.empty()) return false;
  fd_ = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  return fd_ >= 0;
}

void RandomAccessFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

int64_t RandomAccessFile::Size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool RandomAccessFile::ReadAt(int64_t offset, void* buffer, size_t count) const {
  if (fd_ < 0 || offset < 0) return false;
  char* p = static_cast<char*>(buffer);
  while (count > 0) {
    ssize_t n = ::pread(fd_, p, count, offset);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    p += n;
    offset += n;
    count -= static_cast<size_t>(n);
  }
  return true;
}

namespace {

// Causes of failures that no system call reports.
std::string NotOnDrive() { return J("ドライブC:の外には読み書きできません"); }
std::string NothingToSave() { return J("保存する内容がありません"); }

}  // namespace

std::string FileErrorCause(int code) {
  switch (code) {
    case ENOENT:
    case ENOTDIR:
      return J("保存先のフォルダがありません");
    case EACCES:
    case EPERM:
    case EROFS:
      return J("アクセスが許可されていません");
    case ENOSPC:
    case EDQUOT:
      return J("ディスクの空き容量が足りません");
    case EBUSY:
    case ETXTBSY:
      return J("ファイルが使用中です");
    default:
      return std::strerror(code);
  }
}

// ---- ReadWriteFile -----------------------------------------------------------------------

ReadWriteFile::~ReadWriteFile() { Close(); }

bool ReadWriteFile::Fail(const std::string& why) {
  if (error_.empty()) error_ = why;
  return false;
}

void ReadWriteFile::Adopt(int fd, const std::string& nativePath) {
  fd_ = fd;
  pos_ = 0;
  path_ = ToInsidePath(nativePath).value_or(std::string());
  error_.clear();
}

bool ReadWriteFile::Create(const std::string& path) {
  Close();
  std::string native = Native(path);
  if (native.empty()) return Fail(NotOnDrive());
  int fd = ::open(native.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (fd < 0) return Fail(FileErrorCause(errno));
  Adopt(fd, native);
  return true;
}

bool ReadWriteFile::CreateUnique(const std::string& prefix, const std::string& folder) {
  Close();
  std::string native = Native(folder.empty() ? TempFolder() : folder);
  if (native.empty()) return Fail(NotOnDrive());
  if (native.back() != '/') native += '/';
  native += Cp932ToUtf8(prefix) + "XXXXXX";
  int fd = ::mkostemp(native.data(), O_CLOEXEC);
  if (fd < 0) return Fail(FileErrorCause(errno));
  Adopt(fd, native);
  return true;
}

bool ReadWriteFile::OpenRead(const std::string& path) {
  Close();
  std::string native = Native(path);
  if (native.empty()) return Fail(NotOnDrive());
  int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return Fail(errno == ENOENT ? J("ファイルがありません") : FileErrorCause(errno));
  struct stat st;
  if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    errno = EISDIR;
    return Fail(FileErrorCause(errno));
  }
  Adopt(fd, native);
  return true;
}

void ReadWriteFile::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  pos_ = 0;
  path_.clear();
  error_.clear();
}

int64_t ReadWriteFile::Read(void* buffer, int64_t count) {
  if (fd_ < 0 || count <= 0) return fd_ < 0 ? -1 : 0;
  for (;;) {
    ssize_t n = ::pread(fd_, buffer, static_cast<size_t>(count), pos_);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      Fail(FileErrorCause(errno));
      return -1;
    }
    pos_ += n;
    return n;
  }
}

int64_t ReadWriteFile::Write(const void* buffer, int64_t count) {
  if (fd_ < 0 || count <= 0) return 0;
  const char* p = static_cast<const char*>(buffer);
  int64_t done = 0;
  while (done < count) {
    ssize_t n = ::pwrite(fd_, p + done, static_cast<size_t>(count - done), pos_ + done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      if (n == 0) errno = ENOSPC;
      Fail(FileErrorCause(errno));
      break;
    }
    done += n;
  }
  pos_ += done;
  return done;
}

bool ReadWriteFile::Seek(int64_t position) {
  if (fd_ < 0 || position < 0) return false;
  pos_ = position;
  return true;
}

int64_t ReadWriteFile::Size() const {
  struct stat st;
  if (fd_ < 0 || ::fstat(fd_, &st) != 0) return -1;
  return static_cast<int64_t>(st.st_size);
}

bool ReadWriteFile::SetSize(int64_t size) {
  if (fd_ < 0 || size < 0) return false;
  if (::ftruncate(fd_, static_cast<off_t>(size)) != 0) return Fail(FileErrorCause(errno));
  return true;
}

// ---- AtomicFileWriter --------------------------------------------------------------------

AtomicFileWriter::~AtomicFileWriter() { Discard(); }

void AtomicFileWriter::Discard() {
  file_.Close();
  if (!temp_.empty()) ::unlink(temp_.c_str());
  temp_.clear();
}

bool AtomicFileWriter::Begin(const std::string& path, std::string* error) { return BeginNative(Native(path), error); }

bool AtomicFileWriter::BeginNative(const std::string& target, std::string* error) {
  auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  Discard();
  target_ = target;
  if (target_.empty()) return fail(NotOnDrive());
  struct stat st;
  if (::stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode)) return fail(J("同じ名前のフォルダがあります"));
    if ((st.st_mode & S_IWUSR) == 0) return fail(J("ファイルが読み取り専用です"));
  }
  std::string tmp = target_ + ".tmp-XXXXXX";
  int fd = ::mkostemp(tmp.data(), O_CLOEXEC);
  if (fd < 0) return fail(FileErrorCause(errno));
  temp_ = tmp;
  file_.Adopt(fd, tmp);
  return true;
}

bool AtomicFileWriter::Commit(std::string* error, Durability durability) {
  return Finish(error, durability) && Replace(error, durability);
}

bool AtomicFileWriter::Finish(std::string* error, Durability durability) {
  auto fail = [this, error](const std::string& why) {
    if (error) *error = why;
    Discard();
    return false;
  };
  if (temp_.empty() || !file_.IsOpen()) return fail(NothingToSave());
  if (!file_.Error().empty()) return fail(file_.Error());
  const int fd = file_.fd_;
  if (durability == Durability::Synced && ::fsync(fd) != 0)
    return fail(FileErrorCause(errno));
  file_.fd_ = -1;
  file_.Close();
  if (::close(fd) != 0) return fail(FileErrorCause(errno));
  ::chmod(temp_.c_str(), 0644);
  return true;
}

bool AtomicFileWriter::Replace(std::string* error, Durability durability) {
  if (temp_.empty()) {
    if (error) *error = NothingToSave();
    return false;
  }
  // An unsynced replacement of an existing file swaps the two names in one step and then
  // removes the old file: a rename over an existing file makes some file systems (ext4) start
  // writing the new file to the disk at once, the flush an unsynced write means to spare.
  // Readers see the old or the new file at every moment either way.
  if (durability == Durability::Unsynced &&
      ::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
    ::unlink(temp_.c_str());  // now the old file
    temp_.clear();
    return true;
  }
  // No target yet, or a file system without the swap: a plain rename.
  if (::rename(temp_.c_str(), target_.c_str()) != 0) {
    if (error) *error = FileErrorCause(errno);
    Discard();
    return false;
  }
  temp_.clear();
  return true;
}

bool AtomicFileWriter::ReplaceKeeping(std::string* error, std::string& kept) {
  kept.clear();
  auto fail = [this, error](const std::string& why) {
    if (error) *error = why;
    Discard();
    return false;
  };
  if (temp_.empty()) return fail(NothingToSave());
  // Swapping the two names puts the new file in place and leaves the old one under the
  // temporary name, with the target present at every moment.
  if (::renameat2(AT_FDCWD, temp_.c_str(), AT_FDCWD, target_.c_str(), RENAME_EXCHANGE) == 0) {
    kept = std::move(temp_);
    temp_.clear();
    return true;
  }
  struct stat st;
  if (::lstat(target_.c_str(), &st) == 0) {
    // A file system without the swap: the old file moves aside to a name of its own first.
    std::string aside = target_ + ".old-XXXXXX";
    const int fd = ::mkostemp(aside.data(), O_CLOEXEC);
    if (fd < 0) return fail(FileErrorCause(errno));
    ::close(fd);
    if (::rename(target_.c_str(), aside.c_str()) != 0) {
      const int code = errno;
      ::unlink(aside.c_str());
      return fail(FileErrorCause(code));
    }
    if (::rename(temp_.c_str(), target_.c_str()) != 0) {
      const int code = errno;
      ::rename(aside.c_str(), target_.c_str());
      return fail(FileErrorCause(code));
    }
    kept = std::move(aside);
    temp_.clear();
    return true;
  }
  if (::rename(temp_.c_str(), target_.c_str()) != 0) return fail(FileErrorCause(errno));
  temp_.clear();
  return true;
}

// ---- AtomicFileSet -----------------------------------------------------------------------

std::string AtomicFileSet::NativeOf(const std::string& inside) {
  const size_t sep = LastSeparator(inside);
  if (sep == std::string::npos) return Native(inside);
  const std::string folder = inside.substr(0, sep + 1);
  if (!folderKnown_ || folder != folderInside_) {
    folderInside_ = folder;
    folderNative_ = Native(folder);
    folderNames_.clear();
    if (!folderNative_.empty()) {
      if (folderNative_.back() != '/') folderNative_ += '/';
      if (DIR* dir = ::opendir(folderNative_.c_str())) {
        while (dirent* e = ::readdir(dir)) folderNames_.emplace_back(e->d_name);
        ::closedir(dir);
      }
    }
    folderKnown_ = true;
  }
  if (folderNative_.empty()) return std::string();
  const std::string name = Cp932ToUtf8(std::string_view(inside).substr(sep + 1));
  // The exact name first, then one that differs in ASCII case only, as the path lookup does.
  if (std::find(folderNames_.begin(), folderNames_.end(), name) != folderNames_.end()) return folderNative_ + name;
  for (const std::string& existing : folderNames_)
    if (SameNameIgnoringCase(existing, name)) return folderNative_ + existing;
  return folderNative_ + name;
}

bool AtomicFileSet::Write(const std::string& path, std::string_view bytes, std::string* error,
                          Durability durability) {
  auto writer = std::make_unique<AtomicFileWriter>();
  if (!writer->BeginNative(NativeOf(path), error)) return false;
  writer->Out().WriteExact(bytes.data(), static_cast<int64_t>(bytes.size()));
  if (!writer->Finish(error, durability)) return false;
  entries_.push_back(Entry{path, durability, std::move(writer)});
  return true;
}

bool AtomicFileSet::Commit(std::string* error, std::string* failedPath) {
  // The targets replaced so far, each with the name its old file is kept under (empty when
  // the target is new). The new files were synced (or not) by Write; a swap of names needs no
  // further flush either way.
  std::vector<std::pair<const AtomicFileWriter*, std::string>> replaced;
  replaced.reserve(entries_.size());
  bool ok = true;
  for (Entry& e : entries_) {
    std::string kept;
    if (!e.writer->ReplaceKeeping(error, kept)) {
      ok = false;
      if (failedPath) *failedPath = e.inside;
      break;
    }
    replaced.emplace_back(e.writer.get(), std::move(kept));
  }
  if (ok) {
    for (const auto& [writer, kept] : replaced)
      if (!kept.empty()) ::unlink(kept.c_str());
  } else {
    // Back to the old files, last first (a target written twice gets its first contents back).
    for (auto it = replaced.rbegin(); it != replaced.rend(); ++it) {
      const std::string& target = it->first->target_;
      const bool back = it->second.empty() ? ::unlink(target.c_str()) == 0
                                           : ::rename(it->second.c_str(), target.c_str()) == 0;
      if (!back && error) *error += "; " + target + " could not be put back";
    }
  }
  entries_.clear();  // the writers not replaced remove their temporary files
  return ok;
}

void AtomicFileSet::Discard() { entries_.clear(); }

}  // namespace platform
