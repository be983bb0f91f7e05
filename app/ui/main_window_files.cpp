// The main window's file commands: the current calculation file (its name, result folder,
// loading and saving), choosing a file from the file combo, and New, Open, Save and Save as.
#include <QFileDialog>
#include <QStringList>

#include "model/sim/run_state.h"
#include "app/ui/main_window.h"
#include "app/ui/program_state.h"
#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/calc_store.h"
#include "framework/file_names.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/ui/controls.h"
#include "framework/ui/form_utils.h"
#include "framework/ui/input_behaviour.h"
#include "platform/cp932.h"
#include "platform/path.h"
#include "platform/qt/qt_text.h"

namespace app {

using platform::J;

namespace {

// The folder of an inside path, with drive and trailing '\'.
std::string FolderOf(const std::string& path) {
  fw::SplitFileName(path);
  return fw::FileDir;
}

// "desc|mask|desc|mask|" as Qt file-dialog filters.
QString QtFilter(const std::string& filter) {
  QStringList parts = platform::ToQString(filter).split('|');
  QStringList out;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].isEmpty()) continue;
    QString desc = parts[i];
    if (!desc.contains('(')) desc += " (" + parts[i + 1] + ")";
    out << desc;
  }
  return out.join(";;");
}

}  // namespace

// ---- The current file ---------------------------------------------------------------------------

void THARVForm::SetCalcFilePath(const std::string& path) {
  CalcFilePath = path;
  fw::ResultDir = FolderOf(path) + fw::ResultFolderName();
  ResultPrefix = fw::ResultDir + ResultFilePrefixName();
}

bool THARVForm::LoadCalcFile() {
  const bool ok = fw::LoadInputData(CalcFilePath, fw::CalcData);
  ClearPageRendered();
  RefreshHeader();
  if (ok) fw::ShowStatus(J("〔ファイル読込〕<") + CalcFilePath + ">");
  return ok;
}

bool THARVForm::SaveCalcFile() {
  const bool ok = fw::SaveInputData(CalcFilePath, fw::CalcData);
  // The old results belong to the case as it was; they go only once the new case is stored.
  if (ok) fw::ResetResultFiles(CalcFilePath, ResultFilePrefixName());
  ClearPageRendered();
  RefreshHeader();
  if (ok) {
    fw::ShowStatus(J("〔ファイル保存〕<") + CalcFilePath + ">");
    emit CalcFileSaved();
  }
  return ok;
}

void THARVForm::InitNewData() {
  fw::SplitFileName(CalcFilePath);  // the new case takes its name from the last split
  fw::NewInputData(CalcFilePath, fw::CalcData);
  UpdateCommandStates();
  fw::ShowStatus(J("〔全データ初期化〕<") + CalcFilePath + ">");
}

// ---- File selection -----------------------------------------------------------------------------

void THARVForm::SelectCalcFile(QWidget* sender, int kind, int col, int row) {
  (void)col;
  (void)row;
  SelectCalcFileAt(sender, kind, std::string(), false);
}

void THARVForm::SelectCalcFileAt(QWidget* sender, int kind, const std::string& fullPath, bool confirmed) {
  if (fw::Input.InputCommitted) return;
  fw::Input.InputCommitted = true;
  if (LoopRunning()) return;

  // The choice must name something, and an edited case may be discarded only when the user
  // agrees. Leaving the combo without choosing asks nothing.
  const std::string chosen = fw::TrimLeft(fw::Input.InputText);
  bool accepted = fw::Input.InputUnchanged;
  if (!accepted && !chosen.empty()) {
    fw::ErrorText.clear();
    accepted = confirmed || fw::Input.InputCode != kFileComboCode || fw::ConfirmDiscardEdit(fw::DataState.Modified != 0);
  }
  if (!accepted) {
    if (!fw::ErrorText.empty()) fw::ShowStatus(fw::ErrorText);
    if (auto* combo = qobject_cast<fw::TCBoxEx*>(sender))
      fw::CancelCombo(combo);
    else
      fw::Input.InputUnchanged = true;
  }

  if (!fw::Input.InputUnchanged) {
    if (kind == kFileSection) {
      const std::string name = fw::TrimBoth(fw::StripLabelPrefix(fw::Input.InputText));
      const std::string path = fullPath.empty() ? FolderOf(CalcFilePath) + name : fullPath;
      OpenCalcFile(path);
    } else {
      fw::DataState.Modified = 1;
    }
  }
  SBAR->setFocus(Qt::OtherFocusReason);
  ShowHeaderInfo(kind);
  UpdateCommandStates();
  fw::ShowStatus(J("〔入力データ表示完了〕"));
}

