// Qt printers.
#include "platform/qt/printer_qt.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>
#include <algorithm>
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

// The paper of a device mode (see the header).
QPageSize PageSizeOf(const DeviceMode& m) {
  if ((m.fields & DM_PAPERWIDTH) && (m.fields & DM_PAPERLENGTH) && m.paperWidth > 0 && m.paperLength > 0) {
    return QPageSize(QSizeF(m.paperWidth / 10.0, m.paperLength / 10.0), QPageSize::Millimeter, QString(),
                     QPageSize::ExactMatch);
  }
  if ((m.fields & DM_PAPERSIZE) && m.paperSize > 0 && m.paperSize != DMPAPER_USER) {
    QPageSize::PageSizeId id = QPageSize::id(m.paperSize);
    if (id != QPageSize::Custom) return QPageSize(id);
  }
  return QPageSize(QPageSize::A4);
}

QPageLayout::Orientation OrientationOf(const DeviceMode& m) {
  return m.orientation == DMORIENT_LANDSCAPE ? QPageLayout::Landscape : QPageLayout::Portrait;
}

QPageLayout PdfLayout(const DeviceMode& mode) {
  return QPageLayout(PageSizeOf(mode), OrientationOf(mode),
                     QMarginsF(kPdfMarginInch, kPdfMarginInch, kPdfMarginInch, kPdfMarginInch), QPageLayout::Inch);
}

// The paper's portrait size into a device mode, in 0.1 mm.
void SetPaperOf(DeviceMode& m, const QPageSize& size) {
  QSizeF mm = size.size(QPageSize::Millimeter);
  m.paperWidth = static_cast<int>(std::lround(std::min(mm.width(), mm.height()) * 10));
  m.paperLength = static_cast<int>(std::lround(std::max(mm.width(), mm.height()) * 10));
  int code = size.windowsId();
  m.paperSize = code > 0 ? code : DMPAPER_USER;
}

QPrinter::PaperSource SourceOf(int bin) {
  switch (bin) {
    case DMBIN_UPPER: return QPrinter::OnlyOne;
    case DMBIN_LOWER: return QPrinter::Lower;
    case DMBIN_MIDDLE: return QPrinter::Middle;
    case DMBIN_MANUAL: return QPrinter::Manual;
    case DMBIN_ENVELOPE: return QPrinter::Envelope;
    case DMBIN_ENVMANUAL: return QPrinter::EnvelopeManual;
    case DMBIN_TRACTOR: return QPrinter::Tractor;
    case DMBIN_SMALLFMT: return QPrinter::SmallFormat;
    case DMBIN_LARGEFMT: return QPrinter::LargeFormat;
    case DMBIN_LARGECAPACITY: return QPrinter::LargeCapacity;
    case DMBIN_CASSETTE: return QPrinter::Cassette;
    case DMBIN_FORMSOURCE: return QPrinter::FormSource;
    default: return QPrinter::Auto;
  }
}

// A CUPS job takes what the mode sets.
void ApplyMode(QPrinter& printer, const DeviceMode& m) {
  printer.setPageSize(PageSizeOf(m));
  printer.setPageOrientation(OrientationOf(m));
  if (m.fields & DM_COPIES) printer.setCopyCount(std::max(1, m.copies));
  if (m.fields & DM_COLLATE) printer.setCollateCopies(m.collate != 0);
  if (m.fields & DM_DUPLEX) {
    printer.setDuplex(m.duplex == DMDUP_VERTICAL     ? QPrinter::DuplexLongSide
                      : m.duplex == DMDUP_HORIZONTAL ? QPrinter::DuplexShortSide
                                                     : QPrinter::DuplexNone);
  }
  if (m.fields & DM_DEFAULTSOURCE) printer.setPaperSource(SourceOf(m.defaultSource));
  if (m.fields & DM_COLOR) printer.setColorMode(m.color == DMCOLOR_COLOR ? QPrinter::Color : QPrinter::GrayScale);
}

bool IsPdf(const std::string& printer) { return printer == kPdfPrinterName; }

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
  std::string OutputName() const override {
    if (target_.isEmpty()) return std::string();
    return ToInsidePath(target_.toStdString()).value_or(target_.toStdString());
  }
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
      if (!chosen_ || current_ != name) hasMode_ = false;  // another printer: its default mode
      current_ = name;
      chosen_ = true;
      return true;
    }
  }
  return false;
}

