// The metafile picture classes: loading by extension, and drawing whole through a clip region
// that is restored afterwards.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/emf_recorder.h"
#include "platform/files.h"
#include "platform/qt/dc_qt.h"
#include "support/test_support.h"
#include "framework/ui/metafile_picture.h"

using namespace fw;
using platform::Rect;

namespace {

// A 100 x 60 metafile filled with one red rectangle over the whole picture.
std::string RedMetafile() {
  platform::EmfRecorder rec(100, 60);
  rec.SelectPen(platform::LogPen{platform::PS_NULL, 0, 0, {}});
  rec.SelectBrush(platform::LogBrush{platform::BS_SOLID, platform::RgbColor(255, 0, 0), 0, nullptr});
  rec.Rectangle(0, 0, 101, 61);
  return rec.Finish();
}

int RedPixels(const QImage& img) {
  int n = 0;
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x) n += img.pixel(x, y) == qRgb(255, 0, 0);
  }
  return n;
}

}  // namespace

TEST(MetafilePicture, LoadingAnEmfFileGivesTheClipLiftingClass) {
  testsupport::TempFolder tmp;
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("page.emf"), RedMetafile()));
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("PAGE2.EMF"), RedMetafile()));
  for (const char* name : {"page.emf", "PAGE2.EMF"}) {
    std::unique_ptr<TGraphic> g = LoadPicture(tmp.Path(name));
    ASSERT_TRUE(g) << name;
    EXPECT_STREQ(g->ClassName(), "TMetafileEx");
    EXPECT_EQ(g->Width(), 100);
    EXPECT_EQ(g->Height(), 60);
  }
  EXPECT_STREQ(NewGraphicForFile("x.wmf")->ClassName(), "TMetafileEx");
  EXPECT_STREQ(NewGraphicForClipboard(CF_ENHMETAFILE)->ClassName(), "TMetafileEx");
  EXPECT_STREQ(NewGraphicForClipboard(CF_METAFILEPICT)->ClassName(), "TMetafileEx");
  EXPECT_EQ(FileFormatDescription("EMF"), "Enhanced Metafile");
  EXPECT_EQ(FileFormatDescription("wmf"), "Windows Metafile");
  // Registration and its removal act once: a second pair of calls changes nothing.
  RegisterMetafileEx();
  UnregisterMetafileEx();
  EXPECT_STREQ(NewGraphicForFile("x.emf")->ClassName(), "TMetafileEx");
  // Not a metafile: nothing loads.
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("bad.emf"), std::string(200, 'x')));
  EXPECT_FALSE(LoadPicture(tmp.Path("bad.emf")));
  EXPECT_FALSE(LoadPicture(tmp.Path("missing.emf")));
}

TEST(MetafilePicture, UnregisteringRestoresThePlainMetafileClass) {
  testsupport::TempFolder tmp;
  ASSERT_TRUE(platform::WriteFileBytesAtomic(tmp.Path("page.emf"), RedMetafile()));
  // Undo every registration made so far (the test program's own among them), then redo them.
  int registered = 0;
  while (registered < 10 && LoadPicture(tmp.Path("page.emf")) &&
         std::string(LoadPicture(tmp.Path("page.emf"))->ClassName()) == "TMetafileEx") {
    UnregisterMetafileEx();
    ++registered;
  }
  ASSERT_GT(registered, 0);
  std::unique_ptr<TGraphic> plain = LoadPicture(tmp.Path("page.emf"));
  ASSERT_TRUE(plain);
  EXPECT_STREQ(plain->ClassName(), "TMetafile");
  EXPECT_EQ(plain->Width(), 100);
  EXPECT_STREQ(NewGraphicForFile("x.wmf")->ClassName(), "TMetafile");
  ASSERT_TRUE(NewGraphicForClipboard(CF_ENHMETAFILE));
  EXPECT_STREQ(NewGraphicForClipboard(CF_ENHMETAFILE)->ClassName(), "TMetafile");
  EXPECT_STREQ(NewGraphicForClipboard(CF_METAFILEPICT)->ClassName(), "TMetafile");
  EXPECT_EQ(FileFormatDescription("emf"), "Enhanced Metafiles");
  EXPECT_EQ(FileFormatDescription("wmf"), "Metafiles");
  for (int i = 0; i < registered; ++i) RegisterMetafileEx();
  EXPECT_STREQ(LoadPicture(tmp.Path("page.emf"))->ClassName(), "TMetafileEx");
}

TEST(MetafilePicture, DrawsWholeThroughAClipRegionAndRestoresIt) {
  platform::EnsureQtFontEngine();
  TMetafile plain;
  TMetafileEx lifting;
  ASSERT_TRUE(plain.LoadFromBytes(RedMetafile()));
  ASSERT_TRUE(lifting.LoadFromBytes(RedMetafile()));
  const Rect target{10, 10, 110, 70};
  const platform::Region half(Rect{10, 10, 60, 70});  // the left half of the target

  auto drawWith = [&](TGraphic& g, platform::Region* after) {
    QImage img(120, 80, QImage::Format_RGB32);
    img.fill(Qt::white);
    platform::QtDc dc(img);
    platform::Canvas canvas(dc);
    dc.SelectClipRegion(&half);
    g.Draw(canvas, target);
    EXPECT_TRUE(dc.GetClipRegion(*after));
    return img;
  };
  platform::Region afterPlain, afterLifting;
  const QImage clipped = drawWith(plain, &afterPlain);
  const QImage whole = drawWith(lifting, &afterLifting);
  EXPECT_EQ(RedPixels(whole), 100 * 60);
  EXPECT_EQ(RedPixels(clipped), 50 * 60);
  EXPECT_EQ(afterLifting, half);
  EXPECT_EQ(afterPlain, half);

  // Without a clip region it draws directly and leaves none.
  QImage img(120, 80, QImage::Format_RGB32);
  img.fill(Qt::white);
  platform::QtDc dc(img);
  platform::Canvas canvas(dc);
  lifting.Draw(canvas, target);
  platform::Region none;
  EXPECT_FALSE(dc.GetClipRegion(none));
  EXPECT_EQ(RedPixels(img), 100 * 60);
}
