// The page routines of the report form (report_form.h): which page is shown, which pages are
// built, the preview geometry that keeps the A4 proportion, the page header, the images and the
// printing of a page. The state is the module's own, reset each time the form is created.
//
// Preview geometry: the page area of the form (the tab's viewport) is kept at the A4 proportion
// 1.414 and the report shown at the zoom that makes the paper as wide as the area (the paper is
// 794 pixels wide at 100 %); the form follows the area (16 pixels wider, 68 higher). In
// whole-page mode the paper is shown at 100 % with scroll bars and the form is as wide as it may
// be.
//
// Printing: a page is printed by its report's run onto the printer of the platform (a system
// printer or the built-in PDF printer), with the progress form. The form asks once per opening
// (AskPrint); "〔印刷完了〕" is shown only when the document was ended on the printer, after a
// cancel or a failure "〔印刷中止〕" (a failure's text shown first).
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace rpt {
class TRptImage;
class TRptLabel;
}  // namespace rpt

namespace views {

class THARVRPTForm;

// The page shown (1 to 3; 0 before any) and the number of pages (tabs).
extern int ReportPage;
extern int ReportPageCount;
// Whether a page was filled since the form opened ([1..3] used; a page is built once).
extern std::array<bool, 25> PageBuilt;

struct PreviewGeometry {
  int pageWidth = 401, pageHeight = 565;  // pixels
  int zoomPercent = 50;
  bool wholePage = false;
  double ratio = 1.414;  // height / width
};
extern PreviewGeometry Preview;

// The result of fitting a page area of `width` x `height` pixels.
struct PreviewFit {
  int width = 0, height = 0;  // the page area at the A4 proportion
  int zoom = 100;
  int formWidth = 0, formHeight = 0;  // 0: the form keeps its size (whole page: its height)
  std::string zoomText;               // CP932, the reduced-zoom radio's caption ("76％縮小")
};
// Keeps the proportion: a height/width above 1.41 makes the height round(width x 1.414), below
// 1.41 the width round(height / 1.414); on "WindowsVista" the width first grows by 2. In
// whole-page mode the zoom is 100 and the form takes `maxFormWidth`; otherwise the zoom is
// round(width x 100 / 794) and the form width + 16 by height + 68.
PreviewFit FitPreview(int width, int height, bool vista, bool wholePage, int maxFormWidth);
// Whether the settings' operating-system row names "WindowsVista".
bool OnWindowsVista();

// ---- Routines on the form

// Page 0; every tab scrolled to the top with its header labels cleared; no page built; no tab
// selected; the printer caption "プリンター機種：<name>" (PrinterInfo).
void ResetReportPages(THARVRPTForm& form);
// The geometry's start values, the form 417 x 626, then ResetReportPages.
void InitPreviewSize(THARVRPTForm& form);
// Fits the shown page's area (nothing while no page is shown).
void FitReportPreview(THARVRPTForm& form);
// Empties the header labels of a page.
void ClearReportPageHeader(THARVRPTForm& form, int page);
// A page's header: its file-name label the calculation file's name, its date label the
// program name, a blank, today and " page/count".
void SetReportPageHeader(THARVRPTForm& form, int page, const std::string& path);
// The picture of `file` when it exists, else a white image.
void LoadReportImage(rpt::TRptImage* image, const std::string& file);
// Clears the picture and fills the image's area with `color` (0x00BBGGRR).
void BlankReportImage(rpt::TRptImage* image, uint32_t color);
// Asks (once per opening) and prints the shown page; the status text tells the outcome.
void PrintReportPage(THARVRPTForm& form);
// The label "RPTLBL" + page + "_" + line of the form (line as text: "F", "D", "1" ... "16",
// "01" ... "15"); null when there is none.
rpt::TRptLabel* FindRptLabel(THARVRPTForm& form, int page, const std::string& line);

}  // namespace views
