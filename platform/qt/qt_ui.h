// The Qt implementation of the platform user-interface services, and the Japanese texts of
// Qt's own dialogs.
//
// Message boxes show their text as plain text (line breaks at CR, LF or CR LF) and carry
// Japanese button captions of their own ("はい(&Y)", "いいえ(&N)", "キャンセル", ...), so they
// read the same whether or not Qt's translation could be loaded.
// The hint hide pause applies to every widget's tool tip that has no duration of its own.
#pragma once

#include <QString>

#include "platform/ui.h"

class QDialogButtonBox;
class QObject;

namespace platform {

class QtUi final : public Ui {
 public:
  ~QtUi() override;
  ModalResult ShowMessageBox(const std::string& text, const std::string& caption, DialogKind kind,
                             DialogButtons buttons) override;
  void Beep() override;
  uint64_t TickCountMs() override;
  void ProcessEvents(PumpScope scope) override;
  // Rests in the event dispatcher until an event or the wait's own timer wakes it.
  void WaitEvents(PumpScope scope, int ms) override;
  Point CursorPos() override;
  void SetCursorPos(Point p) override;
  void SetCursorShape(CursorShape shape) override;
  int ScreenWidth() override;
  int ScreenHeight() override;
  void SetHintHidePause(int ms) override;

 private:
  bool overrideCursor_ = false;
  QObject* hintFilter_ = nullptr;
};

// Loads Qt's own Japanese translation (qtbase_ja from Qt's translations folder) into the
// application and makes Japanese the default locale of Qt's widgets, so the file and print
// dialogs and the standard buttons read in Japanese (dates and sizes too) whatever the
// machine's locale. False when the translation is not installed.
bool InstallJapaneseTranslation();

// The Japanese caption of a standard button (QMessageBox and QDialogButtonBox share the
// values); empty for a button the program does not use.
QString JapaneseButtonText(int standardButton);
// Sets the Japanese captions on the standard buttons of a button box.
void UseJapaneseButtonTexts(QDialogButtonBox* box);

}  // namespace platform
