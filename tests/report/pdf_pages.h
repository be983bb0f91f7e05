// Reports printed on the built-in PDF printer and looked at: page count, text and pages rendered
// to PNG (a copy kept to be looked at when HARVSIM_KEEP_PICTURES names a folder).
#pragma once

#include <QImage>
#include <string>

#include "platform/path.h"
#include "platform/qt/printer_qt.h"
#include "support/test_support.h"

namespace rpttest {

// Selects the PDF printer writing `insidePath` for the object's lifetime.
class PdfPrinterScope {
 public:
  explicit PdfPrinterScope(const std::string& insidePath) {
    platform::InstallQtPrinting();
    auto& qt = platform::QtPrinterService::Instance();
    qt.SelectPrinter(platform::kPdfPrinterName);
    qt.SetCurrentMode(Mode());
    qt.SetPdfOutputFile(insidePath);
  }
  ~PdfPrinterScope() {
    platform::QtPrinterService::Instance().SetPdfOutputFile("");
    platform::InstallPrinterService(nullptr);
  }
  static platform::DeviceMode Mode() {
    platform::DeviceMode mode;
    platform::QtPrinterService::Instance().DefaultMode(platform::kPdfPrinterName, mode);
    return mode;
  }
};

inline std::string Native(const std::string& inside) { return *platform::ToNativePath(inside); }

inline int PdfPages(const std::string& inside) {
  std::string info = testsupport::CommandOutput("pdfinfo '" + Native(inside) + "'");
  size_t at = info.find("Pages:");
  return at == std::string::npos ? -1 : std::stoi(info.substr(at + 6));
}

inline std::string PdfText(const std::string& inside) {
  return testsupport::CommandOutput("pdftotext -layout '" + Native(inside) + "' -");
}

// Keeps a picture to be looked at as <name>.png in the folder HARVSIM_KEEP_PICTURES names;
// without it nothing is written (tests write only into their own temporary folders).
inline void KeepPicture(const QImage& image, const std::string& name) {
  const QString folder = qEnvironmentVariable("HARVSIM_KEEP_PICTURES");
  if (folder.isEmpty() || image.isNull() || name.empty()) return;
  image.save(folder + "/" + QString::fromStdString(name) + ".png");
}

// Page `page` rendered at `dpi` (next to the PDF file); a copy is kept as <keepName>.png.
inline QImage RenderPdfPage(const std::string& inside, int page, int dpi, const std::string& keepName) {
  const std::string prefix = Native(inside) + "-render";
  testsupport::CommandOutput("pdftoppm -r " + std::to_string(dpi) + " -png -f " + std::to_string(page) + " -l " +
                             std::to_string(page) + " -singlefile '" + Native(inside) + "' '" + prefix + "'");
  QImage image(QString::fromStdString(prefix + ".png"));
  KeepPicture(image, keepName);
  return image;
}

// The bounding box of the pixels within `area` for which `match` holds (right and bottom
// exclusive); empty (all 0) when none does.
template <class F>
QRect PixelBox(const QImage& image, const QRect& area, F match) {
  int left = INT32_MAX, top = INT32_MAX, right = -1, bottom = -1;
  const QRect a = area.intersected(image.rect());
  for (int y = a.top(); y <= a.bottom(); ++y) {
    for (int x = a.left(); x <= a.right(); ++x) {
      if (!match(image.pixel(x, y))) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x);
      bottom = std::max(bottom, y);
    }
  }
  if (right < 0) return QRect();
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

}  // namespace rpttest
