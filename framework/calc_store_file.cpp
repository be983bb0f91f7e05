// The calculation file of the condition store: a new case, loading and saving.
#include <algorithm>

#include "framework/appinit.h"
#include "framework/calc_store.h"
#include "framework/calc_store_kinds.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace fw {
namespace {

std::string HeaderLine(const std::string& path) {
  return LeftStrJ(MakeDataHeader(path) + std::string(kRecordWidth, ' '), kRecordWidth);
}

void MarkUnchanged(const StringList& list) {
  CalcDataSaved = list;
  DataState.Modified = 0;
}

}  // namespace

std::string MakeDataHeader(const std::string& path, const DateTime& when) {
  if (!ContainsStr(":\\", path)) return path;
  return "---<<< " + ProgramNameVersion + calc_store_detail::kDataHeaderMark + " " + DateStampText(when);
}

std::string MakeDataHeader(const std::string& path) { return MakeDataHeader(path, NowDateTime()); }

void NewInputData(const std::string& path, StringList& list) {
  list.clear();
  list.push_back(HeaderLine(path));
  MarkUnchanged(list);
  SplitFileName(path);
  CurrentFileName = FileBaseName;
}

bool LoadInputData(const std::string& path, StringList& list) {
  if (!platform::FileExists(path)) {
    MsgDialog(platform::J("読込むファイル名が見つかりません。") + "\r\r" + path, 3, 1);
    return false;
  }
  std::string bytes;
  if (!platform::ReadFileBytes(path, bytes)) {
    MsgDialog(platform::J("ファイルを読込めませんでした。") + "\r\r" + path, 3, 1);
    return false;
  }
  StringList lines;
  platform::SplitTextLines(bytes, lines);
  // A file cut off inside its last record (no line end, fewer than 88 columns) would read the
  // missing values as zeros.
  if (!bytes.empty() && bytes.back() != '\n' && lines.back().size() < static_cast<size_t>(kRecordWidth)) {
    MsgDialog(platform::J("ファイルが記録の途中で終わっています。（読込中止）") + "\r\r" + path, 3, 1);
    return false;
  }
  if (lines.empty() || calc_store_detail::IsRecordLine(lines.front())) lines.insert(lines.begin(), HeaderLine(path));
  // Random bytes, a text without records or a record of another file would load as a case
  // that is not the file's.
  size_t foreign = 0;
  if (calc_store_detail::FindForeignLine(lines, foreign)) {
    MsgDialog(platform::J("このファイルは計算ファイルの形式ではありません。（読込中止）") + "\r\r" + path, 3, 1);
    return false;
  }
  // A real value beyond the range of numbers the calculation holds would make infinities of it.
  size_t badLine = 0;
  std::string badCell;
  if (calc_store_detail::FindRealOutOfRange(lines, badLine, badCell)) {
    MsgDialog(platform::J("値<") + TrimBoth(badCell) + platform::J(">（") + TrimRight(lines[badLine].substr(0, 12)) +
                  platform::J("）が数値の範囲を超えています。（読込中止）") + "\r\r" + path,
              3, 1);
    return false;
  }
  SplitFileName(path);
  list = std::move(lines);
  MarkUnchanged(list);
  CalcDataLoaded = true;
  CurrentFileName = FileNameExt;
  return true;
}

bool SaveInputData(const std::string& path, StringList& list) {
  if (path.size() < 2 || path[1] != ':') {
    MsgDialog(platform::J("保存するファイル名が正しくありません。") + "\r\r" + path, 3, 1);
    return false;
  }
  SplitFileName(path);
  const std::string fileNameExt = FileNameExt;
  const std::string folder = FileDir;
  if (!platform::FileExists(path) && !platform::FolderExists(folder)) {
    if (!CreateFolderConfirm(folder, true)) {
      MsgDialog(platform::J("保存用のディレクトリが作成できませんでした。（保存中止）"), 3, 1);
      return false;
    }
  }
  PadLinesTo88(list);
  if (list.size() > 1) std::stable_sort(list.begin() + 1, list.end());
  std::string error;
  if (!platform::WriteTextLinesAtomic(path, list, &error)) {
    MsgDialog(platform::J("ファイルを保存できませんでした。（保存中止）") + "\r\r" + path + "\r\r" + error, 3, 1);
    return false;
  }
  MarkUnchanged(list);
  CalcDataLoaded = true;
  CurrentFileName = fileNameExt;
  return true;
}

}  // namespace fw
