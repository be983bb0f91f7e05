#include "framework/file_names.h"

#include <vector>

#include "framework/convert.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/table_file.h"
#include "platform/cp932.h"
#include "platform/files.h"
#include "platform/mbcs.h"

namespace fw {

using platform::J;

std::string FilePath, FileDrive, FileDir, FileDirNoDrive, FileNameExt, FileExt, FileBaseName;
std::string ResultDir;

void (*CommitActiveEditHook)() = nullptr;
bool (*AskTextHook)(const std::string& caption, const std::string& prompt, std::string& value) = nullptr;

namespace {

constexpr const char* kDriveForbidden = "*?\"<>|;/.";
constexpr const char* kNameForbidden = "*?\"<>|;/.:";
constexpr const char* kExtForbidden = "*?\"<>|;/:";
constexpr int kMaxFolderLevels = 8;

// 0-based positions of the single-byte '\' separators (a trail byte 0x5C is not one).
std::vector<size_t> DelimiterPositions(const std::string& path) {
  std::vector<size_t> out;
  for (size_t i = 0; i < path.size(); ++i) {
    const auto c = static_cast<unsigned char>(path[i]);
    if (platform::IsCp932LeadByte(c)) {
      ++i;
      continue;
    }
    if (c == '\\') out.push_back(i);
  }
  return out;
}

// Position of the last separator of the folder part ('\' or the drive's ':'), or npos.
size_t LastFolderEnd(const std::string& path) {
  auto delims = DelimiterPositions(path);
  size_t last = delims.empty() ? std::string::npos : delims.back();
  if (last == std::string::npos && path.size() >= 2 && path[1] == ':') last = 1;
  return last;
}

std::string NamePart(const std::string& path) {
  size_t end = LastFolderEnd(path);
  return end == std::string::npos ? path : path.substr(end + 1);
}

std::string FolderPart(const std::string& path) {
  size_t end = LastFolderEnd(path);
  return end == std::string::npos ? std::string() : path.substr(0, end + 1);
}

// Extension of a file name: from its last '.', or empty.
std::string ExtensionOf(const std::string& name) {
  size_t dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string BaseNameOf(const std::string& name) {
  if (ExtensionOf(name).empty()) return name;
  return name.substr(0, name.find('.'));
}

// Removes "." and ".." levels of a path with a drive ("C:\a\.\b\..\c" -> "C:\a\c").
std::string CollapseDots(const std::string& path) {
  if (path.size() < 3 || path[1] != ':' || path[2] != '\\') return path;
  auto delims = DelimiterPositions(path);
  delims.push_back(path.size());
  std::vector<std::string> parts;
  bool changed = false;
  size_t start = 3;
  for (size_t d : delims) {
    if (d < start) continue;  // the separator after the drive
    std::string part = path.substr(start, d - start);
    start = d + 1;
    if (part == ".") {
      changed = true;
    } else if (part == "..") {
      changed = true;
      if (!parts.empty()) parts.pop_back();
    } else {
      parts.push_back(part);
    }
  }
  if (!changed) return path;
  std::string out = path.substr(0, 3);
  for (size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) out += '\\';
    out += parts[i];
  }
  return out;
}

bool EndsWithDelimiter(const std::string& path) {
  auto d = DelimiterPositions(path);
  return !d.empty() && d.back() + 1 == path.size();
}

// Wildcard match of CP932 names: '*' any run, '?' one character (a double-byte character
// counts as one), ASCII letters compared without case.
bool MatchFrom(const std::string& name, size_t n, const std::string& mask, size_t m) {
  while (m < mask.size()) {
    const char mc = mask[m];
    if (mc == '*') {
      while (m < mask.size() && mask[m] == '*') ++m;
      if (m == mask.size()) return true;
      for (size_t k = n; k <= name.size();) {
        if (MatchFrom(name, k, mask, m)) return true;
        if (k == name.size()) break;
        k += platform::IsCp932LeadByte(static_cast<unsigned char>(name[k])) && k + 1 < name.size() ? 2 : 1;
      }
      return false;
    }
    if (n >= name.size()) return false;
    const size_t nlen = platform::IsCp932LeadByte(static_cast<unsigned char>(name[n])) && n + 1 < name.size() ? 2 : 1;
    if (mc == '?') {
      n += nlen;
      ++m;
      continue;
    }
    const size_t mlen = platform::IsCp932LeadByte(static_cast<unsigned char>(mc)) && m + 1 < mask.size() ? 2 : 1;
    if (nlen != mlen) return false;
    if (nlen == 2) {
      if (name.compare(n, 2, mask, m, 2) != 0) return false;
    } else {
      auto a = static_cast<unsigned char>(name[n]);
      auto b = static_cast<unsigned char>(mc);
      if (a >= 'a' && a <= 'z') a -= 32;
      if (b >= 'a' && b <= 'z') b -= 32;
      if (a != b) return false;
    }
    n += nlen;
    m += mlen;
  }
  return n == name.size();
}

// The registry of a result folder: row 1, column 1 set to `name`, the rest kept as loaded.
// A missing folder or registry is created as a one-row table.
void WriteRegistry(const std::string& resultFolder, const std::string& name) {
  const std::string folder = IncludePathDelimiter(resultFolder);
  const std::string path = folder + ResultRegistryName();
  if (!platform::FolderExists(folder)) platform::MakeFolders(folder);
  TTableBuffer& t = TableBuffer;
  bool loaded = platform::FileExists(path) && DataLoad(path) && t.TableRows >= 1 && t.TableCols >= 1;
  if (!loaded) {
    t.TableRows = 1;
    t.TableCols = 1;
    t.TableWidths[1] = 40;
  }
  t.TableKeys[1] = name;
  t.TableCells[1][1] = name;
  if (t.TableWidths[1] < static_cast<int>(name.size())) t.TableWidths[1] = static_cast<int>(name.size());
  DataSave(path);
}

}  // namespace

std::string ResultFolderName() { return J("＜RESULT＞") + "\\"; }
std::string ResultRegistryName() { return "FILE_NEM.DAT"; }

// ---------------------------------------------------------------------------------------------
// Paths

void SplitFileName(const std::string& pathIn) {
  std::string path = StripLabelPrefix(pathIn);
  if (path.empty()) {
    FilePath.clear();
    FileDrive.clear();
    FileDir.clear();
    FileDirNoDrive.clear();
    FileNameExt.clear();
    FileExt.clear();
    FileBaseName.clear();
    return;
  }
  if (!BaseFolder.empty()) path = ReplaceFirst("...", BaseFolder, path);
  if (platform::FileExists(path)) path = CollapseDots(path);
  FilePath = path;
  FileDrive = path.substr(0, 2);
  FileDir = FolderPart(path);
  std::string rest, first;
  SplitAtBytes(UpperCaseJ(FileDir.size() > 2 ? FileDir.substr(2) : std::string()), 80, first, rest);
  FileDirNoDrive = first;
  FileNameExt = NamePart(path);
  FileExt = UpperCaseJ(ExtensionOf(FileNameExt));
  FileBaseName = BaseNameOf(FileNameExt);
}

void FileSplit_All(const std::string& pathIn, std::array<std::string, 9>& levels, int& count, std::string& ext,
                   std::string& baseName, std::string& drive) {
  std::string path = pathIn;
  if (path.find('.') == std::string::npos) path += "*.";
  SplitFileName(path);
  for (auto& l : levels) l.clear();
  count = 0;
  ext = FileExt;
  baseName = FileBaseName;
  drive = FileDrive;
  // Levels are the pieces between the separators of the folder: the drive, then the folders.
  const std::string dir = FileDir;
  auto delims = DelimiterPositions(dir);
  size_t start = 0;
  std::vector<std::string> pieces;
  for (size_t d : delims) {
    pieces.push_back(dir.substr(start, d - start));
    start = d + 1;
  }
  if (start < dir.size()) pieces.push_back(dir.substr(start));
  if (pieces.empty()) return;
  levels[0] = pieces[0];
  int folders = static_cast<int>(pieces.size()) - 1;
  if (folders > kMaxFolderLevels) {
    MsgDialog(J("ファイル名＜") + pathIn + J("＞のディレクトリが８階層以上あります。（FileSplit_All）"), 3, 1);
    folders = kMaxFolderLevels;
  }
  for (int i = 1; i <= folders; ++i) levels[i] = pieces[i];
  count = folders;
}

std::string IncludePathDelimiter(const std::string& path) {
  if (path.find(':') == std::string::npos || EndsWithDelimiter(path)) return path;
  return path + "\\";
}

std::string ExcludePathDelimiter(const std::string& path) {
  return EndsWithDelimiter(path) ? path.substr(0, path.size() - 1) : path;
}

std::string RelativeToBase(const std::string& path) {
  if (BaseFolder.empty()) return path;
  return ReplaceFirst(BaseFolder, "...", path);
}

std::string ShortenPath(const std::string& path) {
  if (path.size() < 2 || path[1] != ':' || path.find('.') == std::string::npos) return path;
  const std::string folder = FolderPart(path);
  const std::string base = BaseNameOf(NamePart(path));
  if (base.empty()) return path;
  const std::string level = "\\" + base + "\\";
  // Search on separator boundaries only, so a trail byte 0x5C never starts a match.
  for (size_t d : DelimiterPositions(folder)) {
    if (folder.compare(d, level.size(), level) == 0) {
      return path.substr(0, d) + "\\" + J("･･･") + "\\" + path.substr(d + level.size());
    }
  }
  return path;
}

std::string AbbreviatePath(const std::string& path) { return ShortenPath(RelativeToBase(path)); }

std::string NormalizePath(const std::string& pathIn) {
  std::string path = pathIn;
  const std::string dots = J("･･･");
  if (ContainsStr(dots, path)) path = ReplaceFirst(dots, BaseNameOf(NamePart(path)), path);
  if (!BaseFolder.empty()) path = ReplaceFirst("...", BaseFolder, path);
  SplitFileName(path);
  return FilePath;
}

std::string OpenDialogFilter(const std::string& path) {
  const std::string ext = ExtensionOf(NamePart(path));
  if (ext.empty()) return J("全てのファイル(*.*)|*.*|");
  return J("現在の拡張子(*") + ext + ")|*" + ext + "|";
}

// ---------------------------------------------------------------------------------------------
// Checks

bool FileCheck(const std::string& pathIn, int mode) {
  const std::string path = StripLabelPrefix(pathIn);
  if (path.empty() || ContainsStr("\\" + J("なし"), path)) return false;
  if (path.rfind("rf", 0) == 0) return true;
  const std::string full = NormalizePath(path);
  if (platform::FileExists(full)) return true;
  if (mode == 1) {
    ShowErrorStatus("<" + AbbreviatePath(path) + J(">が見つかりません。(ﾌｧｲﾙﾁｪｯｸ)"));
  } else if (mode == 2) {
    MsgDialog("<" + path + ">" + "\r\r" + J("ファイルがみつかりません。"), 1, 1);
  }
  return false;
}

bool DirCheck(const std::string& path, bool showMessage) {
  if (path.rfind("rf", 0) == 0) return true;
  bool ok = false;
  if (IsDiskReady(path)) {
    std::string folder = ExcludePathDelimiter(path);
    if (folder.size() == 2 && folder[1] == ':') folder += "\\";
    ok = platform::FolderExists(folder);
  }
  if (!ok && showMessage) ShowErrorStatus("<" + RelativeToBase(path) + J(">パスが見つかりません。(DIRﾁｪｯｸ)"));
  return ok;
}

bool IsDiskReady(const std::string& path) {
  if (path.empty()) return false;
  char c = path[0];
  if (c >= 'a' && c <= 'z') c -= 32;
  if (c < 'A' || c > 'Z') return false;
  // "C:" is the Linux root, the only drive with a medium.
  return c == 'C';
}

std::string FileKindText(const std::string& path) {
  if (path.empty()) return "NoFile";
  const platform::FileInfo info = platform::GetFileInfo(path);
  if (!info.exists) return "NoFile";
  if (info.isDir) return "Directory";
  if (info.hidden) return "Hidden";
  if (info.readOnly) return "ReadOnly";
  return "Archive";
}

int64_t FileSizeChecked(const std::string& path, bool warn) {
  SplitFileName(path);
  const std::string kind = FileKindText(path);
  if (kind != "Archive" && kind != "ReadOnly") return 0;
  if (warn && kind == "ReadOnly") ShowErrorStatus(J("このファイルは編集できません。"));
  platform::RandomAccessFile f;
  if (!f.Open(path)) {
    MsgDialog("<" + path + J(">のファイルが大きすぎて開けません。"), 1, 1);
    return 0;
  }
  return f.Size();
}

bool FileDateText(const std::string& path, int64_t& dateTime, std::string& text) {
  const platform::FileInfo info = platform::GetFileInfo(path);
  if (!info.exists || info.isDir) {
    dateTime = 0;
    text.clear();
    return false;
  }
  dateTime = info.modified;
  text = DateStampText(LocalDateTime(info.modified));
  return true;
}

bool IsValidFileName(const std::string& pathIn, bool showMessage) {
  std::string path = pathIn;
  if (path.size() < 2 || path[1] != ':') path = "C:\\" + path;
  if (path.find('.') == std::string::npos) path += "$.$";
  std::array<std::string, 9> levels;
  int count = 0;
  std::string ext, baseName, drive;
  FileSplit_All(path, levels, count, ext, baseName, drive);
  const std::string expanded = FilePath;

  auto reject = [&](const char* itemUtf8, const char* set) {
    if (showMessage)
      MsgDialog(J("ファイル名 ： ") + pathIn + "\r\r" + J(itemUtf8) + J("の中に不正な文字<") + set +
                    J(">が含まれています。"),
                3, 1);
    return false;
  };
  if (HasCharsOf(levels[0], kDriveForbidden)) return reject("ドライブ名", kDriveForbidden);
  for (int i = 1; i <= count; ++i)
    if (HasCharsOf(levels[i], kNameForbidden)) return reject("ディレクトリ名", kNameForbidden);
  if (HasCharsOf(baseName, kNameForbidden)) return reject("名前部分", kNameForbidden);
  if (HasCharsOf(ext.size() > 1 ? ext.substr(1) : std::string(), kExtForbidden)) return reject("拡張子名", kExtForbidden);

  int colons = 0, dots = 0;
  for (char c : expanded) {
    if (c == ':') ++colons;
    if (c == '.') ++dots;
  }
  bool ok = colons == 1 && (dots == 1 || dots == 4);
  auto delims = DelimiterPositions(expanded);
  if (delims.empty()) ok = false;
  for (size_t d : delims) {
    if (d + 1 < expanded.size() && (expanded[d + 1] == '\\' || expanded[d + 1] == '.')) ok = false;
  }
  if (!ok && showMessage) MsgDialog(J("ファイル名 ： ") + pathIn + "\r\r" + J("ファイル名が正しくありません。"), 3, 1);
  return ok;
}

bool IsTextFile(const std::string& path) {
  if (ContainsStr(J("(新規)"), path)) return true;
  const std::string ext = UpperCaseJ(ExtensionOf(NamePart(path)));
  if (ContainsStr(ext, ".TXT.CSV.PRN.HTML.CSS")) return true;
  platform::RandomAccessFile f;
  if (!f.Open(path)) return false;
  const int64_t size = f.Size();
  std::string head(static_cast<size_t>(size < 999 ? size : 999), '\0');
  const bool read = head.empty() || f.ReadAt(0, head.data(), head.size());
  return read && head.find("\r\n") != std::string::npos;
}

bool CheckSaveFolder(const std::string& path, const std::string& allowed) {
  if (allowed.empty()) return true;
  const std::string full = NormalizePath(path);
  if (ContainsStr(allowed, full)) return true;
  std::string place = BaseDrive + BaseFolder;
  place += (EndsWithDelimiter(place) && !allowed.empty() && allowed[0] == '\\') ? allowed.substr(1) : allowed;
  MsgDialog(J("指定場所 ： ") + place + "\r\r" + J("保存場所 ： ") + FolderPart(full) + "\r\r" +
                J("この場所には保存できません。（指定以外）"),
            3, 1);
  return false;
}

// ---------------------------------------------------------------------------------------------
// Changes

bool CreateFolderConfirm(const std::string& path, bool ask) {
  if (ask) {
    MsgDialog(J("新しくフォルダー<") + path + J(">を作成しますか？"), 2, 2);
    if (!DialogYes) {
      DialogCancel = true;
      return false;
    }
  }
  platform::MakeFolders(path);
  const bool ok = DirCheck(path, false);
  if (!ok && ask) MsgDialog(J("新しいフォルダー＜") + path + J("＞を作成できませんでした。"), 3, 1);
  DialogCancel = !ok;
  return ok;
}

void DeleteFileConfirm(const std::string& path, bool ask) {
  DialogCancel = false;
  if (HasCharsOf(path, "*?") || !platform::FileExists(path)) return;
  if (ask) {
    MsgDialog(J("削除ファイル名 : ") + path + "\r\r" + J("ファイルを削除しますか？"), 2, 3);
    if (!DialogYes) DialogCancel = true;
  }
  if (!DialogCancel && !platform::RemoveFile(path))
    ShowErrorStatus("<" + AbbreviatePath(path) + J(">を削除できませんでした。"));
}

void DeleteFilesConfirm(const std::string& folder, const std::string& mask, bool ask) {
  const std::string dir = IncludePathDelimiter(folder);
  ListFiles(dir, "*", mask);
  std::vector<std::string> names(TableBuffer.FileNames.begin() + 1,
                                 TableBuffer.FileNames.begin() + 1 + TableBuffer.FileNamesCount);
  for (const std::string& name : names) {
    const std::string path = dir + name;
    DialogYes = true;
    if (ask) MsgDialog(J("削除ファイル名 : ") + path + "\r\r" + J("ファイルを削除しますか？"), 2, 3);
    if (DialogYes && !platform::RemoveFile(path))
      ShowErrorStatus("<" + AbbreviatePath(path) + J(">を削除できませんでした。"));
  }
}

bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*.*" || mask == "*") return true;
  if (MatchFrom(name, 0, mask, 0)) return true;
  // A name without an extension matches as if it ended in "." ("*." lists such names).
  return name.find('.') == std::string::npos && MatchFrom(name + ".", 0, mask, 0);
}

