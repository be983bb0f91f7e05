// Path handling for the whole program: splitting a path into the program-wide current-file
// parts, the stored form of paths, existence and kind checks with their messages, forbidden
// characters in names, folder creation, deletion with confirmation, file listings with
// wildcards, the save-folder rule, the confirmations around saving and discarding a case,
// and the calculation-name registry "FILE_NEM.DAT" of a result folder.
//
// Paths are inside paths (platform/path.h): CP932 bytes, drive "C:", '\' separators.
//
// Stored form: in the settings file, the weather-selection file and on screen, the program's
// base folder (BaseFolder) inside a path is written "..." and a folder named like the file's
// base name is written "･･･" (three half-width middle dots). Both are expanded before any
// file access.
//
// Drives on Linux: "C:" is the root of the Linux file system and the only drive; it is a fixed
// drive with a medium. Any other letter has no medium (IsDiskReady is false) and no files.
// File kinds: "Hidden" is a name beginning with '.', "ReadOnly" a file the owner may not
// write; Linux has no system attribute, so "SysFile" never occurs.
//
// Windows rules kept: file-name matching in ListFiles is case-insensitive for ASCII letters,
// with '*' (any run of characters) and '?' (one character, a double-byte character counting
// as one); a mask "*.*" also matches names without a dot.
//
// Deliberate differences from a plain transcription, each kept safe on purpose:
// - DirCheck tells whether the folder exists; it does not change the process's current folder
//   (no code here relies on a current folder: every path is absolute).
// - FileKindText reports "Directory" for a real folder (a file without an extension is a file).
// - ConfirmDiscardEdit returns the answer to its question; the hint shown after "No" does not
//   turn the refusal into a yes.
// - A rejected new file name clears DialogYes; ShareCalcAndFileName checks the new name and
//   writes the new file before it deletes the old one.
// - The registry routines create a missing result folder or "FILE_NEM.DAT" (one row) instead of
//   failing, widen its column when a name is longer, and ResetResultFiles resets the registry of
//   the folder whose result files it deleted.
// - LookupResultName takes the calculation file and compares the registry with its base name.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace fw {

// ---- Current-file parts, rewritten by every SplitFileName; read them right after the call.
extern std::string FilePath;        // the full path (absolute when the file exists)
extern std::string FileDrive;       // its first two characters
extern std::string FileDir;         // folder with drive and trailing '\'
extern std::string FileDirNoDrive;  // FileDir from its third character, upper-cased, at most 80 bytes
extern std::string FileNameExt;     // file name with extension
extern std::string FileExt;         // extension with its '.', upper-cased
extern std::string FileBaseName;    // the name up to its first '.' (the whole name without extension)

// The result folder of the current calculation file ("＜RESULT＞\" beside it), set by the main
// window at start-up and whenever the calculation file moves to another folder.
extern std::string ResultDir;

// The name of the result folder beside a calculation file, "＜RESULT＞\" (CP932).
std::string ResultFolderName();
// The registry file name "FILE_NEM.DAT".
std::string ResultRegistryName();

// ---- Paths
// Drops a "label:" prefix, expands "...", sets the current-file parts. An empty path clears them.
void SplitFileName(const std::string& path);
// A path without '.' gets "*." appended; after SplitFileName the folder is cut at each '\'
// into levels: levels[0] the drive, levels[1..8] the folders, count the number of folder
// levels. More than 8 levels: a warning, and only the first 8 are kept.
void FileSplit_All(const std::string& path, std::array<std::string, 9>& levels, int& count, std::string& ext,
                   std::string& baseName, std::string& drive);
std::string IncludePathDelimiter(const std::string& path);
std::string ExcludePathDelimiter(const std::string& path);
// The first occurrence of BaseFolder written as "...".
std::string RelativeToBase(const std::string& path);
// A folder named like the file's base name written as "･･･" (only for paths with a drive and a '.').
std::string ShortenPath(const std::string& path);
// Both of the above: the stored form.
std::string AbbreviatePath(const std::string& path);
// Undoes both ("･･･" back to the base name, then "..." back to BaseFolder), splits the result
// into the current-file parts and returns it.
std::string NormalizePath(const std::string& path);
// "現在の拡張子(*.EXT)|*.EXT|" for a path with an extension, else "全てのファイル(*.*)|*.*|".
std::string OpenDialogFilter(const std::string& path);

