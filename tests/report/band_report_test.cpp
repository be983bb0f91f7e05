// The report model: defaults in both locales, units, paper and orientation, band names,
// band order with every kind, the design layout, refused cycles and ignored settings.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <memory>

#include "platform/cp932.h"
#include "platform/qt/dc_qt.h"
#include "report/controller.h"
#include "report/printer_settings.h"
#include "fake_printers.h"
#include "pdf_pages.h"
#include "report_fixtures.h"

using namespace rpt;
using rpttest::LocaleScope;
using rpttest::TestPrintable;

namespace {

std::vector<double> ValuesOf(const TRptUnitBase& u) { return {u.Values().begin(), u.Values().end()}; }

std::vector<std::string> NamesOf(const std::vector<TRptCustomBand*>& bands) {
  std::vector<std::string> names;
  for (TRptCustomBand* b : bands) names.push_back(b->objectName().toStdString());
  return names;
}

TEST(ReportDefaults, MetricAndInchLocales) {
  struct Case {
    bool inches, japanese;
    std::vector<double> values;
    TRptPaperSize paper;
    TRptUnit units;
    std::string font;
    int fontSize;
  };
  const Case cases[] = {
      {false, false, {100, 2970, 100, 2100, 100, 100, 0}, TRptPaperSize::A4, TRptUnit::MM, "Arial", 10},
      {true, false, {127, 2794, 127, 2159, 127, 127, 0}, TRptPaperSize::Letter, TRptUnit::Inches, "Arial", 10},
      {false, true, {100, 2970, 100, 2100, 100, 100, 0}, TRptPaperSize::A4, TRptUnit::MM, "ＭＳ Ｐゴシック", 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.font + (c.inches ? " inches" : " mm"));
    LocaleScope locale(c.inches, c.japanese);
    TBandReport report;
    std::vector<double> values = ValuesOf(report.Page());
    ASSERT_EQ(values.size(), c.values.size());
    for (size_t i = 0; i < values.size(); ++i) EXPECT_NEAR(values[i], c.values[i], 1e-9) << i;
    EXPECT_EQ(report.Page().PaperSize(), c.paper);
    EXPECT_EQ(report.Units(), c.units);
    EXPECT_EQ(report.Font().Name(), platform::J(c.font));
    EXPECT_EQ(report.Font().Size(), c.fontSize);
    EXPECT_TRUE(report.Options.Has(TBandReportOption::FirstPageHeader));
    EXPECT_TRUE(report.Options.Has(TBandReportOption::LastPageFooter));
    EXPECT_FALSE(report.Options.Has(TBandReportOption::Compression));
    EXPECT_TRUE(report.PrintIfEmpty());
    EXPECT_TRUE(report.Page().Ruler());
    EXPECT_EQ(report.Page().Columns(), 1);
    EXPECT_EQ(report.Zoom(), 100);
    EXPECT_EQ(report.PrinterSettings().Copies, 1);
    EXPECT_EQ(report.PrinterSettings().OutputBin, TRptBin::Auto);
    EXPECT_EQ(report.PrinterSettings().MemoryLimit, 250000);
    // The settings' paper is the page's.
    EXPECT_EQ(report.PrinterSettings().PaperSize(), c.paper);
    EXPECT_EQ(report.Functions().Names(), (std::vector<std::string>{"PAGENUMBER", "COLUMNNUMBER", "REPORTTITLE"}));
    EXPECT_EQ(report.Functions().WriteData(), (std::vector<std::string>{"0", "0", "''"}));
  }
}

TEST(ReportDefaults, PreviewSizeAndIgnoredSettings) {
  LocaleScope locale(false, false);
  TBandReport report;
  report.SetPreviewWidth(0);
  report.SetPreviewHeight(-3);
  EXPECT_EQ(report.PreviewWidth(), 500);
  EXPECT_EQ(report.PreviewHeight(), 500);
  report.SetPreviewWidth(640);
  EXPECT_EQ(report.PreviewWidth(), 640);

  for (int zoom : {0, 301, -5}) {
    report.SetZoom(zoom);
    EXPECT_EQ(report.Zoom(), 100) << zoom;
  }
  report.SetZoom(300);
  EXPECT_EQ(report.Zoom(), 300);
  report.SetZoom(100);
  report.Page().SetColumns(0);
  EXPECT_EQ(report.Page().Columns(), 1);
  report.Page().SetWidth(50);  // not a custom paper
  report.Page().SetLength(60);
  EXPECT_EQ(report.Page().Native(TRptPage::kWidth), 2100);
  EXPECT_EQ(report.Page().Native(TRptPage::kLength), 2970);
  report.Page().SetPaperSize(TRptPaperSize::Custom);
  report.Page().SetWidth(50);
  EXPECT_EQ(report.Page().Native(TRptPage::kWidth), 500);
}

TEST(ReportPage, OrientationAndPaperFollowTheTable) {
  LocaleScope locale(false, false);
  TBandReport report;
  report.Page().SetOrientation(TRptOrientation::Landscape);
  EXPECT_EQ(report.Page().Native(TRptPage::kWidth), 2970);
  EXPECT_EQ(report.Page().Native(TRptPage::kLength), 2100);
  EXPECT_EQ(report.Page().PaperSize(), TRptPaperSize::A4);
  EXPECT_EQ(report.width(), 1123);  // 2970 / (254 / 96) = 1122.5...
  EXPECT_EQ(report.height(), 794);
  report.Page().SetPaperSize(TRptPaperSize::B5);  // 182 x 257, still landscape
  EXPECT_NEAR(static_cast<double>(report.Page().Native(TRptPage::kWidth)), 2570, 1e-9);
  EXPECT_NEAR(static_cast<double>(report.Page().Native(TRptPage::kLength)), 1820, 1e-9);
  report.Page().SetOrientation(TRptOrientation::Portrait);
  EXPECT_NEAR(static_cast<double>(report.Page().Native(TRptPage::kWidth)), 1820, 1e-9);
  // Zoom scales the report control.
  report.SetZoom(50);
  EXPECT_EQ(report.width(), Round(1820 / (254.0L / 96) / 2));
}

TEST(ReportPage, PaperTableCodesAndNames) {
  EXPECT_EQ(PaperCode(TRptPaperSize::Default), 0);
  EXPECT_EQ(PaperCode(TRptPaperSize::A4), 9);
  EXPECT_EQ(PaperCode(TRptPaperSize::A3ExtraTrans), 68);
  EXPECT_EQ(PaperCode(TRptPaperSize::Custom), 256);
  EXPECT_STREQ(PaperSizeName(TRptPaperSize::rp10X14), "rp10X14");
  EXPECT_EQ(PaperSizeByName("EnvMonarch"), TRptPaperSize::EnvMonarch);
  EXPECT_EQ(PaperSizeByName("a4"), std::nullopt);
  EXPECT_DOUBLE_EQ(static_cast<double>(PaperOf(TRptPaperSize::Ledger).width), 431.8);
  EXPECT_DOUBLE_EQ(static_cast<double>(PaperOf(TRptPaperSize::ESheet).length), 1117.6);
  EXPECT_DOUBLE_EQ(static_cast<double>(PaperOf(TRptPaperSize::EnvB6).length), 125);
  // Every named paper round-trips through its name.
  for (int i = 0; i < kPaperSizeCount; ++i) {
    auto size = static_cast<TRptPaperSize>(i);
    EXPECT_EQ(PaperSizeByName(PaperSizeName(size)), size) << i;
  }
}

// A unit object in every unit: 254 (1 inch) in 0.1 mm, there and back.
TEST(ReportUnits, FiveUnitsBothWays) {
  LocaleScope locale(false, false);
  TBandReport report;
  TRptBand band(&report, TRptBandType::rbDetail);
  TestPrintable control(&report);
  TRptPrintableSize& size = control.size;
  struct Case {
    TRptUnit unit;
    int zoom;
    double height, width;  // 254 (0.1 mm) down and across
  };
  const Case cases[] = {
      {TRptUnit::MM, 100, 25.4, 25.4},
      {TRptUnit::Inches, 100, 1, 1},
      {TRptUnit::Native, 100, 254, 254},
      {TRptUnit::Pixels, 100, 96, 96},
      {TRptUnit::Pixels, 50, 48, 48},
      {TRptUnit::Characters, 100, 5.3282312456985546, 9.6774},  // font size 12
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(UnitName(c.unit) + std::string(" zoom ") + std::to_string(c.zoom));
    size.SetUnits(c.unit);
    size.SetZoom(c.zoom);
    size.SetNative(TRptPrintableSize::kHeight, 254);
    size.SetNative(TRptPrintableSize::kWidth, 254);
    EXPECT_NEAR(static_cast<double>(size.Height()), c.height, 1e-9);
    EXPECT_NEAR(static_cast<double>(size.Width()), c.width, 1e-9);
    size.SetHeight(size.Height() * 2);
    size.SetWidth(size.Width() * 3);
    EXPECT_NEAR(static_cast<double>(size.Native(TRptPrintableSize::kHeight)), 508, 1e-9);
    EXPECT_NEAR(static_cast<double>(size.Native(TRptPrintableSize::kWidth)), 762, 1e-9);
  }
  size.SetZoom(100);
  // SetPixels / RestoreUnit.
  band.Size().SetUnits(TRptUnit::MM);
  band.Size().SetPixels();
  EXPECT_EQ(band.Size().Units(), TRptUnit::Pixels);
  band.Size().RestoreUnit();
  EXPECT_EQ(band.Size().Units(), TRptUnit::MM);
  // The report's SetUnits reaches page, bands and printables.
  report.SetUnits(TRptUnit::Inches);
  EXPECT_EQ(report.Page().Units(), TRptUnit::Inches);
  EXPECT_EQ(band.Size().Units(), TRptUnit::Inches);
  EXPECT_EQ(control.size.Units(), TRptUnit::Inches);
}

TEST(ReportUnits, ProgramLabelAndZeroHeightBand) {
  LocaleScope locale(false, true);
  TBandReport report;
  TRptBand* title = report.CreateBand(TRptBandType::rbTitle);
  title->Size().SetNative(TRptBandSize::kHeight, 0);
  EXPECT_EQ(title->Size().Native(TRptBandSize::kHeight), 0);
  EXPECT_EQ(title->PixelHeight(), 0);
  EXPECT_EQ(title->height(), 0);

  TestPrintable label(&report);
  ASSERT_TRUE(label.size.SetValues({37.04166666666667L, 190.5L, 550.3333333333333L, 1844.145833333333L}));
  EXPECT_EQ(label.geometry(), QRect(72, 208, 697, 14));
  // Writing the pixel bounds back keeps the values.
  label.size.SetPixelBounds(72, 208, 697, 14);
  EXPECT_NEAR(static_cast<double>(label.size.Native(TRptPrintableSize::kLeft)), 190.5, 1e-9);
  // At zoom 50 the control halves, the values stay.
  report.SetZoom(50);
  EXPECT_EQ(label.geometry(), QRect(36, 104, 348, 7));
  EXPECT_NEAR(static_cast<double>(label.size.Native(TRptPrintableSize::kWidth)), 1844.145833333333, 1e-9);
  label.size.SetPixelBounds(36, 104, 348, 7);
  EXPECT_NEAR(static_cast<double>(label.size.Native(TRptPrintableSize::kTop)), 550.3333333333333, 1e-9);
  EXPECT_FALSE(label.size.SetValues({1, 2, 3}));
}

TEST(ReportBands, NamesPrefixesAndSwitches) {
  LocaleScope locale(false, false);
  QWidget form;
  form.setObjectName("HARVRPTForm");
  auto* report = new TBandReport(&form);
  QWidget blocker(&form);
  blocker.setObjectName("detailband1");  // names compare without case
  TRptBand* title = report->CreateBand(TRptBandType::rbTitle);
  TRptBand* title2 = report->CreateBand(TRptBandType::rbTitle);
  TRptBand* detail = report->CreateBand(TRptBandType::rbDetail);
  EXPECT_EQ(title->objectName(), "TitleBand1");
  EXPECT_EQ(title2->objectName(), "TitleBand2");
  EXPECT_EQ(detail->objectName(), "DetailBand2");
  delete title;
  EXPECT_EQ(report->CreateBand(TRptBandType::rbTitle)->objectName(), "TitleBand1");

  const char* prefixes[] = {"TitleBand",       "PageHeaderBand", "DetailBand",       "PageFooterBand",
                            "SummaryBand",     "GroupHeaderBand", "GroupFooterBand", "SubDetailBand",
                            "ColumnHeaderBand", "OverlayBand",   "ChildBand"};
  const char* display[] = {"Title",        "Page Header", "Detail",        "Page Footer", "Summary", "Group Header",
                           "Group Footer", "Sub Detail",  "Column Header", "Overlay",     "Child"};
  for (int i = 0; i < kBandTypeCount; ++i) {
    auto type = static_cast<TRptBandType>(i);
    EXPECT_STREQ(BandNamePrefix(type), prefixes[i]);
    EXPECT_STREQ(BandDisplayName(type), display[i]);
    EXPECT_EQ(BandTypeByName(BandTypeName(type)), type);
  }

  TBandReportBands& bands = report->Bands();
  EXPECT_TRUE(bands.HasTitle());
  EXPECT_FALSE(bands.HasSummary());
  bands.SetHasSummary(true);
  EXPECT_TRUE(bands.HasSummary());
  bands.SetHasSummary(false);
  EXPECT_FALSE(bands.HasSummary());
  bands.SetHasDetail(false);
  EXPECT_FALSE(bands.HasDetail());
  EXPECT_EQ(report->AllBands().size(), 2u);  // the two title bands

  TRptBand* footer = report->CreateBand(TRptBandType::rbPageFooter);
  footer->SetHasChild(true);
  ASSERT_NE(footer->ChildBand(), nullptr);
  EXPECT_EQ(footer->ChildBand()->objectName(), "ChildBand1");
  EXPECT_EQ(footer->ChildBand()->BandType(), TRptBandType::rbChild);
  footer->SetHasChild(false);
  EXPECT_FALSE(footer->HasChild());

  // A band moved to another report leaves the first one's lists.
  TBandReport other;
  footer->setParent(&other);
  EXPECT_EQ(footer->ParentReport(), &other);
  EXPECT_EQ(other.AllBands().size(), 1u);
  EXPECT_FALSE(report->Bands().HasPageFooter());
}

TEST(ReportBands, CircularChainsAreRefused) {
  LocaleScope locale(false, false);
  TBandReport report;
  TRptBand* a = report.CreateBand(TRptBandType::rbDetail);
  TRptBand* b = report.CreateBand(TRptBandType::rbSummary);
  TRptBand* c = report.CreateBand(TRptBandType::rbPageFooter);
  EXPECT_TRUE(a->SetLinkBand(b));
  EXPECT_TRUE(b->SetLinkBand(c));
  EXPECT_FALSE(c->SetLinkBand(a));
  EXPECT_FALSE(a->SetLinkBand(a));
  EXPECT_EQ(c->LinkBand(), nullptr);

  auto* child1 = new TRptChildBand(&report);
  auto* child2 = new TRptChildBand(&report);
  EXPECT_TRUE(child1->SetParentBand(a));
  EXPECT_TRUE(child2->SetParentBand(child1));
  EXPECT_FALSE(child1->SetParentBand(child2));
  EXPECT_EQ(child1->ParentBand(), a);

  auto* sub1 = new TRptSubDetail(&report);
  auto* sub2 = new TRptSubDetail(&report);
  EXPECT_EQ(sub1->Master(), &report);  // placed without a master
  EXPECT_TRUE(sub2->SetMaster(sub1));
  EXPECT_FALSE(sub1->SetMaster(sub2));
  EXPECT_FALSE(sub1->SetMaster(sub1));
  EXPECT_EQ(sub1->Master(), &report);
  auto* group = new TRptGroup(&report);
  EXPECT_EQ(group->Master(), &report);
  // A controller band's name is an entry of the report's environment while it is on it.
  sub1->setObjectName("Orders");
  EXPECT_EQ(report.Functions().Names().back(), "ORDERS");
  sub1->setObjectName("Lines");
  EXPECT_EQ(report.Functions().Names().back(), "LINES");
  EXPECT_EQ(report.Functions().Count(), 4);
  EXPECT_FALSE(group->SetMaster(group));
  EXPECT_TRUE(group->SetMaster(sub2));
  delete sub2;
  EXPECT_EQ(group->Master(), nullptr);
  delete sub1;
  EXPECT_EQ(report.Functions().Count(), 3);
}

// Every kind of band, put on the report in a scrambled order.
TEST(ReportBands, SortBandsPlacesEveryKind) {
  LocaleScope locale(false, false);
  QWidget form;
  auto* report = new TBandReport(&form);
  auto band = [&](TRptBandType type, const char* name) {
    TRptBand* b = report->CreateBand(type);
    b->setObjectName(name);
    return b;
  };
  TRptBand* stray = band(TRptBandType::rbGroupHeader, "Stray");  // a plain band no level prints
  band(TRptBandType::rbSummary, "Summary");
  TRptBand* pageFooter = band(TRptBandType::rbPageFooter, "PageFooter");
  band(TRptBandType::rbDetail, "Detail");
  band(TRptBandType::rbOverlay, "Overlay");
  TRptBand* title = band(TRptBandType::rbTitle, "Title");
  band(TRptBandType::rbColumnHeader, "ColumnHeader");
  band(TRptBandType::rbPageHeader, "PageHeader");
  // Groups in component order: Group1 then Group2; only Group2 has a footer band.
  auto* group1 = new TRptGroup(report);
  group1->setObjectName("Group1");
  auto* group2 = new TRptGroup(report);
  group2->setObjectName("Group2");
  group2->SetFooterBand(band(TRptBandType::rbGroupFooter, "Group2Footer"));
  // A sub-detail after the detail, with header and footer, and one printed before it.
  auto* after = new TRptSubDetail(report);
  after->setObjectName("SubAfter");
  after->Bands().SetHasHeader(true);
  after->Bands().SetHasFooter(true);
  after->HeaderBand()->setObjectName("SubAfterHeader");
  after->FooterBand()->setObjectName("SubAfterFooter");
  auto* before = new TRptSubDetail(report);
  before->setObjectName("SubBefore");
  before->SetPrintBefore(true);
  // A nested level under the sub-detail after the detail, and a group of that level.
  auto* nested = new TRptSubDetail(report);
  nested->setObjectName("Nested");
  nested->SetMaster(after);
  auto* nestedGroup = new TRptGroup(report);
  nestedGroup->setObjectName("NestedGroup");
  nestedGroup->SetMaster(after);
  // Child chains: title -> TitleChild -> TitleGrandChild; page footer -> FooterChild.
  auto* titleChild = new TRptChildBand(report);
  titleChild->setObjectName("TitleChild");
  auto* grandChild = new TRptChildBand(report);
  grandChild->setObjectName("TitleGrandChild");
  grandChild->SetParentBand(titleChild);
  titleChild->SetParentBand(title);
  auto* footerChild = new TRptChildBand(report);
  footerChild->setObjectName("FooterChild");
  footerChild->SetParentBand(pageFooter);
  auto* orphan = new TRptChildBand(report);
  orphan->setObjectName("Orphan");

  report->SortBands();
  std::vector<std::string> expected = {
      "PageHeader", "Title", "TitleChild", "TitleGrandChild", "ColumnHeader",
      // the report's level: title (placed), groups, before, detail, after, group footers, summary
      "Group1", "Group2", "SubBefore", "Detail", "SubAfterHeader", "NestedGroup", "SubAfter", "Nested",
      "SubAfterFooter", "Group2Footer", "Summary", "PageFooter", "FooterChild",
      // the rest in the order they were put on the report
      "Stray", "Overlay", "Orphan"};
  EXPECT_EQ(NamesOf(report->PrintOrder()), expected);
  EXPECT_EQ(report->PrintOrder().size(), report->AllBands().size());

  // Changing a kind re-sorts: page headers come first, in list order.
  stray->SetBandType(TRptBandType::rbPageHeader);
  EXPECT_EQ(report->PrintOrder()[0]->objectName(), "Stray");
  EXPECT_EQ(report->PrintOrder()[1]->objectName(), "PageHeader");
}

TEST(ReportBands, LayoutBandsInPixels) {
  LocaleScope locale(false, false);
  TBandReport report;
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 50);  // 18.9 -> 19 pixels
  TRptBand* title = report.CreateBand(TRptBandType::rbTitle);
  TRptBand* header = report.CreateBand(TRptBandType::rbColumnHeader);
  TRptBand* detail = report.CreateBand(TRptBandType::rbDetail);
  TRptBand* summary = report.CreateBand(TRptBandType::rbSummary);
  auto* child = new TRptChildBand(&report);
  child->SetParentBand(summary);
  auto* detailChild = new TRptChildBand(&report);
  detailChild->SetParentBand(detail);
  title->Size().SetNative(TRptBandSize::kHeight, 0);
  header->Size().SetNative(TRptBandSize::kHeight, 100);   // 37.8 -> 38
  detail->Size().SetNative(TRptBandSize::kHeight, 254);   // 96
  summary->Size().SetNative(TRptBandSize::kHeight, 50);   // 18.9 -> 19
  child->Size().SetNative(TRptBandSize::kHeight, 20);     // 7.56 -> 8
  detailChild->Size().SetNative(TRptBandSize::kHeight, 20);

