// The layouts of the three report pages: one table per page with every label, memo and image
// placed directly on its report (A4 portrait, margins of 10 mm, a title band of height 0).
// Geometry is in 0.1 mm from the paper's top-left corner. Texts are in the monospaced Japanese
// face, 8 pt for the header, the conditions and the findings and 7 pt for the tables. Images
// stretch their metafile into the metafile's own size (screen 3's page metafiles, 96 pixels
// per inch), their tops given in those pixels.
//
// Page 1 shows its daily graphs (image 1 and the year captions) only in mode 1; in mode 2 its
// images 2 and 3 move down to take screen 3's monthly and yearly graphs.
#pragma once

#include <string>
#include <vector>

namespace views {

// The report's paper (0.1 mm).
constexpr double kReportPaperWidth = 2100, kReportPaperLength = 2970, kReportMargin = 100;
// The face of every text (the device context substitutes the monospaced Japanese font).
inline constexpr char kReportFontFace[] = "ＭＳ ゴシック";  // UTF-8

enum class ReportControlKind { Label, Memo, Image };
enum class ReportAlign { Left, Right, Center };

struct ReportControlLayout {
  std::string name;  // "RPTLBL1_F" ...
  ReportControlKind kind = ReportControlKind::Label;
  double left = 0, top = 0, width = 0, height = 0;  // 0.1 mm
  int fontSize = 0;                                 // points; 0 for an image
  ReportAlign alignment = ReportAlign::Left;
  bool wordWrap = false;
  std::string caption;  // CP932: the text a label starts with (the texts the page keeps)
};

// Pixels of a 96-pixel-per-inch picture in 0.1 mm.
constexpr double PixelsToTenthMm(double pixels) { return pixels * 254.0 / 96.0; }

// The controls of page 1 to 3 as authored (page 1 at its mode-1 places); empty for another page.
const std::vector<ReportControlLayout>& ReportLayout(int page);
// The controls shown on a page in a mode, at their places in that mode.
std::vector<ReportControlLayout> PlacedControls(int page, int mode);
// The year-line text of page 3 for year number 1..15, and the average line (16), before the
// figures are written into it.
std::string WeatherLineCaption(int number);

}  // namespace views