void ListFiles(const std::string& folder, const std::string& name, const std::string& mask) {
  TTableBuffer& t = TableBuffer;
  t.FileNamesCount = 0;
  t.FileNamesLongest = 40;
  const std::string pattern = TextBefore(name, ".") + mask;
  std::vector<platform::FolderEntry> entries;
  std::string dir = IncludePathDelimiter(folder);
  if (dir.empty() || !platform::ListFolder(dir, entries)) return;
  std::vector<std::string> names;
  for (const auto& e : entries) {
    if (!e.info.exists || e.info.isDir || e.info.hidden) continue;
    if (!MatchesMask(e.name, pattern)) continue;
    if (static_cast<int>(names.size()) >= kTableMaxRows) {
      ShowErrorNo(521);
      ShowErrorNo(522);
      break;
    }
    names.push_back(e.name);
  }
  std::vector<int> order(names.size());
  SortStringsKeepIndex('U', static_cast<int>(names.size()), names, order);
  t.FileNamesCount = static_cast<int>(names.size());
  for (size_t i = 0; i < names.size(); ++i) {
    t.FileNames[i + 1] = names[i];
    t.TableOrder[i + 1] = order[i];
    if (static_cast<int>(names[i].size()) > t.FileNamesLongest) t.FileNamesLongest = static_cast<int>(names[i].size());
  }
}

