#include "report/export_filter.h"

namespace rpt {

TRptExportFilterLibrary& TRptExportFilterLibrary::Instance() {
  static TRptExportFilterLibrary library;
  return library;
}

std::string TRptExportFilterLibrary::SaveDialogFilter() const {
  std::string text = std::string(kSavedReportsText) + "(*." + kSavedReportExtension + ")|*." + kSavedReportExtension;
  for (const Entry& e : entries_) text += "|" + e.description + " (*." + e.extension + ")|*." + e.extension;
  return text;
}

}  // namespace rpt