DeviceMode& QtPrinterService::Mode() {
  std::string name = CurrentPrinter();
  if (!hasMode_) {
    mode_ = DeviceMode{};
    DefaultMode(name, mode_);
    hasMode_ = true;
  }
  return mode_;
}

void QtPrinterService::SetLandscape(bool landscape) {
  Mode().orientation = landscape ? DMORIENT_LANDSCAPE : DMORIENT_PORTRAIT;
}

bool QtPrinterService::CurrentMode(DeviceMode& out) {
  if (CurrentPrinter().empty()) return false;
  out = Mode();
  return true;
}

void QtPrinterService::SetCurrentMode(const DeviceMode& mode) {
  CurrentPrinter();
  mode_ = mode;
  hasMode_ = true;
}

bool QtPrinterService::DefaultMode(const std::string& printer, DeviceMode& out) {
  out = DeviceMode{};
  if (IsPdf(printer)) {
    out.fields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_PRINTQUALITY | DM_COLOR;
    SetPaperOf(out, QPageSize(QPageSize::A4));
    out.printQuality = kPdfDpi;
    out.color = DMCOLOR_COLOR;
    return true;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(printer));
  if (info.isNull()) return false;
  QPrinter qp(info, QPrinter::HighResolution);
  out.fields = DM_ORIENTATION | DM_PAPERSIZE | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_COPIES | DM_COLLATE |
               DM_DEFAULTSOURCE | DM_PRINTQUALITY | DM_COLOR;
  if (info.supportedDuplexModes().size() > 1) out.fields |= DM_DUPLEX;
  SetPaperOf(out, info.defaultPageSize().isValid() ? info.defaultPageSize() : QPageSize(QPageSize::A4));
  out.printQuality = qp.resolution();
  out.color = info.defaultColorMode() == QPrinter::Color ? DMCOLOR_COLOR : DMCOLOR_MONOCHROME;
  QPrinter::DuplexMode d = info.defaultDuplexMode();
  out.duplex = d == QPrinter::DuplexLongSide ? DMDUP_VERTICAL : d == QPrinter::DuplexShortSide ? DMDUP_HORIZONTAL : DMDUP_SIMPLEX;
  out.collate = qp.collateCopies() ? 1 : 0;
  return true;
}

std::vector<int> QtPrinterService::PaperCodes(const std::string& printer) {
  std::vector<int> codes;
  if (IsPdf(printer)) {
    for (int c = 1; c <= DMPAPER_LAST; ++c) codes.push_back(c);
    codes.push_back(DMPAPER_USER);
    return codes;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(printer));
  if (info.isNull()) return codes;
  for (const QPageSize& size : info.supportedPageSizes()) {
    int code = size.windowsId();
    if (code > 0 && std::find(codes.begin(), codes.end(), code) == codes.end()) codes.push_back(code);
  }
  if (info.supportsCustomPageSizes()) codes.push_back(DMPAPER_USER);
  return codes;
}

std::string QtPrinterService::DriverName(const std::string& printer) {
  if (IsPdf(printer)) return kPdfPrinterName;
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(printer));
  if (info.isNull()) return std::string();
  std::string model = FromQString(info.makeAndModel()).value_or(std::string());
  return model.empty() ? std::string("CUPS") : model;
}

bool QtPrinterService::CapsWith(const std::string& printer, const DeviceMode& mode, PrinterCaps& out) {
  out = PrinterCaps{};
  out.deviceName = printer;
  out.landscape = mode.orientation == DMORIENT_LANDSCAPE;
  if (IsPdf(printer)) {
    FillFromLayout(out, PdfLayout(mode), kPdfDpi);
    out.color = 2;
    out.isPdf = true;
    return true;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(printer));
  if (info.isNull()) return false;
  QPrinter qp(info, QPrinter::HighResolution);
  ApplyMode(qp, mode);
  FillFromLayout(out, qp.pageLayout(), qp.resolution());
  out.color = qp.colorMode() == QPrinter::Color ? 2 : 1;
  return true;
}

