// The preview geometry of the report form: the page area kept at the A4 proportion and the zoom
// that shows the paper across it.
#include <gtest/gtest.h>

#include "support/test_support.h"
#include "views/report_pages.h"

namespace {

using testsupport::U;

TEST(ReportPreview, PageAreaKeepsTheA4Proportion) {
  struct Case {
    int width, height;
    bool vista;
    int fitWidth, fitHeight, zoom;
    const char* zoomText;
  } cases[] = {
      {600, 900, false, 600, 848, 76, "76％縮小"},   // too high: the height follows the width
      {600, 700, false, 495, 700, 62, "62％縮小"},   // too wide: the width follows the height
      {401, 565, false, 400, 565, 50, "50％縮小"},   // the start size: 565 / 401 is just below 1.41
      {794, 1123, false, 794, 1123, 100, "100％縮小"},
      {598, 900, true, 600, 848, 76, "76％縮小"},    // two pixels wider first
  };
  for (const Case& c : cases) {
    const views::PreviewFit fit = views::FitPreview(c.width, c.height, c.vista, false, 1000);
    EXPECT_EQ(fit.width, c.fitWidth) << c.width << "x" << c.height;
    EXPECT_EQ(fit.height, c.fitHeight) << c.width << "x" << c.height;
    EXPECT_EQ(fit.zoom, c.zoom) << c.width << "x" << c.height;
    EXPECT_EQ(U(fit.zoomText), c.zoomText);
    EXPECT_EQ(fit.formWidth, c.fitWidth + 16);
    EXPECT_EQ(fit.formHeight, c.fitHeight + 68);
  }
}

TEST(ReportPreview, WholePageShowsThePaperAtFullSize) {
  const views::PreviewFit fit = views::FitPreview(600, 900, false, true, 850);
  EXPECT_EQ(fit.zoom, 100);
  EXPECT_EQ(fit.formWidth, 850);
  EXPECT_EQ(fit.formHeight, 0);  // the height stays
  EXPECT_EQ(fit.zoomText, "");
}

}  // namespace
