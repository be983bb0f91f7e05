// Qt printers.
#include "platform/qt/printer_qt.h"

#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <cmath>
#include <cstdio>

#include "platform/cp932.h"
#include "platform/path.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/qt_text.h"
#include "platform/qt/qt_ui.h"

namespace platform {

namespace {

constexpr int kPdfDpi = 600;
constexpr double kPdfMarginInch = 100.0 / kPdfDpi;

QPageLayout PdfLayout(bool landscape) {
  return QPageLayout(QPageSize(QPageSize::A4), landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                     QMarginsF(kPdfMarginInch, kPdfMarginInch, kPdfMarginInch, kPdfMarginInch), QPageLayout::Inch);
}

void FillFromLayout(PrinterCaps& c, const QPageLayout& layout, int dpi) {
  QRect full = layout.fullRectPixels(dpi);
  QRect paint = layout.paintRectPixels(dpi);
  c.physicalWidth = full.width();
  c.physicalHeight = full.height();
  c.horzRes = paint.width();
  c.vertRes = paint.height();
  c.offsetX = paint.left() - full.left();
  c.offsetY = paint.top() - full.top();
  c.dpiX = c.dpiY = dpi;
  c.quality = dpi;
  c.formName = FromQString(layout.pageSize().name()).value_or(std::string());
}

class QtPrintJob final : public PrintJob {
 public:
  QtPrintJob(std::unique_ptr<QPdfWriter> pdf, std::unique_ptr<QPrinter> printer, const PrinterCaps& caps,
             QString partFile, QString target)
      : pdf_(std::move(pdf)), printer_(std::move(printer)), partFile_(std::move(partFile)), target_(std::move(target)) {
    QPaintDevice* device = pdf_ ? static_cast<QPaintDevice*>(pdf_.get()) : static_cast<QPaintDevice*>(printer_.get());
    ok_ = painter_.begin(device);
    dc_ = std::make_unique<QtDc>(painter_, caps.ToDeviceCaps(), false);
  }
  ~QtPrintJob() override {
    if (painter_.isActive()) Abort();
  }
  bool Ok() const { return ok_; }
  DeviceContext& Dc() override { return *dc_; }
  bool NewPage() override {
    bool ok = pdf_ ? pdf_->newPage() : printer_->newPage();
    if (ok) ++pages_;
    return ok;
  }
  bool End() override {
    dc_.reset();
    bool ok = painter_.end() && ok_;
    if (pdf_) {
      pdf_.reset();  // flushes the file
      if (!ok || QFileInfo(partFile_).size() == 0) {
        QFile::remove(partFile_);
        return false;
      }
      // One rename replaces the old file: when it fails, the old file is still there whole.
      if (std::rename(QFile::encodeName(partFile_).constData(), QFile::encodeName(target_).constData()) != 0) {
        QFile::remove(partFile_);
        return false;
      }
      return true;
    }
    return ok;
  }
  void Abort() override {
    dc_.reset();
    if (printer_) printer_->abort();
    painter_.end();
    if (pdf_) {
      pdf_.reset();
      QFile::remove(partFile_);
    }
  }

 private:
  std::unique_ptr<QPdfWriter> pdf_;
  std::unique_ptr<QPrinter> printer_;
  QPainter painter_;
  std::unique_ptr<QtDc> dc_;
  QString partFile_, target_;
  bool ok_ = false;
};

}  // namespace

QtPrinterService& QtPrinterService::Instance() {
  static QtPrinterService service;
  return service;
}

void InstallQtPrinting() {
  EnsureQtFontEngine();
  InstallPrinterService(&QtPrinterService::Instance());
}

std::vector<std::string> QtPrinterService::PrinterNames() {
  std::vector<std::string> names;
  for (const QString& n : QPrinterInfo::availablePrinterNames()) {
    if (auto cp = FromQString(n)) names.push_back(*cp);
  }
  names.push_back(kPdfPrinterName);
  return names;
}

std::string QtPrinterService::CurrentPrinter() {
  if (!chosen_) {
    QString def = QPrinterInfo::defaultPrinterName();
    auto cp = FromQString(def);
    current_ = def.isEmpty() || !cp ? std::string(kPdfPrinterName) : *cp;
    chosen_ = true;
  }
  return current_;
}

bool QtPrinterService::SelectPrinter(const std::string& name) {
  for (const std::string& n : PrinterNames()) {
    if (n == name) {
      current_ = name;
      chosen_ = true;
      return true;
    }
  }
  return false;
}

bool QtPrinterService::Caps(PrinterCaps& out) {
  std::string name = CurrentPrinter();
  out = PrinterCaps{};
  out.deviceName = name;
  out.landscape = landscape_;
  if (name == kPdfPrinterName) {
    FillFromLayout(out, PdfLayout(landscape_), kPdfDpi);
    out.color = 2;
    out.isPdf = true;
    return true;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(name));
  if (info.isNull()) return false;
  QPrinter printer(info, QPrinter::HighResolution);
  printer.setPageOrientation(landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait);
  FillFromLayout(out, printer.pageLayout(), printer.resolution());
  out.color = printer.colorMode() == QPrinter::Color ? 2 : 1;
  return true;
}

bool QtPrinterService::SetupDialog() {
  QDialog dialog;
  dialog.setWindowTitle(ToQString(J("プリンターの設定")));
  auto* form = new QFormLayout(&dialog);
  auto* printers = new QComboBox(&dialog);
  for (const std::string& n : PrinterNames()) printers->addItem(ToQString(n));
  printers->setCurrentText(ToQString(CurrentPrinter()));
  auto* orientation = new QComboBox(&dialog);
  orientation->addItem(ToQString(J("縦")));
  orientation->addItem(ToQString(J("横")));
  orientation->setCurrentIndex(landscape_ ? 1 : 0);
  form->addRow(ToQString(J("プリンター")), printers);
  form->addRow(ToQString(J("印刷の向き")), orientation);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  UseJapaneseButtonTexts(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (auto cp = FromQString(printers->currentText())) SelectPrinter(*cp);
  landscape_ = orientation->currentIndex() == 1;
  return true;
}

std::unique_ptr<PrintJob> QtPrinterService::BeginDoc(const std::string& title) {
  PrinterCaps caps;
  if (!Caps(caps)) return nullptr;
  if (caps.isPdf) {
    QString target;
    if (!pdfFile_.empty()) {
      auto native = ToNativePath(pdfFile_);
      if (!native) return nullptr;
      target = QString::fromStdString(*native);
    } else {
      target = QFileDialog::getSaveFileName(nullptr, ToQString(title), QString(), QStringLiteral("PDF (*.pdf)"));
      if (target.isEmpty()) return nullptr;
    }
    QString part = target + QStringLiteral(".part");
    auto writer = std::make_unique<QPdfWriter>(part);
    writer->setResolution(kPdfDpi);
    writer->setPageLayout(PdfLayout(landscape_));
    writer->setTitle(ToQString(title));
    writer->setCreator(QStringLiteral("HarvSim"));
    auto job = std::make_unique<QtPrintJob>(std::move(writer), nullptr, caps, part, target);
    if (!job->Ok()) {
      job->Abort();
      return nullptr;
    }
    return job;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(caps.deviceName));
  if (info.isNull()) return nullptr;
  auto printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  printer->setPageOrientation(landscape_ ? QPageLayout::Landscape : QPageLayout::Portrait);
  printer->setDocName(ToQString(title));
  auto job = std::make_unique<QtPrintJob>(nullptr, std::move(printer), caps, QString(), QString());
  if (!job->Ok()) {
    job->Abort();
    return nullptr;
  }
  return job;
}

}  // namespace platform
