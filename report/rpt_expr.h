// The expression label: a label whose text is the value of an expression, evaluated each time it
// prints, formatted by a mask, and able to accumulate aggregates (SUM, COUNT, AVERAGE, MAX, MIN)
// record by record. Between runs its caption shows the expression ("(none)" when empty).
//
// Values print by kind: integers through the float-format mask; floats through the general
// text formatter when the mask holds "%m" (money), else through the float-format mask; texts as
// they are; booleans "True" or "False"; errors as their text. An empty mask gives the general
// number form. A "%m" mask the formatter refuses prints "Invalid format or value specified".
//
// Aggregates count the records of the controller the label registers with: its Master's (a
// report or a sub-detail band), or without a Master, the report's when the expression has
// aggregates. With ResetAfterPrint they start again after each print.
#pragma once

#include <QPointer>
#include <string>

#include "report/expr_eval.h"
#include "report/rpt_ctrls.h"

namespace rpt {

class TRptExpr : public TRptCustomLabel {
  Q_OBJECT
 public:
  explicit TRptExpr(QWidget* parent);
  ~TRptExpr() override;

  const std::string& Expression() const { return expression_; }
  void SetExpression(const std::string& text);
  const std::string& Mask() const { return mask_; }
  void SetMask(const std::string& mask);
  QObject* Master() const { return master_; }
  void SetMaster(QObject* master) { master_ = master; }
  bool ResetAfterPrint = false;
  TRptEvaluator& Evaluator() { return evaluator_; }

  // The text a value prints as, by the rules above.
  std::string ValueText(const TRptEvResult& value) const;
  // Resets the aggregates.
  void Reset() { evaluator_.ResetAggregates(); }

  void Prepare() override;
  void Unprepare() override;
  void RptNotification(QObject* sender, int operation) override;
  void PrintControl(Real offsetX, Real offsetY) override;

 private:
  TRptEvaluator evaluator_;
  std::string expression_, mask_;
  QPointer<QObject> master_;
};

}  // namespace rpt
