#include "report/controller.h"

#include <algorithm>

#include "report/band_report.h"

namespace rpt {

namespace {
// Masters cannot form cycles; the bound only protects against a damaged model.
constexpr int kMaxLevels = 64;
}  // namespace

TRptCustomController::TRptCustomController(TRptBasePanel* owner)
    : QObject(nullptr), owner_(owner), masterComponent_(owner) {}

TRptCustomController::~TRptCustomController() = default;

void TRptCustomController::Prepare() { PrepareLevel(0); }

void TRptCustomController::PrepareLevel(int depth) {
  before_.clear();
  after_.clear();
  groups_.clear();
  QObject* master = masterComponent_;
  if (!report_ || !master || depth > kMaxLevels) return;
  // The components of the report's form, then those of the master component that lie elsewhere.
  QList<QObject*> components = report_->OwnerForm()->findChildren<QObject*>();
  for (QObject* o : master->findChildren<QObject*>()) {
    if (!components.contains(o)) components.append(o);
  }
  for (QObject* o : components) {
    TRptCustomController* sub = nullptr;
    if (auto* band = qobject_cast<TRptControllerBand*>(o)) {
      sub = &band->Controller();
    } else if (auto* controller = qobject_cast<TRptCustomController*>(o)) {
      sub = controller;
    } else if (auto* group = qobject_cast<TRptGroup*>(o)) {
      if (group->Master() == master) {
        groups_.push_back(group);
        group->SetParentReport(report_);
      }
      continue;
    }
    if (!sub || sub == this || sub->Master() != master) continue;
    sub->SetParentReport(report_);
    (sub->PrintBefore() ? before_ : after_).push_back(sub);
    sub->PrepareLevel(depth + 1);
  }
}

TRptController::TRptController(TRptBasePanel* owner) : TRptCustomController(owner) {}

void TRptController::SetHeaderBand(TRptCustomBand* band) { header_ = band; }
void TRptController::SetDetailBand(TRptCustomBand* band) { detail_ = band; }
void TRptController::SetFooterBand(TRptCustomBand* band) { footer_ = band; }

}  // namespace rpt