bool THARVForm::OpenCalcFile(const std::string& path) {
  const std::string previous = CalcFilePath;
  SetCalcFilePath(path);
  if (!LoadCalcFile()) {
    SetCalcFilePath(previous);
    RefreshHeader();
    return false;
  }
  if (QWidget* screen1 = ScreenForm(1)) {
    for (const char* suffix : {"_A", "_M"})
      if (auto* panel = qobject_cast<QWidget*>(fw::FindPnlComp(screen1, suffix))) panel->hide();
  }
  ACT_CRTExecute(1);
  return true;
}

// ---- File commands ------------------------------------------------------------------------------

std::optional<std::string> THARVForm::RunFileDialog(bool save, const std::string& startPath,
                                                    const std::string& filter) {
  if (FileDialog) return FileDialog(save, startPath, filter);
  QFileDialog dialog(this);
  dialog.setObjectName(save ? "SAVED" : "OPEND");
  dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  dialog.setNameFilter(QtFilter(filter));
  if (auto native = platform::ToNativePath(startPath)) dialog.selectFile(QString::fromStdString(*native));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
  const QString chosen = dialog.selectedFiles().first();
  auto inside = platform::ToInsidePath(chosen.toStdString());
  if (!inside) {
    fw::MsgDialog(J("ファイル名 ： ") + fw::Cp932Of(chosen) + "\r\r" +
                      J("このファイル名には使えない文字が含まれているので、扱うことができません。"),
                  3, 1);
    return std::nullopt;
  }
  return inside;
}

void THARVForm::ACT_NewExecute() {
  if (LoopRunning()) return;
  if (!fw::ConfirmDiscardEdit(fw::DataState.Modified != 0)) return;
  fw::ConfirmSaveFile(CalcFilePath);
  if (!fw::DialogYes) return;
  const std::string path = fw::FilePath;
  ACT_CRTFreeExecute();
  SetCalcFilePath(path);
  fw::SplitFileName(path);
  fw::CurrentFileName = fw::FileNameExt;
  InitNewData();
  if (!SaveCalcFile()) return;
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = false;
  fw::SplitFileName(path);
  fw::Input.InputText = fw::FileNameExt;
  SelectCalcFileAt(nullptr, kFileSection, path, true);
}

void THARVForm::ACT_OpenAsExecute() {
  if (LoopRunning()) return;
  fw::CommitActiveEditor();
  fw::ShowStatus(J("読込みファイル名を入力して下さい。"));
  const std::optional<std::string> chosen = RunFileDialog(false, CalcFilePath, fw::OpenDialogFilter(CalcFilePath));
  if (!chosen) {
    fw::ShowStatus("");
    return;
  }
  if (!fw::ConfirmDiscardEdit(fw::DataState.Modified != 0)) return;
  fw::Input.InputCommitted = false;
  fw::Input.InputUnchanged = false;
  fw::SplitFileName(*chosen);
  fw::Input.InputText = fw::FileNameExt;
  SelectCalcFileAt(nullptr, kFileSection, *chosen, true);
}

void THARVForm::ACT_SaveExecute() {
  if (LoopRunning()) return;
  fw::MsgDialog(J("〔") + CalcFilePath + J("〕を上書き保存しますか？"), 2, 2);
  if (fw::DialogYes) SaveCalcFile();
}

void THARVForm::ACT_SaveAsExecute() {
  if (LoopRunning()) return;
  fw::ShowStatus(J("保存ファイル名を入力して下さい。"));
  const std::optional<std::string> chosen = RunFileDialog(true, CalcFilePath, J("計算ファイル(*.HVS)|*.HVS"));
  if (!chosen) {
    fw::ShowStatus("");
    return;
  }
  if (!fw::CheckSaveFolder(*chosen, "\\CAL\\HVS\\")) return;
  std::string path = *chosen;
  fw::SplitFileName(path);
  if (fw::FileExt.empty()) path += ".HVS";
  const std::string previous = CalcFilePath;
  SetCalcFilePath(path);  // the result folder moves with the file
  if (!SaveCalcFile()) {
    SetCalcFilePath(previous);
    RefreshHeader();
    return;
  }
  ACT_CRTExecute(1);
}

}  // namespace app
