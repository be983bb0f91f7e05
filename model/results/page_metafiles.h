// The page metafiles of screen 3 that the printed report places on its pages: their names and
// sizes, the report set, and the order in which screen 3 makes that set. Screen 3 draws and
// writes the files (app/ui/screen3_graphs.h); the report form finds them by these names.
//
// Page metafiles, in the result folder, ResultPrefix + suffix:
//   page 1 (one per year)  "(1-1985).EMF"          700 x 210, on screen 778 x 196
//   page 2 / page 3        "(2).EMF" / "(3).EMF"   700 x 210, on screen 778 x 196
//   page 4 graph g         "(4-g).EMF"             350 x 360, on screen 350 x 360
//   page 5                 "(5).EMF"               700 x 400 (340 x 300 while the frequency
//                                                  panel is shown), on screen 782 x 405 (337 x 315)
//   frequency chart        "(5-1985).EMF"          as page 5, on screen 337 x 315
// The report set is the page 1 files of the lowest, highest and average precipitation years,
// "(2).EMF", "(3).EMF", "(4-1).EMF" to "(4-4).EMF" and "(5).EMF" (whose existence marks the
// set complete).
#pragma once

#include <array>
#include <string>
#include <vector>

#include "model/results/screen3_data.h"

namespace app {

struct PictureSize {
  int width = 0;
  int height = 0;
  bool operator==(const PictureSize&) const = default;
};

// The suffix of a page's metafile: page 1 "(1-" + year + ").EMF" with year = 1980 + yearNumber,
// pages 2 and 3 "(2).EMF" / "(3).EMF", page 4 "(4-" + graph + ").EMF", page 5 "(5).EMF"; empty for
// any other page (or page 1 without a year, page 4 without a graph).
std::string PageMetafileSuffix(int page, int yearNumber, int graph);
// "(5-" + year + ").EMF": the frequency chart saved by itself.
std::string FrequencyMetafileSuffix(int frequencyYear);
// ResultPrefix + the suffix of the data's current page, year and graph (ImageFile); empty
// when the page has no metafile.
std::string MetafileName(const std::string& resultPrefix, const Screen3Data& data);
// The metafile size of a page and the size of its on-screen image after saving; {0, 0} for a
// page without a metafile.
PictureSize PageMetafileSize(int page, bool frequencyPanelShown);
PictureSize PageImageSize(int page, bool frequencyPanelShown);
// The ten files of the report set (full paths) for the representative years of `data`.
std::vector<std::string> ReportMetafileNames(const std::string& resultPrefix, const Screen3Data& data);

// ---- Making the report set

// The program-wide representative years, chosen by screen 3 and by the report: the year
// numbers (1..15) of the lowest, highest and average precipitation ([1..3]; index 0 unused).
extern std::array<int, 4> RepresentativeYears;

// One file of the report set: the page, and the year number (page 1) or graph (page 4) shown.
struct ReportMetafileStep {
  int page = 0;
  int yearNumber = 0;
  int graph = 0;
  bool operator==(const ReportMetafileStep&) const = default;
};
// The files of the report set in the order they are made: page 1 for the lowest, highest and
// average year of `representative` ([1..3]), pages 2 and 3, page 4 for graphs 1 to 4, page 5.
// Empty when a representative year is unknown (0): without the yearly table there is no report.
std::vector<ReportMetafileStep> ReportMetafileSteps(const std::array<int, 4>& representative);
// Whether the set of `resultPrefix` is complete: its last file "(5).EMF" exists.
bool ReportMetafilesComplete(const std::string& resultPrefix);

// What screen 3 does for each file of the report set.
class ReportMetafileMaker {
 public:
  virtual ~ReportMetafileMaker() = default;
  // Before the first file: the screen hides what the user should not touch.
  virtual void Prepare() = 0;
  // Puts the step's page, year or graph on the screen.
  virtual void Show(const ReportMetafileStep& step) = 0;
  // Writes the shown page's metafile; false after reporting an error.
  virtual bool Write() = 0;
};
// Makes the files of `steps` (ReportMetafileSteps, not empty): announces the making (the
// information dialog "事前に報告書用のメタファイルを作成します。" and the status text), prepares
// the screen, then shows and writes every step in order until a write fails; after the last
// file it announces the end (status text and information dialog). True when every file was
// written.
bool MakeReportMetafiles(const std::vector<ReportMetafileStep>& steps, ReportMetafileMaker& maker);

}  // namespace app