bool QtPrinterService::Caps(PrinterCaps& out) {
  std::string name = CurrentPrinter();
  return CapsWith(name, Mode(), out);
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
  orientation->setCurrentIndex(Mode().orientation == DMORIENT_LANDSCAPE ? 1 : 0);
  form->addRow(ToQString(J("プリンター")), printers);
  form->addRow(ToQString(J("印刷の向き")), orientation);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
  UseJapaneseButtonTexts(buttons);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted) return false;
  if (auto cp = FromQString(printers->currentText())) SelectPrinter(*cp);
  SetLandscape(orientation->currentIndex() == 1);
  return true;
}

namespace {

// The paper sources a print dialog offers, by Windows bin code.
struct SourceName {
  int code;
  const char* name;  // UTF-8
};
const SourceName kSources[] = {{DMBIN_AUTO, "自動選択"},          {DMBIN_UPPER, "上段トレイ"},
                               {DMBIN_MIDDLE, "中段トレイ"},        {DMBIN_LOWER, "下段トレイ"},
                               {DMBIN_MANUAL, "手差し"},            {DMBIN_ENVELOPE, "封筒"},
                               {DMBIN_ENVMANUAL, "封筒手差し"},     {DMBIN_TRACTOR, "トラクタ"},
                               {DMBIN_SMALLFMT, "小型用紙"},        {DMBIN_LARGEFMT, "大型用紙"},
                               {DMBIN_LARGECAPACITY, "大容量トレイ"}, {DMBIN_CASSETTE, "カセット"},
                               {DMBIN_FORMSOURCE, "用紙に合わせる"}};

QString PaperName(int code) {
  if (code == DMPAPER_USER) return ToQString(J("ユーザー定義サイズ"));
  QPageSize::PageSizeId id = QPageSize::id(code);
  return id == QPageSize::Custom ? QString::number(code) : QPageSize::name(id);
}

// Selects the item whose data is `value` (the first when none has it).
void SelectData(QComboBox* combo, int value) {
  int index = combo->findData(value);
  combo->setCurrentIndex(index >= 0 ? index : 0);
}

}  // namespace

