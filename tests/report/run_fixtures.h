// Reports printed on a fake 600-dpi printer whose pages are device-context traces: the texts
// printed per page with their positions, and a recording export filter.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "report/band_report.h"
#include "report/export_filter.h"
#include "report/rpt_ctrls.h"
#include "report/rpt_expr.h"
#include "fake_printers.h"
#include "report_fixtures.h"

namespace rpttest {

struct PrintedText {
  int x = 0, y = 0;
  std::string text;  // UTF-8
};

// The texts of a trace page in drawing order.
inline std::vector<PrintedText> TextsOf(const std::vector<std::string>& page) {
  std::vector<PrintedText> out;
  for (const std::string& line : page) {
    if (line.rfind("ExtTextOut ", 0) != 0) continue;
    PrintedText t;
    std::sscanf(line.c_str(), "ExtTextOut %d,%d", &t.x, &t.y);
    const size_t open = line.find('"'), close = line.rfind('"');
    t.text = line.substr(open + 1, close - open - 1);
    out.push_back(t);
  }
  return out;
}

// Just the texts.
inline std::vector<std::string> Words(const std::vector<std::string>& page) {
  std::vector<std::string> out;
  for (const PrintedText& t : TextsOf(page)) out.push_back(t.text);
  return out;
}

// A report printed on the fake printer "Fake" (A4, 600 dpi, 100-pixel margins).
class RunTest : public ::testing::Test {
 protected:
  RunTest() {
    fake.printers.push_back(FakePrinters::FullPrinter("Fake"));
    report.Font().SetName("Arial");
    report.Font().SetSize(10);
    report.ShowProgress = false;
  }
  // Prints and returns the pages of the job (none when nothing began).
  std::vector<std::vector<std::string>> Print(rpt::TRptPrintOutcome::Kind expected = rpt::TRptPrintOutcome::Printed) {
    const size_t jobs = fake.jobs.size();
    outcome = report.Print();
    EXPECT_EQ(outcome.kind, expected) << outcome.message;
    if (fake.jobs.size() == jobs) return {};
    return fake.jobs.back().pages;
  }
  // A band of `type` and `height` (0.1 mm).
  rpt::TRptBand* Band(rpt::TRptBandType type, rpt::Real height) {
    rpt::TRptBand* band = report.CreateBand(type);
    band->Size().SetNative(rpt::TRptBandSize::kHeight, height);
    return band;
  }
  // A label (no auto-size) at `left`, `top` (0.1 mm), one line high.
  rpt::TRptLabel* Text(QWidget* parent, const std::string& caption, rpt::Real left = 0, rpt::Real top = 0,
                       rpt::Real width = 800) {
    auto* label = new rpt::TRptLabel(parent);
    label->SetAutoSize(false);
    label->Size().SetNative(rpt::TRptPrintableSize::kLeft, left);
    label->Size().SetNative(rpt::TRptPrintableSize::kTop, top);
    label->Size().SetNative(rpt::TRptPrintableSize::kWidth, width);
    label->Size().SetNative(rpt::TRptPrintableSize::kHeight, 45);
    label->SetCaption(caption);
    return label;
  }
  rpt::TRptExpr* Expr(QWidget* parent, const std::string& expression, const std::string& mask = "",
                      rpt::Real left = 0, rpt::Real top = 0) {
    auto* expr = new rpt::TRptExpr(parent);
    expr->SetAutoSize(false);
    expr->Size().SetNative(rpt::TRptPrintableSize::kLeft, left);
    expr->Size().SetNative(rpt::TRptPrintableSize::kTop, top);
    expr->Size().SetNative(rpt::TRptPrintableSize::kWidth, 800);
    expr->Size().SetNative(rpt::TRptPrintableSize::kHeight, 45);
    expr->SetMask(mask);
    expr->SetExpression(expression);
    return expr;
  }
  // Device pixels of 0.1 mm on the fake printer (its unprintable margin of 100 pixels taken off).
  static int Px(rpt::Real tenths) { return rpt::Round((tenths - rpt::Round(100 / 600.0L * 254)) * 600 / 254); }

  LocaleScope locale{false, false};
  FakePrinters fake;
  rpt::TBandReport report;
  rpt::TRptPrintOutcome outcome;
};

// An export filter that records its calls as text.
class RecordingFilter : public rpt::TRptExportFilter {
 public:
  std::vector<std::string> calls;
  bool continuous = false;
  bool Continuous() override { return continuous; }
  void Start(int w, int l, const platform::CanvasFont&) override {
    calls.push_back("Start " + std::to_string(w) + "x" + std::to_string(l));
  }
  void EndPage() override { calls.push_back("EndPage"); }
  void Finish() override { calls.push_back("Finish"); }
  void NewPage() override { calls.push_back("NewPage"); }
  void Graphic(QWidget* control, int top, int left) override {
    std::string kind = "Graphic";
    if (auto* shape = qobject_cast<rpt::TRptShape*>(control)) {
      kind += " shape" + std::to_string(static_cast<int>(shape->Shape()));
    }
    calls.push_back(kind + " " + std::to_string(left) + "," + std::to_string(top));
  }
  void BandEnd(rpt::TRptCustomBand* band, rpt::Real, rpt::Real, rpt::Real) override {
    calls.push_back("BandEnd " + band->objectName().toStdString());
  }
  void TextOut(int, int, const platform::CanvasFont&, uint32_t, rpt::TRptAlignment, const std::string& text) override {
    calls.push_back("Text " + text);
  }
  // The calls that start with `prefix`.
  std::vector<std::string> Of(const std::string& prefix) const {
    std::vector<std::string> out;
    for (const std::string& c : calls) {
      if (c.rfind(prefix, 0) == 0) out.push_back(c);
    }
    return out;
  }
};

}  // namespace rpttest
