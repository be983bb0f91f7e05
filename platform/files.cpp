#include "platform/files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <random>

#include "platform/cp932.h"
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

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    ssize_t n = ::write(fd, data, size);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += n;
    size -= static_cast<size_t>(n);
  }
  return true;
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
  auto fail = [error](const std::string& why) {
    if (error) *error = why;
    return false;
  };
  std::string native = Native(path);
  if (native.empty()) return fail("path not on drive C:");
  std::string folder = native.substr(0, native.rfind('/') + 1);
  if (folder.empty()) folder = "./";
  struct stat st;
  if (::stat(native.c_str(), &st) == 0 && (S_ISDIR(st.st_mode) || (st.st_mode & S_IWUSR) == 0))
    return fail("target is a folder or read-only");
  std::string tmp = native + ".tmp-XXXXXX";
  int fd = ::mkstemp(tmp.data());
  if (fd < 0) return fail(std::string("cannot create a temporary file: ") + std::strerror(errno));
  bool ok = WriteAll(fd, bytes.data(), bytes.size()) && (durability == Durability::Unsynced || ::fsync(fd) == 0);
  int savedErrno = errno;
  if (::close(fd) != 0) ok = false;
  if (ok) ::chmod(tmp.c_str(), 0644);
  if (!ok || ::rename(tmp.c_str(), native.c_str()) != 0) {
    if (ok) savedErrno = errno;
    ::unlink(tmp.c_str());
    return fail(std::string("write failed: ") + std::strerror(savedErrno));
  }
  return true;
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

}  // namespace platform
