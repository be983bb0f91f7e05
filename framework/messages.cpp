#include "framework/messages.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

#include "framework/appinit.h"
#include "framework/calc_state.h"
#include "framework/convert.h"
#include "framework/folders.h"
#include "framework/input_state.h"
#include "platform/cp932.h"
#include "platform/files.h"

namespace fw {

void* MainForm = nullptr;
StatusBarSink* MainStatusBar = nullptr;
std::string LastStatusText;
std::string ErrorText;
int ErrorNo = 0;
bool DialogYes = false;
bool DialogCancel = false;
int DialogAnswer = 0;
int DialogResult = 0;
std::string LastDialogText;
std::string JokeFileName;

namespace {

using platform::CurrentUi;
using platform::J;

bool Has(const std::string& text, const char* utf8) { return text.find(J(utf8)) != std::string::npos; }

// The status bar shows the current file's name cut to 20 bytes.
constexpr int kFileNameShown = 20;

std::string FileNameText() {
  if (static_cast<int>(CurrentFileName.size()) <= kFileNameShown) return CurrentFileName;
  return LeftStrJ(CurrentFileName, kFileNameShown) + "...";
}

// Seconds an error note stays, by the byte length of its text.
double ErrorNoteSeconds(size_t length) {
  if (length >= 71) return 5.0;
  if (length >= 61) return 4.0;
  if (length >= 31) return 3.5;
  return 3.0;
}

// "エラー文.DAT": bytes 1-3 the number, bytes 5-74 the text. Empty when the number is not
// listed or the table cannot be read.
bool LookUpErrorText(int number, std::string& text) {
  std::vector<std::string> lines;
  if (!platform::ReadTextLines(DatDir + J("エラー文.DAT"), lines)) return false;
  for (const auto& line : lines) {
    if (TextToInt(line.substr(0, 3)) != number) continue;
    text = line.size() > 4 ? LeftStrJ(line.substr(4), 70) : std::string();
    return true;
  }
  return false;
}

std::mt19937& JokeRandom() {
  static std::mt19937 generator(static_cast<uint32_t>(CurrentUi().TickCountMs()));
  return generator;
}

platform::DialogKind KindOf(int kind) {
  switch (kind) {
    case 2: return platform::DialogKind::Confirmation;
    case 3: return platform::DialogKind::Warning;
    case 4: return platform::DialogKind::Error;
    default: return platform::DialogKind::Information;
  }
}

platform::DialogButtons ButtonsOf(int buttons) {
  switch (buttons) {
    case 2: return platform::DialogButtons::YesNo;
    case 3: return platform::DialogButtons::YesNoCancel;
    case 4: return platform::DialogButtons::CancelRetry;
    case 5: return platform::DialogButtons::YesAbort;
    default: return platform::DialogButtons::Ok;
  }
}

}  // namespace

std::string MessageDialogCaption() { return "HarvSim Ver.2.00"; }

void ShowStatus(const std::string& text) {
  if (!MainStatusBar || !MainForm) return;
  const bool dots = Has(text, "．．．");
  const bool note = Has(text, "※");
  if (!text.empty() && !dots && !note) LastStatusText = text;
  if (Has(text, "※注意")) CurrentUi().Beep();
  if (dots) Input.InputMode = false;

  std::string mark;
  if (text.empty())
    mark = J("　");
  else
    mark = J(Input.InputMode ? "　▲ " : "　△ ");
  if (Has(text, "(ﾟ_ﾟ)")) mark = J("　♪ ");
  if (note) mark = J("　");

  const std::string panel0 = mark + text;
  MainStatusBar->SetPanelText(0, panel0);
  if (Input.InputMode) {
    std::string change = J(DataState.Modified ? "変更あり" : "入力№");
    if (Input.InputCode != 0) change += std::to_string(Input.InputCode);
    MainStatusBar->SetPanelText(1, change);
    MainStatusBar->SetPanelText(2, J(Input.OverwriteMode == 1 ? "上書" : "挿入") + J("モード"));
  } else {
    MainStatusBar->SetPanelText(1, J(DataState.Modified ? "変更あり" : "変更なし"));
    MainStatusBar->SetPanelText(2, "");
  }
  MainStatusBar->SetPanelText(3, FileNameText());

  // Shows the text during long work; input waits its turn, so no click or key stroke runs in
  // the middle of the code that reports its state.
  CurrentUi().ProcessEvents(platform::PumpScope::ExceptUserInput);
  MainStatusBar->SetHint(panel0);
  MainStatusBar->Repaint();
}

void ShowErrorStatus(const std::string& text) {
  if (!MainStatusBar || !MainForm) return;
  auto& ui = CurrentUi();
  ui.SetCursorShape(platform::CursorShape::NotAllowed);
  ShowStatus("");
  if (!text.empty()) ui.Beep();
  ErrorText = Has(text, "※") ? text : J("※") + text;
  ShowStatus(ErrorText);
  WaitSeconds(ErrorNoteSeconds(text.size()));
  ErrorText = text;
  ShowStatus(LastStatusText);
  ui.SetCursorShape(platform::CursorShape::Default);
}

void ShowErrorNo(int number) {
  ErrorNo = number;
  std::string text;
  if (number == 0) {
    text = ErrorText;
  } else if (LookUpErrorText(number, text)) {
    if (number != 500) text += J(" （ERRno=") + std::to_string(number) + J("）");
  } else {
    text = J("登録されていないエラーが発生しました。 （ERRno=?）");
  }
  ShowErrorStatus(text);
}

void ShowDodoitsu() {
  const std::string path = DatDir + JokeFileName;
  if (JokeFileName.empty() || !platform::FileExists(path)) {
    ShowStatus(J("ここは一番、どどいつ（都々逸）でも歌いたいところですが．．．"));
    JokeFileName = J("都々逸.DAT");
    return;
  }
  constexpr int kRecord = 81;  // a length byte and up to 80 bytes of text
  const int64_t count = platform::FileSize(path).value_or(0) / kRecord;
  if (count <= 0) return;
  platform::RandomAccessFile file;
  if (!file.Open(path)) return;
  const int64_t index = std::uniform_int_distribution<int64_t>(0, count - 1)(JokeRandom());
  unsigned char record[kRecord];
  const bool read = file.ReadAt(index * kRecord, record, kRecord);
  file.Close();
  JokeRandom().seed(static_cast<uint32_t>(CurrentUi().TickCountMs()));
  if (!read) return;
  const size_t length = record[0] <= kRecord - 1 ? record[0] : kRecord - 1;
  const std::string line(reinterpret_cast<const char*>(record + 1), length);
  if (Has(JokeFileName, "都々逸"))
    ShowStatus(J(" (ﾟ_ﾟ)  ") + line + "  (^_^;)");
  else
    ShowStatus(line);
}

void MsgDialog(const std::string& text, int kind, int buttons) {
  auto& ui = CurrentUi();
  ui.SetCursorShape(platform::CursorShape::Default);
  DialogAnswer = 0;
  LastDialogText = text;
  if (kind == 3 || kind == 4 || (kind == 2 && Has(text, "全て終了"))) ui.Beep();

  // Put the pointer on the default button of the centred message box.
  const int lines = CountTextLines(text);
  int dx = (buttons == 2 || buttons == 4 || buttons == 5) ? -41 : (buttons == 3 ? -82 : 0);
  int dy = lines <= 2 ? 34 : 24 + 6 * (lines - 1);
  if (SettingsRows[2].find("WindowsVista") != std::string::npos) {
    dx -= 5 * (buttons - 1);
    dy += 3 + 3 * (lines - 1);
  }
  CenterMouseCursor();
  MoveMouseBy(dx, dy);

  // A dialog raised while a field is being edited leaves that field's held values unchanged.
  TInputType held;
  SaveInputState(held);
  const platform::ModalResult result = ui.ShowMessageBox(text, MessageDialogCaption(), KindOf(kind), ButtonsOf(buttons));
  RestoreInputState(held);

  DialogResult = static_cast<int>(result);
  if (result == platform::ModalResult::Ok || result == platform::ModalResult::Yes) {
    DialogYes = true;
    DialogCancel = false;
    DialogAnswer = 1;
  } else if (result == platform::ModalResult::No) {
    DialogYes = false;
    DialogCancel = false;
    DialogAnswer = 2;
  } else {
    DialogYes = false;
    DialogCancel = true;
    DialogAnswer = 3;
  }
}

void WaitSeconds(double seconds) {
  if (seconds == 0 || !std::isfinite(seconds)) return;
  auto& ui = CurrentUi();
  const int64_t target = static_cast<int64_t>(std::llround(seconds * 1000.0));
  const uint64_t start = ui.TickCountMs();
  int64_t elapsed = 0;
  do {
    // Rests until the next event or the end of the wait; a run or playback stays stoppable.
    ui.WaitEvents(platform::PumpScope::WithUserInput, static_cast<int>(std::clamp<int64_t>(target - elapsed, 0, INT_MAX)));
    elapsed = static_cast<int64_t>(ui.TickCountMs() - start);
  } while (elapsed < target);
}

void BeginInputStatus() { Input.InputMode = true; }

void EndInputStatus() {
  Input.InputMode = false;
  ShowStatus("");
}

int CountTextLines(const std::string& text) {
  int lines = 0;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && text[i] != '\r' && text[i] != '\n') ++i;
    ++lines;
    if (i < text.size() && text[i] == '\r') ++i;
    if (i < text.size() && text[i] == '\n') ++i;
  }
  return lines;
}

void SaveCursorPos(int& x, int& y) {
  const platform::Point p = CurrentUi().CursorPos();
  x = p.x;
  y = p.y;
}

void SetCursorPosXY(int x, int y) { CurrentUi().SetCursorPos({x, y}); }

void MoveMouseBy(int dx, int dy) {
  const platform::Point p = CurrentUi().CursorPos();
  CurrentUi().SetCursorPos({p.x + dx, p.y + dy});
}

void CenterMouseCursor() {
  auto& ui = CurrentUi();
  const int width = ScreenWidth > 0 ? ScreenWidth : ui.ScreenWidth();
  const int height = ScreenHeight > 0 ? ScreenHeight : ui.ScreenHeight();
  ui.SetCursorPos({width / 2, height / 2});
}

void MoveMouseToControl(PointerTarget* control) {
  if (!control || !control->IsVisible()) return;
  CurrentUi().SetCursorPos(control->ClientToScreen({control->ClientWidth() / 2, control->ClientHeight() / 2}));
  if (control->IsWindowed() && control->IsEnabled()) control->SetFocus();
}

}  // namespace fw
