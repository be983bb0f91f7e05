#include "demo_report.h"

#include <QObject>
#include <string>

#include "platform/emf_recorder.h"
#include "platform/picture.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"

namespace rpttest {

using namespace rpt;

namespace {

const char* const kRegions[] = {"Hokkaido", "Tohoku", "Kanto", "Chubu", "Kinki", "Kyushu"};
const char* const kNames[] = {"Sapporo", "Sendai", "Tokyo", "Nagoya", "Osaka", "Fukuoka", "Niigata", "Kobe"};

// The sub-detail's query, owned by the report.
class DemoData : public QObject {
 public:
  explicit DemoData(QObject* parent) : QObject(parent) {}
  TQuery months{"Months"};
};

void Place(TRptPrintable& p, Real left, Real top, Real width, Real height) {
  p.Size().SetNative(TRptPrintableSize::kLeft, left);
  p.Size().SetNative(TRptPrintableSize::kTop, top);
  p.Size().SetNative(TRptPrintableSize::kWidth, width);
  p.Size().SetNative(TRptPrintableSize::kHeight, height);
}

TRptLabel* Label(QWidget* band, const std::string& caption, Real left, Real top, Real width, Real height,
                 TRptAlignment alignment = TRptAlignment::Left) {
  auto* label = new TRptLabel(band);
  label->SetAutoSize(false);
  Place(*label, left, top, width, height);
  label->SetAlignment(alignment);
  label->SetCaption(caption);
  return label;
}

TRptExpr* Expr(QWidget* band, const std::string& expression, const std::string& mask, Real left, Real top, Real width,
               Real height, TRptAlignment alignment = TRptAlignment::Left) {
  auto* expr = new TRptExpr(band);
  expr->SetAutoSize(false);
  Place(*expr, left, top, width, height);
  expr->SetAlignment(alignment);
  expr->SetMask(mask);
  expr->SetExpression(expression);
  return expr;
}

void Rule(QWidget* band, Real top, Real width) {
  auto* line = new TRptShape(band);
  line->SetShape(TRptShapeType::rpsHorLine);
  Place(*line, 0, top, width, 10);
}

TRptBand* Band(TBandReport& report, TRptBandType type, Real height) {
  TRptBand* band = report.CreateBand(type);
  band->Size().SetNative(TRptBandSize::kHeight, height);
  return band;
}

std::string MetafileBytes() {
  platform::EmfRecorder rec(160, 100);
  rec.FillRect(platform::Rect{0, 0, 160, 100}, platform::LogBrush{platform::BS_SOLID, platform::RgbColor(230, 240, 255), 0, nullptr});
  rec.SelectPen(platform::LogPen{platform::PS_SOLID, 2, platform::RgbColor(0, 0, 160), {}});
  rec.SelectBrush(platform::LogBrush{platform::BS_SOLID, platform::RgbColor(120, 170, 255), 0, nullptr});
  rec.Ellipse(10, 10, 150, 90);
  platform::LogFont font;
  font.height = -14;
  font.faceName = "Arial";
  rec.SelectFont(font);
  rec.SetBkMode(platform::TRANSPARENT);
  rec.TextOutA(52, 42, "EMF");
  return rec.Finish();
}

platform::Dib Checker() {
  platform::Dib dib = platform::Dib::Filled(40, 30, 0xFFFFFF);
  for (int y = 0; y < dib.height; ++y) {
    for (int x = 0; x < dib.width; ++x) {
      if ((x / 5 + y / 5) % 2 == 0) dib.SetPixel(x, y, platform::RgbColor(200, 60, 30));
    }
  }
  return dib;
}

}  // namespace

std::unique_ptr<TTable> MakeDemoTable(int rows) {
  auto table = std::make_unique<TTable>("Rain");
  table->AddFieldDef("No", TRptFieldType::ftInteger);
  table->AddFieldDef("Region", TRptFieldType::ftString);
  table->AddFieldDef("Name", TRptFieldType::ftString);
  table->AddFieldDef("Rain", TRptFieldType::ftFloat);
  table->AddFieldDef("Days", TRptFieldType::ftInteger);
  table->AddFieldDef("Note", TRptFieldType::ftString);
  for (int i = 1; i <= rows; ++i) {
    std::string note;
    if (i % 14 == 0) {
      note = "Record " + std::to_string(i) +
             " carries a long remark that is wrapped word by word over many lines, and it keeps going so that "
             "its detail band stretches; near the end of a column the rest of it continues at the top of the "
             "next column or page.";
    }
    const int region = ((i - 1) / 10) % 6;
    table->AppendRow({static_cast<int64_t>(i), std::string(kRegions[region]),
                      std::string(kNames[i % 8]) + " " + std::to_string(i), 800.0 + (i * 37 % 1000) + 0.25 * (i % 4),
                      static_cast<int64_t>(90 + i * 7 % 60), note});
  }
  table->Open();
  return table;
}

std::unique_ptr<TBandReport> BuildDemoReport(TTable& table) {
  auto owned = std::make_unique<TBandReport>();
  TBandReport& report = *owned;
  report.setObjectName("DemoReport");
  report.SetUnits(TRptUnit::MM);
  report.Page().SetPaperSize(TRptPaperSize::A4);
  report.Page().SetColumns(2);
  report.Page().SetNative(TRptPage::kColumnSpace, 50);
  report.Font().SetName("Arial");
  report.Font().SetSize(9);
  report.ReportTitle = "Rainfall records";
  report.Options = TBandReportOptions{}.Set(TBandReportOption::FirstPageHeader).Set(TBandReportOption::LastPageFooter);
  report.Frame().SetDrawTop(true);
  report.Frame().SetDrawBottom(true);
  report.Frame().SetDrawLeft(true);
  report.Frame().SetDrawRight(true);
  report.SetDataSet(&table);
  const Real full = 1900;

  // Title with shapes, pictures and a memo; a rule in its child band.
  TRptBand* title = Band(report, TRptBandType::rbTitle, 420);
  TRptLabel* heading = Label(title, "Rainfall records", 0, 0, full, 100);
  heading->MutableFont().SetSize(16);
  heading->MutableFont().SetStyle(platform::fsBold);
  const TRptShapeType shapes[] = {TRptShapeType::rpsRectangle,    TRptShapeType::rpsCircle,
                                  TRptShapeType::rpsVertLine,     TRptShapeType::rpsHorLine,
                                  TRptShapeType::rpsTopAndBottom, TRptShapeType::rpsRightAndLeft,
                                  TRptShapeType::rpsRoundRect};
  for (int i = 0; i < 7; ++i) {
    auto* shape = new TRptShape(title);
    shape->setObjectName(QString("Shape%1").arg(i + 1));
    shape->SetShape(shapes[i]);
    shape->Brush().SetColor(platform::RgbColor(255, 230, 160));
    shape->Pen().SetWidth(2);
    shape->SetRoundFactor(0.3f);
    Place(*shape, i * 110, 130, 90, 90);
  }
  auto* bitmap = new TRptImage(title);
  bitmap->setObjectName("BitmapImage");
  bitmap->SetCenter(true);
  Place(*bitmap, 0, 250, 300, 150);
  auto bmp = std::make_unique<platform::TBitmapGraphic>();
  bmp->SetBitmap(Checker());
  bitmap->Picture().SetGraphic(std::move(bmp));
  auto* metafile = new TRptImage(title);
  metafile->setObjectName("MetafileImage");
  metafile->SetStretch(true);
  Place(*metafile, 350, 250, 400, 150);
  auto emf = std::make_unique<platform::TMetafile>();
  emf->LoadFromBytes(MetafileBytes());
  metafile->Picture().SetGraphic(std::move(emf));
  auto* memo = new TRptMemo(title);
  memo->setObjectName("TitleMemo");
  Place(*memo, 800, 130, 1000, 270);
  memo->SetLines({"Daily rainfall of eight stations.", "Rows are grouped by region;",
                  "notes stretch their rows."});
  title->SetHasChild(true);
  title->ChildBand()->Size().SetNative(TRptBandSize::kHeight, 30);
  Rule(title->ChildBand(), 10, full);

  TRptBand* header = Band(report, TRptBandType::rbPageHeader, 70);
  Expr(header, "PAGENUMBER", "'Page '0", 0, 0, 400, 60);
  Expr(header, "REPORTTITLE", "", full - 800, 0, 800, 60, TRptAlignment::Right);

  TRptBand* columns = Band(report, TRptBandType::rbColumnHeader, 60);
  Label(columns, "No", 20, 0, 100, 50);
  Label(columns, "Name", 120, 0, 300, 50);
  Label(columns, "Rain", 430, 0, 200, 50, TRptAlignment::Right);
  Label(columns, "Days", 650, 0, 150, 50, TRptAlignment::Right);
  columns->Frame().SetDrawBottom(true);

  auto* group = new TRptGroup(&report);
  group->setObjectName("RegionGroup");
  group->Size().SetNative(TRptBandSize::kHeight, 70);
  group->SetExpression("Region");
  group->SetReprintOnNewPage(true);
  TRptExpr* region = Expr(group, "Region", "", 20, 10, 500, 55);
  region->MutableFont().SetStyle(platform::fsBold);
  TRptBand* groupFooter = Band(report, TRptBandType::rbGroupFooter, 60);
  group->SetFooterBand(groupFooter);
  groupFooter->Frame().SetDrawTop(true);
  TRptExpr* count = Expr(groupFooter, "COUNT", "0' rows'", 20, 5, 300, 50);
  count->ResetAfterPrint = true;
  TRptExpr* sum = Expr(groupFooter, "SUM(Rain)", "#,##0.0", 330, 5, 300, 50, TRptAlignment::Right);
  sum->ResetAfterPrint = true;

  TRptBand* detail = Band(report, TRptBandType::rbDetail, 50);
  Expr(detail, "No", "000", 20, 0, 100, 45);
  Expr(detail, "Name", "", 120, 0, 300, 45);
  Expr(detail, "Rain", "#,##0.0", 430, 0, 200, 45, TRptAlignment::Right);
  Expr(detail, "Days", "0", 650, 0, 150, 45, TRptAlignment::Right);
  auto* separator = new TRptShape(detail);
  separator->setObjectName("ColumnLine");
  separator->SetShape(TRptShapeType::rpsVertLine);
  separator->Tag = 1000;
  Place(*separator, 410, 0, 10, 50);
  // The note: a second detail line that stretches.
  detail->SetHasChild(true);
  TRptChildBand* noteBand = detail->ChildBand();
  noteBand->Size().SetNative(TRptBandSize::kHeight, 45);
  noteBand->BeforePrint = [&table](TRptCustomBand*, bool& print) {
    TRptField* field = table.FindField("Note");
    print = field && !field->AsString().empty();
  };
  TRptExpr* note = Expr(noteBand, "[Note]", "", 120, 0, 300, 45);
  note->SetWordWrap(true);
  note->SetAutoStretch(true);
  note->MutableFont().SetStyle(platform::fsItalic);

  auto* data = new DemoData(&report);
  TQuery& months = data->months;
  months.AddFieldDef("No", TRptFieldType::ftInteger);
  months.AddFieldDef("Month", TRptFieldType::ftString);
  months.AddFieldDef("Value", TRptFieldType::ftFloat);
  for (int i = 10; i <= 1000; i += 10) {
    months.AppendRow({static_cast<int64_t>(i), std::string("June"), 120.5 + i});
    months.AppendRow({static_cast<int64_t>(i), std::string("July"), 98.0 + i});
  }
  months.AddParam("No", TRptFieldType::ftInteger);
  months.Open();
  report.Functions().AddEntry("No", "Rain.No");
  auto* sub = new TRptSubDetail(&report);
  sub->setObjectName("MonthsBand");
  sub->Size().SetNative(TRptBandSize::kHeight, 45);
  sub->SetDataSet(&months);
  sub->SetPrintIfEmpty(false);
  Expr(sub, "Months.Month", "", 200, 0, 200, 40);
  Expr(sub, "Months.Value", "0.0' mm'", 430, 0, 200, 40, TRptAlignment::Right);

  TRptBand* summary = Band(report, TRptBandType::rbSummary, 330);
  summary->Frame().SetDrawTop(true);
  Label(summary, "Total rain", 0, 20, 300, 50);
  Expr(summary, "SUM(Rain)", "#,##0.0' mm'", 300, 20, 400, 50, TRptAlignment::Right);
  Label(summary, "Rows", 0, 80, 300, 50);
  Expr(summary, "COUNT", "0", 300, 80, 400, 50, TRptAlignment::Right);
  Label(summary, "Average", 0, 140, 300, 50);
  Expr(summary, "AVERAGE(Rain)", "0.00", 300, 140, 400, 50, TRptAlignment::Right);
  Label(summary, "Fewest / most days", 0, 200, 300, 50);
  Expr(summary, "MIN(Days)", "0", 300, 200, 190, 50, TRptAlignment::Right);
  Expr(summary, "MAX(Days)", "0", 510, 200, 190, 50, TRptAlignment::Right);
  auto* closing = new TRptMemo(summary);
  closing->setObjectName("ClosingMemo");
  closing->SetAutoSize(false);
  Place(*closing, 800, 20, 1000, 300);
  closing->SetLines({"The totals count every row of the table; the group footers restart their sums for each "
                     "region. This memo is word-wrapped to its width."});

  TRptBand* footer = Band(report, TRptBandType::rbPageFooter, 60);
  Expr(footer, "PAGENUMBER", "'- '0' -'", 0, 5, full, 50, TRptAlignment::Center);
  footer->SetHasChild(true);
  footer->ChildBand()->Size().SetNative(TRptBandSize::kHeight, 20);
  Rule(footer->ChildBand(), 5, full);

  TRptBand* overlay = Band(report, TRptBandType::rbOverlay, 60);
  overlay->SetTransparentBand(true);
  TRptLabel* stamp = Label(overlay, "DEMO", 700, 0, 500, 60, TRptAlignment::Center);
  stamp->MutableFont().SetColor(platform::RgbColor(200, 200, 200));
  stamp->MutableFont().SetStyle(platform::fsBold);
  stamp->SetTransparent(true);

  report.SortBands();
  report.LayoutBands();
  return owned;
}

}  // namespace rpttest
