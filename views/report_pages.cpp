#include "views/report_pages.h"

#include "framework/appinit.h"
#include "framework/convert.h"
#include "platform/cp932.h"

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

}  // namespace views
