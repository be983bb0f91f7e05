#include "draw_env.h"

#include <gtest/gtest.h>

#include <QApplication>

#include "platform/qt/dc_qt.h"

namespace drawtest {

namespace {

// The application lives to the end of the process: the font engine's cached fonts must not
// outlive it, and destroying it among the static objects at exit is not safe.
class QtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!QApplication::instance()) {
      static int argc = 1;
      static char name[] = "platform_draw_tests";
      static char* argv[] = {name, nullptr};
      static QApplication* app = new QApplication(argc, argv);
      (void)app;
    }
    platform::EnsureQtFontEngine();
  }
};

[[maybe_unused]] ::testing::Environment* const kEnv = ::testing::AddGlobalTestEnvironment(new QtEnvironment);

}  // namespace

QImage WhiteImage(int width, int height) {
  QImage img(width, height, QImage::Format_RGB32);
  img.fill(Qt::white);
  return img;
}

platform::ColorRef At(const QImage& image, int x, int y) { return platform::QRgbToColorRef(image.pixel(x, y)); }

int DiffCount(const QImage& a, const QImage& b, const std::vector<platform::Rect>& ignore) {
  int n = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      bool skip = false;
      for (const platform::Rect& r : ignore) skip = skip || (x >= r.left && x < r.right && y >= r.top && y < r.bottom);
      if (!skip && a.pixel(x, y) != b.pixel(x, y)) ++n;
    }
  }
  return n;
}

std::string DiffBounds(const QImage& a, const QImage& b) {
  int l = a.width(), t = a.height(), r = -1, bt = -1;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      if (a.pixel(x, y) == b.pixel(x, y)) continue;
      l = std::min(l, x);
      t = std::min(t, y);
      r = std::max(r, x);
      bt = std::max(bt, y);
    }
  }
  return std::to_string(l) + "," + std::to_string(t) + "-" + std::to_string(r) + "," + std::to_string(bt);
}

// Pictures are kept to be looked at only in the folder HARVSIM_KEEP_PICTURES names.
void Keep(const QImage& image, const std::string& name) {
  const QString folder = qEnvironmentVariable("HARVSIM_KEEP_PICTURES");
  if (!folder.isEmpty()) image.save(folder + QString::fromStdString("/harvsim-draw-" + name + ".png"));
}

}  // namespace drawtest

// Under the leak checker: the system's font configuration library keeps a few allocations
// for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