// ---- Checks
// True when the file exists. mode 1: error note when missing; mode 2: information dialog; 0: silent.
bool FileCheck(const std::string& path, int mode);
// True when the folder exists (and became the current folder). With showMessage an error note when missing.
bool DirCheck(const std::string& path, bool showMessage);
bool IsDiskReady(const std::string& path);
// "NoFile", "Directory", "Hidden", "SysFile", "ReadOnly" or "Archive".
std::string FileKindText(const std::string& path);
// The file's size in bytes; 0 when missing or not a plain file. Sets the current-file parts.
int64_t FileSizeChecked(const std::string& path, bool warn);
// Last-modified time (seconds since 1970, UTC) and its local "yyyy/mm/dd hh:nn:ss" text;
// 0 and an empty text when missing. Returns whether the file exists.
bool FileDateText(const std::string& path, int64_t& dateTime, std::string& text);
bool IsValidFileName(const std::string& path, bool showMessage);
bool IsTextFile(const std::string& path);
// True when `allowed` is empty or the expanded path contains it; otherwise a warning.
bool CheckSaveFolder(const std::string& path, const std::string& allowed);

// ---- Changes
bool CreateFolderConfirm(const std::string& path, bool ask);
void DeleteFileConfirm(const std::string& path, bool ask);
void DeleteFilesConfirm(const std::string& folder, const std::string& mask, bool ask);
// Fills the table buffer's FileNames with the plain files of `folder` matching
// name-up-to-its-first-'.' + mask, sorted ascending (TableOrder receives the permutation).
void ListFiles(const std::string& folder, const std::string& name, const std::string& mask);
// Windows wildcard match of a file name (case-insensitive for ASCII, '*' and '?').
bool MatchesMask(const std::string& name, const std::string& mask);

// A timer the framework can switch (the main window's splash timer).
class TimerControl {
 public:
  virtual ~TimerControl() = default;
  virtual void SetTimerEnabled(bool enabled) = 0;
};
void TimerOn(TimerControl* timer);
void TimerOff(TimerControl* timer);

// ---- Dialogs around a case
// Seams filled in by the input framework and the auxiliary input dialog when they exist.
// CommitActiveEditHook commits the field being edited (called while InputMode is set).
extern void (*CommitActiveEditHook)();
// AskTextHook asks for one text value: caption, prompt and the value (shown, and restored on
// Esc); returns true when the user accepted, with the answer in `value`. Null: a message-box
// fallback that offers to keep the proposed value.
extern bool (*AskTextHook)(const std::string& caption, const std::string& prompt, std::string& value);

bool ConfirmDiscardEdit(bool ask);
// Asks for a new base name (without extension); an empty answer gives "(新規)". A name with a
// forbidden character gives a warning, falls back to `current` and clears DialogYes.
std::string InputNewFileName(const std::string& current);
// Asks the new name and confirms overwriting or creating; DialogYes carries the answer and
// FilePath the new path.
bool ConfirmSaveFile(const std::string& path);

// The check box that offers to give the calculation file the calculation's name.
class CheckBoxControl {
 public:
  virtual ~CheckBoxControl() = default;
  virtual bool IsEnabled() const = 0;
  virtual bool IsChecked() const = 0;
  // Unchecks the box without firing its change handler.
  virtual void UncheckSilently() = 0;
};
// On Yes the file is renamed to the calculation name in its folder: the new file is written
// (a copy of the old one) before the old one is deleted. `newFile` receives the path to use.
void ShareCalcAndFileName(CheckBoxControl* checkBox, const std::string& file, const std::string& calcName,
                          std::string& newFile);

// ---- Result-name registry "FILE_NEM.DAT" in a result folder
// Deletes every result file "*" + prefix + "*.*" of the "＜RESULT＞\" folder beside the
// calculation file and resets that folder's registry to "-<なし>-".
void ResetResultFiles(const std::string& calcFile, const std::string& prefix);
// Writes the calculation file's base name into the registry of ResultDir (or, when ResultDir
// is empty, of the result folder beside the file).
void RegisterResultName(const std::string& calcFile);
// True when the calculation file exists, the registry of the "＜RESULT＞\" folder beside it
// exists and its row 1 equals the calculation file's base name.
bool LookupResultName(const std::string& calcFile);

}  // namespace fw
