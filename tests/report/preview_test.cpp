// The preview control: zoom, fit and width, pages shown as they are finished, the painted
// page with its outline and shadow, hyperlink areas, the outline tree and a printer that goes
// away.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QTreeWidget>
#include <memory>

#include "report/rpt_printer.h"
#include "report/ui/preview.h"
#include "report_fixtures.h"

using namespace rpt;
using rpttest::DrawPage;
using rpttest::RunDocument;

namespace {

void Deliver() { QCoreApplication::sendPostedEvents(); }

void SendMouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::NoButton) {
  const QPointF p(x, y);
  QMouseEvent e(type, p, w->mapToGlobal(p), button, type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button),
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

bool IsBlack(QRgb c) { return qRed(c) == 0 && qGreen(c) == 0 && qBlue(c) == 0; }
bool IsWhite(QRgb c) { return qRed(c) == 255 && qGreen(c) == 255 && qBlue(c) == 255; }

}  // namespace

TEST(Preview, ZoomFitWidthAndRefusedValues) {
  TRptPrinter printer(nullptr);
  RunDocument(printer, 2);
  TRptPreview preview;
  preview.resize(600, 800);
  preview.show();
  preview.SetPrinter(&printer);
  EXPECT_EQ(preview.Image()->size(), QSize(794 + 4, 1123 + 4));  // A4 at zoom 100

  preview.ZoomToFit();
  EXPECT_EQ(preview.Zoom(), 68);  // min(round(800 / 1123 x 95), round(600 / 794 x 95))
  EXPECT_EQ(preview.ZoomState(), TRptZoomState::rpZoomToFit);
  preview.resize(1200, 1600);  // the fit follows the box
  QCoreApplication::processEvents();
  EXPECT_EQ(preview.Zoom(), 135);

  preview.ZoomToWidth();
  EXPECT_EQ(preview.Zoom(), 136);  // round(1200 / 794 x 90)
  EXPECT_EQ(preview.ZoomState(), TRptZoomState::rpZoomToWidth);

  for (int refused : {1, 2001, 0, -5}) {
    preview.SetZoom(refused);
    EXPECT_EQ(preview.Zoom(), 136) << refused;
    EXPECT_EQ(preview.ZoomState(), TRptZoomState::rpZoomToWidth);
  }
  for (int taken : {2, 2000, 150}) {
    preview.SetZoom(taken);
    EXPECT_EQ(preview.Zoom(), taken);
  }
  EXPECT_EQ(preview.ZoomState(), TRptZoomState::rpZoomOther);
  EXPECT_EQ(preview.Image()->size(), QSize(printer.XSize(2100 * 1.5L) + 4, printer.YSize(2970 * 1.5L) + 4));
}

TEST(Preview, WithoutPrinterTheLetterSizeStandsIn) {
  TRptPreview preview;
  EXPECT_EQ(preview.Image()->size(), QSize(216 + 4, 279 + 4));
  preview.SetPageNumber(1);
  EXPECT_FALSE(preview.Image()->HasPage());
}

TEST(Preview, PagesAreShownOnceFinished) {
  TRptPrinter printer(nullptr);
  TRptPreview preview;
  std::vector<int> available, progress;
  preview.OnPageAvailable = [&](TRptPreview*, int n) { available.push_back(n); };
  preview.OnProgressUpdate = [&](TRptPreview*, int p) { progress.push_back(p); };

  printer.BeginDoc();
  printer.NewPage();
  DrawPage(printer, 1);
  preview.SetPrinter(&printer);
  EXPECT_EQ(printer.NotifiedWindow(), &preview);
  EXPECT_TRUE(printer.ShowingPreview());
  EXPECT_EQ(preview.PageNumber(), 1);
  EXPECT_FALSE(preview.Image()->HasPage());  // page 1 is still being drawn

  printer.NewPage();  // page 1 finished
  DrawPage(printer, 2);
  Deliver();
  EXPECT_TRUE(preview.Image()->HasPage());
  EXPECT_EQ(available, std::vector<int>{1});

  preview.SetPageNumber(2);  // begun, not finished
  EXPECT_EQ(preview.PageNumber(), 1);
  printer.NewPage();
  DrawPage(printer, 3);
  Deliver();
  EXPECT_EQ(preview.PageNumber(), 1);  // only the page waited for is shown by the message
  preview.SetPageNumber(2);
  EXPECT_EQ(preview.PageNumber(), 2);
  printer.EndDoc();
  Deliver();
  EXPECT_EQ(available, (std::vector<int>{1, 2, 3, 3}));  // the last page, and once more at the end
  preview.SetPageNumber(3);
  EXPECT_EQ(preview.PageNumber(), 3);
  for (int refused : {0, 4}) {
    preview.SetPageNumber(refused);
    EXPECT_EQ(preview.PageNumber(), 3);
  }

  PostRptMessage(&preview, CM_RPTPROGRESSUPDATE, 40);
  Deliver();
  EXPECT_EQ(progress, std::vector<int>{40});
}

