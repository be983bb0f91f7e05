// File operations on inside paths (see path.h). The only module that touches the Linux
// file system. Writers that replace a file write a temporary file in the same folder and
// rename it over the target, so a failed save never destroys the previous file.
#pragma once

#include <cstdint>
#include <optional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/stream.h"

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
// tables) may be Unsynced, which spares a disk flush per file: the new file is swapped in
// for the old one (renameat2 with RENAME_EXCHANGE, then the old one removed), so the file
// system does not start writing it out at once as it does for a rename over an existing
// file; where the swap is not possible it is renamed.
enum class Durability { Synced, Unsynced };

// The cause of a failed file operation (an errno value) as the user reads it: in Japanese
// (CP932) for the common causes (no such folder, no permission, disk full, file in use), the
// system's own text for the others.
std::string FileErrorCause(int code);

// Atomic replacement (temporary file in the same folder, then rename). On failure the old
// file is untouched and `error` (when given) holds the cause, as FileErrorCause gives it.
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

// A file opened as a stream (stream.h) at a position of its own.
class ReadWriteFile final : public Stream {
 public:
  ReadWriteFile() = default;
  ~ReadWriteFile() override;
  ReadWriteFile(const ReadWriteFile&) = delete;
  ReadWriteFile& operator=(const ReadWriteFile&) = delete;

  // Creates the file anew (an existing one is emptied), open for reading and writing.
  bool Create(const std::string& path);
  // Creates a new empty file named `prefix` and six unique characters in `folder` (empty:
  // the system's temporary folder, path.h), open for reading and writing; Path() names it.
  bool CreateUnique(const std::string& prefix, const std::string& folder = std::string());
  // Opens an existing file for reading only. Linux has no sharing modes: other programs
  // may go on reading and writing it.
  bool OpenRead(const std::string& path);
  void Close();
  bool IsOpen() const { return fd_ >= 0; }
  const std::string& Path() const { return path_; }  // inside form
  // The cause of the first failure since the file was opened, as FileErrorCause gives it
  // (empty: none).
  const std::string& Error() const { return error_; }

  int64_t Read(void* buffer, int64_t count) override;
  int64_t Write(const void* buffer, int64_t count) override;
  bool Seek(int64_t position) override;
  int64_t Position() const override { return pos_; }
  int64_t Size() const override;
  bool SetSize(int64_t size) override;

 private:
  friend class AtomicFileWriter;
  bool Fail(const std::string& why);
  void Adopt(int fd, const std::string& nativePath);

  int fd_ = -1;
  int64_t pos_ = 0;
  std::string path_;
  std::string error_;
};

// Writes a file through a temporary file in the target's folder that replaces the target
// only on Commit. Dropped without Commit (or after a failed one), the target is untouched
// and the temporary file is gone.
class AtomicFileWriter {
 public:
  AtomicFileWriter() = default;
  ~AtomicFileWriter();
  AtomicFileWriter(const AtomicFileWriter&) = delete;
  AtomicFileWriter& operator=(const AtomicFileWriter&) = delete;

  // Refuses a target that is a folder or read-only and a folder where no file can be made.
  bool Begin(const std::string& path, std::string* error = nullptr);
  // The temporary file, positioned at its start. A write that fails makes Commit fail.
  ReadWriteFile& Out() { return file_; }
  bool Commit(std::string* error = nullptr, Durability durability = Durability::Synced);

 private:
  friend class AtomicFileSet;
  bool BeginNative(const std::string& target, std::string* error);
  // Commit in two steps: the temporary file complete and closed, then in the target's place.
  bool Finish(std::string* error, Durability durability);
  bool Replace(std::string* error, Durability durability);
  // Replace that keeps the old file: afterwards `kept` names it (empty when the target did
  // not exist); the caller removes it or puts it back.
  bool ReplaceKeeping(std::string* error, std::string& kept);
  void Discard();
  ReadWriteFile file_;
  std::string target_;  // native
  std::string temp_;    // native; empty when there is none
};

// A set of files replaced together. Write puts each file's new contents into a temporary file
// beside it (an AtomicFileWriter's); Commit puts them all in their targets' places, in the
// order written. Until Commit every target stays exactly as it was, and a set that is dropped
// or discarded before Commit removes its temporary files. Write refuses a target that is a
// folder or read-only, so the renames of Commit do not fail on them; should one still fail,
// Commit puts every target back as it was: each replaced file's old contents stay under a
// temporary name until all the new files are in place, return to their names when one fails
// (a target that did not exist is removed again) and are removed once all succeeded, so the
// folder then holds exactly the old files and no temporary file. Paths of one folder are
// converted once: the folder's native form
// and its listing (for the case-insensitive name lookup) are kept while consecutive files go
// to the same folder.
class AtomicFileSet {
 public:
  AtomicFileSet() = default;
  AtomicFileSet(const AtomicFileSet&) = delete;
  AtomicFileSet& operator=(const AtomicFileSet&) = delete;

  // False (nothing kept for `path`, `error` holding the cause, as FileErrorCause) when the target
  // cannot be replaced or the temporary file cannot be written.
  bool Write(const std::string& path, std::string_view bytes, std::string* error = nullptr,
             Durability durability = Durability::Synced);
  // False when a replacement failed (every target then as before Commit); `failedPath` (when
  // given) is the inside path of its target.
  bool Commit(std::string* error = nullptr, std::string* failedPath = nullptr);
  // Removes the temporary files of the set; the targets are untouched.
  void Discard();
  size_t Size() const { return entries_.size(); }

 private:
  std::string NativeOf(const std::string& inside);
  struct Entry {
    std::string inside;
    Durability durability;
    std::unique_ptr<AtomicFileWriter> writer;
  };
  std::vector<Entry> entries_;
  std::string folderInside_, folderNative_;
  std::vector<std::string> folderNames_;  // native names in the folder when it was listed
  bool folderKnown_ = false;
};

}  // namespace platform
