// File operations on inside paths (see path.h). The only module that touches the Linux
// file system. Writers that replace a file write a temporary file in the same folder and
// rename it over the target, so a failed save never destroys the previous file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace platform {

struct FileInfo {
  bool exists = false;
  bool isDir = false;
  bool readOnly = false;  // no write permission for the owner
  bool hidden = false;    // the name starts with '.'
  int64_t size = 0;
  int64_t modified = 0;   // seconds since 1970-01-01 UTC
};

FileInfo GetFileInfo(const std::string& path);
bool FileExists(const std::string& path);     // a regular file
bool FolderExists(const std::string& path);   // a directory
std::optional<int64_t> FileSize(const std::string& path);

// Whole-file reads. False when the file cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Lines split at LF with one trailing CR removed; a last line without a line end is kept,
// an empty final piece after the last line end is not a line.
bool ReadTextLines(const std::string& path, std::vector<std::string>& lines);
void SplitTextLines(const std::string& bytes, std::vector<std::string>& lines);

// Whether an atomic write waits until the new contents are on the disk before the rename.
// Files the user keeps are Synced; files the program can write again at any time (result
// tables) may be Unsynced, which spares a disk flush per file.
enum class Durability { Synced, Unsynced };

// Atomic replacement (temporary file in the same folder, then rename). On failure the old
// file is untouched and `error` (when given) holds a short English reason.
bool WriteFileBytesAtomic(const std::string& path, const std::string& bytes, std::string* error = nullptr,
                          Durability durability = Durability::Synced);
// Each line followed by CR LF.
bool WriteTextLinesAtomic(const std::string& path, const std::vector<std::string>& lines,
                          std::string* error = nullptr, Durability durability = Durability::Synced);

bool RemoveFile(const std::string& path);
bool RemoveFolder(const std::string& path);        // empty folder only
bool MakeFolder(const std::string& path);          // one level; true when it exists afterwards
bool MakeFolders(const std::string& path);         // every missing level
bool RenamePath(const std::string& from, const std::string& to);
bool CopyFileBytes(const std::string& from, const std::string& to);
bool SetReadOnly(const std::string& path, bool readOnly);

struct FolderEntry {
  std::string name;  // CP932; names that CP932 cannot encode are left out of listings
  FileInfo info;
};
// Entries of a folder without "." and "..", sorted by name bytes. False when unreadable.
bool ListFolder(const std::string& path, std::vector<FolderEntry>& entries);

// A file opened for reading at arbitrary offsets (fixed-size record files).
class RandomAccessFile {
 public:
  RandomAccessFile() = default;
  ~RandomAccessFile();
  RandomAccessFile(const RandomAccessFile&) = delete;
  RandomAccessFile& operator=(const RandomAccessFile&) = delete;

  bool Open(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  int64_t Size() const;
  // Reads exactly `count` bytes at `offset`; false on a short read or an error.
  bool ReadAt(int64_t offset, void* buffer, size_t count) const;

 private:
  int fd_ = -1;
};

}  // namespace platform
