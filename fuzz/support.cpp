#include "support.h"

#include <unistd.h>

#include <QGuiApplication>
#include <cstdlib>
#include <filesystem>

#include "platform/files.h"
#include "platform/path.h"
#include "platform/ui.h"

namespace fuzzsupport {

namespace {

class QuietUi final : public platform::Ui {
 public:
  platform::ModalResult ShowMessageBox(const std::string&, const std::string&, platform::DialogKind,
                                       platform::DialogButtons buttons) override {
    return platform::FirstButtonAnswer(buttons);
  }
  void Beep() override {}
  uint64_t TickCountMs() override { return now_ += 10; }
  void ProcessEvents(platform::PumpScope) override {}
  platform::Point CursorPos() override { return {}; }
  void SetCursorPos(platform::Point) override {}
  void SetCursorShape(platform::CursorShape) override {}
  int ScreenWidth() override { return 1024; }
  int ScreenHeight() override { return 768; }
  void SetHintHidePause(int) override {}

 private:
  uint64_t now_ = 0;
};

struct Scratch {
  std::string native, inside;
  Scratch() {
    std::string pattern = (std::filesystem::temp_directory_path() / "harvsim-fuzz-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) std::abort();
    native = pattern + "/";
    inside = platform::ToInsidePath(native).value_or("");
    if (inside.empty()) std::abort();
  }
  ~Scratch() {
    std::error_code ec;
    std::filesystem::remove_all(native, ec);
  }
};

}  // namespace

void InstallQuietUi() {
  static QuietUi ui;
  static const bool installed = (platform::InstallUi(&ui), true);
  (void)installed;
}

void EnsureQtApp() {
  if (QGuiApplication::instance()) return;
  ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
  static int argc = 1;
  static char name[] = "harvsim-fuzz";
  static char* argv[] = {name, nullptr};
  // Kept for the whole process (never destroyed at exit, after the objects it serves).
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  (void)app;
}

const std::string& ScratchFolder() {
  static Scratch scratch;
  return scratch.inside;
}

std::string WriteScratchFile(const std::string& name, std::string_view bytes) {
  const std::string path = ScratchFolder() + name;
  platform::WriteFileBytesAtomic(path, std::string(bytes), nullptr, platform::Durability::Unsynced);
  return path;
}

}  // namespace fuzzsupport
