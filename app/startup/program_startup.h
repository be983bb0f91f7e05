// What the program starts before it opens its main window, in one place for the program and for
// the tests and runners that must see the windows as the program shows them: the application
// font, Qt's Japanese texts, the framework's input handling and printing, the metafile picture
// class for loaded metafiles, the report's control editors, and the chart library (its texts,
// default palette, value formats and HTML renderer).
//
// The chart library and the metafile picture class stay started as long as the object lives:
// the program keeps it for its whole run. The user-interface service (message boxes, the pointer) is not part of it: the
// program installs the Qt one, a test its own.
#pragma once

#include "chart/unit.h"

namespace app {

class ProgramStartup {
 public:
  // Needs the QApplication.
  ProgramStartup();
  ~ProgramStartup();
  ProgramStartup(const ProgramStartup&) = delete;
  ProgramStartup& operator=(const ProgramStartup&) = delete;

 private:
  chart::ChartLibraryScope chart_;
};

}  // namespace app
