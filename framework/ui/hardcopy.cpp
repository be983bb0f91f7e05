// Print confirmation form and window hard copies.
#include "framework/ui/hardcopy.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

#include "framework/input_state.h"
#include "framework/messages.h"
#include "framework/printing.h"
#include "platform/cp932.h"
#include "platform/path.h"
#include "platform/printer.h"
#include "platform/qt/dc_qt.h"
#include "platform/qt/printer_qt.h"
#include "platform/qt/qt_text.h"
#include "platform/ui.h"

namespace fw {

using platform::J;
using platform::ToQString;

namespace {

class FormConfirmation final : public PrintConfirmDialog {
 public:
  void Run() override {
    TPRYNForm form;
    form.exec();
  }
};

FormConfirmation gFormConfirmation;

}  // namespace

TPRYNForm::TPRYNForm(QWidget* parent) : QDialog(parent) {
  setObjectName("PRYNForm");
  setWindowTitle(ToQString(J("印刷方法の指定")));
  setFixedWidth(440);
  LBL1 = new QLabel(this);
  LBL1->setObjectName("LBL1");
  LBL1->setGeometry(16, 12, 408, 20);
  SBTN1 = new QToolButton(this);
  SBTN1->setObjectName("SBTN1");
  SBTN1->setText(ToQString(J("プリンター機種変更(&P)...")));
  SBTN1->setGeometry(16, 40, 200, 28);
  BTN1 = new QPushButton(ToQString(J("はい(&Y)")), this);
  BTN1->setObjectName("BTN1");
  BTN1->setGeometry(240, 40, 88, 28);
  BTN1->setDefault(true);
  BTN2 = new QPushButton(ToQString(J("中止(&C)")), this);
  BTN2->setObjectName("BTN2");
  BTN2->setGeometry(336, 40, 88, 28);
  RADG1 = new QGroupBox(ToQString(J("印刷方法")), this);
  RADG1->setObjectName("RADG1");
  RADG1->setGeometry(16, 80, 408, 120);
  auto* box = new QVBoxLayout(RADG1);
  Items = new QButtonGroup(this);
  const char* items[] = {"画面サイズと同じサイズで印刷する。(Proportional)",
                         "縦横の比率を変えないで、用紙に収まるように印刷する。(PrintToFit)",
                         "プリンターの解像度で印刷する。(None)"};
  for (int k = 0; k < 3; ++k) {
    auto* radio = new QRadioButton(ToQString(J(items[k])), RADG1);
    box->addWidget(radio);
    Items->addButton(radio, k);
  }
  Items->button(0)->setChecked(true);
  connect(BTN1, &QPushButton::clicked, this, [this] {
    DialogYes = true;
    DialogCancel = false;
    Input.SelectedNo = Items->checkedId() + 1;
    accept();
  });
  connect(BTN2, &QPushButton::clicked, this, [this] {
    DialogYes = false;
    DialogCancel = true;
    Input.SelectedNo = 0;
    reject();
  });
  connect(SBTN1, &QToolButton::clicked, this, [this] {
    if (platform::CurrentPrinterService().SetupDialog()) {
      ReadPrinterInfo(true);
      Activate();
    }
  });
  // Closing the form without an answer is a cancel.
  DialogYes = false;
  DialogCancel = true;
  Input.SelectedNo = 0;
  Activate();
}

void TPRYNForm::Activate() {
  const int kind = PrinterInfoType.HardCopyKind;
  setFixedHeight(kind > 0 ? 217 : 118);
  RADG1->setVisible(kind > 0);
  SBTN1->setEnabled(kind >= 0);
  LBL1->setText(ToQString(PrintConfirmText()));
}

void TPRYNForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  Activate();
  QPoint centre = BTN1->mapToGlobal(BTN1->rect().center());
  platform::CurrentUi().SetCursorPos(platform::Point{centre.x(), centre.y()});
}

void InstallPrintingUi() {
  platform::InstallQtPrinting();
  InstallPrintConfirmDialog(&gFormConfirmation);
}

std::string HardCopyPicturePath() { return platform::TempFolder() + "Glimmet.BMP"; }

bool PrintFormHardCopy(QWidget* form) {
  if (!form || !AskPrint(1)) return false;
  const int scale = Input.SelectedNo;
  QImage picture = form->grab().toImage().convertToFormat(QImage::Format_RGB32);
  if (auto native = platform::ToNativePath(HardCopyPicturePath())) picture.save(QString::fromStdString(*native), "BMP");
  std::string title = platform::FromQString(form->windowTitle()).value_or(std::string());
  std::unique_ptr<platform::PrintJob> job = platform::CurrentPrinterService().BeginDoc(title);
  if (!job) return false;
  platform::DeviceContext& dc = job->Dc();
  const int pageW = dc.GetDeviceCaps(platform::HORZRES), pageH = dc.GetDeviceCaps(platform::VERTRES);
  int w = picture.width(), h = picture.height();
  if (w <= 0 || h <= 0) {
    job->Abort();
    return false;
  }
  if (scale == 1) {
    w = picture.width() * dc.GetDeviceCaps(platform::LOGPIXELSX) / platform::kReferenceDpi;
    h = picture.height() * dc.GetDeviceCaps(platform::LOGPIXELSY) / platform::kReferenceDpi;
  } else if (scale == 2) {
    w = pageW;
    h = static_cast<int>(static_cast<int64_t>(w) * picture.height() / picture.width());
    if (h > pageH) {
      h = pageH;
      w = static_cast<int>(static_cast<int64_t>(h) * picture.width() / picture.height());
    }
  }
  const platform::Dib dib = platform::DibFromImage(picture);
  dc.StretchDIBits(platform::Rect{0, 0, w, h}, platform::Rect{0, 0, dib.width, dib.height}, dib);
  if (!job->End()) {
    MsgDialog(PrinterInfoType.DeviceName + J(" で印刷できませんでした。"), 4, 1);
    return false;
  }
  ShowStatus(J("〔画面ハードコピー印刷完了〕"));
  return true;
}

}  // namespace fw
