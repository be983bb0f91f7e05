// The Qt implementation of the platform user-interface services.
#pragma once

#include "platform/ui.h"

namespace platform {

class QtUi final : public Ui {
 public:
  ModalResult ShowMessageBox(const std::string& text, const std::string& caption, DialogKind kind,
                             DialogButtons buttons) override;
  void Beep() override;
  uint64_t TickCountMs() override;
  void ProcessEvents() override;
  Point CursorPos() override;
  void SetCursorPos(Point p) override;
  void SetCursorShape(CursorShape shape) override;
  int ScreenWidth() override;
  int ScreenHeight() override;

 private:
  bool overrideCursor_ = false;
};

}  // namespace platform
