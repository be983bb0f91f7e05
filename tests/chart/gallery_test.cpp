// The chart gallery runner: every picture it writes is a PNG with drawing on it and an EMF
// that our player walks to its end; where LibreOffice is installed, its conversions of the
// EMFs put the plot rectangle where our PNGs have it.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "draw_env.h"
#include "platform/dc_canvas.h"
#include "platform/emf_player.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"

namespace {

struct Gallery {
  testsupport::TempFolder folder;
  std::vector<std::string> names;
  std::vector<QRect> plots;  // the plot rectangle of each picture
  int status = -1;
};

// Runs the gallery once into a temporary folder for the whole suite.
const Gallery& RunGallery() {
  static Gallery* gallery = [] {
    auto* g = new Gallery;
    const std::string program = testsupport::BinDir() + "/run_chart_gallery";
    const std::string out =
        testsupport::CommandOutput("QT_QPA_PLATFORM=offscreen '" + program + "' '" + g->folder.native() + "'; echo \"status $?\"");
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
      if (line.rfind("status ", 0) == 0) {
        g->status = std::stoi(line.substr(7));
      } else if (const auto tab = line.find('\t'); tab != std::string::npos) {
        g->names.push_back(line.substr(0, tab));
        int l = 0, t = 0, r = 0, b = 0;
        std::sscanf(line.substr(line.rfind('\t') + 1).c_str(), "%d,%d,%d,%d", &l, &t, &r, &b);
        g->plots.push_back(QRect(QPoint(l, t), QPoint(r, b)));
      }
    }
    return g;
  }();
  return *gallery;
}

// How many pixels of a line (column x from y0 to y1, or row y from x0 to x1) are drawn
// (not light).
int Drawn(const QImage& image, bool column, int at, int from, int to) {
  int n = 0;
  for (int k = from; k <= to; ++k) {
    const QRgb p = column ? image.pixel(at, k) : image.pixel(k, at);
    if (std::max({qRed(p), qGreen(p), qBlue(p)}) < 200) ++n;
  }
  return n;
}

// The line nearest to `at` (within 12 pixels) along which most pixels are drawn, or -1 when
// no line there is drawn over 3/4 of its length.
int EdgeNear(const QImage& image, bool column, int at, int from, int to) {
  int best = -1, most = 0;
  const int limit = column ? image.width() : image.height();
  for (int d = 0; d <= 12; ++d) {
    for (int k : {at - d, at + d}) {
      if (k < 0 || k >= limit) continue;
      const int n = Drawn(image, column, k, from, to);
      if (n > most) {
        most = n;
        best = k;
      }
    }
  }
  return most * 4 >= (to - from + 1) * 3 ? best : -1;
}

// The box of everything drawn (not near-white), right and bottom exclusive.
QRect InkBox(const QImage& image) {
  int left = image.width(), top = image.height(), right = -1, bottom = -1;
  for (int y = 0; y < image.height(); ++y)
    for (int x = 0; x < image.width(); ++x) {
      const QRgb p = image.pixel(x, y);
      if (qRed(p) > 235 && qGreen(p) > 235 && qBlue(p) > 235) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  return right < 0 ? QRect() : QRect(QPoint(left, top), QPoint(right, bottom));
}

TEST(ChartGallery, EveryPictureIsAPngWithDrawingAndAnEmfOurPlayerWalks) {
  const Gallery& g = RunGallery();
  ASSERT_EQ(g.status, 0);
  ASSERT_GE(g.names.size(), 60u);
  for (const std::string& name : g.names) {
    SCOPED_TRACE(name);
    const QImage png(QString::fromStdString(g.folder.native() + name + ".png"));
    ASSERT_FALSE(png.isNull());
    // Drawing: more than a background and a frame.
    std::set<QRgb> colors;
    for (int y = 0; y < png.height(); y += 4)
      for (int x = 0; x < png.width(); x += 4) colors.insert(png.pixel(x, y));
    EXPECT_GE(colors.size(), 4u);
    std::string bytes;
    ASSERT_TRUE(platform::ReadFileBytes(g.folder.Path(name + ".emf"), bytes));
    QImage played = drawtest::WhiteImage(png.width(), png.height());
    platform::QtDc dc(played);
    const platform::EmfPlayResult result = platform::PlayEnhMetafile(dc, bytes, platform::Rect{0, 0, png.width(), png.height()});
    EXPECT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.skipped, 0);
    EXPECT_GT(result.played, 10);
  }
}

TEST(ChartGallery, IndependentReaderPutsThePlotRectangleWhereOursIs) {
  if (!testsupport::HaveLibreOffice()) GTEST_SKIP() << "soffice is not installed";
  const Gallery& g = RunGallery();
  ASSERT_EQ(g.status, 0);
  std::vector<std::string> metafiles;
  for (const std::string& name : g.names) metafiles.push_back(name + ".emf");
  const testsupport::ReaderPictures pictures = testsupport::ConvertWithReader(g.folder.native(), metafiles);
  if (pictures.Collecting()) return;
  ASSERT_EQ(pictures.Error(), "");
  int compared = 0;
  for (const std::string& name : g.names) {
    SCOPED_TRACE(name);
    const QImage ours(QString::fromStdString(g.folder.native() + name + ".png"));
    QImage page(QString::fromStdString(pictures.Png(name + ".emf")));
    ASSERT_FALSE(page.isNull());
    // The reader places the picture on a page: its drawing is cut out and laid over ours.
    const QRect ourInk = InkBox(ours), theirInk = InkBox(page);
    ASSERT_FALSE(theirInk.isEmpty());
    QImage theirs = drawtest::WhiteImage(ours.width(), ours.height());
    {
      QPainter painter(&theirs);
      painter.setRenderHint(QPainter::SmoothPixmapTransform);
      painter.drawImage(ourInk, page.convertToFormat(QImage::Format_RGB32), theirInk);
    }
    drawtest::Keep(theirs, "gallery_libreoffice");
    // Each edge of the plot rectangle where our picture draws a line along it (axes and the
    // back wall's frame; pies and 3D walls have none there) is found at the same place.
    const QRect plot = g.plots[static_cast<size_t>(&name - g.names.data())];
    const int inset = 6;
    const struct {
      bool column;
      int at, from, to;
    } edges[4] = {{true, plot.left(), plot.top() + inset, plot.bottom() - inset},
                  {true, plot.right(), plot.top() + inset, plot.bottom() - inset},
                  {false, plot.top(), plot.left() + inset, plot.right() - inset},
                  {false, plot.bottom(), plot.left() + inset, plot.right() - inset}};
    bool any = false;
    for (const auto& e : edges) {
      if (e.to - e.from < 50) continue;
      const int a = EdgeNear(ours, e.column, e.at, e.from, e.to);
      if (a < 0) continue;
      any = true;
      const int b = EdgeNear(theirs, e.column, a, e.from, e.to);
      EXPECT_NEAR(b, a, 3) << (e.column ? "column " : "row ") << e.at;
    }
    if (!any) continue;
    ++compared;
  }
  EXPECT_GT(compared, 30);
}

}  // namespace
