// Shared fixtures of the report tests: a locale chosen per test, a minimal printable control
// (a widget with a printable size, registered with its report) and documents run on a report
// printer.
#pragma once

#include <QWidget>
#include <cstdlib>
#include <optional>
#include <string>

#include "platform/locale_info.h"
#include "report/band_report.h"
#include "report/rpt_printer.h"

namespace rpttest {

// Sets the locale's answers for the lifetime of the object.
class LocaleScope {
 public:
  LocaleScope(bool inches, bool japanese) { platform::SetLocaleOverride(inches, japanese); }
  ~LocaleScope() { platform::SetLocaleOverride(std::nullopt, std::nullopt); }
};

// Sets an environment variable for the life of the object.
class EnvGuard {
 public:
  EnvGuard(const char* name, const std::string& value) : name_(name) {
    if (const char* old = std::getenv(name)) old_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~EnvGuard() {
    if (old_)
      setenv(name_, old_->c_str(), 1);
    else
      unsetenv(name_);
  }
  EnvGuard(const EnvGuard&) = delete;
  EnvGuard& operator=(const EnvGuard&) = delete;

 private:
  const char* name_;
  std::optional<std::string> old_;
};

// A control placed on a report or a band, sized by its TRptPrintableSize.
class TestPrintable : public QWidget {
 public:
  explicit TestPrintable(QWidget* parent) : QWidget(parent), size(*this) {
    if (auto* panel = qobject_cast<rpt::TRptBasePanel*>(parent)) size.SetParentReport(panel->Report());
  }
  rpt::TRptPrintableSize size;
};

// Page n: a text "Page n" at 20 mm, 30 mm and a filled square of 10 mm at 50 mm, 60 mm.
inline void DrawPage(rpt::TRptPrinter& printer, int n) {
  platform::Canvas& c = *printer.Canvas();
  c.Font().SetName("Arial");
  c.Font().SetSize(12);
  c.Font().SetColor(0);
  c.Brush().SetStyle(platform::BrushStyle::Clear);
  c.TextOut(printer.XPos(200), printer.YPos(300), "Page " + std::to_string(n));
  c.Brush().SetStyle(platform::BrushStyle::Solid);
  c.Brush().SetColor(0);
  c.Pen().SetStyle(platform::PenStyle::Clear);
  c.FillRect(platform::Rect{printer.XPos(500), printer.YPos(600), printer.XPos(600), printer.YPos(700)});
}

inline void RunDocument(rpt::TRptPrinter& printer, int pages) {
  printer.BeginDoc();
  for (int n = 1; n <= pages; ++n) {
    printer.NewPage();
    DrawPage(printer, n);
  }
  printer.EndDoc();
}

}  // namespace rpttest