  // Margins 10 mm: 37.8 -> 38; printable width round(793.7 - 2 x 37.8) = 718;
  // column width (718 - 19) div 2 = 349.
  struct Expect {
    TRptCustomBand* band;
    QRect geometry;
  };
  const Expect expects[] = {
      {title, QRect(38, 38, 718, 0)},      {header, QRect(38, 38, 349, 38)},
      {detail, QRect(38, 76, 349, 96)},    {detailChild, QRect(38, 172, 349, 8)},
      {summary, QRect(38, 180, 718, 19)},  {child, QRect(38, 199, 718, 8)},
  };
  for (const Expect& e : expects) {
    EXPECT_EQ(e.band->geometry(), e.geometry) << e.band->objectName().toStdString();
  }
  // A band's Size.Width is its laid-out width.
  EXPECT_NEAR(static_cast<double>(summary->Size().Native(TRptBandSize::kWidth)), 718 * 254.0 / 96, 1e-9);
  // A margin change re-lays.
  report.Page().SetNative(TRptPage::kTopMargin, 200);
  EXPECT_EQ(title->y(), 76);
}

// Bands convert pixels at the report's zoom: at any zoom the layout stores the widths of zoom
// 100 (to a pixel at that zoom), and on screen band heights scale with widths and controls.
TEST(ReportBands, LayoutAtAZoomKeepsTheSizesOfZoom100) {
  LocaleScope locale(false, false);
  TBandReport report;
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 50);
  TRptBand* title = report.CreateBand(TRptBandType::rbTitle);
  TRptBand* detail = report.CreateBand(TRptBandType::rbDetail);
  title->Size().SetNative(TRptBandSize::kHeight, 100);
  detail->Size().SetNative(TRptBandSize::kHeight, 254);
  const Real titleWidth = title->Size().Native(TRptBandSize::kWidth);
  const Real detailWidth = detail->Size().Native(TRptBandSize::kWidth);
  for (int zoom : {50, 76, 150}) {
    SCOPED_TRACE(zoom);
    report.SetZoom(zoom);
    const double pixel = 254.0 / 96 * 100 / zoom;
    EXPECT_NEAR(static_cast<double>(title->Size().Native(TRptBandSize::kWidth)), static_cast<double>(titleWidth), pixel);
    EXPECT_NEAR(static_cast<double>(detail->Size().Native(TRptBandSize::kWidth)), static_cast<double>(detailWidth),
                pixel);
    EXPECT_EQ(detail->Size().Native(TRptBandSize::kHeight), 254);
    EXPECT_EQ(detail->height(), Round(96.0L * zoom / 100));
    EXPECT_EQ(detail->y(), title->y() + Round(100 * 96.0L / 254 * zoom / 100));
  }
  report.SetZoom(100);
  EXPECT_EQ(title->Size().Native(TRptBandSize::kWidth), titleWidth);
  EXPECT_EQ(detail->Size().Native(TRptBandSize::kWidth), detailWidth);
}

