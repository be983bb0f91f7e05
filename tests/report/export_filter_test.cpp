// The export filter library's save-dialog text.
#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "report/export_filter.h"

using namespace rpt;

namespace {

TEST(ExportFilterLibrary, SaveDialogFilter) {
  TRptExportFilterLibrary& library = TRptExportFilterLibrary::Instance();
  library.Clear();
  EXPECT_EQ(library.SaveDialogFilter(), "Report file (*.RPT)|*.RPT");
  library.Add({"Text file", "TXT", nullptr});
  library.Add({platform::J("表計算"), "CSV", nullptr});
  EXPECT_EQ(library.SaveDialogFilter(),
            "Report file (*.RPT)|*.RPT|Text file (*.TXT)|*.TXT|" + platform::J("表計算") + " (*.CSV)|*.CSV");
  library.Clear();
}

}  // namespace