void TimerOn(TimerControl* timer) {
  if (timer) timer->SetTimerEnabled(true);
}

void TimerOff(TimerControl* timer) {
  if (timer) timer->SetTimerEnabled(false);
}

// ---------------------------------------------------------------------------------------------
// Dialogs around a case

bool ConfirmDiscardEdit(bool ask) {
  if (Input.InputMode && CommitActiveEditHook) CommitActiveEditHook();
  if (!ask) return true;
  MsgDialog(J("現在編集中のデータを廃棄してもいいですか？"), 3, 3);
  if (DialogAnswer == 2) {
    // The hint after "No" must not turn the refusal into a yes: keep the question's answer.
    const bool yes = DialogYes, cancel = DialogCancel;
    const int answer = DialogAnswer, result = DialogResult;
    MsgDialog(J("一度、現在編集中のデータを保存して下さい。"), 1, 1);
    DialogYes = yes;
    DialogCancel = cancel;
    DialogAnswer = answer;
    DialogResult = result;
  }
  return DialogYes;
}

std::string InputNewFileName(const std::string& current) {
  const std::string caption = J("新しいファイルの名前部分の入力");
  const std::string prompt = J("現在の名前は<") + current + J(">です。（拡張子不要）");
  std::string value = current;
  bool accepted;
  if (AskTextHook) {
    accepted = AskTextHook(caption, prompt, value);
    DialogYes = accepted;
    DialogCancel = !accepted;
    DialogAnswer = accepted ? 1 : 3;
  } else {
    MsgDialog(prompt, 2, 2);
    accepted = DialogYes;
  }
  if (!accepted) return current;
  value = TrimBoth(value);
  if (value.empty()) value = J("(新規)");
  if (HasCharsOf(value, kNameForbidden)) {
    MsgDialog(J("入力した文字列 ： ") + value + "\r\r" + J("文字列中に不正な文字〔") + kNameForbidden + J("〕があります。"),
              3, 1);
    DialogYes = false;
    return current;
  }
  return value;
}