TEST(ReportMeasure, TextWithTheReportFont) {
  LocaleScope locale(false, true);
  TBandReport report;
  int w = report.TextWidth("A");
  EXPECT_GT(w, 1);
  EXPECT_EQ(report.TextWidth("AA"), 2 * (w - 1) + 1);
  EXPECT_GT(report.TextHeight("A"), 5);
  report.Font().SetSize(18);
  EXPECT_GT(report.TextHeight("A"), 20);
}

}  // namespace

namespace {

QImage Render(QWidget& w) {
  QImage image(w.size(), QImage::Format_RGB32);
  image.fill(Qt::black);
  w.render(&image);
  return image;
}

int NonWhite(const QImage& image, const QRect& area) {
  int n = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) n += image.pixel(x, y) != qRgb(255, 255, 255);
  }
  return n;
}

TEST(ReportPainting, DesignShowsMarginsBandsAndRulersElseWhitePaper) {
  LocaleScope locale(false, false);
  TBandReport report;
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 100);
  TRptBand* title = report.CreateBand(TRptBandType::rbTitle);
  title->Size().SetNative(TRptBandSize::kHeight, 200);
  TRptBand* detail = report.CreateBand(TRptBandType::rbDetail);
  detail->Size().SetNative(TRptBandSize::kHeight, 300);
  detail->SetColor(platform::RgbColor(255, 255, 200));

  QImage paper = Render(report);
  EXPECT_EQ(NonWhite(paper, paper.rect()), 0);

  report.SetDesigning(true);
  QImage design = Render(report);
  rpttest::KeepPicture(design, "report-design");
  // The dotted margin line runs along the bottom margin (y = 1123 - 38) below the bands.
  EXPECT_GT(NonWhite(design, QRect(38, 1084, 718, 2)), 100);
  // The band captions and outlines.
  EXPECT_GT(NonWhite(design, QRect(38, 38, 60, 14)), 10);
  EXPECT_EQ(design.pixel(200, 38 + 76 + 40), qRgb(255, 255, 200));  // inside the detail band, off the grid
  // Rulers: a numbered centimetre line in the title band, 10 mm from its left edge.
  EXPECT_NE(design.pixel(38 + 38, 38 + 60), qRgb(255, 255, 255));
  report.Page().SetRuler(false);
  QImage noRuler = Render(report);
  EXPECT_EQ(noRuler.pixel(38 + 38, 38 + 60), qRgb(255, 255, 255));
}

}  // namespace

namespace {

// A new report takes the paper of the printer.
TEST(ReportDefaults, PaperOfThePrinter) {
  LocaleScope locale(false, false);
  rpttest::FakePrinters service;
  service.printers.push_back(rpttest::FakePrinters::FullPrinter("Office"));
  service.printers[0].mode.paperSize = 8;  // A3
  TBandReport report;
  EXPECT_EQ(report.Page().PaperSize(), TRptPaperSize::A3);
  EXPECT_EQ(report.Page().Native(TRptPage::kWidth), 2970);
  EXPECT_EQ(report.Page().Native(TRptPage::kLength), 4200);
}

}  // namespace