bool QtPrinterService::PrintDialog(PrintDialogData& data) {
  QDialog dialog;
  dialog.setObjectName(QStringLiteral("PrintDialog"));
  dialog.setWindowTitle(ToQString(J("印刷")));
  auto* top = new QVBoxLayout(&dialog);
  auto* form = new QFormLayout();
  top->addLayout(form);
  auto named = [](QWidget* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
  };
  auto* printers = static_cast<QComboBox*>(named(new QComboBox(&dialog), "PrinterCombo"));
  for (const std::string& n : PrinterNames()) printers->addItem(ToQString(n));
  printers->setCurrentText(ToQString(data.printer.empty() ? CurrentPrinter() : data.printer));
  form->addRow(ToQString(J("プリンター")), printers);
  auto* paper = static_cast<QComboBox*>(named(new QComboBox(&dialog), "PaperCombo"));
  form->addRow(ToQString(J("用紙サイズ")), paper);
  auto* orientation = static_cast<QComboBox*>(named(new QComboBox(&dialog), "OrientationCombo"));
  orientation->addItem(ToQString(J("縦")), DMORIENT_PORTRAIT);
  orientation->addItem(ToQString(J("横")), DMORIENT_LANDSCAPE);
  form->addRow(ToQString(J("印刷の向き")), orientation);
  auto* duplex = static_cast<QComboBox*>(named(new QComboBox(&dialog), "DuplexCombo"));
  duplex->addItem(ToQString(J("片面")), DMDUP_SIMPLEX);
  duplex->addItem(ToQString(J("両面（長辺とじ）")), DMDUP_VERTICAL);
  duplex->addItem(ToQString(J("両面（短辺とじ）")), DMDUP_HORIZONTAL);
  form->addRow(ToQString(J("両面印刷")), duplex);
  auto* source = static_cast<QComboBox*>(named(new QComboBox(&dialog), "SourceCombo"));
  for (const SourceName& s : kSources) source->addItem(ToQString(J(s.name)), s.code);
  form->addRow(ToQString(J("給紙方法")), source);
  auto* copies = static_cast<QSpinBox*>(named(new QSpinBox(&dialog), "CopiesEdit"));
  copies->setRange(1, 9999);
  form->addRow(ToQString(J("部数")), copies);
  auto* collate = static_cast<QCheckBox*>(named(new QCheckBox(ToQString(J("部単位で印刷")), &dialog), "CollateCheck"));
  form->addRow(QString(), collate);

  auto* rangeBox = new QGroupBox(ToQString(J("印刷範囲")), &dialog);
  auto* rangeLayout = new QHBoxLayout(rangeBox);
  auto* all = static_cast<QRadioButton*>(named(new QRadioButton(ToQString(J("すべて")), rangeBox), "AllRadio"));
  auto* selection = static_cast<QRadioButton*>(named(new QRadioButton(ToQString(J("選択した部分")), rangeBox), "SelectionRadio"));
  auto* pages = static_cast<QRadioButton*>(named(new QRadioButton(ToQString(J("ページ指定")), rangeBox), "PagesRadio"));
  auto* from = static_cast<QSpinBox*>(named(new QSpinBox(rangeBox), "FromEdit"));
  auto* to = static_cast<QSpinBox*>(named(new QSpinBox(rangeBox), "ToEdit"));
  const int minPage = std::min(data.minPage, data.maxPage), maxPage = std::max(data.minPage, data.maxPage);
  from->setRange(minPage, maxPage);
  to->setRange(minPage, maxPage);
  from->setValue(data.fromPage);
  to->setValue(data.toPage);
  for (QWidget* w : std::initializer_list<QWidget*>{all, selection, pages, from, to}) rangeLayout->addWidget(w);
  selection->setEnabled(data.allowSelection);
  pages->setEnabled(data.allowPageNumbers);
  from->setEnabled(data.allowPageNumbers);
  to->setEnabled(data.allowPageNumbers);
  (data.range == PrintDialogData::kSelection ? selection : data.range == PrintDialogData::kPageNumbers ? pages : all)
      ->setChecked(true);
  top->addWidget(rangeBox);
  auto* toFile = static_cast<QCheckBox*>(named(new QCheckBox(ToQString(J("ファイルへ出力")), &dialog), "PrintToFileCheck"));
  toFile->setChecked(data.printToFile);
  toFile->setVisible(data.showPrintToFile);
  toFile->setEnabled(!data.disablePrintToFile);
  top->addWidget(toFile);
  auto* buttons = static_cast<QDialogButtonBox*>(
      named(new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog), "Buttons"));
  UseJapaneseButtonTexts(buttons);
  if (data.onHelp) {
    QPushButton* help = buttons->addButton(ToQString(J("ヘルプ")), QDialogButtonBox::HelpRole);
    help->setObjectName(QStringLiteral("HelpButton"));
    QObject::connect(help, &QPushButton::clicked, &dialog, [&data] { data.onHelp(); });
  }
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
  top->addWidget(buttons);

  // The chosen printer's mode: its own when it is the printer the dialog began with.
  DeviceMode mode = data.mode;
  const std::string startPrinter = data.printer.empty() ? CurrentPrinter() : data.printer;
  auto takePrinter = [&](const std::string& name) {
    if (name != startPrinter || data.mode.fields == 0) {
      if (!DefaultMode(name, mode)) mode = DeviceMode{};
    } else {
      mode = data.mode;
    }
    paper->clear();
    for (int code : PaperCodes(name)) paper->addItem(PaperName(code), code);
    SelectData(paper, mode.paperSize);
    SelectData(orientation, mode.orientation);
    SelectData(duplex, mode.duplex);
    SelectData(source, mode.defaultSource);
    copies->setValue(std::max(1, (mode.fields & DM_COPIES) ? mode.copies : data.copies));
    collate->setChecked((mode.fields & DM_COLLATE) ? mode.collate != 0 : data.collate);
    paper->setEnabled((mode.fields & DM_PAPERSIZE) && paper->count() > 0);
    orientation->setEnabled(mode.fields & DM_ORIENTATION);
    duplex->setEnabled(mode.fields & DM_DUPLEX);
    source->setEnabled(mode.fields & DM_DEFAULTSOURCE);
    copies->setEnabled(mode.fields & DM_COPIES);
    collate->setEnabled(mode.fields & DM_COLLATE);
  };
  takePrinter(FromQString(printers->currentText()).value_or(std::string()));
  QObject::connect(printers, &QComboBox::currentTextChanged, &dialog, [&](const QString& text) {
    takePrinter(FromQString(text).value_or(std::string()));
  });

  dialog.adjustSize();
  if (QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    const QSize size = dialog.sizeHint().expandedTo(dialog.minimumSizeHint());
    dialog.resize(size);
    dialog.move(area.left() + (area.width() - size.width()) / 2, area.top() + (area.height() - size.height()) / 3);
  }
  if (data.onShow) data.onShow();
  const bool ok = dialog.exec() == QDialog::Accepted;
  if (data.onClose) data.onClose();
  if (!ok) return false;
  data.printer = FromQString(printers->currentText()).value_or(data.printer);
  if ((mode.fields & DM_PAPERSIZE) && paper->currentIndex() >= 0) {
    const int code = paper->currentData().toInt();
    if (code != DMPAPER_USER && QPageSize::id(code) != QPageSize::Custom) {
      SetPaperOf(mode, QPageSize(QPageSize::id(code)));
    }
    mode.paperSize = code;
  }
  if (mode.fields & DM_ORIENTATION) mode.orientation = orientation->currentData().toInt();
  if (mode.fields & DM_DUPLEX) mode.duplex = duplex->currentData().toInt();
  if (mode.fields & DM_DEFAULTSOURCE) mode.defaultSource = source->currentData().toInt();
  data.collate = collate->isChecked();
  if (mode.fields & DM_COLLATE) mode.collate = data.collate ? 1 : 0;
  if (mode.fields & DM_COPIES) {
    mode.copies = copies->value();
    data.copies = 1;
  } else {
    data.copies = copies->value();
  }
  data.mode = mode;
  data.range = selection->isChecked() ? PrintDialogData::kSelection
               : pages->isChecked()   ? PrintDialogData::kPageNumbers
                                      : PrintDialogData::kAllPages;
  data.fromPage = from->value();
  data.toPage = to->value();
  data.printToFile = toFile->isChecked();
  return true;
}

