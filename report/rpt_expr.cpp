#include "report/rpt_expr.h"

#include "platform/text_format.h"
#include "report/band_report.h"
#include "report/controller.h"
#include "report/expr_format.h"
#include "report/expr_messages.h"

namespace rpt {

TRptExpr::TRptExpr(QWidget* parent) : TRptCustomLabel(parent) { SetExpression(std::string()); }

TRptExpr::~TRptExpr() = default;

void TRptExpr::SetExpression(const std::string& text) {
  expression_ = text;
  SetCaption(text.empty() ? std::string("(none)") : text);
}

void TRptExpr::SetMask(const std::string& mask) {
  mask_ = mask;
  SetExpression(expression_);
}

std::string TRptExpr::ValueText(const TRptEvResult& value) const {
  switch (value.kind) {
    case TRptEvKind::Integer:
      return platform::FormatFloatMask(mask_, value.intValue).value_or(platform::FloatToText(value.intValue));
    case TRptEvKind::Float:
      if (mask_.find("%m") != std::string::npos || mask_.find("%M") != std::string::npos) {
        return FormatWithValue(mask_, value.floatValue).value_or(std::string(kInvalidFormat));
      }
      return platform::FormatFloatMask(mask_, value.floatValue).value_or(platform::FloatToText(value.floatValue));
    case TRptEvKind::String: return std::string(value.Text());
    case TRptEvKind::Boolean: return value.boolValue ? "True" : "False";
    case TRptEvKind::Error: return std::string(value.Text());
  }
  return std::string();
}

void TRptExpr::Prepare() {
  TRptCustomLabel::Prepare();
  TCustomBandReport* report = ParentReport();
  evaluator_.SetDataSets(report ? &report->RunDataSets() : nullptr);
  evaluator_.SetEnvironment(report ? &report->Functions() : nullptr);
  evaluator_.Compile(expression_);
  if (auto* masterReport = qobject_cast<TBandReport*>(master_.data())) {
    masterReport->RegisterExpressionControl(this);
  } else if (auto* sub = qobject_cast<TRptSubDetail*>(master_.data())) {
    sub->Controller().AddNotifyExpression(this);
  } else if (!master_ && report && evaluator_.HasAggregates()) {
    report->RegisterExpressionControl(this);
  }
  evaluator_.ResetAggregates();
}

void TRptExpr::Unprepare() {
  evaluator_.SetDataSets(nullptr);
  evaluator_.Release();
  TRptCustomLabel::Unprepare();
  SetExpression(expression_);
}

void TRptExpr::RptNotification(QObject* sender, int operation) {
  TRptCustomLabel::RptNotification(sender, operation);
  if (operation == kNotifyBandPrint && evaluator_.Prepared()) evaluator_.AggregatePass();
}

void TRptExpr::PrintControl(Real offsetX, Real offsetY) {
  if (!Enabled()) return;
  if (!evaluator_.Prepared()) Prepare();
  SetPrintCaption(ValueText(evaluator_.Run()));
  TRptCustomLabel::PrintControl(offsetX, offsetY);
  if (ResetAfterPrint) Reset();
}

}  // namespace rpt
