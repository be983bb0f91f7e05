// The picture classes: loading, copying, drawing into a rectangle, and the picture holder's
// change notification.
#include <gtest/gtest.h>

#include "platform/dc_trace.h"
#include "platform/emf_recorder.h"
#include "platform/image_codecs.h"
#include "platform/picture.h"

using namespace platform;

TEST(Picture, BitmapAndMetafileLoadDrawAndCopy) {
  Dib dib = Dib::Filled(6, 4, RgbColor(1, 2, 3));
  TBitmapGraphic bmp;
  ASSERT_TRUE(bmp.LoadFromBytes(EncodeBmp24(dib)));
  EXPECT_EQ(bmp.Bitmap(), dib);
  TBitmapGraphic jpg;
  ASSERT_TRUE(jpg.LoadFromBytes(EncodeJpeg(dib, 90)));
  EXPECT_EQ(jpg.Width(), 6);
  EXPECT_FALSE(jpg.LoadFromBytes("neither"));
  EXPECT_TRUE(jpg.Empty());

  EmfRecorder rec(30, 20);
  rec.Rectangle(0, 0, 30, 20);
  TMetafile emf;
  ASSERT_TRUE(emf.LoadFromBytes(rec.Finish()));
  EXPECT_EQ(emf.Width(), 30);
  EXPECT_EQ(emf.Height(), 20);
  EXPECT_FALSE(TMetafile().LoadFromBytes(std::string(100, 'x')));

  // Each draws scaled into the rectangle it is given.
  TraceDc dc;
  Canvas canvas(dc);
  bmp.Draw(canvas, Rect{10, 10, 22, 18});
  emf.Draw(canvas, Rect{0, 0, 60, 40});
  EXPECT_TRUE(dc.Has("StretchDIBits 10,10,22,18"));
  EXPECT_TRUE(dc.Has("Rectangle 0,0,60,40"));

  std::unique_ptr<TGraphic> copy = emf.Clone();
  EXPECT_STREQ(copy->ClassName(), "TMetafile");
  EXPECT_EQ(static_cast<TMetafile&>(*copy).Bytes(), emf.Bytes());
}

TEST(Picture, HolderNotifiesEveryChangeAndCopiesTheGraphic) {
  TPicture a, b;
  int changes = 0;
  a.OnChange = [&](TPicture& sender) {
    EXPECT_EQ(&sender, &a);
    ++changes;
  };
  auto bitmap = std::make_unique<TBitmapGraphic>();
  bitmap->SetBitmap(Dib::Filled(3, 2, 0));
  b.SetGraphic(std::move(bitmap));
  a.Assign(b);
  EXPECT_EQ(changes, 1);
  ASSERT_NE(a.Graphic(), nullptr);
  EXPECT_NE(a.Graphic(), b.Graphic());  // a copy, not the same object
  EXPECT_EQ(a.Width(), 3);
  a.SetGraphic(nullptr);
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(a.Height(), 0);
}