bool ConfirmSaveFile(const std::string& path) {
  const std::string name = InputNewFileName(J("(新規)"));
  if (!DialogYes) return false;
  SplitFileName(path);
  const std::string newPath = FileDir + name + FileExt;
  if (!IsValidFileName(newPath, true)) {
    DialogYes = false;
    return false;
  }
  const std::string head = J("保存ファイル名 ： ") + newPath + "\r\r";
  if (platform::FileExists(newPath))
    MsgDialog(head + J("既存入力ファイルに上書き保存してもいいですか？"), 3, 3);
  else
    MsgDialog(head + J("新しい入力ファイルとして保存しますか？"), 2, 3);
  const bool yes = DialogYes;
  SplitFileName(newPath);
  DialogYes = yes;
  return yes;
}

void ShareCalcAndFileName(CheckBoxControl* checkBox, const std::string& file, const std::string& calcName,
                          std::string& newFile) {
  if (checkBox && checkBox->IsEnabled() && checkBox->IsChecked()) {
    MsgDialog(J("計算名とファイル名 ： ") + calcName + "\r\r" + J("この計算名をファイル名と＜共通＞にしますか？"), 2, 2);
    if (DialogYes) {
      const std::string name = TrimBoth(calcName);
      SplitFileName(file);
      const std::string folder = FileDir, ext = FileExt;
      const std::string newPath = folder + name + ext;
      if (name.empty() || !DelimiterPositions(name).empty()) {
        MsgDialog(J("ファイル名 ： ") + newPath + "\r\r" + J("ファイル名が正しくありません。"), 3, 1);
      } else if (!IsValidFileName(newPath, true)) {
        // IsValidFileName has said why.
      } else if (platform::FileExists(newPath)) {
        MsgDialog(J("既に同名のファイルがあるので、共通にはできません。"), 3, 1);
      } else {
        // The new file is written before the old one goes, so a failure loses nothing.
        const bool hadOld = platform::FileExists(file);
        if (!hadOld || platform::CopyFileBytes(file, newPath)) {
          if (hadOld) platform::RemoveFile(file);
          newFile = newPath;
          MsgDialog(J("計算名とファイル名を共通にしました。"), 1, 1);
          return;
        }
        ShowErrorStatus("<" + AbbreviatePath(newPath) + J(">ファイルに書き込めないぞ。"));
      }
    }
  }
  newFile = file;
  DialogYes = false;
  if (checkBox) checkBox->UncheckSilently();
}

// ---------------------------------------------------------------------------------------------
// Result-name registry

void ResetResultFiles(const std::string& calcFile, const std::string& prefix) {
  NormalizePath(calcFile);
  const std::string folder = FileDir + ResultFolderName();
  DeleteFilesConfirm(folder, prefix + "*.*", false);
  WriteRegistry(folder, J("-<なし>-"));
}

void RegisterResultName(const std::string& calcFile) {
  NormalizePath(calcFile);
  const std::string base = FileBaseName;
  const std::string folder = ResultDir.empty() ? FileDir + ResultFolderName() : ResultDir;
  WriteRegistry(folder, base);
}

bool LookupResultName(const std::string& calcFile) {
  const std::string full = NormalizePath(calcFile);
  const std::string base = FileBaseName;
  const std::string registry = FileDir + ResultFolderName() + ResultRegistryName();
  if (full.empty() || !platform::FileExists(full) || !platform::FileExists(registry)) return false;
  if (!DataLoad(registry) || TableBuffer.TableRows < 1) return false;
  return TableBuffer.TableKeys[1] == base;
}

}  // namespace fw
