#include "views/report_pages.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>

#include "framework/appinit.h"
#include "framework/convert.h"
#include "framework/file_names.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "framework/ui/form_utils.h"
#include "platform/cp932.h"
#include "platform/qt/qt_text.h"
#include "report/band_report.h"
#include "report/rpt_ctrls.h"
#include "framework/ui/metafile_picture.h"
#include "views/report_content.h"
#include "views/report_form.h"

namespace views {

using platform::J;

int ReportPage = 0;
int ReportPageCount = 0;
std::array<bool, 25> PageBuilt{};
PreviewGeometry Preview;

namespace {

constexpr double kA4Ratio = 1.414;
constexpr int kPaperPixels = 794;  // A4's width at 100 % on a 96-pixel-per-inch screen
constexpr int kFormExtraWidth = 16, kFormExtraHeight = 68;

}  // namespace

bool OnWindowsVista() { return fw::ContainsStr("WindowsVista", fw::SettingsRows[2]); }

PreviewFit FitPreview(int width, int height, bool vista, bool wholePage, int maxFormWidth) {
  PreviewFit fit;
  if (vista) width += 2;
  if (width > 0 && static_cast<double>(height) / width > 1.41)
    height = static_cast<int>(fw::Round(width * kA4Ratio));
  else if (width > 0 && static_cast<double>(height) / width < 1.41)
    width = static_cast<int>(fw::Round(height / kA4Ratio));
  fit.width = width;
  fit.height = height;
  if (wholePage) {
    fit.zoom = 100;
    fit.formWidth = maxFormWidth;
    return fit;
  }
  fit.zoom = static_cast<int>(fw::Round(width * 100.0 / kPaperPixels));
  fit.formWidth = width + kFormExtraWidth;
  fit.formHeight = height + kFormExtraHeight;
  fit.zoomText = std::to_string(fit.zoom) + J("％縮小");
  return fit;
}

// ---- Routines on the form

void ResetReportPages(THARVRPTForm& form) {
  ReportPage = 0;
  ReportPageCount = 3;
  for (int page = 1; page <= ReportPageCount; ++page) {
    form.SBOX[static_cast<size_t>(page)]->verticalScrollBar()->setValue(0);
    form.SBOX[static_cast<size_t>(page)]->horizontalScrollBar()->setValue(0);
    ClearReportPageHeader(form, page);
  }
  PageBuilt.fill(false);
  form.SelectPage(0);
  form.LBL_Prn->setText(platform::ToQString(J("プリンター機種：<") + fw::PrinterInfoType.DeviceName + ">"));
}

void InitPreviewSize(THARVRPTForm& form) {
  Preview = PreviewGeometry{};
  form.resize(417, 626);
  ResetReportPages(form);
}

void FitReportPreview(THARVRPTForm& form) {
  if (form.SelectedPage() == 0) return;
  const QSize area = form.PageAreaSize();
  // Whole page: wide enough for the paper at 100 % and a scroll bar, as far as the screen allows.
  const int scrollBar = form.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  int maxWidth = kPaperPixels + kFormExtraWidth + scrollBar + 4;
  if (const QScreen* screen = form.screen() ? form.screen() : QGuiApplication::primaryScreen())
    maxWidth = std::min(maxWidth, screen->availableGeometry().width());
  const PreviewFit fit = FitPreview(area.width(), area.height(), OnWindowsVista(), Preview.wholePage, maxWidth);
  Preview.pageWidth = fit.width;
  Preview.pageHeight = fit.height;
  Preview.zoomPercent = fit.zoom;
  form.ApplyPreviewFit(fit.zoom, fit.formWidth, fit.formHeight, fit.zoomText);
}

rpt::TRptLabel* FindRptLabel(THARVRPTForm& form, int page, const std::string& line) {
  return qobject_cast<rpt::TRptLabel*>(fw::FindRptLblComp(form.Report(page), std::to_string(page) + "_" + line));
}

void ClearReportPageHeader(THARVRPTForm& form, int page) {
  for (const char* line : {"F", "D"})
    if (rpt::TRptLabel* label = FindRptLabel(form, page, line)) label->SetCaption(std::string());
}

void SetReportPageHeader(THARVRPTForm& form, int page, const std::string& path) {
  fw::SplitFileName(path);
  if (rpt::TRptLabel* name = FindRptLabel(form, page, "F")) name->SetCaption(fw::FileNameExt);
  if (rpt::TRptLabel* date = FindRptLabel(form, page, "D"))
    date->SetCaption(ReportDateText(TodayText(), page, ReportPageCount));
}

void LoadReportImage(rpt::TRptImage* image, const std::string& file) {
  if (!image) return;
  std::unique_ptr<platform::TGraphic> picture = file.empty() ? nullptr : fw::LoadPicture(file);
  if (!picture) {
    BlankReportImage(image, 0xFFFFFF);
    return;
  }
  image->Picture().SetGraphic(std::move(picture));
}

void BlankReportImage(rpt::TRptImage* image, uint32_t color) {
  if (!image) return;
  image->Picture().SetGraphic(nullptr);
  if (platform::Canvas* canvas = image->GetCanvas()) {
    canvas->Brush().SetColor(color);
    canvas->FillRect(platform::Rect{0, 0, image->Picture().Width(), image->Picture().Height()});
  }
  image->update();
}

void PrintReportPage(THARVRPTForm& form) {
  rpt::TBandReport* report = form.Report(form.SelectedPage());
  if (!report) return;
  if (!form.PrintConfirmed) {
    if (!fw::AskPrint(0)) return;
    form.PrintConfirmed = true;
  }
  // The form takes no clicks while its page prints (the progress form stays usable).
  form.setEnabled(false);
  const rpt::TRptPrintOutcome outcome = report->Print();
  form.setEnabled(true);
  if (outcome.kind == rpt::TRptPrintOutcome::Printed) {
    fw::ShowStatus(J("〔印刷完了〕"));
    return;
  }
  if (outcome.kind == rpt::TRptPrintOutcome::Failed) fw::MsgDialog(outcome.message, 4, 1);
  fw::ShowStatus(J("〔印刷中止〕"));
}

}  // namespace views
