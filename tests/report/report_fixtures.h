// Shared fixtures of the report tests: a locale chosen per test and a minimal printable
// control (a widget with a printable size, registered with its report).
#pragma once

#include <QWidget>
#include <optional>

#include "platform/locale_info.h"
#include "report/band_report.h"

namespace rpttest {

// Sets the locale's answers for the lifetime of the object.
class LocaleScope {
 public:
  LocaleScope(bool inches, bool japanese) { platform::SetLocaleOverride(inches, japanese); }
  ~LocaleScope() { platform::SetLocaleOverride(std::nullopt, std::nullopt); }
};

// A control placed on a report or a band, sized by its TRptPrintableSize.
class TestPrintable : public QWidget {
 public:
  explicit TestPrintable(QWidget* parent) : QWidget(parent), size(*this) {
    if (auto* panel = qobject_cast<rpt::TRptBasePanel*>(parent)) size.SetParentReport(panel->Report());
  }
  rpt::TRptPrintableSize size;
};

}  // namespace rpttest