std::unique_ptr<PrintJob> QtPrinterService::BeginDoc(const std::string& title) {
  std::string name = CurrentPrinter();
  return BeginDocWith(name, Mode(), title);
}

std::unique_ptr<PrintJob> QtPrinterService::BeginDocWith(const std::string& printer, const DeviceMode& mode,
                                                         const std::string& title) {
  declined_ = false;
  PrinterCaps caps;
  if (printer.empty() || !CapsWith(printer, mode, caps)) return nullptr;
  if (caps.isPdf) {
    QString target;
    if (!pdfFile_.empty()) {
      auto native = ToNativePath(pdfFile_);
      if (!native) return nullptr;
      target = QString::fromStdString(*native);
    } else {
      target = QFileDialog::getSaveFileName(nullptr, ToQString(title), QString(), QStringLiteral("PDF (*.pdf)"));
      if (target.isEmpty()) {
        declined_ = true;
        return nullptr;
      }
    }
    QString part = target + QStringLiteral(".part");
    auto writer = std::make_unique<QPdfWriter>(part);
    writer->setResolution(kPdfDpi);
    writer->setPageLayout(PdfLayout(mode));
    writer->setTitle(ToQString(title));
    writer->setCreator(QStringLiteral("HarvSim"));
    auto job = std::make_unique<QtPrintJob>(std::move(writer), nullptr, caps, part, target);
    if (!job->Ok()) {
      job->Abort();
      return nullptr;
    }
    return job;
  }
  QPrinterInfo info = QPrinterInfo::printerInfo(ToQString(printer));
  if (info.isNull()) return nullptr;
  auto qp = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
  ApplyMode(*qp, mode);
  qp->setDocName(ToQString(title));
  auto job = std::make_unique<QtPrintJob>(nullptr, std::move(qp), caps, QString(), QString());
  if (!job->Ok()) {
    job->Abort();
    return nullptr;
  }
  return job;
}

}  // namespace platform
