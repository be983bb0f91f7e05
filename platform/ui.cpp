#include "platform/ui.h"

#include <chrono>
#include <cstdio>
#include <thread>

#include "platform/cp932.h"

namespace platform {
namespace {

class HeadlessUi final : public Ui {
 public:
  ModalResult ShowMessageBox(const std::string& text, const std::string&, DialogKind, DialogButtons buttons) override {
    std::fprintf(stderr, "[message] %s\n", Cp932ToUtf8(text).c_str());
    return FirstButtonAnswer(buttons);
  }
  void Beep() override {}
  uint64_t TickCountMs() override {
    using namespace std::chrono;
    return static_cast<uint64_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
  }
  void ProcessEvents(PumpScope) override {}
  // Nothing comes without a window system: the wait is a sleep.
  void WaitEvents(PumpScope, int ms) override {
    if (ms > 0) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
  }
  Point CursorPos() override { return cursor_; }
  void SetCursorPos(Point p) override { cursor_ = p; }
  void SetCursorShape(CursorShape) override {}
  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }
  void SetHintHidePause(int) override {}

 private:
  Point cursor_;
};

HeadlessUi& Headless() {
  static HeadlessUi ui;
  return ui;
}

Ui* g_ui = nullptr;

}  // namespace

ModalResult FirstButtonAnswer(DialogButtons buttons) {
  switch (buttons) {
    case DialogButtons::YesNo:
    case DialogButtons::YesNoCancel:
    case DialogButtons::YesAbort:
      return ModalResult::Yes;
    case DialogButtons::CancelRetry:
      return ModalResult::Cancel;
    case DialogButtons::Ok:
      break;
  }
  return ModalResult::Ok;
}

Ui& CurrentUi() { return g_ui ? *g_ui : Headless(); }

Ui* InstallUi(Ui* ui) {
  Ui* previous = g_ui ? g_ui : &Headless();
  g_ui = ui;
  return previous;
}

}  // namespace platform