TEST(Preview, PaintsThePageWithOutlineAndShadow) {
  TRptPrinter printer(nullptr);
  TRptPreview preview;
  printer.BeginDoc();
  printer.NewPage();
  DrawPage(printer, 1);
  preview.SetPrinter(&printer);
  preview.SetZoom(20);
  const QSize size = preview.Image()->size();
  const int w = size.width(), h = size.height();
  {
    const QImage& empty = preview.Image()->Picture();  // no page yet: the outline alone
    EXPECT_TRUE(IsBlack(empty.pixel(0, 0)));
    EXPECT_FALSE(IsWhite(empty.pixel(1, 1)));
  }
  printer.EndDoc();
  Deliver();
  ASSERT_TRUE(preview.Image()->HasPage());
  const QImage& page = preview.Image()->Picture();
  ASSERT_EQ(page.size(), size);
  // The outline from (0, 0) to (w - 3, h - 3).
  for (auto [x, y] : {std::pair{0, 0}, {0, h - 3}, {w - 3, h - 3}, {w - 3, 0}, {w / 2, 0}, {0, h / 2}}) {
    EXPECT_TRUE(IsBlack(page.pixel(x, y))) << x << "," << y;
  }
  // The shadow: two pixels along the right edge from y = 2 and along the bottom from x = 2.
  for (auto [x, y] : {std::pair{w - 2, 2}, {w - 1, 2}, {w - 1, h - 1}, {2, h - 2}, {2, h - 1}, {w / 2, h - 1}}) {
    EXPECT_TRUE(IsBlack(page.pixel(x, y))) << x << "," << y;
  }
  for (auto [x, y] : {std::pair{w - 2, 1}, {w - 1, 0}, {1, h - 1}, {0, h - 1}, {1, 1}, {w - 4, h - 4}}) {
    EXPECT_TRUE(IsWhite(page.pixel(x, y))) << x << "," << y;
  }
  // The page is stretched over the image: its filled square lies at 50 to 60 mm, 60 to 70 mm.
  EXPECT_TRUE(IsBlack(page.pixel(Round(w * 55.0L / 210), Round(h * 65.0L / 297))));
}

TEST(Preview, HyperlinkAreasAtZoom150) {
  TRptPrinter printer(nullptr);
  RunDocument(printer, 1);
  TRptPreview preview;
  preview.SetPrinter(&printer);
  preview.SetZoom(150);
  TRptPreviewImage* image = preview.Image();
  image->Hyperlinks = {{platform::Rect{100, 100, 200, 150}, "INT:page7"}, {platform::Rect{150, 120, 400, 400}, "other"}};
  struct Seen {
    TRptHyperlinkEventType type;
    std::string link;
  };
  std::vector<Seen> seen;
  bool answer = false;
  image->OnHyperlink = [&](TRptPrinter* p, TRptHyperlinkEventType type, bool& handled, const std::string& link) {
    EXPECT_EQ(p, &printer);
    seen.push_back({type, link});
    handled = answer;
  };
  std::vector<std::string> followed;
  RegisterHyperlinkHandler("page", [&](TRptPrinter&, const std::string& rest) { followed.push_back(rest); });

  // Points of the image at zoom 150 scale to page pixels at zoom 100, edges included.
  EXPECT_EQ(image->LinkAt(148, 148), nullptr);  // 99, 99
  ASSERT_NE(image->LinkAt(150, 150), nullptr);  // 100, 100
  EXPECT_EQ(image->LinkAt(300, 225)->link, "INT:page7");  // 200, 150: the first match
  EXPECT_EQ(image->LinkAt(302, 226)->link, "other");      // 201, 151

  SendMouse(image, QEvent::MouseMove, 150, 150);
  SendMouse(image, QEvent::MouseMove, 160, 160);  // still over a link: no new event
  EXPECT_EQ(image->cursor().shape(), Qt::PointingHandCursor);
  SendMouse(image, QEvent::MouseMove, 10, 10);
  EXPECT_EQ(image->cursor().shape(), Qt::ArrowCursor);
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].type, TRptHyperlinkEventType::heCursorMoveOver);
  EXPECT_EQ(seen[0].link, "INT:page7");
  EXPECT_EQ(seen[1].type, TRptHyperlinkEventType::heCursorMoveAway);
  EXPECT_EQ(seen[1].link, "");

  SendMouse(image, QEvent::MouseButtonPress, 150, 150, Qt::LeftButton);
  ASSERT_EQ(seen.size(), 3u);
  EXPECT_EQ(seen[2].type, TRptHyperlinkEventType::heGoto);
  EXPECT_EQ(followed, std::vector<std::string>{"7"});  // not handled: the printer follows it
  answer = true;
  SendMouse(image, QEvent::MouseButtonPress, 150, 150, Qt::LeftButton);
  EXPECT_EQ(followed.size(), 1u);
  SendMouse(image, QEvent::MouseButtonPress, 10, 10, Qt::LeftButton);  // no link, no event
  EXPECT_EQ(seen.size(), 4u);
  ClearHyperlinkHandlers();
}

