#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "platform/cp932.h"
#include "platform/path.h"

namespace testsupport {

FakeUi::FakeUi() { previous_ = platform::InstallUi(this); }

FakeUi::~FakeUi() { platform::InstallUi(previous_); }

platform::ModalResult FakeUi::ShowMessageBox(const std::string& text, const std::string& caption,
                                             platform::DialogKind kind, platform::DialogButtons buttons) {
  shown.push_back({text, kind, buttons, caption});
  if (onShow) onShow(text);
  if (!answers.empty()) {
    auto a = answers.front();
    answers.pop_front();
    return a;
  }
  return platform::FirstButtonAnswer(buttons);
}

void FakeUi::ProcessEvents(platform::PumpScope scope) {
  ++processEventsCalls;
  nowMs += stepMs;
  if (scope == platform::PumpScope::WithUserInput) {
    ++inputPumps;
    while (!queuedInput.empty()) {
      std::function<void()> input = std::move(queuedInput.front());
      queuedInput.pop_front();
      input();
    }
  }
  if (onPump) onPump(scope);
}

TempFolder::TempFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "harvsim-test-XXXXXX").string();
  char* made = ::mkdtemp(pattern.data());
  native_ = std::string(made ? made : pattern.c_str()) + "/";
  inside_ = platform::ToInsidePath(native_).value_or("");
}

TempFolder::~TempFolder() {
  std::error_code ec;
  std::filesystem::remove_all(native_, ec);
}

std::string TempFolder::Path(const std::string& relativeUtf8) const {
  std::string rel = platform::J(relativeUtf8);
  for (char& c : rel)
    if (c == '/') c = '\\';
  return inside_ + rel;
}

int RunAsOrdinaryUser(const std::function<int()>& check) {
  if (::geteuid() != 0) return check();
  const pid_t child = ::fork();
  if (child < 0) return -1;
  if (child == 0) {
    if (::setgid(65534) != 0 || ::setuid(65534) != 0) ::_exit(255);
    ::_exit(check());
  }
  int status = 0;
  if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) == 255) return -1;
  return WEXITSTATUS(status);
}

bool HaveLibreOffice() { return std::system("command -v soffice >/dev/null 2>&1") == 0; }

bool ConvertWithLibreOffice(const std::string& folder, const std::string& files, const std::string& outFolder,
                            int timeoutSeconds) {
  const std::string cmd = "cd '" + folder + "' && timeout " + std::to_string(timeoutSeconds) +
                          " soffice -env:UserInstallation=file://" + folder +
                          "profile --headless --convert-to png --outdir '" + outFolder + "' " + files +
                          " >/dev/null 2>&1";
  return std::system(cmd.c_str()) == 0;
}

std::string S(const std::string& utf8) { return platform::J(utf8); }
std::string U(const std::string& cp932) { return platform::Cp932ToUtf8(cp932); }

namespace {
std::string Env(const char* name, const char* fallback) {
  const char* v = std::getenv(name);
  return (v && *v) ? v : fallback;
}
}  // namespace

std::string SourceDir() { return Env("HARVSIM_SOURCE_DIR", HARVSIM_SOURCE_DIR_DEFAULT); }
std::string BinDir() { return Env("HARVSIM_BIN_DIR", HARVSIM_BIN_DIR_DEFAULT); }
std::string WeatherDir() { return Env("HARVSIM_WEATHER_DIR", HARVSIM_WEATHER_DIR_DEFAULT); }

std::string CommandOutput(const std::string& command) {
  std::string out;
  FILE* p = popen(command.c_str(), "r");
  if (!p) return out;
  char buf[4096];
  size_t n;
  while ((n = fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  pclose(p);
  return out;
}

}  // namespace testsupport
