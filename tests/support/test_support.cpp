#include "support/test_support.h"

#include <sys/wait.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>

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

namespace {

std::optional<std::string> NativeFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The batch's own name of a check's metafile: the test's name keeps the checks' files apart.
std::string InBatch(const std::string& check, const std::string& name) { return check + "--" + name; }

// A collecting pass has checked nothing: it reports itself skipped, so that it never counts as
// a passed check.
void ReportCollected() { GTEST_SKIP() << "metafiles collected for the reader's batch; checked in the next pass"; }

}  // namespace

std::string ReaderPictures::Png(const std::string& name) const {
  return batch_ + "out/" + std::filesystem::path(InBatch(check_, name)).stem().string() + ".png";
}

ReaderPictures ConvertWithReader(const std::string& folder, const std::vector<std::string>& names) {
  namespace fs = std::filesystem;
  ReaderPictures pictures;
  const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
  pictures.check_ = test ? std::string(test->test_suite_name()) + "." + test->name() : "check";
  const char* batch = std::getenv("HARVSIM_READER_BATCH");
  const bool shared = batch && *batch;
  if (shared) {
    pictures.batch_ = std::string(batch) + "/";
  } else {
    pictures.own_ = std::make_shared<TempFolder>();
    pictures.batch_ = pictures.own_->native();
  }
  const bool collecting = shared && std::getenv("HARVSIM_READER_COLLECT");
  std::error_code ec;
  fs::create_directories(pictures.batch_ + "in", ec);
  for (const std::string& name : names) {
    const std::string ours = folder + name, theirs = pictures.batch_ + "in/" + InBatch(pictures.check_, name);
    if (shared && !collecting) {
      // The picture is of the batch's copy: it must be this very metafile.
      const std::optional<std::string> a = NativeFileBytes(ours), b = NativeFileBytes(theirs);
      if (!b) {
        pictures.error_ = "the batch holds no " + name + ": its collecting pass did not run";
        return pictures;
      }
      if (a != b) {
        pictures.error_ = name + " is not the metafile the batch converted";
        return pictures;
      }
    } else if (!fs::copy_file(ours, theirs, fs::copy_options::overwrite_existing, ec)) {
      pictures.error_ = "cannot copy " + ours + " into the batch: " + ec.message();
      return pictures;
    }
  }
  if (collecting) {
    pictures.collecting_ = true;
    ReportCollected();
    return pictures;
  }
  if (!shared) {
    const std::string cmd = "'" + SourceDir() + "/tests/support/reader_batch.sh' convert '" + pictures.batch_ + "'" +
                            " >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) {
      pictures.error_ = "the reader's conversion failed";
      return pictures;
    }
  }
  for (const std::string& name : names) {
    if (!fs::exists(pictures.Png(name))) {
      pictures.error_ = "the reader made no picture of " + name;
      return pictures;
    }
  }
  return pictures;
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
