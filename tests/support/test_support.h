// Shared test doubles: a scripted user interface with a fake clock, and temporary folders.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ui.h"

namespace testsupport {

// Answers message boxes from a script (then with the first button), records every box and
// beep, and runs a fake clock that each ProcessEvents() call advances by `stepMs`, so a
// timed wait finishes at once in real time.
//
// `queuedInput` stands for the window system's queue of mouse and key input: a pump that
// handles user input runs it (in order), a pump that leaves input queued does not. `onPump`
// runs at the end of every pump (a test lets Qt repaint there, or looks at the screen).
class FakeUi final : public platform::Ui {
 public:
  struct Shown {
    std::string text;  // CP932
    platform::DialogKind kind;
    platform::DialogButtons buttons;
    std::string caption;  // CP932
  };

  FakeUi();
  ~FakeUi() override;  // reinstalls the previous implementation

  std::deque<platform::ModalResult> answers;
  std::vector<Shown> shown;
  int beeps = 0;
  uint64_t nowMs = 0;
  uint64_t stepMs = 10;
  int processEventsCalls = 0;
  int inputPumps = 0;  // the pumps that handled user input
  std::deque<std::function<void()>> queuedInput;
  std::function<void(platform::PumpScope)> onPump;
  std::function<void(const std::string& text)> onShow;  // runs as each message box comes up
  int hintHidePauseMs = -1;
  platform::Point cursor;
  platform::CursorShape cursorShape = platform::CursorShape::Default;

  platform::ModalResult ShowMessageBox(const std::string& text, const std::string& caption,
                                       platform::DialogKind kind, platform::DialogButtons buttons) override;
  void Beep() override { ++beeps; }
  uint64_t TickCountMs() override { return nowMs; }
  void ProcessEvents(platform::PumpScope scope) override;
  platform::Point CursorPos() override { return cursor; }
  void SetCursorPos(platform::Point p) override { cursor = p; }
  void SetCursorShape(platform::CursorShape s) override { cursorShape = s; }
  int ScreenWidth() override { return 1280; }
  int ScreenHeight() override { return 1024; }
  void SetHintHidePause(int ms) override { hintHidePauseMs = ms; }

 private:
  platform::Ui* previous_;
};

// A fresh temporary folder, removed with its contents on destruction.
class TempFolder {
 public:
  TempFolder();
  ~TempFolder();
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::string& native() const { return native_; }  // "/tmp/harvsim-test-XXXX/"
  const std::string& inside() const { return inside_; }  // "C:\tmp\harvsim-test-XXXX\"
  // Inside path of `relativeUtf8` (a UTF-8 literal with '\' or '/' separators) under the folder.
  std::string Path(const std::string& relativeUtf8) const;

 private:
  std::string native_;
  std::string inside_;
};

// Runs `check` as an ordinary user (in a child process when the tests run as the superuser,
// who may write anywhere) and returns its result; -1 when the child could not run it.
int RunAsOrdinaryUser(const std::function<int()>& check);

// LibreOffice, the independent reader the drawing tests check our metafiles with: whether its
// converter is installed.
bool HaveLibreOffice();

// The reader's PNG pictures of one check's metafiles.
//
// Under CTest the checks (the tests named Suite.IndependentReader*) share one start of the
// reader, which costs seconds: each check runs first with HARVSIM_READER_COLLECT set and only
// copies its metafiles into the batch folder HARVSIM_READER_BATCH, one run of
// tests/support/reader_batch.sh converts the whole batch, and then the checks run again and
// find their pictures there. A check run without a batch folder converts its own metafiles.
class ReaderPictures {
 public:
  // This pass only collected the metafiles (the test is reported skipped): the check ends here.
  bool Collecting() const { return collecting_; }
  // Why there are no pictures; empty when every metafile has one.
  const std::string& Error() const { return error_; }
  // The native path of the picture of the metafile `name`.
  std::string Png(const std::string& name) const;

 private:
  friend ReaderPictures ConvertWithReader(const std::string&, const std::vector<std::string>&);
  bool collecting_ = false;
  std::string error_;
  std::string batch_;  // the batch folder (native, with the closing '/')
  std::string check_;  // the running test's name, which keeps the checks' files apart in the batch
  std::shared_ptr<TempFolder> own_;  // the batch of a check run on its own
};

// The reader's pictures of the metafiles `names` in the native folder `folder`, for the running
// test. In a batch, each metafile must be the same, byte for byte, as the one its collecting
// pass put there.
ReaderPictures ConvertWithReader(const std::string& folder, const std::vector<std::string>& names);

// A UTF-8 literal as CP932 (short for platform::J in tests).
std::string S(const std::string& utf8);
// CP932 to UTF-8, for readable assertion messages.
std::string U(const std::string& cp932);

// Folders given to the tests by CTest.
std::string SourceDir();   // the repository (native)
std::string BinDir();      // the build's bin folder with the installed data tree (native)
std::string WeatherDir();  // the real weather observations, may be missing (native)

// What a shell command writes to its standard output (poppler's pdfinfo, pdftotext ...).
std::string CommandOutput(const std::string& command);

}  // namespace testsupport