TEST(Preview, MouseEventsReachThePreview) {
  TRptPreview preview;
  int clicks = 0, downs = 0;
  preview.OnClick = [&] { ++clicks; };
  preview.OnMouseDown = [&](platform::TMouseButton b, platform::TShiftState, int x, int y) {
    EXPECT_EQ(b, platform::TMouseButton::mbLeft);
    EXPECT_EQ(x, 5);
    EXPECT_EQ(y, 6);
    ++downs;
  };
  SendMouse(preview.Image(), QEvent::MouseButtonPress, 5, 6, Qt::LeftButton);
  SendMouse(preview.Image(), QEvent::MouseButtonRelease, 5, 6, Qt::LeftButton);
  EXPECT_EQ(downs, 1);
  EXPECT_EQ(clicks, 1);
}

TEST(Preview, OutlineEntriesLeadToTheirPages) {
  TRptPrinter printer(nullptr);
  RunDocument(printer, 3);
  TRptPreview preview;
  QTreeWidget tree;
  preview.SetOutline(&tree);
  preview.SetPrinter(&printer);
  TRptOutline& outline = printer.PageList().Outline();
  outline.Add({"Chapter", 0, {}, 1, 1});
  outline.Add({"Section", 1, {}, 3, 2});
  outline.Add({"Appendix", 0, {}, 2, 3});
  ASSERT_EQ(tree.topLevelItemCount(), 2);
  std::vector<int> pages;
  preview.OnOutlineChange = [&](TRptPreview*, const TRptOutlineEntry& e) { pages.push_back(e.page); };
  tree.setCurrentItem(tree.topLevelItem(0)->child(0));
  tree.setCurrentItem(tree.topLevelItem(1));
  EXPECT_EQ(pages, (std::vector<int>{3, 2}));
}

TEST(Preview, AnotherPrinterOrAFreedPrinterIsLetGo) {
  auto first = std::make_unique<TRptPrinter>(nullptr);
  RunDocument(*first, 2);
  TRptPrinter second(nullptr);
  RunDocument(second, 1);
  TRptPreview preview;
  int afterPreview = 0;
  first->AfterPreview = [&] { ++afterPreview; };
  preview.SetPrinter(first.get());
  preview.SetPageNumber(2);
  preview.SetPrinter(&second);
  EXPECT_EQ(first->NotifiedWindow(), nullptr);
  EXPECT_FALSE(first->ShowingPreview());
  EXPECT_EQ(afterPreview, 1);
  EXPECT_EQ(preview.PageNumber(), 1);

  preview.SetPrinter(first.get());
  first.reset();
  EXPECT_EQ(preview.Printer(), nullptr);
  EXPECT_FALSE(preview.Image()->HasPage());
  preview.SetPageNumber(2);
  preview.SetZoom(50);
  EXPECT_FALSE(preview.Image()->Picture().isNull());
}
